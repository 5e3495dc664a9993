#include "korvu_sim/scenario.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "korvu_sdk/types.h"

namespace temla::korvu_sim
{
namespace
{

using nlohmann::json;

constexpr int kMaxRobots = 16;
constexpr int kMaxDof = 12;

[[noreturn]] void fail(const std::string &where, const std::string &what)
{
    throw ScenarioError("scenario: " + where + ": " + what);
}

// Every object accepts "comment" so that files can explain themselves.
void checkKeys(const json &object, const std::string &where, const std::set<std::string> &allowed)
{
    if (!object.is_object())
        fail(where, "must be an object");
    for (const auto &item : object.items())
        if (item.key() != "comment" && allowed.count(item.key()) == 0)
            fail(where, "unknown key \"" + item.key() + "\"");
}

const json &required(const json &object, const char *key, const std::string &where)
{
    auto it = object.find(key);
    if (it == object.end())
        fail(where, std::string("missing \"") + key + "\"");
    return *it;
}

std::string stringAt(const json &value, const std::string &where)
{
    if (!value.is_string())
        fail(where, "must be a string");
    return value.get<std::string>();
}

std::int64_t integerAt(const json &value, const std::string &where, std::int64_t low, std::int64_t high)
{
    if (!value.is_number_integer())
        fail(where, "must be an integer");
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
        fail(where, "out of range");
    auto v = value.get<std::int64_t>();
    if (v < low || v > high)
        fail(where, "must lie in " + std::to_string(low) + " to " + std::to_string(high));
    return v;
}

int int32At(const json &value, const std::string &where)
{
    return static_cast<int>(
        integerAt(value, where, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int robotModeAt(const json &value, const std::string &where)
{
    auto mode = robotModeFromText(stringAt(value, where));
    if (!mode)
        fail(where,
             "\"" + value.get<std::string>() + "\" is not a robot mode such as \"RobotModeType.Idle\"");
    return *mode;
}

int safetyModeAt(const json &value, const std::string &where)
{
    auto mode = safetyModeFromText(stringAt(value, where));
    if (!mode)
        fail(where,
             "\"" + value.get<std::string>() + "\" is not a safety mode such as \"SafetyModeType.Normal\"");
    return *mode;
}

// Arguments are texts on the wire; numbers and booleans are accepted in their JSON spelling.
std::string argumentText(const json &value, const std::string &where)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number() || value.is_boolean())
        return value.dump();
    fail(where, "must be a string, number or boolean");
}

ScenarioRobot parseRobot(const json &entry, const std::string &where)
{
    checkKeys(entry, where, {"name", "type", "dof", "robot_mode", "safety_mode", "enc_tick_count"});
    ScenarioRobot robot;
    robot.name = stringAt(required(entry, "name", where), where + ".name");
    if (robot.name.empty())
        fail(where + ".name", "must not be empty");
    if (entry.contains("type"))
        robot.type = stringAt(entry["type"], where + ".type");
    if (entry.contains("dof"))
        robot.dof = static_cast<int>(integerAt(entry["dof"], where + ".dof", 1, kMaxDof));
    if (entry.contains("robot_mode"))
        robot.robot_mode = robotModeAt(entry["robot_mode"], where + ".robot_mode");
    if (entry.contains("safety_mode"))
        robot.safety_mode = safetyModeAt(entry["safety_mode"], where + ".safety_mode");
    if (entry.contains("enc_tick_count")) {
        if (!entry["enc_tick_count"].is_boolean())
            fail(where + ".enc_tick_count", "must be true or false");
        robot.enc_tick_count = entry["enc_tick_count"].get<bool>();
    }
    return robot;
}

void parseMessage(const json &body, const std::string &where, ScenarioEvent &event)
{
    checkKeys(body, where, {"code", "level", "source", "args"});
    event.kind = ScenarioEvent::Kind::Message;
    event.code = int32At(required(body, "code", where), where + ".code");
    if (body.contains("level"))
        event.level = int32At(body["level"], where + ".level");
    if (body.contains("source"))
        event.source = stringAt(body["source"], where + ".source");
    if (body.contains("args")) {
        const json &args = body["args"];
        if (!args.is_array())
            fail(where + ".args", "must be a list");
        for (size_t i = 0; i < args.size(); ++i)
            event.args.push_back(argumentText(args[i], where + ".args[" + std::to_string(i) + "]"));
    }
}

void parseModeChange(const json &body, const std::string &where, size_t robot_count, bool safety,
                     ScenarioEvent &event)
{
    checkKeys(body, where, {"robot", "mode"});
    event.kind = safety ? ScenarioEvent::Kind::SafetyMode : ScenarioEvent::Kind::RobotMode;
    auto high = static_cast<std::int64_t>(robot_count) - 1;
    if (high < 0)
        fail(where, "no robot to change");
    event.robot = static_cast<int>(integerAt(required(body, "robot", where), where + ".robot", 0, high));
    const json &mode = required(body, "mode", where);
    event.mode = safety ? safetyModeAt(mode, where + ".mode") : robotModeAt(mode, where + ".mode");
}

void parseRegister(const json &body, const std::string &where, ScenarioEvent &event)
{
    checkKeys(body, where, {"name", "value"});
    event.kind = ScenarioEvent::Kind::Register;
    event.name = stringAt(required(body, "name", where), where + ".name");
    const json &value = required(body, "value", where);
    if (value.is_boolean())
        event.register_value = value.get<bool>() ? 1 : 0;
    else
        event.register_value = int32At(value, where + ".value");
}

void parseVariableUpdate(const json &body, const std::string &where, ScenarioEvent &event)
{
    checkKeys(body, where, {"name", "value"});
    event.kind = ScenarioEvent::Kind::VariableUpdate;
    event.name = stringAt(required(body, "name", where), where + ".name");
    const json &value = required(body, "value", where);
    event.text = value.is_string() ? value.get<std::string>() : value.dump();
}

ServerKind dropTarget(const json &value, const std::string &where)
{
    std::string text = stringAt(value, where);
    if (text == "rpc")
        return ServerKind::Rpc;
    if (text == "realtime")
        return ServerKind::Realtime;
    if (text == "script")
        return ServerKind::Script;
    if (text == "all")
        return ServerKind::All;
    fail(where, "must be \"rpc\", \"realtime\", \"script\" or \"all\"");
}

int robotAt(const json &body, const std::string &where, size_t robot_count)
{
    auto high = static_cast<std::int64_t>(robot_count) - 1;
    if (high < 0)
        fail(where, "no robot to act on");
    return static_cast<int>(integerAt(required(body, "robot", where), where + ".robot", 0, high));
}

double numberAt(const json &value, const std::string &where)
{
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        fail(where, "must be a number");
    return value.get<double>();
}

// The controller's events: commands as a client would send them, stops, inputs, pushed joints.
void parseControllerEvent(const std::string &action, const json &body, const std::string &where,
                          size_t robot_count, ScenarioEvent &event)
{
    using Kind = ScenarioEvent::Kind;
    if (action == "command") {
        checkKeys(body, where, {"method", "params"});
        event.kind = Kind::Command;
        event.name = stringAt(required(body, "method", where), where + ".method");
        const json &params = required(body, "params", where);
        if (!params.is_array())
            fail(where + ".params", "must be a list");
        event.text = params.dump();
    } else if (action == "protective_stop") {
        checkKeys(body, where, {"robot", "code"});
        event.kind = Kind::ProtectiveStop;
        event.robot = robotAt(body, where, robot_count);
        event.code = body.contains("code") ? int32At(body["code"], where + ".code") : 30009;
    } else if (action == "collision") {
        checkKeys(body, where, {"robot", "joint"});
        event.kind = Kind::Collision;
        event.robot = robotAt(body, where, robot_count);
        event.code =
            static_cast<int>(integerAt(required(body, "joint", where), where + ".joint", 1, kMaxDof));
    } else if (action == "emergency_stop") {
        checkKeys(body, where, {"robot", "source"});
        event.kind = Kind::EmergencyStop;
        event.robot = robotAt(body, where, robot_count);
        const std::string source = stringAt(required(body, "source", where), where + ".source");
        using common_interface::SafetyModeType;
        if (source == "robot")
            event.mode = static_cast<int>(SafetyModeType::RobotEmergencyStop);
        else if (source == "system")
            event.mode = static_cast<int>(SafetyModeType::SystemEmergencyStop);
        else if (source == "released")
            event.mode = static_cast<int>(SafetyModeType::Normal);
        else
            fail(where + ".source", "must be \"robot\", \"system\" or \"released\"");
    } else if (action == "input") {
        checkKeys(body, where, {"robot", "bank", "index", "value"});
        event.kind = Kind::Input;
        event.robot = robotAt(body, where, robot_count);
        event.name = stringAt(required(body, "bank", where), where + ".bank");
        if (event.name != "standard" && event.name != "tool" && event.name != "configurable" &&
            event.name != "analog")
            fail(where + ".bank", "must be \"standard\", \"tool\", \"configurable\" or \"analog\"");
        event.code = static_cast<int>(integerAt(required(body, "index", where), where + ".index", 0, 63));
        const json &value = required(body, "value", where);
        if (event.name == "analog")
            event.value = numberAt(value, where + ".value");
        else if (value.is_boolean())
            event.value = value.get<bool>() ? 1.0 : 0.0;
        else
            fail(where + ".value", "must be true or false");
    } else {
        checkKeys(body, where, {"robot", "q"});
        event.kind = Kind::PushJoints;
        event.robot = robotAt(body, where, robot_count);
        const json &q = required(body, "q", where);
        if (!q.is_array() || q.empty())
            fail(where + ".q", "must be a list of joint positions");
        for (size_t i = 0; i < q.size(); ++i)
            event.joints.push_back(numberAt(q[i], where + ".q[" + std::to_string(i) + "]"));
    }
}

ProgramCommand programCommand(const json &value, const std::string &where)
{
    static const std::pair<const char *, ProgramCommand> commands[] = {{"start", ProgramCommand::Start},
                                                                       {"pause", ProgramCommand::Pause},
                                                                       {"resume", ProgramCommand::Resume},
                                                                       {"step", ProgramCommand::Step},
                                                                       {"stop", ProgramCommand::Stop}};
    const std::string text = stringAt(value, where);
    for (const auto &[name, command] : commands)
        if (text == name)
            return command;
    fail(where, "must be \"start\", \"pause\", \"resume\", \"step\" or \"stop\"");
}

ScenarioEvent parseEvent(const json &entry, const std::string &where, size_t robot_count)
{
    static const std::set<std::string> controller_actions{"command",        "protective_stop", "collision",
                                                          "emergency_stop", "input",           "push_joints"};
    static const std::set<std::string> actions = [] {
        std::set<std::string> all{"message",      "robot_mode",      "safety_mode", "register",
                                  "script_error", "variable_update", "drop",         "program",         "runtime"};
        all.insert(controller_actions.begin(), controller_actions.end());
        return all;
    }();
    std::set<std::string> allowed = actions;
    allowed.insert("at");
    checkKeys(entry, where, allowed);

    ScenarioEvent event;
    const json &at = required(entry, "at", where);
    if (!at.is_number() || !(at.get<double>() >= 0.0 && at.get<double>() <= kMaxEventSeconds))
        fail(where + ".at",
             "must be a number of seconds from 0 to " + std::to_string(static_cast<long>(kMaxEventSeconds)));
    event.at = at.get<double>();

    std::vector<std::string> present;
    for (const auto &action : actions)
        if (entry.contains(action))
            present.push_back(action);
    if (present.size() != 1)
        fail(
            where,
            "needs exactly one action of message, robot_mode, safety_mode, register, script_error, "
            "variable_update, drop, command, protective_stop, collision, emergency_stop, input, push_joints, program, runtime");
    const std::string &action = present.front();
    const json &body = entry[action];
    const std::string body_where = where + "." + action;

    if (controller_actions.count(action)) {
        parseControllerEvent(action, body, body_where, robot_count, event);
    } else if (action == "message") {
        parseMessage(body, body_where, event);
    } else if (action == "robot_mode" || action == "safety_mode") {
        parseModeChange(body, body_where, robot_count, action == "safety_mode", event);
    } else if (action == "register") {
        parseRegister(body, body_where, event);
    } else if (action == "script_error") {
        checkKeys(body, body_where, {"text"});
        event.kind = ScenarioEvent::Kind::ScriptError;
        event.text = stringAt(required(body, "text", body_where), body_where + ".text");
    } else if (action == "variable_update") {
        parseVariableUpdate(body, body_where, event);
    } else if (action == "program") {
        checkKeys(body, body_where, {"text"});
        event.kind = ScenarioEvent::Kind::Program;
        event.text = stringAt(required(body, "text", body_where), body_where + ".text");
    } else if (action == "runtime") {
        event.kind = ScenarioEvent::Kind::Runtime;
        event.command = programCommand(body, body_where);
    } else {
        event.kind = ScenarioEvent::Kind::Drop;
        event.drop = dropTarget(body, body_where);
    }
    return event;
}

}  // namespace

Scenario parseScenario(const std::string &json_text, size_t default_robot_count)
{
    json root;
    try {
        root = json::parse(json_text);
    } catch (const json::parse_error &e) {
        throw ScenarioError(std::string("scenario: not valid JSON: ") + e.what());
    }
    checkKeys(root, "top level", {"robots", "user", "password", "events"});

    Scenario scenario;
    if (root.contains("robots")) {
        const json &robots = root["robots"];
        if (!robots.is_array() || robots.empty() || robots.size() > kMaxRobots)
            fail("robots", "must be a list of 1 to " + std::to_string(kMaxRobots) + " robots");
        std::set<std::string> names;
        for (size_t i = 0; i < robots.size(); ++i) {
            std::string where = "robots[" + std::to_string(i) + "]";
            scenario.robots.push_back(parseRobot(robots[i], where));
            if (!names.insert(scenario.robots.back().name).second)
                fail(where + ".name", "\"" + scenario.robots.back().name + "\" is used twice");
        }
    }
    if (root.contains("user"))
        scenario.user = stringAt(root["user"], "user");
    if (root.contains("password"))
        scenario.password = stringAt(root["password"], "password");

    size_t robot_count = scenario.robots.empty() ? default_robot_count : scenario.robots.size();
    if (root.contains("events")) {
        const json &events = root["events"];
        if (!events.is_array())
            fail("events", "must be a list");
        for (size_t i = 0; i < events.size(); ++i)
            scenario.events.push_back(
                parseEvent(events[i], "events[" + std::to_string(i) + "]", robot_count));
    }
    std::stable_sort(scenario.events.begin(), scenario.events.end(),
                     [](const ScenarioEvent &a, const ScenarioEvent &b) { return a.at < b.at; });
    return scenario;
}

Scenario loadScenario(const std::string &path, size_t default_robot_count)
{
    std::ifstream file(path);
    if (!file)
        throw ScenarioError("scenario: cannot open \"" + path + "\"");
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        throw ScenarioError("scenario: cannot read \"" + path + "\"");
    return parseScenario(text.str(), default_robot_count);
}

std::optional<int> robotModeFromText(const std::string &text)
{
    using common_interface::RobotModeType;
    for (int value = -1; value <= 11; ++value)
        if (common_interface::toString(static_cast<RobotModeType>(value)) == text)
            return value;
    return std::nullopt;
}

std::optional<int> safetyModeFromText(const std::string &text)
{
    using common_interface::SafetyModeType;
    for (int value = 0; value <= 9; ++value)
        if (common_interface::toString(static_cast<SafetyModeType>(value)) == text)
            return value;
    return std::nullopt;
}

}  // namespace temla::korvu_sim
