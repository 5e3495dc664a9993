#include "controller_state.h"

#include <cmath>
#include <functional>

#include "motion.h"
#include "robot_controller.h"

namespace temla::korvu_sim
{
namespace
{

using common_interface::JointStateType;
using common_interface::RobotModeType;
using common_interface::SafetyModeType;
using korvu_sdk::InputParser;
using Type = InputParser::Type;
using Value = InputParser::Value;

constexpr const char *kPnPrefix = "__internal.pn_server.";
constexpr const char *kEipPrefix = "__internal.eip_slave.";

// Reads a plain decimal number (no sign, no leading zeros) at pos and moves pos past it.
std::optional<long> readNumber(const std::string &text, size_t &pos)
{
    size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 9)
        ++pos;
    if (pos == start || (text[start] == '0' && pos - start > 1))
        return std::nullopt;
    return std::stol(text.substr(start, pos - start));
}

bool consume(const std::string &text, size_t &pos, const std::string &literal)
{
    if (text.compare(pos, literal.size(), literal) != 0)
        return false;
    pos += literal.size();
    return true;
}

std::optional<std::int64_t> tableEntry(const std::vector<std::vector<std::uint8_t>> &table, long row,
                                       long index)
{
    if (row < 0 || static_cast<size_t>(row) >= table.size())
        return std::nullopt;
    const auto &entries = table[static_cast<size_t>(row)];
    if (index < 0 || static_cast<size_t>(index) >= entries.size())
        return std::nullopt;
    return entries[static_cast<size_t>(index)];
}

std::optional<std::int64_t> pnRegister(const ControllerState &state, const std::string &name)
{
    size_t pos = 0;
    if (!consume(name, pos, kPnPrefix))
        return std::nullopt;
    std::string rest = name.substr(pos);
    if (rest == "slots_ready")
        return 1;
    if (rest == "slot_number")
        return static_cast<std::int64_t>(state.pn_slots.size());
    if (!consume(name, pos, "slot"))
        return std::nullopt;
    auto slot = readNumber(name, pos);
    if (!slot || *slot < 1 || static_cast<size_t>(*slot) > state.pn_slots.size())
        return std::nullopt;
    if (name.compare(pos, std::string::npos, "_index_number") == 0)
        return static_cast<std::int64_t>(state.pn_slots[static_cast<size_t>(*slot - 1)].size());
    if (!consume(name, pos, ".index"))
        return std::nullopt;
    auto index = readNumber(name, pos);
    if (!index || pos != name.size())
        return std::nullopt;
    return tableEntry(state.pn_slots, *slot - 1, *index);
}

std::optional<std::int64_t> eipRegister(const ControllerState &state, const std::string &name)
{
    size_t pos = 0;
    if (!consume(name, pos, std::string(kEipPrefix) + "trans_type:"))
        return std::nullopt;
    auto type = readNumber(name, pos);
    if (!type || !consume(name, pos, ".index:"))
        return std::nullopt;
    auto index = readNumber(name, pos);
    if (!index || pos != name.size())
        return std::nullopt;
    return tableEntry(state.eip_tables, *type, *index);
}

bool powered(RobotModeType mode)
{
    return mode >= RobotModeType::PowerOn && mode <= RobotModeType::Maintaince;
}

JointStateType jointState(RobotModeType mode)
{
    if (mode == RobotModeType::Error)
        return JointStateType::Fault;
    if (mode == RobotModeType::Running)
        return JointStateType::Busy;
    return powered(mode) ? JointStateType::Idle : JointStateType::PowerOff;
}

std::vector<double> perJoint(const RobotRuntime &robot, const std::function<double(size_t)> &value)
{
    std::vector<double> values(robot.joints.q.size());
    for (size_t j = 0; j < values.size(); ++j)
        values[j] = value(j);
    return values;
}

// A digital word as streamed: only the channels the robot has.
std::int64_t ioWord(std::uint64_t word, int bits)
{
    std::uint64_t mask = bits >= 64 ? ~0ULL : ((1ULL << (bits > 0 ? bits : 0)) - 1);
    return static_cast<std::int64_t>(word & mask);
}

using RobotTopic = std::function<Value(const RobotRuntime &, const ControllerState &)>;

struct RobotTopicSpec {
    Type type;
    RobotTopic value;
};

MotionSample motionOf(const RobotRuntime &robot)
{
    return sampleMotion(robot);
}

const std::map<std::string, RobotTopicSpec> &robotTopics()
{
    static const std::map<std::string, RobotTopicSpec> topics = {
        {"is_simulation_enabled",
         {Type::Bool, [](auto &r, auto &) { return Value(r.model.simulation_enabled); }}},
        {"target_speed_fraction",
         {Type::Double, [](auto &r, auto &) { return Value(r.model.speed_fraction); }}},
        {"actual_payload",
         {Type::Payload,
          [](auto &r, auto &) {
              const PayloadModel &p = r.model.payload;
              return Value(common_interface::Payload{p.mass, p.cog, p.offset, p.inertia});
          }}},
        {"actual_q", {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).q); }}},
        {"actual_qd", {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).qd); }}},
        {"actual_current", {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).current); }}},
        {"robot_mode", {Type::RobotModeType, [](auto &r, auto &) { return Value(r.model.robot_mode); }}},
        {"safety_mode", {Type::SafetyModeType, [](auto &r, auto &) { return Value(r.model.safety_mode); }}},
        {"actual_TCP_pose",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).tcp_pose); }}},
        {"actual_TCP_speed",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).tcp_speed); }}},
        {"actual_tool_pose",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).tool_pose); }}},
        {"handle_status",
         {Type::Int32, [](auto &r, auto &) { return Value(int32_t{r.model.handle_io_status}); }}},
        {"actual_TCP_force",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).tcp_force); }}},
        {"actual_TCP_force_sensor",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(motionOf(r).tcp_force); }}},
        {"enc_tick_count", {Type::VectorInt, [](auto &r, auto &) { return Value(motionOf(r).enc_ticks); }}},
        {"actual_joint_voltage",
         {Type::VectorDouble,
          [](auto &r, auto &) {
              double v = powered(r.model.robot_mode) ? 47.8 : 0.0;
              return Value(perJoint(r, [v](size_t j) { return v - 0.1 * static_cast<double>(j); }));
          }}},
        {"joint_temperatures",
         {Type::VectorDouble,
          [](auto &r, auto &) {
              double warm = std::min(15.0, r.powered_time / 60.0);
              return Value(
                  perJoint(r, [warm](size_t j) { return 30.0 + warm + 0.5 * static_cast<double>(j); }));
          }}},
        {"joint_mode",
         {Type::VectorJointStateType,
          [](auto &r, auto &) {
              return Value(std::vector<JointStateType>(r.joints.q.size(), jointState(r.model.robot_mode)));
          }}},
        {"actual_main_voltage", {Type::Double, [](auto &, auto &) { return Value(48.2); }}},
        {"actual_robot_voltage",
         {Type::Double, [](auto &r, auto &) { return Value(powered(r.model.robot_mode) ? 48.0 : 0.0); }}},
        {"actual_robot_current",
         {Type::Double,
          [](auto &r, auto &) {
              if (!powered(r.model.robot_mode))
                  return Value(0.0);
              double sum = 0.0;
              for (double c : motionOf(r).current)
                  sum += c;
              return Value(0.3 + 0.25 * sum);
          }}},
        {"collision_level", {Type::Int32, [](auto &, auto &) { return Value(int32_t{2}); }}},
        {"masterboard_temperature",
         {Type::Double, [](auto &, auto &s) { return Value(36.0 + 0.5 * std::sin(s.clock / 30.0)); }}},
        {"controlbox_humidity",
         {Type::Double, [](auto &, auto &s) { return Value(40.0 + 2.0 * std::sin(s.clock / 45.0)); }}},
        {"standard_digital_input_bits",
         {Type::Int64,
          [](auto &r, auto &) {
              return Value(
                  ioWord(r.model.io_values.standard_digital_input, r.model.io.standard_digital_input));
          }}},
        {"tool_digital_input_bits",
         {Type::Int64,
          [](auto &r, auto &) {
              return Value(ioWord(r.model.io_values.tool_digital_input, r.model.io.tool_digital_input));
          }}},
        {"configurable_digital_input_bits",
         {Type::Int64,
          [](auto &r, auto &) {
              return Value(ioWord(r.model.io_values.configurable_digital_input,
                                  r.model.io.configurable_digital_input));
          }}},
        {"link_digital_input_bits",
         {Type::Int32, [](auto &r, auto &) { return Value(r.model.io_values.link_digital_input); }}},
        {"standard_digital_output_bits",
         {Type::Int64,
          [](auto &r, auto &) {
              return Value(
                  ioWord(r.model.io_values.standard_digital_output, r.model.io.standard_digital_output));
          }}},
        {"tool_digital_output_bits",
         {Type::Int64,
          [](auto &r, auto &) {
              return Value(ioWord(r.model.io_values.tool_digital_output, r.model.io.tool_digital_output));
          }}},
        {"configurable_digital_output_bits",
         {Type::Int64,
          [](auto &r, auto &) {
              return Value(ioWord(r.model.io_values.configurable_digital_output,
                                  r.model.io.configurable_digital_output));
          }}},
        {"link_digital_output_bits",
         {Type::Int32, [](auto &r, auto &) { return Value(r.model.io_values.link_digital_output); }}},
        {"standard_analog_input_values",
         {Type::VectorDouble,
          [](auto &r, auto &) { return Value(r.model.io_values.standard_analog_input); }}},
        {"tool_analog_input_values",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(r.model.io_values.tool_analog_input); }}},
        {"standard_analog_output_values",
         {Type::VectorDouble,
          [](auto &r, auto &) { return Value(r.model.io_values.standard_analog_output); }}},
        {"tool_analog_output_values",
         {Type::VectorDouble, [](auto &r, auto &) { return Value(r.model.io_values.tool_analog_output); }}},
    };
    return topics;
}

