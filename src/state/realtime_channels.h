#pragma once

// The cache's four realtime channels, each described once: its channel number, its rate and, in frame
// order, its topics with the way each value lands. The topic lists sent to the controller and the
// decoding of the frames are both derived from these tables, so they cannot disagree.

#include <map>
#include <string>
#include <vector>

#include "korvu_sdk/input_parser.h"
#include "robot_proxy/realtime_robot_state.h"

namespace temla::korvu_sdk::detail
{

// Values of a frame that belong to no robot, popped before they are settled into the cache.
struct FrameGlobals {
    RuntimeState runtime_state = RuntimeState::Stopped;
    std::vector<int> runtime_context;
    std::vector<int> modbus_signal_values;
    std::vector<int> modbus_signal_errors;
    std::vector<GripperStatus> gripper_statuses;
};

// One robot's block of a frame: most values land in its record; the modes are held for the handler,
// which compares them with the record before it stores them.
struct RobotFrame {
    RobotInfo &info;
    RobotModeType robot_mode = RobotModeType::NoController;
    SafetyModeType safety_mode = SafetyModeType::Undefined;
};

// Which member of FrameGlobals a global topic fills.
enum class GlobalValue {
    RuntimeState,
    RuntimeContext,
    ModbusSignalValues,
    ModbusSignalErrors,
    GripperStatuses
};

struct GlobalTopic {
    const char *name;
    GlobalValue value;
    void (*read)(InputParser &, FrameGlobals &);
};

// Topics offered only by some controllers are asked for when the server lists them and read only then.
enum class Offer { Always, IfListed };

struct RobotTopic {
    const char *pattern;  // "%1" stands for the 1-based robot number
    void (*read)(InputParser &, RobotFrame &);
    Offer offer = Offer::Always;
};

struct ChannelTable {
    int channel;     // the channel asked for
    double rate_hz;  // frames per second
    std::vector<GlobalTopic> globals;
    std::vector<RobotTopic> robot_topics;
};

// Motion and modes (channel 0, 50 Hz), electrical values and joint modes (1, 1 Hz), I/O words, analog
// and Modbus values (2, 10 Hz), gripper states (3, 1 Hz).
const ChannelTable &stateChannel();
const ChannelTable &electricalChannel();
const ChannelTable &ioChannel();
const ChannelTable &gripperChannel();

// The topic list of a channel for robot_count robots. Optional topics the server does not list are left
// out with the warning "RTDE field <name> is not supported"; listed[i] tells whether robot index i's
// optional topics are in the list.
struct ChannelTopics {
    std::vector<std::string> names;
    std::vector<bool> listed;
};
ChannelTopics topicsOf(const ChannelTable &table, int robot_count, const std::map<std::string, int> &offered);

// Pops one frame of the channel in topic order: first the globals, each handed to settle_global(value,
// globals) as soon as it is read; then each robot's block into target(index), handed to
// settle_robot(index, block). Optional topics are popped
// for robot index i only when listed[i] is true.
template <typename SettleGlobal, typename Target, typename SettleRobot>
void decodeFrame(const ChannelTable &table, InputParser &parser, int robot_count,
                 const std::vector<bool> &listed, SettleGlobal &&settle_global, Target &&target,
                 SettleRobot &&settle_robot)
{
    FrameGlobals globals;
    for (const GlobalTopic &topic : table.globals) {
        topic.read(parser, globals);
        settle_global(topic.value, globals);
    }
    for (int index = 0; index < robot_count; ++index) {
        RobotFrame block{target(index)};
        const bool optional_listed = static_cast<std::size_t>(index) < listed.size() && listed[index];
        for (const RobotTopic &topic : table.robot_topics) {
            if (topic.offer == Offer::Always || optional_listed) {
                topic.read(parser, block);
            }
        }
        settle_robot(index, block);
    }
}

}  // namespace temla::korvu_sdk::detail
