#include "sim_program_host.h"

#include "kinematics.h"
#include "robot_controller.h"

namespace temla::korvu_sim::program
{
namespace
{

namespace result = common_interface::command_result;
using common_interface::RobotModeType;
using common_interface::SafetyModeType;

std::string reasonOf(int code)
{
    switch (code) {
        case result::kNotPowered:
            return "the arm is not powered";
        case result::kBrakesHeld:
            return "the brakes are held";
        case result::kSafetyStop:
            return "a safety stop is active";
        case result::kEmergencyStop:
            return "an emergency stop is active";
        case result::kOutsideJointLimits:
            return "outside the joint limits";
        case result::kUnreachable:
            return "the pose cannot be reached";
        case result::kInvalidArgument:
            return "invalid argument";
        case result::kFreedriveActive:
            return "freedrive is on";
        case result::kMoving:
            return "another move is running";
        default:
            return "refused by the controller";
    }
}

bool isSafe(SafetyModeType mode)
{
    return mode == SafetyModeType::Normal || mode == SafetyModeType::ReducedMode;
}

bool isEmergency(SafetyModeType mode)
{
    return mode == SafetyModeType::RobotEmergencyStop || mode == SafetyModeType::SystemEmergencyStop;
}

}  // namespace

template <typename Command>
auto SimProgramHost::command(Command &&run)
{
    links.advance_model();
    auto outcome = [&] {
        std::lock_guard<std::mutex> lock(links.mutex);
        RobotController controller(links.state, links.state.robots.front());
        return run(controller, links.state.robots.front());
    }();
    links.flush_outbox();
    links.notify_change();
    return outcome;
}

int SimProgramHost::issue(const MotionCommand &move)
{
    return command([&](RobotController &controller, RobotRuntime &) {
        switch (move.kind) {
            case MotionKind::Joint:
                return controller.moveJoint(move.target, move.speed, move.acceleration);
            case MotionKind::Linear:
                return controller.moveLine(move.target, move.speed, move.acceleration);
            case MotionKind::Circular:
                return controller.moveCircle(move.via, move.target, move.speed, move.acceleration);
        }
        return result::kInvalidArgument;
    });
}

MotionStatus SimProgramHost::startMotion(const MotionCommand &move)
{
    refused.reset();
    held = false;
    const int code = issue(move);
    if (code == result::kMoving && braking()) {
        // The arm still brakes from a stopped program: the move starts once it stands.
        current = move;
        deferred = true;
        return {MotionProgress::Moving, 0, {}};
    }
    if (code != result::kAccepted)
        return {MotionProgress::Aborted, code, reasonOf(code)};
    current = move;
    return {MotionProgress::Moving, 0, {}};
}

bool SimProgramHost::braking()
{
    std::lock_guard<std::mutex> lock(links.mutex);
    const RobotRuntime &robot = links.state.robots.front();
    return robot.motion && robot.motion_is_stop;
}

MotionStatus SimProgramHost::motionStatus()
{
    if (deferred && current && !braking()) {
        deferred = false;
        const int code = issue(*current);
        if (code != result::kAccepted)
            refused = MotionStatus{MotionProgress::Aborted, code, reasonOf(code)};
    }
    if (refused)
        return *refused;
    return command([&](RobotController &, RobotRuntime &robot) -> MotionStatus {
        const SafetyModeType safety = robot.model.safety_mode;
        if (!isSafe(safety)) {
            const int code = isEmergency(safety) ? result::kEmergencyStop : result::kSafetyStop;
            return {MotionProgress::Aborted, code, "safety mode " + common_interface::toString(safety)};
        }
        if (robot.model.robot_mode != RobotModeType::Running)
            return {MotionProgress::Aborted, result::kNotPowered,
                    "robot mode " + common_interface::toString(robot.model.robot_mode)};
        if (robot.motion || held)
            return {MotionProgress::Moving, 0, {}};
        current.reset();
        return {MotionProgress::Done, 0, {}};
    });
}

void SimProgramHost::holdMotion(bool hold)
{
    if (hold == held || !current)
        return;
    held = hold;
    if (hold) {
        const double deceleration = current->acceleration;
        command(
            [&](RobotController &controller, RobotRuntime &) { return controller.stopMove(deceleration); });
        return;
    }
    const int code = issue(*current);
    if (code != result::kAccepted)
        refused = MotionStatus{MotionProgress::Aborted, code, reasonOf(code)};
}

bool SimProgramHost::steady()
{
    return command([&](RobotController &controller, RobotRuntime &) { return controller.isSteady(); });
}

void SimProgramHost::stopMotion()
{
    const double deceleration = current ? current->acceleration : 0.0;
    current.reset();
    held = false;
    deferred = false;
    if (deceleration > 0.0)
        command(
            [&](RobotController &controller, RobotRuntime &) { return controller.stopMove(deceleration); });
}

std::string SimProgramHost::robotName() const
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return links.state.robots.front().model.name;
}

