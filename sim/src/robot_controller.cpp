#include "robot_controller.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "controller_messages.h"
#include "kinematics.h"
#include "motion.h"

namespace temla::korvu_sim
{
namespace
{

namespace result = common_interface::command_result;
using common_interface::OperationalModeType;
using common_interface::RobotModeType;
using common_interface::SafetyModeType;
using namespace controller;

const char *operationalModeName(OperationalModeType mode)
{
    switch (mode) {
        case OperationalModeType::Disabled:
            return "OperationalModeType.Disabled";
        case OperationalModeType::Automatic:
            return "OperationalModeType.Automatic";
        default:
            return "OperationalModeType.Manual";
    }
}

}  // namespace

RobotRuntime *findRobot(ControllerState &state, const std::string &name)
{
    for (auto &robot : state.robots)
        if (robot.model.name == name)
            return &robot;
    return nullptr;
}

void RobotController::send(int code, int level, std::vector<std::string> args)
{
    common_interface::RobotMsg message;
    message.timestamp = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    message.level = level;
    message.code = code;
    message.source = robot_.model.name;
    message.args = std::move(args);
    state_.outbox.push_back(std::move(message));
}

void RobotController::enterMode(RobotModeType mode)
{
    robot_.model.robot_mode = mode;
    robot_.transition.reset();
    send(kMsgRobotMode, kLevelInfo, {common_interface::toString(mode)});
}

void RobotController::enterSafetyMode(SafetyModeType mode)
{
    robot_.model.safety_mode = mode;
    send(kMsgSafetyMode, kLevelInfo, {common_interface::toString(mode)});
}

void RobotController::schedule(RobotModeType to, double seconds)
{
    robot_.transition = ModeTransition{to, seconds};
}

int RobotController::refuseWrongMode()
{
    const RobotModeType mode = robot_.model.robot_mode;
    send(kMsgWrongRobotMode, kLevelWarning, {common_interface::toString(mode)});
    return mode == RobotModeType::Idle || mode == RobotModeType::BrakeReleasing ? result::kBrakesHeld
                                                                                : result::kNotPowered;
}

int RobotController::powerOn()
{
    const SafetyModeType safety = robot_.model.safety_mode;
    if (emergency(safety)) {
        send(safety == SafetyModeType::SystemEmergencyStop ? kMsgPowerOnSystemEmergencyStop
                                                           : kMsgPowerOnRobotEmergencyStop,
             kLevelWarning);
        return result::kEmergencyStop;
    }
    const RobotModeType mode = robot_.model.robot_mode;
    if (powered(mode))
        return result::kAccepted;
    if (mode != RobotModeType::PowerOff)
        return refuseWrongMode();
    enterMode(RobotModeType::PowerOn);
    schedule(RobotModeType::Idle, robot_.model.timings.power_on);
    return result::kAccepted;
}

int RobotController::powerOff()
{
    const RobotModeType mode = robot_.model.robot_mode;
    if (mode == RobotModeType::PowerOff || mode == RobotModeType::PowerOffing)
        return result::kAccepted;
    // The brakes catch the arm where it is.
    robot_.motion.reset();
    robot_.jog = nullptr;
    std::fill(robot_.joints.qd.begin(), robot_.joints.qd.end(), 0.0);
    if (robot_.model.freedrive_enabled) {
        robot_.model.freedrive_enabled = false;
        send(kMsgFreedrive, kLevelInfo, {"false"});
    }
    enterMode(RobotModeType::PowerOffing);
    schedule(RobotModeType::PowerOff, robot_.model.timings.power_off);
    return result::kAccepted;
}

int RobotController::startup()
{
    const SafetyModeType safety = robot_.model.safety_mode;
    if (emergency(safety)) {
        send(safety == SafetyModeType::SystemEmergencyStop ? kMsgStartupSystemEmergencyStop
                                                           : kMsgStartupRobotEmergencyStop,
             kLevelWarning);
        return result::kEmergencyStop;
    }
    const RobotModeType mode = robot_.model.robot_mode;
    if (mode == RobotModeType::Running || mode == RobotModeType::BrakeReleasing)
        return result::kAccepted;
    if (mode != RobotModeType::Idle) {
        send(kMsgWrongRobotMode, kLevelWarning, {common_interface::toString(mode)});
        return result::kNotPowered;
    }
    if (!safetyAllowsMotion(safety)) {
        send(kMsgWrongSafetyMode, kLevelWarning, {common_interface::toString(safety)});
        return result::kSafetyStop;
    }
    enterMode(RobotModeType::BrakeReleasing);
    schedule(RobotModeType::Running, robot_.model.timings.brake_release);
    return result::kAccepted;
}

int RobotController::setFreedrive(bool enable)
{
    if (enable == robot_.model.freedrive_enabled)
        return result::kAccepted;
    if (enable) {
        if (int refusal = motionRefusal(false))
            return refusal;
    }
    robot_.model.freedrive_enabled = enable;
    send(kMsgFreedrive, kLevelInfo, {enable ? "true" : "false"});
    return result::kAccepted;
}

int RobotController::setOperationalMode(OperationalModeType mode)
{
    if (mode < OperationalModeType::Disabled || mode > OperationalModeType::Manual)
        return result::kInvalidArgument;
    robot_.model.operational_mode = mode;
    // Jogging belongs to Manual mode: leaving it ends a jog.
    if (mode != OperationalModeType::Manual && robot_.jog)
        brake(std::nullopt, std::nullopt);
    send(kMsgOperationalMode, kLevelInfo, {operationalModeName(mode)});
    return result::kAccepted;
}

int RobotController::unlockProtectiveStop()
{
    const SafetyModeType safety = robot_.model.safety_mode;
    if (emergency(safety))
        return result::kEmergencyStop;
    if (safety != SafetyModeType::ProtectiveStop)
        return result::kNothingToUnlock;
    if (!isSteady())
        return result::kMoving;
    enterSafetyMode(SafetyModeType::Normal);
    return result::kAccepted;
}

int RobotController::setSpeedFraction(double fraction)
{
    if (!std::isfinite(fraction) || fraction < 0.0 || fraction > 1.0)
        return result::kInvalidArgument;
    robot_.model.speed_fraction = fraction;
    return result::kAccepted;
}

int RobotController::motionRefusal(bool jogging)
{
    const SafetyModeType safety = robot_.model.safety_mode;
    if (emergency(safety)) {
        send(kMsgWrongSafetyMode, kLevelWarning, {common_interface::toString(safety)});
        return result::kEmergencyStop;
    }
    if (robot_.model.robot_mode != RobotModeType::Running)
        return refuseWrongMode();
    if (!safetyAllowsMotion(safety)) {
        send(kMsgWrongSafetyMode, kLevelWarning, {common_interface::toString(safety)});
        return result::kSafetyStop;
    }
    if (robot_.model.freedrive_enabled)
        return result::kFreedriveActive;
    if (jogging && robot_.model.operational_mode != OperationalModeType::Manual)
        return result::kAutomaticMode;
    if (robot_.motion && !(jogging && robot_.jog))
        return result::kMoving;
    return result::kAccepted;
}

bool RobotController::validJoints(const std::vector<double> &values) const
{
    return values.size() == robot_.joints.q.size() && allFinite(values);
}

std::vector<double> RobotController::limited(const std::vector<double> &joint_limits, double requested) const
{
    std::vector<double> bounds(joint_limits);
    for (double &b : bounds)
        b = std::min(b, requested);
    return bounds;
}

std::vector<double> RobotController::currentPose() const
{
    return tcpPose(robot_.model, robot_.joints.q);
}

void RobotController::start(std::unique_ptr<Motion> motion)
{
    robot_.jog = nullptr;
    robot_.motion_is_stop = false;
    robot_.motion = std::move(motion);
}

int RobotController::moveJoint(const std::vector<double> &q, double speed, double acceleration)
{
    if (!validJoints(q) || !positive(speed) || !positive(acceleration))
        return result::kInvalidArgument;
    if (int refusal = motionRefusal(false))
        return refusal;
    const RobotModel &m = robot_.model;
    for (size_t j = 0; j < q.size(); ++j)
        if (q[j] < m.joint_min_positions[j] || q[j] > m.joint_max_positions[j]) {
            send(kMsgPlanFailed, kLevelWarning);
            return result::kOutsideJointLimits;
        }
    start(makeJointMove(robot_.joints.q, q, limited(m.joint_max_speeds, speed),
                        limited(m.joint_max_accelerations, acceleration)));
    return result::kAccepted;
}

int RobotController::stopMove(double deceleration)
{
    if (!positive(deceleration))
        return result::kInvalidArgument;
    if (robot_.motion && !robot_.motion_is_stop)
        brake(std::nullopt, deceleration);
    return result::kAccepted;
}

bool RobotController::isSteady() const
{
    return !robot_.motion &&
           std::all_of(robot_.joints.qd.begin(), robot_.joints.qd.end(), [](double v) { return v == 0.0; });
}

void RobotController::brake(std::optional<double> within_seconds, std::optional<double> deceleration)
{
    // Braking starts from the speeds as streamed, whatever the speed fraction was.
    const double scale = robot_.motion_is_stop ? 1.0 : motionScale(robot_.model);
    JointState now = robot_.joints;
    for (double &v : now.qd)
        v *= scale;
    std::vector<double> decelerations = robot_.model.joint_max_accelerations;
    if (deceleration)
        decelerations = limited(decelerations, *deceleration);
    robot_.joints = now;
    robot_.motion = makeBraking(now, decelerations, within_seconds);
    robot_.jog = nullptr;
    robot_.motion_is_stop = true;
}

int RobotController::setDigitalOutput(DigitalBank bank, int index, bool value)
{
    IoValues &io = robot_.model.io_values;
    const auto [word, count] = [&]() -> std::pair<std::uint64_t *, int> {
        switch (bank) {
            case DigitalBank::Standard:
                return {&io.standard_digital_output, robot_.model.io.standard_digital_output};
            case DigitalBank::Tool:
                return {&io.tool_digital_output, robot_.model.io.tool_digital_output};
            default:
                return {&io.configurable_digital_output, robot_.model.io.configurable_digital_output};
        }
    }();
    if (index < 0 || index >= std::min(count, 64))
        return result::kInvalidArgument;
    const std::uint64_t bit = std::uint64_t{1} << index;
    *word = value ? (*word | bit) : (*word & ~bit);
    return result::kAccepted;
}

bool RobotController::setDigitalInput(DigitalBank bank, int index, bool value)
{
    IoValues &io = robot_.model.io_values;
    const auto [word, count] = [&]() -> std::pair<std::uint64_t *, int> {
        switch (bank) {
            case DigitalBank::Standard:
                return {&io.standard_digital_input, robot_.model.io.standard_digital_input};
            case DigitalBank::Tool:
                return {&io.tool_digital_input, robot_.model.io.tool_digital_input};
            default:
                return {&io.configurable_digital_input, robot_.model.io.configurable_digital_input};
        }
    }();
    if (index < 0 || index >= std::min(count, 64))
        return false;
    const std::uint64_t bit = std::uint64_t{1} << index;
    *word = value ? (*word | bit) : (*word & ~bit);
    return true;
}

bool RobotController::setAnalogInput(int index, double value)
{
    auto &inputs = robot_.model.io_values.standard_analog_input;
    if (index < 0 || static_cast<size_t>(index) >= inputs.size() || !std::isfinite(value))
        return false;
    inputs[static_cast<size_t>(index)] = value;
    return true;
}

int RobotController::setAnalogOutput(int index, double value)
{
    auto &outputs = robot_.model.io_values.standard_analog_output;
    if (index < 0 || static_cast<size_t>(index) >= outputs.size() || !std::isfinite(value))
        return result::kInvalidArgument;
    outputs[static_cast<size_t>(index)] = value;
    return result::kAccepted;
}

int RobotController::setTcpOffset(const std::vector<double> &offset)
{
    if (offset.size() != 6 || !allFinite(offset))
        return result::kInvalidArgument;
    if (robot_.motion)
        return result::kMoving;
    robot_.model.tcp_offset = offset;
    return result::kAccepted;
}

int RobotController::setPayload(double mass, const std::vector<double> &cog)
{
    if (!std::isfinite(mass) || mass < 0.0 || cog.size() != 3 || !allFinite(cog))
        return result::kInvalidArgument;
    robot_.model.payload.mass = mass;
    robot_.model.payload.cog = cog;
    return result::kAccepted;
}

void RobotController::protectiveStop(int cause_code)
{
    if (robot_.motion || !isSteady())
        brake(robot_.model.timings.stop, std::nullopt);
    if (robot_.model.safety_mode != SafetyModeType::ProtectiveStop)
        enterSafetyMode(SafetyModeType::ProtectiveStop);
    send(cause_code, kLevelError);
}

void RobotController::collision(int joint)
{
    if (robot_.motion || !isSteady())
        brake(robot_.model.timings.stop, std::nullopt);
    if (robot_.model.safety_mode != SafetyModeType::ProtectiveStop)
        enterSafetyMode(SafetyModeType::ProtectiveStop);
    send(kMsgCollision, kLevelError, {std::to_string(joint)});
}

void RobotController::emergencyStop(SafetyModeType which)
{
    if (robot_.motion || !isSteady())
        brake(robot_.model.timings.stop, std::nullopt);
    enterSafetyMode(which);
    if (which == SafetyModeType::RobotEmergencyStop)
        send(kMsgRobotEmergencyStop, kLevelError);
    // The stop category removes power once the arm stands.
    if (powered(robot_.model.robot_mode)) {
        enterMode(RobotModeType::PowerOffing);
        schedule(RobotModeType::PowerOff, robot_.model.timings.stop);
    }
}

void RobotController::releaseEmergencyStop()
{
    if (emergency(robot_.model.safety_mode))
        enterSafetyMode(SafetyModeType::Normal);
}

void RobotController::setSlowDown(int level, int percent)
{
    robot_.model.slow_down_level = level;
    robot_.model.slow_down_percent = std::clamp(percent, 0, 100);
    send(kMsgSlowDown, kLevelInfo, {std::to_string(level), std::to_string(robot_.model.slow_down_percent)});
}

bool RobotController::pushJoints(const std::vector<double> &q)
{
    if (!validJoints(q))
        return false;
    const RobotModeType mode = robot_.model.robot_mode;
    const bool off = !powered(mode);
    if (!off && !robot_.model.freedrive_enabled)
        return false;
    robot_.joints.q = q;
    if (off)
        send(kMsgMovedWhilePoweredOff, kLevelWarning);
    return true;
}

void RobotController::forceRobotMode(RobotModeType mode)
{
    robot_.model.robot_mode = mode;
    robot_.transition.reset();
    if (mode != RobotModeType::Running) {
        robot_.motion.reset();
        robot_.jog = nullptr;
        std::fill(robot_.joints.qd.begin(), robot_.joints.qd.end(), 0.0);
    }
}

void RobotController::advance(double seconds)
{
    if (robot_.transition) {
        robot_.transition->seconds_left -= seconds;
        if (robot_.transition->seconds_left <= 0.0)
            enterMode(robot_.transition->to);
    }
    if (powered(robot_.model.robot_mode))
        robot_.powered_time += seconds;
    if (!robot_.motion)
        return;
    if (robot_.jog)
        robot_.jog->countDown(seconds);
    const double scale = robot_.motion_is_stop ? 1.0 : motionScale(robot_.model);
    JointState &joints = robot_.joints;
    const bool running = robot_.motion->advance(seconds * scale, joints);
    if (!running) {
        robot_.motion.reset();
        robot_.jog = nullptr;
        std::fill(joints.qd.begin(), joints.qd.end(), 0.0);
    }
}

}  // namespace temla::korvu_sim
