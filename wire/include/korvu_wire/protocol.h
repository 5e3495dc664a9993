#pragma once

// Method names and server error codes of the controller protocol, shared by the clients and the
// simulator. The ports, the robot-message topic and the event codes, which the SDK's users need as
// well, are in korvu_sdk/protocol.h. docs/wire-protocol.md describes the protocol in full.

#include "korvu_sdk/protocol.h"

namespace temla
{
namespace korvu_wire
{

// The servers' ports, as the SDK defines them.
using korvu_sdk::kRealtimePortOffset;
using korvu_sdk::kRpcPortOffset;
using korvu_sdk::kScriptPortOffset;

// Methods common to the three servers.
constexpr const char *kLogin = "login";
constexpr const char *kLogout = "logout";
constexpr const char *kPing = "ping";

// Realtime server.
constexpr const char *kGetOutputMaps = "getOutputMaps";
constexpr const char *kSetTopic = "setTopic";
constexpr const char *kFrameNotification = "frame";
constexpr int kMaxChannels = 16;
constexpr double kMaxFrequency = 1000.0;
// One frame per 1000 s; lower rates would overflow the servers' clocks.
constexpr double kMinFrequency = 0.001;

// Script server.
constexpr const char *kSendString = "sendString";
constexpr const char *kScriptErrorNotification = "scriptError";
constexpr const char *kScriptError2Notification = "scriptError2";
constexpr const char *kVariableUpdateNotification = "variableUpdate";

// Error codes of JSON-RPC error objects sent by the servers.
constexpr int kErrParse = -32700;
constexpr int kErrInvalidRequest = -32600;
constexpr int kErrMethodNotFound = -32601;
constexpr int kErrInvalidParams = -32602;
constexpr int kErrInternal = -32603;
constexpr int kErrNotLoggedIn = -102;  // same value as the client's error_code::kNotLoggedIn
constexpr int kErrLoginRejected = -201;
constexpr int kErrUnknownRobot = -202;
constexpr int kErrUnknownOutput = -203;
constexpr int kErrNoFreeChannel = -204;
constexpr int kErrScriptRejected = -205;

}  // namespace korvu_wire
}  // namespace temla
