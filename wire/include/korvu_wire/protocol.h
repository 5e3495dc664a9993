#pragma once

// Method names and server error codes of the controller protocol, shared by the clients and the
// simulator. The ports, the robot-message topic and the event codes, which the SDK's users need as
// well, are in korvu_sdk/protocol.h. docs/wire-protocol.md describes the protocol in full.

#include "korvu_sdk/protocol.h"

namespace temla
{
namespace korvu_wire
{

/// The servers' ports, as the SDK defines them.
using korvu_sdk::kRealtimePortOffset;
using korvu_sdk::kRpcPortOffset;
using korvu_sdk::kScriptPortOffset;

/// Methods common to the three servers.
constexpr const char *kLogin = "login";    ///< log in
constexpr const char *kLogout = "logout";  ///< log out
constexpr const char *kPing = "ping";      ///< liveness probe

/// Realtime server.
constexpr const char *kGetOutputMaps = "getOutputMaps";  ///< list the offered outputs
constexpr const char *kSetTopic = "setTopic";            ///< assign outputs to a channel
constexpr const char *kFrameNotification = "frame";      ///< one frame of a channel
constexpr int kMaxChannels = 16;                         ///< channels per connection
constexpr double kMaxFrequency = 1000.0;                 ///< highest frame rate, Hz
/// One frame per 1000 s; lower rates would overflow the servers' clocks.
constexpr double kMinFrequency = 0.001;

/// Script server.
constexpr const char *kSendString = "sendString";                      ///< run a script
constexpr const char *kScriptErrorNotification = "scriptError";        ///< a script error
constexpr const char *kScriptError2Notification = "scriptError2";      ///< a script error in two parts
constexpr const char *kVariableUpdateNotification = "variableUpdate";  ///< a script variable changed

/// Error codes of JSON-RPC error objects sent by the servers.
constexpr int kErrParse = -32700;           ///< the message could not be parsed
constexpr int kErrInvalidRequest = -32600;  ///< not a valid request
constexpr int kErrMethodNotFound = -32601;  ///< no such method
constexpr int kErrInvalidParams = -32602;   ///< wrong parameters
constexpr int kErrInternal = -32603;        ///< the server failed
constexpr int kErrNotLoggedIn = -102;       ///< same value as the client's error_code::kNotLoggedIn
constexpr int kErrLoginRejected = -201;     ///< wrong user name or password
constexpr int kErrUnknownRobot = -202;      ///< no robot of that name
constexpr int kErrUnknownOutput = -203;     ///< an output name not offered
constexpr int kErrNoFreeChannel = -204;     ///< no channel is free
constexpr int kErrScriptRejected = -205;    ///< the script was refused

}  // namespace korvu_wire
}  // namespace temla
