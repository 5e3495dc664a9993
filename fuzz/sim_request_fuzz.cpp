// The simulator's request decoding, server side: the first byte picks the server (RPC, realtime,
// script), the rest goes to it as one frame's payload on a logged-in connection. A login request
// after each payload marks the point where the payload has been handled (the servers answer in
// order) and restores the login the payload may have undone. A connection the payload broke is
// opened again for the next input.
#include <sys/socket.h>
#include <sys/time.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <asio.hpp>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"
#include "korvu_wire/framed_connection.h"
#include "korvu_wire/protocol.h"

namespace
{

namespace wire = temla::korvu_wire;
using temla::korvu_sim::Simulator;

// A realtime connection gathers channels; a fresh one every so many inputs keeps the frame rate low.
constexpr int kInputsPerConnection = 256;

class Link
{
public:
    Link(asio::io_context &io, int port, wire::Encoding encoding) : io_(io), port_(port), encoding_(encoding)
    {
    }

    // Sends the payload, then waits for the answer to a login behind it. False when the
    // connection broke (it is reopened on the next call).
    void exchange(const std::string &payload)
    {
        if (!socket_ || ++uses_ > kInputsPerConnection) {
            reopen();
        }
        asio::error_code ec;
        asio::write(*socket_, asio::buffer(wire::encodeFrameHeader(payload.size()) + payload), ec);
        if (ec || !loginAnswered()) {
            socket_.reset();
        }
    }

private:
    void reopen()
    {
        uses_ = 0;
        socket_ = std::make_unique<asio::ip::tcp::socket>(io_);
        socket_->connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port_)});
        timeval limit{10, 0};  // a server that stops answering fails the run instead of hanging it
        setsockopt(socket_->native_handle(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        if (!loginAnswered()) {
            std::abort();
        }
    }

    bool loginAnswered()
    {
        const int64_t id = --marker_id_;  // negative: no fuzz payload is likely to use it
        const auto login = wire::serialize(
            wire::makeRequest(id, wire::kLogin, wire::Json::array({"admin", "admin"})), encoding_);
        asio::error_code ec;
        asio::write(*socket_, asio::buffer(wire::encodeFrameHeader(login.size()) + login), ec);
        while (!ec) {
            std::array<unsigned char, wire::kFrameHeaderSize> header{};
            asio::read(*socket_, asio::buffer(header), ec);
            if (ec) {
                break;
            }
            std::string body((std::size_t{header[0]} << 24) | (std::size_t{header[1]} << 16) |
                                 (std::size_t{header[2]} << 8) | header[3],
                             '\0');
            asio::read(*socket_, asio::buffer(body), ec);
            wire::Json message;
            if (!ec && wire::deserialize(body, encoding_, message) && message.is_object() &&
                message.value("id", wire::Json()) == id) {
                return true;
            }
        }
        if (ec == asio::error::would_block || ec == asio::error::try_again || ec == asio::error::timed_out) {
            std::abort();  // the simulator hung
        }
        return false;
    }

    asio::io_context &io_;
    const int port_;
    const wire::Encoding encoding_;
    std::unique_ptr<asio::ip::tcp::socket> socket_;
    int uses_ = 0;
    int64_t marker_id_ = 0;
};

struct Setup {
    Setup()
    {
        temla::korvu_sim::SimulatorOptions options;
        options.robot_count = 2;
        sim = std::make_unique<Simulator>(options);
        sim->start();
        links[0] = std::make_unique<Link>(io, sim->rpcPort(), wire::Encoding::Json);
        links[1] = std::make_unique<Link>(io, sim->realtimePort(), wire::Encoding::MsgPack);
        links[2] = std::make_unique<Link>(io, sim->scriptPort(), wire::Encoding::Json);
    }

    asio::io_context io;
    std::unique_ptr<Simulator> sim;
    std::array<std::unique_ptr<Link>, 3> links;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    static Setup setup;
    if (size == 0) {
        return 0;
    }
    setup.links[data[0] % setup.links.size()]->exchange(
        std::string(reinterpret_cast<const char *>(data) + 1, size - 1));
    return 0;
}