int SimProgramHost::dof() const
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return static_cast<int>(links.state.robots.front().joints.q.size());
}

std::vector<double> SimProgramHost::jointPositions()
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return links.state.robots.front().joints.q;
}

std::vector<double> SimProgramHost::tcpPose()
{
    std::lock_guard<std::mutex> lock(links.mutex);
    const RobotRuntime &robot = links.state.robots.front();
    return korvu_sim::tcpPose(robot.model, robot.joints.q);
}

bool SimProgramHost::setDigitalOutput(int index, bool value)
{
    return command([&](RobotController &controller, RobotRuntime &) {
               return controller.setDigitalOutput(DigitalBank::Standard, index, value);
           }) == result::kAccepted;
}

namespace
{

std::optional<bool> bitOf(std::uint64_t word, int index, int count)
{
    if (index < 0 || index >= std::min(count, 64))
        return std::nullopt;
    return ((word >> index) & 1u) != 0;
}

std::optional<double> entryOf(const std::vector<double> &values, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= values.size())
        return std::nullopt;
    return values[static_cast<size_t>(index)];
}

}  // namespace

std::optional<bool> SimProgramHost::digitalOutput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    const RobotModel &m = links.state.robots.front().model;
    return bitOf(m.io_values.standard_digital_output, index, m.io.standard_digital_output);
}

std::optional<bool> SimProgramHost::digitalInput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    const RobotModel &m = links.state.robots.front().model;
    return bitOf(m.io_values.standard_digital_input, index, m.io.standard_digital_input);
}

bool SimProgramHost::setAnalogOutput(int index, double value)
{
    return command([&](RobotController &controller, RobotRuntime &) {
               return controller.setAnalogOutput(index, value);
           }) == result::kAccepted;
}

std::optional<double> SimProgramHost::analogOutput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return entryOf(links.state.robots.front().model.io_values.standard_analog_output, index);
}

std::optional<double> SimProgramHost::analogInput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return entryOf(links.state.robots.front().model.io_values.standard_analog_input, index);
}

void SimProgramHost::setTcp(const std::vector<double> &offset)
{
    command([&](RobotController &controller, RobotRuntime &) { return controller.setTcpOffset(offset); });
}

void SimProgramHost::setPayload(double mass, const std::vector<double> &cog)
{
    command([&](RobotController &controller, RobotRuntime &) { return controller.setPayload(mass, cog); });
}

void SimProgramHost::sendMessage(const common_interface::RobotMsg &message)
{
    links.send_message(message);
    links.notify_change();
}

void SimProgramHost::notifyScript(const std::string &method, const std::vector<std::string> &params)
{
    links.notify_script(method, params);
}

void SimProgramHost::setRuntimeState(common_interface::RuntimeState state)
{
    {
        std::lock_guard<std::mutex> lock(links.mutex);
        links.state.runtime_state = state;
    }
    links.notify_change();
}

void SimProgramHost::setRuntimeContext(int task, int line)
{
    {
        std::lock_guard<std::mutex> lock(links.mutex);
        links.state.runtime_context = {task, line};
    }
    links.notify_change();
}

}  // namespace temla::korvu_sim::program
