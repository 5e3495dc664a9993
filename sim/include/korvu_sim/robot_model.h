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

// Kinematic parameters by name ("a", "d", "alpha", "theta", "beta"), one value per joint, in the
// modified Denavit-Hartenberg form robot_math takes (rows alpha, a, d, theta; beta stays 0).
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

// How long the controller's transitions take, in seconds of simulated time.
struct ControllerTimings {
    double power_on = 0.8;       // PowerOn until Idle
    double brake_release = 1.2;  // BrakeReleasing until Running
    double power_off = 0.5;      // PowerOffing until PowerOff
    double stop = 0.3;           // protective and emergency stops: standstill within this time
};

// The I/O the controller drives and reads. Digital words hold one bit per channel (bit i is
// channel i); outputs change by command, inputs by the scenario or the test API.
struct IoValues {
    std::uint64_t standard_digital_input = 0;
    std::uint64_t tool_digital_input = 0;
    std::uint64_t configurable_digital_input = 0;
    std::uint64_t standard_digital_output = 0;
    std::uint64_t tool_digital_output = 0;
    std::uint64_t configurable_digital_output = 0;
    std::int32_t link_digital_input = 0;
    std::int32_t link_digital_output = 0;
    std::vector<double> standard_analog_input;
    std::vector<double> tool_analog_input;
    std::vector<double> standard_analog_output;
    std::vector<double> tool_analog_output;
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
    // Percent of the commanded speeds allowed at the slow-down level (100 at level 0).
    int slow_down_percent = 100;
    PayloadModel payload;
    // Pose of the TCP in the flange frame [x, y, z, rx, ry, rz].
    std::vector<double> tcp_offset = std::vector<double>(6, 0.0);
    bool has_enc_tick_count = false;
    IoValues io_values;
    ControllerTimings timings;

    // Where the joints stand when the simulator starts; they move only when commanded.
    std::vector<double> home_positions;
};

// A fully populated robot of the given dof named "robot<index + 1>" unless a name is given.
RobotModel makeDefaultRobot(int index, int dof = 6, const std::string &name = {});

// Resizes every per-joint list of the robot to its dof, keeping what is there.
void fitToDof(RobotModel &robot);

}  // namespace temla::korvu_sim
