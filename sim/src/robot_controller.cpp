#include "robot_controller.h"

#include <Eigen/Geometry>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "kinematics.h"
#include "motion.h"
#include "robot_proxy/robot_math.h"

namespace temla::korvu_sim
{
namespace
{

namespace result = common_interface::command_result;
using common_interface::OperationalModeType;
using common_interface::RobotModeType;
using common_interface::SafetyModeType;

// Robot message codes the controller sends.
enum MessageCode : int {
    kMsgCollision = 30014,
    kMsgOperationalMode = 30027,
    kMsgMovedWhilePoweredOff = 30031,
    kMsgWrongSafetyMode = 30038,
    kMsgSafetyMode = 30039,
    kMsgRobotEmergencyStop = 30044,
    kMsgRobotMode = 30045,
    kMsgWrongRobotMode = 30046,
    kMsgOutOfReach = 30047,
    kMsgPlanFailed = 30048,
    kMsgPowerOnSystemEmergencyStop = 30052,
    kMsgPowerOnRobotEmergencyStop = 30053,
    kMsgStartupSystemEmergencyStop = 30056,
    kMsgStartupRobotEmergencyStop = 30057,
    kMsgFreedrive = 30083,
    kMsgSlowDown = 30307,
};

// Levels: up to 2 the operator sees a popup; state changes are informational.
constexpr int kLevelError = 1;
constexpr int kLevelWarning = 2;
constexpr int kLevelInfo = 3;

// Points at which a Cartesian path is checked for joint solutions before it is accepted, and the
// largest joint step between two of them that still counts as following the path.
constexpr int kPathCheckPoints = 64;
constexpr double kMaxJointStepOnPath = 0.3;
// Turning the tool by 1 rad counts as this much travel (m) when a move's length is measured.
constexpr double kRotationTravel = 0.1;

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

bool powered(RobotModeType mode)
{
    return mode >= RobotModeType::PowerOn && mode <= RobotModeType::Maintaince;
}

bool emergency(SafetyModeType mode)
{
    return mode == SafetyModeType::SystemEmergencyStop || mode == SafetyModeType::RobotEmergencyStop;
}

bool safetyAllowsMotion(SafetyModeType mode)
{
    return mode == SafetyModeType::Normal || mode == SafetyModeType::ReducedMode;
}

bool allFinite(const std::vector<double> &values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool positive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

double angleBetween(const std::vector<double> &a, const std::vector<double> &b)
{
    auto qa = robot_math::rpy_to_quaternion({a[3], a[4], a[5]});
    auto qb = robot_math::rpy_to_quaternion({b[3], b[4], b[5]});
    Eigen::Quaterniond ea(qa[0], qa[1], qa[2], qa[3]), eb(qb[0], qb[1], qb[2], qb[3]);
    return ea.angularDistance(eb);
}

double distance(const std::vector<double> &a, const std::vector<double> &b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

std::string poseText(const std::vector<double> &pose)
{
    std::string text;
    for (size_t k = 0; k < pose.size(); ++k) {
        char value[32];
        std::snprintf(value, sizeof value, "%.4f", pose[k]);
        text += (k ? "," : "") + std::string(value);
    }
    return text;
}

// A Cartesian path: the pose at share u (0 to 1) of the way.
using PosePath = std::function<std::vector<double>(double u)>;

std::vector<double> blendOrientation(const std::vector<double> &start, const std::vector<double> &end,
                                     const std::vector<double> &position, double u)
{
    std::vector<double> pose = robot_math::interpolate_pose(start, end, u);
    std::copy(position.begin(), position.end(), pose.begin());
    return pose;
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

namespace
{

// Joint solutions along the path, from the seed on; nullopt when a point has none or the arm would
// have to jump between two of them.
std::optional<std::vector<double>> followPath(const RobotModel &robot, const PosePath &path,
                                              std::vector<double> seed)
{
    for (int k = 1; k <= kPathCheckPoints; ++k) {
        auto q = solvePose(robot, path(static_cast<double>(k) / kPathCheckPoints), seed);
        if (!q)
            return std::nullopt;
        for (size_t j = 0; j < q->size(); ++j)
            if (std::abs((*q)[j] - seed[j]) > kMaxJointStepOnPath)
                return std::nullopt;
        seed = *q;
    }
    return seed;
}

}  // namespace

int RobotController::moveLine(const std::vector<double> &pose, double speed, double acceleration)
{
    if (pose.size() != 6 || !allFinite(pose) || !positive(speed) || !positive(acceleration))
        return result::kInvalidArgument;
    if (int refusal = motionRefusal(false))
        return refusal;
    const std::vector<double> start_pose = currentPose();
    PosePath path = [start_pose, pose](double u) {
        return robot_math::interpolate_pose(start_pose, pose, u);
    };
    if (!followPath(robot_.model, path, robot_.joints.q)) {
        send(kMsgOutOfReach, kLevelWarning, {poseText(pose)});
        return result::kUnreachable;
    }
    const double length =
        std::max(distance(start_pose, pose), kRotationTravel * angleBetween(start_pose, pose));
    const RobotModel &m = robot_.model;
    const double v = std::min(speed, m.tcp_max_speeds.empty() ? speed : m.tcp_max_speeds[0]);
    const double a =
        std::min(acceleration, m.tcp_max_accelerations.empty() ? acceleration : m.tcp_max_accelerations[0]);
    RobotModel model = m;
    start(makePathMove(length, v, a, [model, path, length](double s, const std::vector<double> &seed) {
        return solvePose(model, path(length > 0.0 ? s / length : 1.0), seed);
    }));
    return result::kAccepted;
}

int RobotController::moveCircle(const std::vector<double> &via, const std::vector<double> &end, double speed,
                                double acceleration)
{
    if (via.size() != 6 || end.size() != 6 || !allFinite(via) || !allFinite(end) || !positive(speed) ||
        !positive(acceleration))
        return result::kInvalidArgument;
    if (int refusal = motionRefusal(false))
        return refusal;
    const std::vector<double> start_pose = currentPose();
    std::vector<double> frame, center;
    double arc = 0.0, radius = 0.0;
    if (!robot_math::circleFrameFrom3Poses(start_pose, via, end, frame, arc) ||
        !robot_math::circleCenter(start_pose, via, end, center, radius)) {
        send(kMsgPlanFailed, kLevelWarning);
        return result::kUnreachable;
    }
    auto fq = robot_math::rpy_to_quaternion({frame[3], frame[4], frame[5]});
    const Eigen::Quaterniond rotation(fq[0], fq[1], fq[2], fq[3]);
    const Eigen::Vector3d origin(frame[0], frame[1], frame[2]);
    PosePath path = [=](double u) {
        const double phi = arc * u;
        const Eigen::Vector3d p =
            origin + rotation * Eigen::Vector3d(radius * std::cos(phi), radius * std::sin(phi), 0.0);
        return blendOrientation(start_pose, end, {p.x(), p.y(), p.z()}, u);
    };
    if (!followPath(robot_.model, path, robot_.joints.q)) {
        send(kMsgOutOfReach, kLevelWarning, {poseText(end)});
        return result::kUnreachable;
    }
    const double length = std::max(radius * arc, kRotationTravel * angleBetween(start_pose, end));
    const RobotModel &m = robot_.model;
    const double v = std::min(speed, m.tcp_max_speeds.empty() ? speed : m.tcp_max_speeds[0]);
    const double a =
        std::min(acceleration, m.tcp_max_accelerations.empty() ? acceleration : m.tcp_max_accelerations[0]);
    RobotModel model = m;
    start(makePathMove(length, v, a, [model, path, length](double s, const std::vector<double> &seed) {
        return solvePose(model, path(length > 0.0 ? s / length : 1.0), seed);
    }));
    return result::kAccepted;
}

int RobotController::speedJoint(const std::vector<double> &qd, double acceleration, double watchdog)
{
    if (!validJoints(qd) || !positive(acceleration) || !positive(watchdog))
        return result::kInvalidArgument;
    if (int refusal = motionRefusal(true))
        return refusal;
    if (!robot_.jog) {
        const RobotModel &m = robot_.model;
        auto jog = std::make_unique<Jog>(
            [](const std::vector<double> &target, const std::vector<double> &) {
                return std::optional<std::vector<double>>(target);
            },
            m.joint_max_speeds, m.joint_max_accelerations, m.joint_min_positions, m.joint_max_positions);
        Jog *raw = jog.get();
        start(std::move(jog));
        robot_.jog = raw;
    }
    robot_.jog->set(qd, acceleration, watchdog);
    return result::kAccepted;
}

int RobotController::speedLine(const std::vector<double> &twist, double acceleration, double watchdog)
{
    if (twist.size() != 6 || !allFinite(twist) || !positive(acceleration) || !positive(watchdog))
        return result::kInvalidArgument;
    if (int refusal = motionRefusal(true))
        return refusal;
    // A jog of the other kind ends first: joint and Cartesian targets do not mix.
    if (robot_.jog)
        robot_.jog = nullptr, robot_.motion.reset();
    const RobotModel &m = robot_.model;
    RobotModel model = m;
    auto jog = std::make_unique<Jog>(
        [model](const std::vector<double> &target, const std::vector<double> &q) {
            return jointSpeedsFor(model, q, target);
        },
        m.joint_max_speeds, m.joint_max_accelerations, m.joint_min_positions, m.joint_max_positions);
    jog->set(twist, acceleration, watchdog);
    start(std::move(jog));
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
