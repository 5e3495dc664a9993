#pragma once

#include <optional>
#include <vector>

#include "korvu_sim/robot_model.h"

namespace temla::korvu_sim
{

// The robot's kinematics through robot_math, with the robot's real parameters (modified DH rows
// alpha, a, d, theta; "beta" is not part of the chain) and its TCP offset.

// Rows alpha, a, d, theta of the parameters, as robot_math takes them.
std::vector<std::vector<double>> dhTable(const KinematicsParams &params);

// TCP pose [x, y, z, rx, ry, rz] for joint positions q; the flange pose when with_tool is false.
std::vector<double> tcpPose(const RobotModel &robot, const std::vector<double> &q, bool with_tool = true);

// Joint positions within the joint limits that put the TCP at pose, found from seed; nullopt when
// there is none near the seed.
std::optional<std::vector<double>> solvePose(const RobotModel &robot, const std::vector<double> &pose,
                                             const std::vector<double> &seed);

// Joint speeds that move the TCP with the twist [v, w] at q (damped least squares); nullopt near a
// singularity where no finite joint speed achieves it.
std::optional<std::vector<double>> jointSpeedsFor(const RobotModel &robot, const std::vector<double> &q,
                                                  const std::vector<double> &twist);

// The TCP's twist [v, w] for joint speeds qd at q.
std::vector<double> tcpTwist(const RobotModel &robot, const std::vector<double> &q,
                             const std::vector<double> &qd);

}  // namespace temla::korvu_sim
