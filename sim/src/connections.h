#pragma once

#include <array>
#include <asio.hpp>
#include <memory>
#include <set>
#include <string>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"
#include "korvu_wire/protocol.h"
#include "session.h"
#include "korvu_wire/framed_connection.h"

namespace temla::korvu_sim
{

// The front shared by the three servers: binding, accepting, framing, login and logout, the
// injected method faults, and routing each request to the server its connection belongs to.
// Everything but bind() runs on the io thread.
class Connections
{
public:
    explicit Connections(Simulator::Impl &sim) : sim_(sim) {}

    // Throws std::system_error when the ports cannot be bound (after retrying other bases when
    // the base port is picked).
    void bind();
    void startAccepting();
    // Closes the servers, every connection and every pending stalled answer.
    void close();
    // Closes the current connections of one server or of all; the servers keep accepting.
    void drop(ServerKind kind);
    void send(const std::shared_ptr<Session> &session, const korvu_wire::Json &message);
    // Bytes of unfinished incoming frames over all connections; any thread.
    std::size_t bufferedInput() const { return input_budget_->used(); }

private:
    void accept(ServerKind kind);
    void onMessage(const std::shared_ptr<Session> &session, const std::string &payload);
    void onClosed(const std::shared_ptr<Session> &session, const std::string &reason, bool local);
    void handleRequest(const std::shared_ptr<Session> &session, const korvu_wire::Envelope &request);
    korvu_wire::Json route(const std::shared_ptr<Session> &session, const korvu_wire::Envelope &request);
    korvu_wire::Json login(const std::shared_ptr<Session> &session, const korvu_wire::Json &params);
    void logout(const std::shared_ptr<Session> &session);
    void answer(const std::shared_ptr<Session> &session, korvu_wire::Json response,
                std::chrono::milliseconds stall);

    Simulator::Impl &sim_;
    std::array<std::unique_ptr<asio::ip::tcp::acceptor>, kServerCount> acceptors_;
    std::set<std::shared_ptr<asio::steady_timer>> stall_timers_;
    // Many peers announcing large frames must not hold the simulator's memory between them.
    const std::shared_ptr<korvu_wire::InputBudget> input_budget_ =
        std::make_shared<korvu_wire::InputBudget>(kMaxBufferedInput);
};

}  // namespace temla::korvu_sim
