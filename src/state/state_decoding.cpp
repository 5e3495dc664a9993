// The realtime subscriptions of the cache and the decoding of their frames into the robot records.
#include <exception>

#include <QDebug>
#include <QString>

#include "robot_proxy/realtime_robot_state.h"

namespace temla
{
namespace korvu_sdk
{

using Lock = std::lock_guard<std::recursive_mutex>;

namespace
{

// Channel 0: motion and modes, 50 frames per second.
const char *const kStateTopics[] = {"R%1_is_simulation_enabled",
                                    "R%1_target_speed_fraction",
                                    "R%1_actual_payload",
                                    "R%1_actual_q",
                                    "R%1_actual_qd",
                                    "R%1_actual_current",
                                    "R%1_robot_mode",
                                    "R%1_safety_mode",
                                    "R%1_actual_TCP_pose",
                                    "R%1_actual_TCP_speed",
                                    "R%1_actual_tool_pose",
                                    "R%1_handle_status",
                                    "R%1_actual_TCP_force",
                                    "R%1_actual_TCP_force_sensor"};
const char *const kEncTickTopic = "R%1_enc_tick_count";

// Channel 1: electrical values and joint modes, once per second.
const char *const kElectricalTopics[] = {"R%1_actual_joint_voltage", "R%1_joint_temperatures",
                                         "R%1_joint_mode",           "R%1_actual_main_voltage",
                                         "R%1_actual_robot_voltage", "R%1_actual_robot_current"};

// Channel 2: I/O words, analog and Modbus values, ten times per second.
const char *const kIoTopics[] = {"R%1_collision_level",          "R%1_masterboard_temperature",
                                 "R%1_controlbox_humidity",      "R%1_standard_digital_input_bits",
                                 "R%1_tool_digital_input_bits",  "R%1_configurable_digital_input_bits",
                                 "R%1_link_digital_input_bits",  "R%1_standard_digital_output_bits",
                                 "R%1_tool_digital_output_bits", "R%1_configurable_digital_output_bits",
                                 "R%1_link_digital_output_bits", "R%1_standard_analog_input_values",
                                 "R%1_tool_analog_input_values", "R%1_standard_analog_output_values",
                                 "R%1_tool_analog_output_values"};

std::string topicName(const char *pattern, int robot_number)
{
    return QString::fromLatin1(pattern).arg(static_cast<qint64>(robot_number)).toStdString();
}

template <std::size_t N>
void appendRobotTopics(std::vector<std::string> &list, const char *const (&patterns)[N], int robot_number)
{
    for (const char *pattern : patterns) {
        list.push_back(topicName(pattern, robot_number));
    }
}

// Frames arrive on the realtime client's thread; a frame that cannot be decoded is dropped here
// so that nothing is thrown into the client.
template <typename Handler>
void deliver(const char *channel, Handler &&handle)
{
    try {
        handle();
    } catch (const std::exception &e) {
        qWarning() << "Realtime frame of channel" << channel << "dropped:" << e.what();
    } catch (...) {
        qWarning() << "Realtime frame of channel" << channel << "dropped";
    }
}

}  // namespace

int RealtimeRobotState::configSubscribe()
{
    if (!rtde_client) {
        return 0;
    }
    const int robot_count = static_cast<int>(getRobotNames().size());
    const auto maps = rtde_client->getOutputMaps();

    std::vector<std::string> state_topics{"runtime_state", "runtime_context"};
    std::vector<bool> enc_tick_offered;
    for (int number = 1; number <= robot_count; ++number) {
        appendRobotTopics(state_topics, kStateTopics, number);
        const std::string enc_tick = topicName(kEncTickTopic, number);
        const bool offered = maps.count(enc_tick) != 0;
        if (offered) {
            state_topics.push_back(enc_tick);
        } else {
            qWarning() << "RTDE field" << QString::fromStdString(enc_tick) << "is not supported";
        }
        enc_tick_offered.push_back(offered);
    }
    int channel = rtde_client->setTopic(false, state_topics, 50.0, 0);
    const int subscribed =
        rtde_client->subscribe(channel, [this, robot_count, enc_tick_offered](InputParser &parser) {
            deliver("0", [&] { handleStateFrame(parser, robot_count, enc_tick_offered); });
        });
    if (subscribed != 0) {
        qCritical() << "Subscribe to realtime state FAILED";
    }

    std::vector<std::string> electrical_topics;
    for (int number = 1; number <= robot_count; ++number) {
        appendRobotTopics(electrical_topics, kElectricalTopics, number);
    }
    channel = rtde_client->setTopic(false, electrical_topics, 1.0, 1);
    rtde_client->subscribe(channel, [this, robot_count](InputParser &parser) {
        deliver("1", [&] { handleElectricalFrame(parser, robot_count); });
    });

    std::vector<std::string> io_topics{"modbus_signals", "modbus_signals_errors"};
    for (int number = 1; number <= robot_count; ++number) {
        appendRobotTopics(io_topics, kIoTopics, number);
    }
    channel = rtde_client->setTopic(false, io_topics, 10.0, 2);
    rtde_client->subscribe(channel, [this, robot_count](InputParser &parser) {
        deliver("2", [&] { handleIoFrame(parser, robot_count); });
    });

    channel = rtde_client->setTopic(false, {"gripper_status"}, 1.0, 3);
    rtde_client->subscribe(
        channel, [this](InputParser &parser) { deliver("3", [&] { handleGripperFrame(parser); }); });
    return 0;
}

RobotInfo &RealtimeRobotState::frameTarget(int index)
{
    return index < kRobotSlots ? robot_infos[index] : overflow_record;
}

bool RealtimeRobotState::clientsConnected() const
{
    return rtde_client && rtde_client->hasConnected() && rpc_client && rpc_client->hasConnected();
}

void RealtimeRobotState::handleStateFrame(InputParser &parser, int robot_count,
                                          const std::vector<bool> &enc_tick_offered)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    const RuntimeState state = parser.popRuntimeState();
    if (state != runtime_state) {
        runtime_state = state;
        emit runtimeStateChanged(state);
    }
    const std::vector<int> context = parser.popVectorInt();
    if (context.size() >= 2) {
        thread_id = context[0];
        line_number = context[1];
    }
    for (int index = 0; index < robot_count; ++index) {
        RobotInfo &info = frameTarget(index);
        info.simulation_enabled = parser.popBool();
        info.speed_fraction = parser.popDouble();
        info.payload = parser.popPayload();
        info.joint_positions = parser.popVectorDouble();
        info.joint_speeds = parser.popVectorDouble();
        info.joint_currents = parser.popVectorDouble();
        const RobotModeType robot_mode = parser.popRobotModeType();
        const SafetyModeType safety_mode = parser.popSafetyModeType();
        info.tcp_pose = parser.popVectorDouble();
        info.tcp_speed = parser.popVectorDouble();
        info.tool_pose = parser.popVectorDouble();
        info.handle_io_status = parser.popInt32();
        info.tcp_force = parser.popVectorDouble();
        info.tcp_force_sensor = parser.popVectorDouble();
        if (static_cast<std::size_t>(index) < enc_tick_offered.size() && enc_tick_offered[index]) {
            info.enc_tick_count = parser.popVectorInt();
        }
        if (index < kRobotSlots) {
            settleModes(index, robot_mode, safety_mode);
        }
    }
    tickTrack();
}

void RealtimeRobotState::settleModes(int index, RobotModeType frame_robot_mode,
                                     SafetyModeType frame_safety_mode)
{
    if (!clientsConnected()) {
        frame_safety_mode = SafetyModeType::Undefined;
        frame_robot_mode = RobotModeType::NoController;
    }
    RobotInfo &info = robot_infos[index];
    if (frame_safety_mode != info.safety_mode) {
        info.safety_mode = frame_safety_mode;
        emit safetyModeChanged(index, frame_safety_mode);
    }
    const RobotModeType old_mode = info.robot_mode;
    if (old_mode == frame_robot_mode) {
        return;
    }
    refreshForTransition(index, old_mode, frame_robot_mode);
    info.robot_mode = frame_robot_mode;
    emit robotModeChanged(index, frame_robot_mode);
}

void RealtimeRobotState::refreshForTransition(int index, RobotModeType old_mode, RobotModeType new_mode)
{
    if (new_mode == RobotModeType::Running) {
        updateGravity(index);
        if (old_mode == RobotModeType::Disconnected) {
            updateRobotInformationOnLogin();
        }
    } else if (old_mode == RobotModeType::Disconnected) {
        updateRobotInformationOnLogin();
    } else if (old_mode == RobotModeType::PowerOn && new_mode == RobotModeType::Idle) {
        updateRobotInformationOnPoweron(index);
    }
}

void RealtimeRobotState::tickTrack()
{
    // Counting stops one past the period: without a callback the tick never fires, and the counter
    // cannot overflow.
    if (track_period <= 0 || track_counter > track_period) {
        return;
    }
    ++track_counter;
    if (track_counter != track_period || !track_callback) {
        return;
    }
    track_counter = 0;
    const RobotInfo &info =
        robot_infos[static_cast<unsigned>(robot_index) < static_cast<unsigned>(kRobotSlots) ? robot_index
                                                                                            : 0];
    // A copy, because the callback may stop or replace the recording while it runs.
    const TrackCallback callback = track_callback;
    try {
        callback(info.joint_positions, info.tcp_pose);
    } catch (const std::exception &e) {
        qWarning() << "Track record callback failed:" << e.what();
    } catch (...) {
        qWarning() << "Track record callback failed";
    }
}

void RealtimeRobotState::handleElectricalFrame(InputParser &parser, int robot_count)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    for (int index = 0; index < robot_count; ++index) {
        RobotInfo &info = frameTarget(index);
        info.joint_voltages = parser.popVectorDouble();
        info.joint_temperatures = parser.popVectorDouble();
        info.joint_state = parser.popVectorJointStateType();
        info.main_voltage = parser.popDouble();
        info.robot_voltage = parser.popDouble();
        info.robot_current = parser.popDouble();
    }
}

