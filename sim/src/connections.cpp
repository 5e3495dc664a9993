#include "connections.h"

#include <optional>
#include <system_error>

#include "korvu_wire/values.h"
#include "rpc_methods.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{
namespace
{

using korvu_wire::Encoding;
using korvu_wire::Envelope;
using korvu_wire::FramedConnection;
using korvu_wire::Json;

constexpr int kPickAttempts = 64;
// Bound on the methods whose calls the simulator counts.
constexpr size_t kMaxCountedMethods = 4096;

Encoding encodingOf(const Session &session)
{
    return session.kind == ServerKind::Realtime ? Encoding::MsgPack : Encoding::Json;
}

}  // namespace

const char *serverName(ServerKind kind)
{
    switch (kind) {
        case ServerKind::Rpc:
            return "rpc";
        case ServerKind::Realtime:
            return "realtime";
        case ServerKind::Script:
            return "script";
        default:
            return "all";
    }
}

void Connections::bind()
{
    const auto address = asio::ip::make_address(sim_.options.host);
    const std::array<int, kServerCount> offsets{korvu_wire::kRpcPortOffset, korvu_wire::kRealtimePortOffset,
                                                korvu_wire::kScriptPortOffset};
    const int attempts = sim_.options.base_port == 0 ? kPickAttempts : 1;
    std::error_code last_error;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        int base = sim_.options.base_port;
        std::array<std::unique_ptr<asio::ip::tcp::acceptor>, kServerCount> bound;
        std::error_code ec;
        for (size_t k = 0; k < kServerCount && !ec; ++k) {
            auto acceptor = std::make_unique<asio::ip::tcp::acceptor>(sim_.io);
            acceptor->open(address.is_v6() ? asio::ip::tcp::v6() : asio::ip::tcp::v4(), ec);
            if (!ec)
                acceptor->set_option(asio::socket_base::reuse_address(true), ec);
            // A picked base comes from the ephemeral port the RPC server was given.
            int port = (base == 0) ? 0 : base + offsets[k];
            if (!ec && port > 65535)
                ec = asio::error::address_in_use;
            if (!ec)
                acceptor->bind({address, static_cast<unsigned short>(port)}, ec);
            if (!ec)
                acceptor->listen(asio::socket_base::max_listen_connections, ec);
            if (!ec && base == 0) {
                base = acceptor->local_endpoint().port() - offsets[k];
                if (base <= 0)
                    ec = asio::error::address_in_use;
            }
            bound[k] = std::move(acceptor);
        }
        if (!ec) {
            acceptors_ = std::move(bound);
            sim_.base_port = base;
            return;
        }
        last_error = ec;
    }
    throw std::system_error(last_error, "korvu_sim: cannot bind the servers on " + sim_.options.host);
}

void Connections::startAccepting()
{
    for (auto kind : {ServerKind::Rpc, ServerKind::Realtime, ServerKind::Script})
        accept(kind);
}

void Connections::close()
{
    for (auto &acceptor : acceptors_) {
        std::error_code ignored;
        acceptor->close(ignored);
    }
    for (const auto &timer : stall_timers_)
        timer->cancel();
    for (const auto &session : sim_.sessions) {
        RealtimeServer::closeChannels(*session);
        session->connection->close();
    }
}

void Connections::drop(ServerKind kind)
{
    for (const auto &session : sim_.sessions)
        if (kind == ServerKind::All || session->kind == kind)
            session->connection->close();
}

void Connections::send(const std::shared_ptr<Session> &session, const Json &message)
{
    session->connection->send(korvu_wire::serialize(message, encodingOf(*session)));
}

void Connections::accept(ServerKind kind)
{
    acceptors_[slot(kind)]->async_accept(
        [self = sim_.shared_from_this(), kind](std::error_code ec, asio::ip::tcp::socket socket) {
            Connections &connections = self->connections;
            if (ec == asio::error::operation_aborted || !connections.acceptors_[slot(kind)]->is_open())
                return;
            if (!ec) {
                auto session = std::make_shared<Session>();
                session->kind = kind;
                session->connection = std::make_shared<FramedConnection>(
                    std::move(socket), korvu_wire::kMaxFrameSize, connections.input_budget_);
                auto remote = session->connection->remoteEndpoint();
                session->peer = remote.address().to_string() + ":" + std::to_string(remote.port());
                self->sessions.insert(session);
                self->locked([&] { ++self->connection_counts[slot(kind)]; });
                self->log(std::string(serverName(kind)) + " connection from " + session->peer);
                std::weak_ptr<Session> weak = session;
                session->connection->start(
                    [self, weak](std::string payload) {
                        if (auto s = weak.lock())
                            self->connections.onMessage(s, payload);
                    },
                    [self, session](const std::string &reason, bool local) {
                        self->connections.onClosed(session, reason, local);
                    });
                self->notifyChange();
            }
            connections.accept(kind);
        });
}

