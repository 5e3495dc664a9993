#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "korvu_sdk/input_parser.h"
#include "korvu_sdk/protocol.h"
#include "korvu_sdk/types.h"
#include "korvu_sim/robot_model.h"
#include "trajectory.h"

namespace temla::korvu_sim
{

// A robot mode the controller enters by itself after the given simulated seconds.
struct ModeTransition {
    common_interface::RobotModeType to = common_interface::RobotModeType::PowerOff;
    double seconds_left = 0.0;
};

struct RobotRuntime {
    RobotModel model;
    JointState joints;  // streamed actual joint positions and speeds
    // The running motion; speeds of a commanded motion scale with the speed fraction, a stop's do not.
    std::unique_ptr<Motion> motion;
    Jog *jog = nullptr;  // motion, when it is a jog
    bool jog_is_cartesian = false;
    bool motion_is_stop = false;
    std::optional<ModeTransition> transition;
    double powered_time = 0.0;  // seconds spent powered, for the joint temperatures
};

// Everything the simulated controller knows. Not synchronised: the simulator guards it.
struct ControllerState {
    std::vector<RobotRuntime> robots;
    common_interface::RuntimeState runtime_state = common_interface::RuntimeState::Stopped;
    std::vector<int32_t> runtime_context{-1, -1};
    std::vector<std::string> modbus_names;
    std::vector<int32_t> modbus_values;
    std::vector<int32_t> modbus_errors;
    std::vector<common_interface::GripperStatus> grippers;
    std::map<std::string, std::int64_t> registers;
    std::vector<std::vector<std::uint8_t>> pn_slots;
    std::vector<std::vector<std::uint8_t>> eip_tables;
    double clock = 0.0;  // seconds of simulated time
    // Robot messages the model raised, for the realtime server to send.
    std::vector<common_interface::RobotMsg> outbox;

    // Moves simulated time on: transitions, motions and stops advance.
    void advance(double seconds);
    // A register read: explicit registers first, then the fieldbus tables; nullopt when unknown.
    std::optional<std::int64_t> registerValue(const std::string &name) const;
};

ControllerState makeControllerState(std::vector<RobotModel> robots);

// Output names offered on the realtime server with their InputParser::Type codes.
std::map<std::string, int> outputMaps(const ControllerState &state);

// The current value of an offered output (not "R1_message"); nullopt when it is not offered.
std::optional<korvu_sdk::InputParser::Value> topicValue(const ControllerState &state,
                                                        const std::string &name);

inline constexpr const char *kMessageTopic = korvu_sdk::kRobotMessageTopic;
inline constexpr int kEipType0Size = 310;
inline constexpr int kEipType1Size = 216;

}  // namespace temla::korvu_sim
