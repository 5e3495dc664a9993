#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "korvu_sdk/types.h"

namespace temla::korvu_sim
{

// Kinematic parameters by name ("a", "d", "alpha", "theta", "beta"), one value per joint.
using KinematicsParams = std::unordered_map<std::string, std::vector<double>>;

struct BoardInfo {
    std::string unique_id;
    int firmware_version = 0;
    int hardware_version = 0;
};

struct IoCounts {
    int standard_digital_input = 16;
    int tool_digital_input = 4;
    int configurable_digital_input = 16;
    int standard_digital_output = 16;
    int tool_digital_output = 4;
    int configurable_digital_output = 16;
    int standard_analog_input = 2;
    int tool_analog_input = 2;
    int standard_analog_output = 2;
    int tool_analog_output = 0;
    int static_link_input = 8;
    int static_link_output = 8;
};

struct PayloadModel {
    double mass = 0.0;
    std::vector<double> cog{0.0, 0.0, 0.0};
    std::vector<double> offset{0.0, 0.0, 0.0};
    std::vector<double> inertia = std::vector<double>(9, 0.0);
};

// One simulated robot: what the controller reports over RPC plus the inputs of the motion
// model that produces the streamed values.
struct RobotModel {
    std::string name;
    std::string type = "K6";
    std::string sub_type = "std";
    std::string control_box_type = "CB-S";
    int dof = 6;

    KinematicsParams real_kinematics;
    KinematicsParams theory_kinematics;

    BoardInfo master_board;
    BoardInfo slave_board;
    BoardInfo handle;
    BoardInfo tool;
    BoardInfo pedestal;
    std::vector<std::string> joint_unique_ids;
    std::vector<int> joint_firmware_versions;
    std::vector<int> joint_hardware_versions;

    IoCounts io;

    std::vector<double> joint_max_positions;
    std::vector<double> joint_min_positions;
    std::vector<double> joint_max_speeds;
    std::vector<double> joint_max_accelerations;
    std::vector<double> tcp_max_speeds;
    std::vector<double> tcp_max_accelerations;
    std::vector<double> gravity{0.0, 0.0, -9.81};

    common_interface::OperationalModeType operational_mode = common_interface::OperationalModeType::Automatic;
    bool link_mode_enabled = false;
    bool freedrive_enabled = false;
    int slow_down_level = 0;
    int handle_state = 0;
    int handle_mode = 0;
    int handle_io_status = 0;
    std::map<std::string, std::string> hardware_custom_parameters;

    common_interface::RobotModeType robot_mode = common_interface::RobotModeType::Running;
    common_interface::SafetyModeType safety_mode = common_interface::SafetyModeType::Normal;
    bool simulation_enabled = true;
    double speed_fraction = 1.0;
    PayloadModel payload;
    bool has_enc_tick_count = false;

    // Motion model: while Running, joint i follows home[i] + amplitude * sin(omega * t + i).
    std::vector<double> home_positions;
    double motion_amplitude = 0.3;
    double motion_omega = 0.5;
};

// A fully populated robot of the given dof named "robot<index + 1>" unless a name is given.
RobotModel makeDefaultRobot(int index, int dof = 6, const std::string &name = {});

// Resizes every per-joint list of the robot to its dof, keeping what is there.
void fitToDof(RobotModel &robot);

}  // namespace temla::korvu_sim
