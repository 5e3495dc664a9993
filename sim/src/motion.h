#pragma once

#include <vector>

#include "korvu_sim/robot_model.h"

namespace temla::korvu_sim
{

// The streamed motion values of one robot at motion time t: the time the robot has spent
// Running, so that the joints stand still wherever they were when it stopped.
struct MotionSample {
    std::vector<double> q;
    std::vector<double> qd;
    std::vector<double> current;
    std::vector<double> tcp_pose;
    std::vector<double> tcp_speed;
    std::vector<double> tool_pose;
    std::vector<double> tcp_force;
    std::vector<int> enc_ticks;
};

// Speeds are zero unless moving.
MotionSample sampleMotion(const RobotModel &robot, double t, bool moving);

// Pose [x, y, z, rx, ry, rz] of the flange for joint positions q under standard DH parameters.
std::vector<double> forwardKinematics(const KinematicsParams &params, const std::vector<double> &q);

}  // namespace temla::korvu_sim
