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
    NoController = -1,   ///< no controller is connected
    Disconnected = 0,    ///< the arm is not connected to the controller
    ConfirmSafety = 1,   ///< the safety configuration awaits confirmation
    Booting = 2,         ///< the arm is booting
    PowerOff = 3,        ///< the arm is powered off
    PowerOn = 4,         ///< the arm is powering on
    Idle = 5,            ///< powered, brakes held
    BrakeReleasing = 6,  ///< the brakes are being released
    BackDrive = 7,       ///< back-drive: joints move with the brakes released
    Running = 8,         ///< powered with the brakes released
    Maintaince = 9,      ///< maintenance
    Error = 10,          ///< the arm reports an error
    PowerOffing = 11,    ///< the arm is powering off
};

/// Safety mode of a robot arm.
enum class SafetyModeType : int32_t {
    Undefined = 0,            ///< not known yet
    Normal = 1,               ///< normal operation
    ReducedMode = 2,          ///< reduced limits in force
    Recovery = 3,             ///< recovery: the arm may be moved back inside its limits
    Violation = 4,            ///< a safety limit was violated
    ProtectiveStop = 5,       ///< protective stop
    SafeguardStop = 6,        ///< safeguard stop
    SystemEmergencyStop = 7,  ///< system emergency stop
    RobotEmergencyStop = 8,   ///< robot emergency stop
    Fault = 9,                ///< safety fault
};

/// Operational mode: jogging and freedrive need Manual.
enum class OperationalModeType : int32_t {
    Disabled = 0,   ///< no operational mode
    Automatic = 1,  ///< automatic: programs run
    Manual = 2,     ///< manual: jogging and freedrive allowed
};

/// Program runtime state of the controller's interpreter.
enum class RuntimeState : int32_t {
    Running = 0,     ///< a program runs
    Retracting = 1,  ///< retracting
    Pausing = 2,     ///< pausing
    Paused = 3,      ///< paused
    Stepping = 4,    ///< stepping
    Stopping = 5,    ///< stopping
    Stopped = 6,     ///< no program runs
    Aborting = 7,    ///< aborting
};

/// State of one joint's drive.
enum class JointStateType : int32_t {
    PowerOff = 0,   ///< drive powered off
    Busy = 1,       ///< drive busy
    Idle = 2,       ///< drive idle
    Fault = 3,      ///< drive fault
    Collision = 4,  ///< collision detected
};

/// What an output does when the program stops or the robot powers off.
enum class StandardOutputRunState : int32_t {
    None = 0,          ///< the output keeps its value
    StopLow = 1,       ///< low when the program stops
    StopHigh = 2,      ///< high when the program stops
    PowerOffLow = 3,   ///< low when the robot powers off
    PowerOffHigh = 4,  ///< high when the robot powers off
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

/// "SafetyModeType." followed by the value's name; "SafetyModeType.Unkown" for a value outside the
/// enumeration.
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
