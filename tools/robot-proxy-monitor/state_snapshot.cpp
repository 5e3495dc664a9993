#include "state_snapshot.h"

#include <algorithm>
#include <array>

#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace monitor
{
namespace
{

using temla::korvu_sdk::RealtimeRobotState;

// The status shows at most this many bits of one digital word.
constexpr int kMaxShownBits = 16;
constexpr int kMaxShownAnalog = 4;

template <typename Getter>
std::vector<bool> bits(int count, Getter getter)
{
    std::vector<bool> values;
    for (int i = 0; i < std::min(count, kMaxShownBits); ++i) {
        values.push_back(getter(i));
    }
    return values;
}

template <typename Getter>
std::vector<double> analog(int count, Getter getter)
{
    std::vector<double> values;
    for (int i = 0; i < std::min(count, kMaxShownAnalog); ++i) {
        values.push_back(getter(i));
    }
    return values;
}

IoSummary readIo(RealtimeRobotState &s)
{
    IoSummary io;
    io.standard_digital_inputs =
        bits(s.getStandardDigitalInputNum(), [&](int i) { return s.getStandardDigitalInput(i); });
    io.standard_digital_outputs =
        bits(s.getStandardDigitalOutputNum(), [&](int i) { return s.getStandardDigitalOutput(i); });
    io.configurable_digital_inputs =
        bits(s.getConfigurableDigitalInputNum(), [&](int i) { return s.getConfigurableDigitalInput(i); });
    io.configurable_digital_outputs =
        bits(s.getConfigurableDigitalOutputNum(), [&](int i) { return s.getConfigurableDigitalOutput(i); });
    io.tool_digital_inputs =
        bits(s.getToolDigitalInputNum(), [&](int i) { return s.getToolDigitalInput(i); });
    io.tool_digital_outputs =
        bits(s.getToolDigitalOutputNum(), [&](int i) { return s.getToolDigitalOutput(i); });
    io.standard_analog_inputs =
        analog(s.getStandardAnalogInputNum(), [&](int i) { return s.getStandardAnalogInput(i); });
    io.standard_analog_outputs =
        analog(s.getStandardAnalogOutputNum(), [&](int i) { return s.getStandardAnalogOutput(i); });
    return io;
}

nlohmann::ordered_json toJson(const IoSummary &io)
{
    return {{"standard_digital_inputs", io.standard_digital_inputs},
            {"standard_digital_outputs", io.standard_digital_outputs},
            {"configurable_digital_inputs", io.configurable_digital_inputs},
            {"configurable_digital_outputs", io.configurable_digital_outputs},
            {"tool_digital_inputs", io.tool_digital_inputs},
            {"tool_digital_outputs", io.tool_digital_outputs},
            {"standard_analog_inputs", io.standard_analog_inputs},
            {"standard_analog_outputs", io.standard_analog_outputs}};
}

}  // namespace

StateSnapshot readSnapshot(temla::korvu_sdk::RobotProxy &proxy)
{
    StateSnapshot state;
    state.connected = proxy.hasConnected();
    state.logged_in = proxy.hasLogined();
    state.robot_index = proxy.getRobotIndex();
    state.robot_name = proxy.getRobotName().toStdString();
    auto cache = proxy.getRealTimeState();
    state.robot_type = cache->getRobotType();
    state.robot_mode = cache->getRobotModeType();
    state.safety_mode = cache->getSafetyModeType();
    state.operational_mode = cache->getOperationalMode();
    state.runtime_state = cache->getRuntimeState();
    state.thread_id = cache->getThreadID();
    state.line_number = cache->getLineNumber();
    state.joint_positions = cache->getJointPositions();
    state.tcp_pose = cache->getTcpPose();
    state.speed_fraction = cache->getSpeedFraction();
    state.io = readIo(*cache);
    return state;
}

nlohmann::ordered_json toJson(const StateSnapshot &state)
{
    auto number = [](auto value) { return static_cast<int>(value); };
    return {{"connected", state.connected},
            {"logined", state.logged_in},
            {"robot_index", state.robot_index},
            {"robot_name", state.robot_name},
            {"robot_type", state.robot_type},
            {"robot_mode", number(state.robot_mode)},
            {"safety_mode", number(state.safety_mode)},
            {"operational_mode", number(state.operational_mode)},
            {"runtime_state", number(state.runtime_state)},
            {"thread_id", state.thread_id},
            {"line_number", state.line_number},
            {"joint_positions", state.joint_positions},
            {"tcp_pose", state.tcp_pose},
            {"speed_fraction", state.speed_fraction},
            {"io", toJson(state.io)}};
}

std::string runtimeStateText(temla::common_interface::RuntimeState state)
{
    static constexpr std::array<const char *, 8> kNames = {"Running",  "Retracting", "Pausing", "Paused",
                                                           "Stepping", "Stopping",   "Stopped", "Aborting"};
    const auto value = static_cast<int>(state);
    if (value >= 0 && value < static_cast<int>(kNames.size())) {
        return kNames[static_cast<std::size_t>(value)];
    }
    return std::to_string(value);
}

}  // namespace monitor