void Connections::onClosed(const std::shared_ptr<Session> &session, const std::string &reason, bool local)
{
    // The close handler may run inside FramedConnection's strand work; finish on a fresh handler.
    asio::post(sim_.io, [self = sim_.shared_from_this(), session, reason, local] {
        if (self->sessions.erase(session) == 0)
            return;
        RealtimeServer::closeChannels(*session);
        self->locked([&] {
            --self->connection_counts[slot(session->kind)];
            if (session->logged_in)
                --self->login_counts[slot(session->kind)];
        });
        self->log(std::string(serverName(session->kind)) + " connection " + session->peer + " closed (" +
                  (local ? "by the simulator" : reason) + ")");
        self->notifyChange();
    });
}

void Connections::onMessage(const std::shared_ptr<Session> &session, const std::string &payload)
{
    Json message;
    Envelope envelope;
    std::string why;
    if (!korvu_wire::deserialize(payload, encodingOf(*session), message)) {
        why = "unreadable message";
    } else if (!korvu_wire::parseEnvelope(message, envelope, why)) {
        why = "not a JSON-RPC message: " + why;
    } else if (envelope.kind != Envelope::Kind::Request) {
        why = "not a request";
    }
    if (!why.empty()) {
        sim_.log(std::string(serverName(session->kind)) + " peer " + session->peer + " dropped: " + why);
        session->connection->abort(why);
        return;
    }
    handleRequest(session, envelope);
}

void Connections::handleRequest(const std::shared_ptr<Session> &session, const Envelope &request)
{
    std::optional<std::pair<int, std::string>> failure;
    std::chrono::milliseconds stall{0};
    sim_.mutate([&] {
        if (sim_.call_counts.size() < kMaxCountedMethods || sim_.call_counts.count(request.method))
            ++sim_.call_counts[request.method];
        auto f = sim_.failures.find(request.method);
        if (f != sim_.failures.end())
            failure = f->second;
        auto s = sim_.stalls.find(request.method);
        if (s != sim_.stalls.end())
            stall = s->second;
    });

    Json response;
    if (failure) {
        response = korvu_wire::makeError(request.id, failure->first, failure->second);
    } else {
        try {
            response = korvu_wire::makeResult(request.id, route(session, request));
        } catch (const RpcError &e) {
            response = korvu_wire::makeError(request.id, e.code, e.what());
        } catch (const korvu_wire::WireError &e) {
            response = korvu_wire::makeError(request.id, korvu_wire::kErrInvalidParams, e.what());
        } catch (const std::exception &e) {
            response = korvu_wire::makeError(request.id, korvu_wire::kErrInternal, e.what());
        }
    }
    sim_.notifyChange();
    answer(session, std::move(response), stall);
}

Json Connections::route(const std::shared_ptr<Session> &session, const Envelope &request)
{
    if (request.method == korvu_wire::kLogin)
        return login(session, request.params);
    if (request.method == korvu_wire::kLogout) {
        logout(session);
        return true;
    }
    if (request.method == korvu_wire::kPing)
        return true;  // liveness: answered before login too
    if (!session->logged_in)
        throw RpcError(korvu_wire::kErrNotLoggedIn, "not logged in");
    switch (session->kind) {
        case ServerKind::Rpc:
            return sim_.rpc.handle(request.method, request.params);
        case ServerKind::Realtime:
            return sim_.realtime.handle(session, request.method, request.params);
        default:
            return sim_.script.handle(request.method, request.params);
    }
}

void Connections::answer(const std::shared_ptr<Session> &session, Json response,
                         std::chrono::milliseconds stall)
{
    if (stall.count() <= 0) {
        send(session, response);
        return;
    }
    auto timer = std::make_shared<asio::steady_timer>(sim_.io, stall);
    stall_timers_.insert(timer);
    timer->async_wait([self = sim_.shared_from_this(), session, response, timer](std::error_code ec) {
        self->connections.stall_timers_.erase(timer);
        if (!ec)
            self->connections.send(session, response);
    });
}

Json Connections::login(const std::shared_ptr<Session> &session, const Json &params)
{
    if (!params.is_array() || params.size() != 2)
        throw RpcError(korvu_wire::kErrInvalidParams, "login takes a user name and a password");
    std::string user = korvu_wire::asString(params[0]);
    std::string password = korvu_wire::asString(params[1]);
    bool accepted = sim_.locked([&] {
        bool ok = !sim_.refuse_logins && user == sim_.options.user && password == sim_.options.password;
        if (ok && !session->logged_in)
            ++sim_.login_counts[slot(session->kind)];
        return ok;
    });
    sim_.log(std::string(serverName(session->kind)) + " login of \"" + user + "\" from " + session->peer +
             (accepted ? " accepted" : " refused"));
    if (!accepted)
        throw RpcError(korvu_wire::kErrLoginRejected, "login refused");
    session->logged_in = true;
    sim_.scenario.start();
    return true;
}

void Connections::logout(const std::shared_ptr<Session> &session)
{
    if (!session->logged_in)
        return;
    session->logged_in = false;
    sim_.locked([&] { --sim_.login_counts[slot(session->kind)]; });
}

}  // namespace temla::korvu_sim
