#pragma once

#include <optional>
#include <string>
#include <vector>

#include "korvu_sdk/types.h"

namespace temla::korvu_sim::program
{

enum class MotionKind { Joint, Linear, Circular };

// One move a program asks for. Joint moves: target in radians, speed in rad/s. Linear and
// circular moves: poses [x, y, z, rx, ry, rz] in metres and radians, speed in m/s.
struct MotionCommand {
    MotionKind kind = MotionKind::Joint;
    std::vector<double> target;
    std::vector<double> via;  // circular moves only
    double speed = 0.0;
    double acceleration = 0.0;
};

enum class MotionProgress { Moving, Done, Aborted };

// code 0 with an empty reason: accepted / arrived; otherwise the controller's reason.
struct MotionStatus {
    MotionProgress progress = MotionProgress::Done;
    int code = 0;
    std::string reason;
};

// What a running program may do to the controller. The program runner calls it on the
// simulator's I/O thread only, so implementations need no locking of their own against it.
class ProgramHost
{
public:
    virtual ~ProgramHost() = default;

    // The robot the program drives: its name is the source of the program's robot messages.
    virtual std::string robotName() const = 0;
    virtual int dof() const = 0;

    // Starts a move; a refusal comes back with progress Aborted, code and reason.
    virtual MotionStatus startMotion(const MotionCommand &command) = 0;
    // The move started last: Moving, Done, or Aborted (protective stop, fault) with the reason.
    virtual MotionStatus motionStatus() = 0;
    // Pause: the arm holds where it is (true) and continues the same move later (false).
    virtual void holdMotion(bool hold) = 0;
    // Whether the arm stands still (a held or stopped move has come to rest).
    virtual bool steady() = 0;
    // Abandons the current move; the arm decelerates and stands.
    virtual void stopMotion() = 0;

    virtual std::vector<double> jointPositions() = 0;
    virtual std::vector<double> tcpPose() = 0;

    // Standard I/O by 0-based index; false / nullopt when the robot has no such channel.
    virtual bool setDigitalOutput(int index, bool value) = 0;
    virtual std::optional<bool> digitalOutput(int index) = 0;
    virtual std::optional<bool> digitalInput(int index) = 0;
    virtual bool setAnalogOutput(int index, double value) = 0;
    virtual std::optional<double> analogOutput(int index) = 0;
    virtual std::optional<double> analogInput(int index) = 0;

    virtual void setTcp(const std::vector<double> &offset) = 0;
    virtual void setPayload(double mass, const std::vector<double> &cog) = 0;

    // A robot message on "R1_message".
    virtual void sendMessage(const common_interface::RobotMsg &message) = 0;
    // A notification to every logged-in script connection ("scriptError", "variableUpdate").
    virtual void notifyScript(const std::string &method, const std::vector<std::string> &params) = 0;
    // The streamed "runtime_state" and "runtime_context".
    virtual void setRuntimeState(common_interface::RuntimeState state) = 0;
    virtual void setRuntimeContext(int task, int line) = 0;
};

}  // namespace temla::korvu_sim::program
