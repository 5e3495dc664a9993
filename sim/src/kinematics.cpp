#include "kinematics.h"

#include <Eigen/Dense>

#include "robot_proxy/robot_math.h"

namespace temla::korvu_sim
{
namespace
{

// Damping of the least-squares jogging solution: keeps joint speeds finite near singularities.
constexpr double kJogDamping = 1e-4;

std::vector<double> row(const KinematicsParams &params, const char *key, size_t n)
{
    auto it = params.find(key);
    std::vector<double> values = it == params.end() ? std::vector<double>{} : it->second;
    values.resize(n, 0.0);
    return values;
}

Eigen::MatrixXd jacobianAt(const RobotModel &robot, const std::vector<double> &q)
{
    std::vector<double> jac;
    if (robot_math::jacobian(jac, q, robot.tcp_offset, dhTable(robot.real_kinematics), {}) != 0)
        return Eigen::MatrixXd::Zero(6, static_cast<Eigen::Index>(q.size()));
    return Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
        jac.data(), 6, static_cast<Eigen::Index>(q.size()));
}

}  // namespace

std::vector<std::vector<double>> dhTable(const KinematicsParams &params)
{
    size_t n = 0;
    for (const auto &entry : params)
        n = std::max(n, entry.second.size());
    return {row(params, "alpha", n), row(params, "a", n), row(params, "d", n), row(params, "theta", n)};
}

std::vector<double> tcpPose(const RobotModel &robot, const std::vector<double> &q, bool with_tool)
{
    std::vector<double> pose(6, 0.0);
    robot_math::forwardKinematics(pose, q, with_tool ? robot.tcp_offset : std::vector<double>{},
                                  dhTable(robot.real_kinematics), {}, -1);
    return pose;
}

std::optional<std::vector<double>> solvePose(const RobotModel &robot, const std::vector<double> &pose,
                                             const std::vector<double> &seed)
{
    std::vector<double> q;
    if (robot_math::inverseKinematics(q, pose, seed, robot.tcp_offset, dhTable(robot.real_kinematics), {},
                                      robot.joint_min_positions, robot.joint_max_positions) != 0)
        return std::nullopt;
    return q;
}

std::optional<std::vector<double>> jointSpeedsFor(const RobotModel &robot, const std::vector<double> &q,
                                                  const std::vector<double> &twist)
{
    const Eigen::MatrixXd j = jacobianAt(robot, q);
    const Eigen::Map<const Eigen::VectorXd> v(twist.data(), 6);
    const Eigen::MatrixXd jjt = j * j.transpose() + kJogDamping * Eigen::MatrixXd::Identity(6, 6);
    const Eigen::VectorXd qd = j.transpose() * jjt.ldlt().solve(v);
    if (!qd.allFinite())
        return std::nullopt;
    return std::vector<double>(qd.data(), qd.data() + qd.size());
}

std::vector<double> tcpTwist(const RobotModel &robot, const std::vector<double> &q,
                             const std::vector<double> &qd)
{
    const Eigen::VectorXd twist = jacobianAt(robot, q) * Eigen::Map<const Eigen::VectorXd>(
                                                             qd.data(), static_cast<Eigen::Index>(qd.size()));
    return std::vector<double>(twist.data(), twist.data() + twist.size());
}

}  // namespace temla::korvu_sim
