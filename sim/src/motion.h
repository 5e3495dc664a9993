#pragma once

#include <vector>

#include "controller_state.h"

namespace temla::korvu_sim
{

// The streamed motion values of one robot: its joint state as the controller moves it, and the
// poses and speeds robot_math derives from it.
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

MotionSample sampleMotion(const RobotRuntime &robot);

// The joint speeds as streamed: a commanded motion runs at the pace of the speed fraction and the
// slow-down level, a stop at its own.
std::vector<double> streamedSpeeds(const RobotRuntime &robot);

// The share of the commanded speeds the speed fraction and the slow-down level allow.
double motionScale(const RobotModel &robot);

}  // namespace temla::korvu_sim