using GlobalTopic = std::function<Value(const ControllerState &)>;

const std::map<std::string, std::pair<Type, GlobalTopic>> &globalTopics()
{
    static const std::map<std::string, std::pair<Type, GlobalTopic>> topics = {
        {"runtime_state", {Type::RuntimeState, [](auto &s) { return Value(s.runtime_state); }}},
        {"runtime_context", {Type::VectorInt, [](auto &s) { return Value(s.runtime_context); }}},
        {"modbus_signals", {Type::VectorInt, [](auto &s) { return Value(s.modbus_values); }}},
        {"modbus_signals_errors", {Type::VectorInt, [](auto &s) { return Value(s.modbus_errors); }}},
        {"gripper_status", {Type::GripperStatusVector, [](auto &s) { return Value(s.grippers); }}},
    };
    return topics;
}

// "R<k>_<suffix>" with k = 1 .. robot count.
std::optional<std::pair<size_t, std::string>> splitRobotTopic(const ControllerState &state,
                                                              const std::string &name)
{
    size_t pos = 0;
    if (!consume(name, pos, "R"))
        return std::nullopt;
    auto number = readNumber(name, pos);
    if (!number || *number < 1 || static_cast<size_t>(*number) > state.robots.size() ||
        !consume(name, pos, "_"))
        return std::nullopt;
    return std::make_pair(static_cast<size_t>(*number - 1), name.substr(pos));
}

