#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace temla
{
namespace common_interface
{

/// Mode of a robot arm, from no controller through power-up to running.
enum class RobotModeType : int32_t {
    NoController = -1,
    Disconnected = 0,
    ConfirmSafety = 1,
    Booting = 2,
    PowerOff = 3,
    PowerOn = 4,
    Idle = 5,
    BrakeReleasing = 6,
    BackDrive = 7,
    Running = 8,
    Maintaince = 9,
    Error = 10,
    PowerOffing = 11,
};

/// Safety mode of a robot arm.
enum class SafetyModeType : int32_t {
    Undefined = 0,
    Normal = 1,
    ReducedMode = 2,
    Recovery = 3,
    Violation = 4,
    ProtectiveStop = 5,
    SafeguardStop = 6,
    SystemEmergencyStop = 7,
    RobotEmergencyStop = 8,
    Fault = 9,
};

/// Operational mode: jogging and freedrive need Manual.
enum class OperationalModeType : int32_t {
    Disabled = 0,
    Automatic = 1,
    Manual = 2,
};

/// Program runtime state of the controller's interpreter.
enum class RuntimeState : int32_t {
    Running = 0,
    Retracting = 1,
    Pausing = 2,
    Paused = 3,
    Stepping = 4,
    Stopping = 5,
    Stopped = 6,
    Aborting = 7,
};

/// State of one joint's drive.
enum class JointStateType : int32_t {
    PowerOff = 0,
    Busy = 1,
    Idle = 2,
    Fault = 3,
    Collision = 4,
};

/// What an output does when the program stops or the robot powers off.
enum class StandardOutputRunState : int32_t {
    None = 0,
    StopLow = 1,
    StopHigh = 2,
    PowerOffLow = 3,
    PowerOffHigh = 4,
};

/// Tool payload: mass (kg), centre of gravity (3, m), axes of mass (3, rad), inertia matrix (9, row by row).
using Payload = std::tuple<double, std::vector<double>, std::vector<double>, std::vector<double>>;

/// One robot message: a numeric code with its arguments, as streamed on "R1_message".
struct RobotMsg {
    int64_t timestamp = 0;          ///< When the controller raised the message.
    int32_t level = 0;              ///< Severity level.
    int32_t code = 0;               ///< Message code in the error-code catalogue.
    std::string source;             ///< Source of the message, such as a robot or joint name.
    std::vector<std::string> args;  ///< Arguments that fill the placeholders of the code's text.

    /// Field-wise equality.
    bool operator==(const RobotMsg &other) const
    {
        return timestamp == other.timestamp && level == other.level && code == other.code &&
               source == other.source && args == other.args;
    }
};

/// Status of one gripper as streamed on "gripper_status"; the name identifies the gripper.
struct GripperStatus {
    std::string name;        ///< Name of the gripper.
    bool connected = false;  ///< Whether the gripper is connected.
    bool enabled = false;    ///< Whether the gripper is enabled.
    int32_t error_code = 0;  ///< The gripper's error code, 0 when none.
    double position = 0.0;   ///< Finger position.
    double speed = 0.0;      ///< Finger speed.
    double force = 0.0;      ///< Gripping force.

    /// Field-wise equality.
    bool operator==(const GripperStatus &other) const
    {
        return name == other.name && connected == other.connected && enabled == other.enabled &&
               error_code == other.error_code && position == other.position && speed == other.speed &&
               force == other.force;
    }
};

/// "SafetyModeType." followed by the value's name; "SafetyModeType.Unkown" for a value outside the enumeration.
inline std::string toString(SafetyModeType mode)
{
    static const char *const names[] = {
        "Undefined",      "Normal",        "ReducedMode",         "Recovery",           "Violation",
        "ProtectiveStop", "SafeguardStop", "SystemEmergencyStop", "RobotEmergencyStop", "Fault"};
    const auto value = static_cast<int32_t>(mode);
    if (value < 0 || value > 9) {
        return "SafetyModeType.Unkown";
    }
    return std::string("SafetyModeType.") + names[value];
}

/// "RobotModeType." followed by the value's name; "RobotModeType.Unkown" for a value outside the enumeration.
inline std::string toString(RobotModeType mode)
{
    static const char *const names[] = {
        "NoController",   "Disconnected", "ConfirmSafety", "Booting",    "PowerOff", "PowerOn",    "Idle",
        "BrakeReleasing", "BackDrive",    "Running",       "Maintaince", "Error",    "PowerOffing"};
    const auto value = static_cast<int32_t>(mode);
    if (value < -1 || value > 11) {
        return "RobotModeType.Unkown";
    }
    return std::string("RobotModeType.") + names[value + 1];
}

}  // namespace common_interface
}  // namespace temla
