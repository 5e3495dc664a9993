#pragma once

// Constants of the controller protocol shared by the clients and the simulator.
// docs/wire-protocol.md describes the protocol in full.

namespace temla
{
namespace korvu_wire
{

// Port of each server relative to the controller's base port.
constexpr int kScriptPortOffset = 2;
constexpr int kRpcPortOffset = 4;
constexpr int kRealtimePortOffset = 10;

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
