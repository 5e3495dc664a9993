#pragma once

#include <asio.hpp>
#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "korvu_sdk/types.h"
#include "korvu_sim/scenario.h"
#include "korvu_wire/framed_connection.h"

namespace temla::korvu_sim
{

using SteadyClock = std::chrono::steady_clock;

inline constexpr size_t kServerCount = 3;

inline size_t slot(ServerKind kind)
{
    return static_cast<size_t>(kind);
}

const char *serverName(ServerKind kind);

// A realtime channel a peer opened with setTopic.
struct Channel {
    int id = 0;
    std::vector<std::string> topics;
    bool carries_messages = false;
    bool messages_only = false;
    std::deque<common_interface::RobotMsg> pending;
    std::unique_ptr<asio::steady_timer> timer;
    SteadyClock::duration period{};
};

// One peer connection of any of the three servers; only the io thread touches it.
struct Session {
    ServerKind kind = ServerKind::Rpc;
    std::shared_ptr<korvu_wire::FramedConnection> connection;
    std::string peer;
    bool logged_in = false;
    std::map<int, Channel> channels;  // realtime only
};

}  // namespace temla::korvu_sim
