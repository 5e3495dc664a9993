#pragma once

/// @file
/// The facts of the controller protocol that the SDK's users need too: where each server listens,
/// the topic of the robot messages and the codes passed to an EventHandler. The wire layer's method
/// names and error codes are in korvu_wire/protocol.h.

namespace temla
{
namespace korvu_sdk
{

/// Port of each server relative to the controller's base port.
constexpr int kScriptPortOffset = 2;     ///< script server
constexpr int kRpcPortOffset = 4;        ///< RPC server
constexpr int kRealtimePortOffset = 10;  ///< realtime data server

/// The realtime output that carries the robot messages (a list of RobotMsg).
constexpr const char *kRobotMessageTopic = "R1_message";

/// Event codes passed to an EventHandler.
/// The connection was lost (peer closed, network error, or the peer sent invalid protocol).
/// Not raised by a deliberate disconnect().
constexpr int kEventConnectionLost = 1;

/// Liveness of a connection: after kPingIntervalMs without any message from the server the client
/// sends a `ping` request; once kLivenessTimeoutMs pass without any message the connection is
/// closed as lost (event 1). A client checks every quarter of the ping interval, so a silent server
/// is reported within kLivenessTimeoutMs + kPingIntervalMs / 4 of its last message.
constexpr int kPingIntervalMs = 1000;
constexpr int kLivenessTimeoutMs = 3 * kPingIntervalMs;  ///< silence that closes a connection as lost

}  // namespace korvu_sdk
}  // namespace temla
