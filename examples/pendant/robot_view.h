#pragma once

#include <vector>

#include "korvu_sdk/types.h"

namespace temla::korvu_sdk
{
class RobotProxy;
}

namespace pendant
{

// What the window shows of the selected robot, read from the proxy's state cache.
struct RobotView {
    temla::common_interface::RobotModeType robot_mode{};
    temla::common_interface::SafetyModeType safety_mode{};
    temla::common_interface::OperationalModeType operational_mode{};
    temla::common_interface::RuntimeState runtime_state{};
    int line_number = 0;
    double speed_fraction = 0.0;
    std::vector<double> joint_positions;  // rad
    std::vector<double> tcp_pose;         // m, rad
};

RobotView readRobotView(temla::korvu_sdk::RobotProxy &proxy);

}  // namespace pendant
