#pragma once

#include <cmath>
#include <vector>

#include "korvu_sdk/types.h"

// What the controller's two units (modes and safety, moves) share: the robot message codes it
// sends, their levels, and the tests on modes and arguments.
namespace temla::korvu_sim::controller
{

using common_interface::RobotModeType;
using common_interface::SafetyModeType;

// Robot message codes the controller sends.
enum MessageCode : int {
    kMsgCollision = 30014,
    kMsgOperationalMode = 30027,
    kMsgMovedWhilePoweredOff = 30031,
    kMsgWrongSafetyMode = 30038,
    kMsgSafetyMode = 30039,
    kMsgRobotEmergencyStop = 30044,
    kMsgRobotMode = 30045,
    kMsgWrongRobotMode = 30046,
    kMsgOutOfReach = 30047,
    kMsgPlanFailed = 30048,
    kMsgPowerOnSystemEmergencyStop = 30052,
    kMsgPowerOnRobotEmergencyStop = 30053,
    kMsgStartupSystemEmergencyStop = 30056,
    kMsgStartupRobotEmergencyStop = 30057,
    kMsgFreedrive = 30083,
    kMsgSlowDown = 30307,
};

// Levels: up to 2 the operator sees a popup; state changes are informational.
constexpr int kLevelError = 1;
constexpr int kLevelWarning = 2;
constexpr int kLevelInfo = 3;

inline bool powered(RobotModeType mode)
{
    return mode >= RobotModeType::PowerOn && mode <= RobotModeType::Maintaince;
}

inline bool emergency(SafetyModeType mode)
{
    return mode == SafetyModeType::SystemEmergencyStop || mode == SafetyModeType::RobotEmergencyStop;
}

inline bool safetyAllowsMotion(SafetyModeType mode)
{
    return mode == SafetyModeType::Normal || mode == SafetyModeType::ReducedMode;
}

inline bool allFinite(const std::vector<double> &values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

inline bool positive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

}  // namespace temla::korvu_sim::controller
