#include "realtime_channels.h"

#include <QDebug>
#include <QString>
#include "library_log.h"

namespace temla::korvu_sdk::detail
{
namespace
{

using P = InputParser;
using R = RobotFrame;
using G = FrameGlobals;

std::vector<bool> bitsOf64(P &p)
{
    return toVec(static_cast<long>(p.popInt64()));
}

std::vector<bool> bitsOf32(P &p)
{
    return toVec(static_cast<int>(p.popInt32()));
}

std::string topicName(const char *pattern, int robot_number)
{
    return QString::fromLatin1(pattern).arg(static_cast<qint64>(robot_number)).toStdString();
}

}  // namespace

// clang-format off
const ChannelTable &stateChannel()
{
    static const ChannelTable table{0, 50.0,
        {{"runtime_state", GlobalValue::RuntimeState, [](P &p, G &g) { g.runtime_state = p.popRuntimeState(); }},
         {"runtime_context", GlobalValue::RuntimeContext, [](P &p, G &g) { g.runtime_context = p.popVectorInt(); }}},
        {{"R%1_is_simulation_enabled", [](P &p, R &r) { r.info.simulation_enabled = p.popBool(); }},
         {"R%1_target_speed_fraction", [](P &p, R &r) { r.info.speed_fraction = p.popDouble(); }},
         {"R%1_actual_payload", [](P &p, R &r) { r.info.payload = p.popPayload(); }},
         {"R%1_actual_q", [](P &p, R &r) { r.info.joint_positions = p.popVectorDouble(); }},
         {"R%1_actual_qd", [](P &p, R &r) { r.info.joint_speeds = p.popVectorDouble(); }},
         {"R%1_actual_current", [](P &p, R &r) { r.info.joint_currents = p.popVectorDouble(); }},
         {"R%1_robot_mode", [](P &p, R &r) { r.robot_mode = p.popRobotModeType(); }},
         {"R%1_safety_mode", [](P &p, R &r) { r.safety_mode = p.popSafetyModeType(); }},
         {"R%1_actual_TCP_pose", [](P &p, R &r) { r.info.tcp_pose = p.popVectorDouble(); }},
         {"R%1_actual_TCP_speed", [](P &p, R &r) { r.info.tcp_speed = p.popVectorDouble(); }},
         {"R%1_actual_tool_pose", [](P &p, R &r) { r.info.tool_pose = p.popVectorDouble(); }},
         {"R%1_handle_status", [](P &p, R &r) { r.info.handle_io_status = p.popInt32(); }},
         {"R%1_actual_TCP_force", [](P &p, R &r) { r.info.tcp_force = p.popVectorDouble(); }},
         {"R%1_actual_TCP_force_sensor", [](P &p, R &r) { r.info.tcp_force_sensor = p.popVectorDouble(); }},
         {"R%1_enc_tick_count", [](P &p, R &r) { r.info.enc_tick_count = p.popVectorInt(); }, Offer::IfListed}}};
    return table;
}

const ChannelTable &electricalChannel()
{
    static const ChannelTable table{1, 1.0, {},
        {{"R%1_actual_joint_voltage", [](P &p, R &r) { r.info.joint_voltages = p.popVectorDouble(); }},
         {"R%1_joint_temperatures", [](P &p, R &r) { r.info.joint_temperatures = p.popVectorDouble(); }},
         {"R%1_joint_mode", [](P &p, R &r) { r.info.joint_state = p.popVectorJointStateType(); }},
         {"R%1_actual_main_voltage", [](P &p, R &r) { r.info.main_voltage = p.popDouble(); }},
         {"R%1_actual_robot_voltage", [](P &p, R &r) { r.info.robot_voltage = p.popDouble(); }},
         {"R%1_actual_robot_current", [](P &p, R &r) { r.info.robot_current = p.popDouble(); }}}};
    return table;
}

const ChannelTable &ioChannel()
{
    static const ChannelTable table{2, 10.0,
        {{"modbus_signals", GlobalValue::ModbusSignalValues, [](P &p, G &g) { g.modbus_signal_values = p.popVectorInt(); }},
         {"modbus_signals_errors", GlobalValue::ModbusSignalErrors, [](P &p, G &g) { g.modbus_signal_errors = p.popVectorInt(); }}},
        {{"R%1_collision_level", [](P &p, R &r) { r.info.collision_level = p.popInt32(); }},
         {"R%1_masterboard_temperature", [](P &p, R &r) { r.info.control_box_temperature = p.popDouble(); }},
         {"R%1_controlbox_humidity", [](P &p, R &r) { r.info.control_box_humidity = p.popDouble(); }},
         {"R%1_standard_digital_input_bits", [](P &p, R &r) { r.info.standard_digital_input_bits = bitsOf64(p); }},
         {"R%1_tool_digital_input_bits", [](P &p, R &r) { r.info.tool_digital_input_bits = bitsOf64(p); }},
         {"R%1_configurable_digital_input_bits", [](P &p, R &r) { r.info.configurable_digital_input_bits = bitsOf64(p); }},
         {"R%1_link_digital_input_bits", [](P &p, R &r) { r.info.link_digital_input_bits = bitsOf32(p); }},
         {"R%1_standard_digital_output_bits", [](P &p, R &r) { r.info.standard_digital_output_bits = bitsOf64(p); }},
         {"R%1_tool_digital_output_bits", [](P &p, R &r) { r.info.tool_digital_output_bits = bitsOf64(p); }},
         {"R%1_configurable_digital_output_bits", [](P &p, R &r) { r.info.configurable_digital_output_bits = bitsOf64(p); }},
         {"R%1_link_digital_output_bits", [](P &p, R &r) { r.info.link_digital_output_bits = bitsOf32(p); }},
         {"R%1_standard_analog_input_values", [](P &p, R &r) { r.info.standard_analog_input_values = p.popVectorDouble(); }},
         {"R%1_tool_analog_input_values", [](P &p, R &r) { r.info.tool_analog_input_values = p.popVectorDouble(); }},
         {"R%1_standard_analog_output_values", [](P &p, R &r) { r.info.standard_analog_output_values = p.popVectorDouble(); }},
         {"R%1_tool_analog_output_values", [](P &p, R &r) { r.info.tool_analog_output_values = p.popVectorDouble(); }}}};
    return table;
}

const ChannelTable &gripperChannel()
{
    static const ChannelTable table{3, 1.0,
        {{"gripper_status", GlobalValue::GripperStatuses, [](P &p, G &g) { g.gripper_statuses = p.popGripperStatusVector(); }}},
        {}};
    return table;
}
// clang-format on

ChannelTopics topicsOf(const ChannelTable &table, int robot_count, const std::map<std::string, int> &offered)
{
    ChannelTopics topics;
    for (const GlobalTopic &topic : table.globals) {
        topics.names.emplace_back(topic.name);
    }
    for (int number = 1; number <= robot_count; ++number) {
        // A robot's optional topics are asked for all together or not at all, so that one flag per
        // robot tells the decoding what the frame holds.
        bool listed = true;
        for (const RobotTopic &topic : table.robot_topics) {
            const std::string name = topicName(topic.pattern, number);
            if (topic.offer == Offer::IfListed && offered.count(name) == 0) {
                RP_LOG_WARNING() << "RTDE field" << QString::fromStdString(name) << "is not supported";
                listed = false;
            }
        }
        for (const RobotTopic &topic : table.robot_topics) {
            if (topic.offer == Offer::Always || listed) {
                topics.names.push_back(topicName(topic.pattern, number));
            }
        }
        topics.listed.push_back(listed);
    }
    return topics;
}

}  // namespace temla::korvu_sdk::detail