void RealtimeRobotState::handleIoFrame(InputParser &parser, int robot_count)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    modbus_signal_values = parser.popVectorInt();
    modbus_signal_errors = parser.popVectorInt();
    for (int index = 0; index < robot_count; ++index) {
        RobotInfo &info = frameTarget(index);
        info.collision_level = parser.popInt32();
        info.control_box_temperature = parser.popDouble();
        info.control_box_humidity = parser.popDouble();
        info.standard_digital_input_bits = toVec(static_cast<long>(parser.popInt64()));
        info.tool_digital_input_bits = toVec(static_cast<long>(parser.popInt64()));
        info.configurable_digital_input_bits = toVec(static_cast<long>(parser.popInt64()));
        info.link_digital_input_bits = toVec(static_cast<int>(parser.popInt32()));
        info.standard_digital_output_bits = toVec(static_cast<long>(parser.popInt64()));
        info.tool_digital_output_bits = toVec(static_cast<long>(parser.popInt64()));
        info.configurable_digital_output_bits = toVec(static_cast<long>(parser.popInt64()));
        info.link_digital_output_bits = toVec(static_cast<int>(parser.popInt32()));
        info.standard_analog_input_values = parser.popVectorDouble();
        info.tool_analog_input_values = parser.popVectorDouble();
        info.standard_analog_output_values = parser.popVectorDouble();
        info.tool_analog_output_values = parser.popVectorDouble();
    }
}

void RealtimeRobotState::handleGripperFrame(InputParser &parser)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    gripper_statuses = parser.popGripperStatusVector();
}

}  // namespace korvu_sdk
}  // namespace temla
