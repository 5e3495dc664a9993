#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "korvu_sdk/client_common.h"
#include "korvu_sdk/export.h"
#include "korvu_sdk/input_parser.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{
class RtdeCore;
}  // namespace detail

/// Receives one frame of a channel.
using SubscribeCallback = std::function<void(InputParser &)>;

/// Results of setTopic() when no channel is assigned.
constexpr int kTopicNotConnected = -1;  ///< not connected or not logged in
constexpr int kTopicRejected = -2;      ///< a name is not offered, no channel is free, or bad arguments
constexpr int kTopicNoAnswer = -3;      ///< timeout, lost connection or malformed reply

/// Results of subscribe().
constexpr int kSubscribeNotConnected = -1;  ///< not connected or not logged in
constexpr int kSubscribeNoTopic = -2;       ///< no topic has been set on that channel

/// Client of the controller's realtime data server. Frames are delivered to the subscribers on
/// the client's delivery thread, one at a time, in arrival order. An exception leaving a subscriber
/// is caught and logged; delivery goes on.
class KORVU_SDK_EXPORT RtdeClient
{
public:
    /// A client with no connection; mode is ignored.
    explicit RtdeClient(int mode = 0);
    /// Ends the connection.
    ~RtdeClient();
    /// Not copyable.
    RtdeClient(const RtdeClient &) = delete;
    /// Not copyable.
    RtdeClient &operator=(const RtdeClient &) = delete;

    /// Connects to the server at ip and port: kConnectOk (also when already connected) or a kConnect* code.
    int connect(const std::string &ip, int port);
    /// Logs in: 0 on success, kLogin* otherwise.
    int login(const std::string &user, const std::string &password);
    /// Logs out; does nothing when not connected.
    int logout();
    /// The same with the logout request bounded by timeout_ms instead of the request time-out.
    int logout(int timeout_ms);
    /// Ends the connection, its topics and subscriptions. Returns once no subscriber of this client
    /// is running any more; called from inside a subscriber it returns at once and no further
    /// subscriber is called after the current one. Because it waits for a running subscriber, do not
    /// call it while holding a lock that a subscriber may be waiting for.
    int disconnect();
    /// Whether the connection is open.
    bool hasConnected() const;
    /// Whether the client is logged in.
    bool hasLogined() const;

    /// Receives the client's log lines.
    void setLogHandler(LogHandler handler);
    /// Receives the client's connection events.
    void setEventHandler(EventHandler handler);
    /// How long a connection may carry nothing from the server before it is closed as lost
    /// (event 1), in milliseconds; default kLivenessTimeoutMs, 0 turns the check off. Applies from
    /// the next connect(). Returns 0.
    int setLivenessTimeout(int timeout_ms);

    /// Output names the server offers, with their InputParser::Type codes. Empty when not
    /// connected, not logged in, or on failure.
    std::map<std::string, int> getOutputMaps();
    /// Asks for the outputs `names` at `frequency` Hz on `channel` (another free channel when that
    /// one is taken). Returns the assigned channel, or kTopic* (negative). Only to_server == false
    /// is supported.
    int setTopic(bool to_server, const std::vector<std::string> &names, double frequency, int channel);
    /// Calls callback for every frame of channel; replaces an earlier callback of that channel.
    int subscribe(int channel, SubscribeCallback callback);

private:
    std::shared_ptr<detail::RtdeCore> core_;
};

}  // namespace korvu_sdk
}  // namespace temla
