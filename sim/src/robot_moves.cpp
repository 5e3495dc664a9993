#include <Eigen/Geometry>
#include <cstdio>
#include <functional>

#include "controller_messages.h"
#include "kinematics.h"
#include "robot_controller.h"
#include "robot_proxy/robot_math.h"

// The controller's Cartesian moves and jogging.
namespace temla::korvu_sim
{
namespace
{

namespace result = common_interface::command_result;
using namespace controller;

// Points at which a Cartesian path is checked for joint solutions before it is accepted, and the
// largest joint step between two of them that still counts as following the path.
constexpr int kPathCheckPoints = 64;
constexpr double kMaxJointStepOnPath = 0.3;
// Turning the tool by 1 rad counts as this much travel (m) when a move's length is measured.
constexpr double kRotationTravel = 0.1;

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
    return jog(qd, acceleration, watchdog, false);
}

int RobotController::speedLine(const std::vector<double> &twist, double acceleration, double watchdog)
{
    if (twist.size() != 6 || !allFinite(twist) || !positive(acceleration) || !positive(watchdog))
        return result::kInvalidArgument;
    return jog(twist, acceleration, watchdog, true);
}

int RobotController::jog(const std::vector<double> &target, double acceleration, double watchdog,
                         bool cartesian)
{
    if (int refusal = motionRefusal(true))
        return refusal;
    // A jog of the other kind is replaced: the joints keep their speeds and follow the new target.
    if (!robot_.jog || robot_.jog_is_cartesian != cartesian) {
        const RobotModel &m = robot_.model;
        Jog::SpeedMap speeds_for;
        if (cartesian)
            speeds_for = [model = m](const std::vector<double> &twist, const std::vector<double> &q) {
                return jointSpeedsFor(model, q, twist);
            };
        else
            speeds_for = [](const std::vector<double> &qd, const std::vector<double> &) {
                return std::optional<std::vector<double>>(qd);
            };
        auto motion =
            std::make_unique<Jog>(std::move(speeds_for), m.joint_max_speeds, m.joint_max_accelerations,
                                  m.joint_min_positions, m.joint_max_positions);
        Jog *raw = motion.get();
        start(std::move(motion));
        robot_.jog = raw;
        robot_.jog_is_cartesian = cartesian;
    }
    robot_.jog->set(target, acceleration, watchdog);
    return result::kAccepted;
}

}  // namespace temla::korvu_sim
