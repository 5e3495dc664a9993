#pragma once

// The facts of the controller protocol that the SDK's users need too: where each server listens,
// the topic of the robot messages and the codes passed to an EventHandler. The wire layer's method
// names and error codes are in korvu_wire/protocol.h.

namespace temla
{
namespace korvu_sdk
{

// Port of each server relative to the controller's base port.
constexpr int kScriptPortOffset = 2;
constexpr int kRpcPortOffset = 4;
constexpr int kRealtimePortOffset = 10;

// The realtime output that carries the robot messages (a list of RobotMsg).
constexpr const char *kRobotMessageTopic = "R1_message";

// Event codes passed to an EventHandler.
// The connection was lost (peer closed, network error, or the peer sent invalid protocol).
// Not raised by a deliberate disconnect().
constexpr int kEventConnectionLost = 1;

}  // namespace korvu_sdk
}  // namespace temla
