#include "fake_server.h"

#include "korvu_wire/framed_connection.h"
#include "korvu_wire/protocol.h"

namespace wire = temla::korvu_wire;

FakeServer::FakeServer(wire::Encoding encoding)
    : encoding_(encoding), acceptor_(io_, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0))
{
    port_ = acceptor_.local_endpoint().port();
    handler_ = [](FakeServer &server, const wire::Envelope &request) {
        if (request.method == "login" || request.method == "logout") {
            server.reply(request.id, true);
        }
    };
    thread_ = std::thread([this] { run(); });
}

FakeServer::~FakeServer()
{
    stopping_ = true;
    closeClient();
    // A blocking accept does not wake when the acceptor is closed from another thread; a last
    // connection does.
    asio::io_context io;
    asio::ip::tcp::socket waker(io);
    asio::error_code ignored;
    waker.connect(acceptor_.local_endpoint(), ignored);
    thread_.join();
    acceptor_.close(ignored);
}

void FakeServer::setHandler(Handler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

void FakeServer::run()
{
    while (!stopping_) {
        asio::ip::tcp::socket socket(io_);
        asio::error_code ec;
        acceptor_.accept(socket, ec);
        if (ec || stopping_) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            client_ = &socket;
            ++clients_;
        }
        changed_.notify_all();
        serve(socket);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            client_ = nullptr;
        }
        std::lock_guard<std::mutex> writing(write_mutex_);
        socket.close(ec);
    }
}

void FakeServer::serve(asio::ip::tcp::socket &socket)
{
    for (;;) {
        unsigned char header[4];
        asio::error_code ec;
        asio::read(socket, asio::buffer(header), ec);
        if (ec) {
            return;
        }
        const std::size_t size = (std::size_t{header[0]} << 24) | (std::size_t{header[1]} << 16) |
                                 (std::size_t{header[2]} << 8) | header[3];
        std::string payload(size, '\0');
        asio::read(socket, asio::buffer(payload), ec);
        if (ec) {
            return;
        }
        Json message;
        wire::Envelope request;
        std::string why;
        if (!wire::deserialize(payload, encoding_, message) || !wire::parseEnvelope(message, request, why)) {
            return;
        }
        if (request.method == wire::kPing) {
            if (answer_pings_) {
                reply(request.id, true);
            }
            continue;
        }
        Handler handler;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            methods_.push_back(request.method);
            handler = handler_;
        }
        changed_.notify_all();
        handler(*this, request);
    }
}

void FakeServer::reply(int64_t id, Json result)
{
    send(wire::makeResult(id, std::move(result)));
}

void FakeServer::replyError(int64_t id, int code, const std::string &message)
{
    send(wire::makeError(id, code, message));
}

void FakeServer::send(const Json &message)
{
    const auto payload = wire::serialize(message, encoding_);
    sendRaw(wire::encodeFrameHeader(payload.size()) + payload);
}

void FakeServer::sendRaw(const std::string &bytes)
{
    std::lock_guard<std::mutex> writing(write_mutex_);
    asio::ip::tcp::socket *client = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        client = client_;
    }
    if (client != nullptr) {
        asio::error_code ignored;
        asio::write(*client, asio::buffer(bytes), ignored);
    }
}

void FakeServer::closeClient()
{
    std::lock_guard<std::mutex> writing(write_mutex_);
    std::lock_guard<std::mutex> lock(mutex_);
    if (client_ != nullptr) {
        asio::error_code ignored;
        client_->shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    }
}

bool FakeServer::waitForClients(int count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return clients_ >= count; });
}

int FakeServer::clients() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return clients_;
}

std::vector<std::string> FakeServer::methods() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return methods_;
}
