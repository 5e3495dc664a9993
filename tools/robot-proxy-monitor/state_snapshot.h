#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "korvu_sdk/types.h"

namespace temla::korvu_sdk
{
class RobotProxy;
}

namespace monitor
{

// The I/O of the selected robot as the cache decodes it; bits up to the robot's I/O counts.
struct IoSummary {
    std::vector<bool> standard_digital_inputs;
    std::vector<bool> standard_digital_outputs;
    std::vector<bool> configurable_digital_inputs;
    std::vector<bool> configurable_digital_outputs;
    std::vector<bool> tool_digital_inputs;
    std::vector<bool> tool_digital_outputs;
    std::vector<double> standard_analog_inputs;
    std::vector<double> standard_analog_outputs;
};

// What the status display shows, read from the proxy and its realtime state cache (getters only).
// Units as the cache holds them: radians, metres.
struct StateSnapshot {
    bool connected = false;
    bool logged_in = false;
    int robot_index = -1;
    std::string robot_name;
    std::string robot_type;
    temla::common_interface::RobotModeType robot_mode{};
    temla::common_interface::SafetyModeType safety_mode{};
    temla::common_interface::OperationalModeType operational_mode{};
    temla::common_interface::RuntimeState runtime_state{};
    int thread_id = 0;
    int line_number = 0;
    std::vector<double> joint_positions;
    std::vector<double> tcp_pose;
    double speed_fraction = 0.0;
    IoSummary io;
};

StateSnapshot readSnapshot(temla::korvu_sdk::RobotProxy &proxy);

// Keys named after the getters; enumerations as integers.
nlohmann::ordered_json toJson(const StateSnapshot &state);

// Text of a program runtime state ("Running", "Paused", ...), or its number when unknown.
std::string runtimeStateText(temla::common_interface::RuntimeState state);

}  // namespace monitor
