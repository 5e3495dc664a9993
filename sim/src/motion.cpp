#include "motion.h"

#include <Eigen/Geometry>
#include <cmath>

namespace temla::korvu_sim
{
namespace
{

constexpr double kTicksPerRadian = 131072.0 / (2.0 * 3.14159265358979323846);

double paramAt(const KinematicsParams &params, const char *key, size_t j)
{
    auto it = params.find(key);
    return it != params.end() && j < it->second.size() ? it->second[j] : 0.0;
}

std::vector<double> toPose(const Eigen::Isometry3d &frame)
{
    const Eigen::Matrix3d r = frame.rotation();
    double ry = std::atan2(-r(2, 0), std::hypot(r(0, 0), r(1, 0)));
    double rz = std::atan2(r(1, 0), r(0, 0));
    double rx = std::atan2(r(2, 1), r(2, 2));
    const Eigen::Vector3d p = frame.translation();
    return {p.x(), p.y(), p.z(), rx, ry, rz};
}

}  // namespace

std::vector<double> forwardKinematics(const KinematicsParams &params, const std::vector<double> &q)
{
    Eigen::Isometry3d frame = Eigen::Isometry3d::Identity();
    for (size_t j = 0; j < q.size(); ++j) {
        double theta = q[j] + paramAt(params, "theta", j);
        frame = frame * Eigen::AngleAxisd(theta, Eigen::Vector3d::UnitZ()) *
                Eigen::Translation3d(paramAt(params, "a", j), 0.0, paramAt(params, "d", j)) *
                Eigen::AngleAxisd(paramAt(params, "alpha", j), Eigen::Vector3d::UnitX()) *
                Eigen::AngleAxisd(paramAt(params, "beta", j), Eigen::Vector3d::UnitY());
    }
    return toPose(frame);
}

MotionSample sampleMotion(const RobotModel &robot, double t, bool moving)
{
    MotionSample s;
    const size_t n = robot.home_positions.size();
    s.q.resize(n);
    s.qd.resize(n);
    s.current.resize(n);
    s.enc_ticks.resize(n);
    for (size_t j = 0; j < n; ++j) {
        double phase = robot.motion_omega * t + static_cast<double>(j);
        s.q[j] = robot.home_positions[j] + robot.motion_amplitude * std::sin(phase);
        s.qd[j] = moving ? robot.motion_amplitude * robot.motion_omega * std::cos(phase) : 0.0;
        s.current[j] = 0.4 + 0.8 * std::abs(s.qd[j]) + (j == 1 ? 1.5 : 0.0);
        s.enc_ticks[j] = static_cast<int>(std::lround(s.q[j] * kTicksPerRadian));
    }
    s.tcp_pose = forwardKinematics(robot.real_kinematics, s.q);
    constexpr double dt = 1e-3;
    std::vector<double> ahead(s.q);
    for (size_t j = 0; j < n; ++j)
        ahead[j] += s.qd[j] * dt;
    std::vector<double> next = forwardKinematics(robot.real_kinematics, ahead);
    s.tcp_speed.resize(6);
    for (size_t k = 0; k < 6; ++k)
        s.tcp_speed[k] = (next[k] - s.tcp_pose[k]) / dt;
    s.tool_pose = s.tcp_pose;
    s.tcp_force = {0.0, 0.0, -robot.payload.mass * 9.81, 0.0, 0.0, 0.0};
    return s;
}

}  // namespace temla::korvu_sim