std::vector<std::vector<std::uint8_t>> defaultPnSlots()
{
    std::vector<std::vector<std::uint8_t>> slots;
    for (size_t size : {8, 16, 4}) {
        std::vector<std::uint8_t> row(size);
        for (size_t i = 0; i < size; ++i)
            row[i] = static_cast<std::uint8_t>(slots.size() * 16 + i);
        slots.push_back(row);
    }
    return slots;
}

std::vector<std::vector<std::uint8_t>> defaultEipTables()
{
    std::vector<std::uint8_t> type0(kEipType0Size), type1(kEipType1Size);
    for (size_t i = 0; i < type0.size(); ++i)
        type0[i] = static_cast<std::uint8_t>(i);
    for (size_t i = 0; i < type1.size(); ++i)
        type1[i] = static_cast<std::uint8_t>(255 - i);
    return {type0, type1};
}

}  // namespace

void ControllerState::advance(double seconds)
{
    clock += seconds;
    for (auto &robot : robots)
        RobotController(*this, robot).advance(seconds);
}

std::optional<std::int64_t> ControllerState::registerValue(const std::string &name) const
{
    auto it = registers.find(name);
    if (it != registers.end())
        return it->second;
    if (auto value = pnRegister(*this, name))
        return value;
    return eipRegister(*this, name);
}

ControllerState makeControllerState(std::vector<RobotModel> robots)
{
    ControllerState state;
    for (auto &model : robots) {
        RobotRuntime robot;
        fitToDof(model);
        robot.joints.q = model.home_positions;
        robot.joints.qd.assign(robot.joints.q.size(), 0.0);
        robot.model = std::move(model);
        state.robots.push_back(std::move(robot));
    }
    state.modbus_names = {"modbus_coil_1", "modbus_coil_2", "modbus_reg_1"};
    state.modbus_values = {0, 1, 1234};
    state.modbus_errors = {0, 0, 0};
    state.grippers = {{"gripper1", true, true, 0, 0.02, 0.05, 10.0}};
    state.registers[std::string(kPnPrefix) + "connected"] = 0;
    state.registers[std::string(kEipPrefix) + "connect_status"] = 0;
    state.pn_slots = defaultPnSlots();
    state.eip_tables = defaultEipTables();
    return state;
}

std::map<std::string, int> outputMaps(const ControllerState &state)
{
    std::map<std::string, int> maps;
    for (const auto &[name, topic] : globalTopics())
        maps[name] = static_cast<int>(topic.first);
    maps[kMessageTopic] = static_cast<int>(Type::RobotMsgVector);
    for (size_t i = 0; i < state.robots.size(); ++i) {
        std::string prefix = "R" + std::to_string(i + 1) + "_";
        for (const auto &[suffix, topic] : robotTopics())
            if (suffix != "enc_tick_count" || state.robots[i].model.has_enc_tick_count)
                maps[prefix + suffix] = static_cast<int>(topic.type);
    }
    return maps;
}

std::optional<Value> topicValue(const ControllerState &state, const std::string &name)
{
    auto global = globalTopics().find(name);
    if (global != globalTopics().end())
        return global->second.second(state);
    auto robot_topic = splitRobotTopic(state, name);
    if (!robot_topic)
        return std::nullopt;
    const RobotRuntime &robot = state.robots[robot_topic->first];
    auto topic = robotTopics().find(robot_topic->second);
    if (topic == robotTopics().end() || (topic->first == "enc_tick_count" && !robot.model.has_enc_tick_count))
        return std::nullopt;
    return topic->second.value(robot, state);
}

}  // namespace temla::korvu_sim
