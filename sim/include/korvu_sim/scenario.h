#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace temla::korvu_sim
{

// Which server a drop applies to.
enum class ServerKind { Rpc, Realtime, Script, All };

// The runtime machine's commands on the loaded program.
enum class ProgramCommand { Start, Pause, Resume, Step, Stop };

// A scenario file could not be read or does not follow the format of docs/simulator.md.
class ScenarioError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct ScenarioRobot {
    std::string name;
    std::optional<std::string> type;
    std::optional<int> dof;
    std::optional<int> robot_mode;   // RobotModeType value
    std::optional<int> safety_mode;  // SafetyModeType value
    bool enc_tick_count = false;
};

// Latest event time, in seconds after the first login (about 11.5 days); later times are refused
// by the parser and run at this time when given through SimulatorOptions.
inline constexpr double kMaxEventSeconds = 1e6;

struct ScenarioEvent {
    enum class Kind {
        Message,
        RobotMode,
        SafetyMode,
        Register,
        ScriptError,
        VariableUpdate,
        Drop,
        Command,
        ProtectiveStop,
        Collision,
        EmergencyStop,
        Input,
        PushJoints,
        Program,
        Runtime
    };

    double at = 0.0;  // seconds after the first login
    Kind kind = Kind::Message;

    // message (code), protective_stop (the cause's code), collision (the joint, 1-based)
    int code = 0;
    int level = 1;
    std::optional<std::string> source;  // first robot's name when absent
    std::vector<std::string> args;

    // robot_mode, safety_mode (mode), and the robot of the controller events
    int robot = 0;
    int mode = 0;  // emergency_stop: the SafetyModeType value, Normal for a release

    // register (name, value), variable_update (name, text), command (name: the method, text: the
    // parameters as JSON), input (name: "standard", "tool", "configurable" or "analog"; code: the
    // index; value)
    std::string name;
    double value = 0.0;
    // push_joints
    std::vector<double> joints;
    std::int64_t register_value = 0;

    // script_error text, variable_update value, program text
    std::string text;

    // drop
    ServerKind drop = ServerKind::All;

    // runtime
    ProgramCommand command = ProgramCommand::Start;
};

struct Scenario {
    std::vector<ScenarioRobot> robots;  // empty: the simulator's default robots
    std::optional<std::string> user;
    std::optional<std::string> password;
    std::vector<ScenarioEvent> events;  // sorted by `at`, file order kept for equal times
};

// Both throw ScenarioError naming the offending entry. Robot indexes of mode events are checked
// against the scenario's robots, or against default_robot_count when it lists none.
Scenario parseScenario(const std::string &json_text, size_t default_robot_count = 1);
Scenario loadScenario(const std::string &path, size_t default_robot_count = 1);

// Text forms such as "RobotModeType.Idle" and "SafetyModeType.Normal"; nullopt when unknown.
std::optional<int> robotModeFromText(const std::string &text);
std::optional<int> safetyModeFromText(const std::string &text);

}  // namespace temla::korvu_sim
