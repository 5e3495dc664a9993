#pragma once

namespace temla::korvu_sdk::detail
{

// The robot-message codes the dispatch gives a meaning of its own. Every other code takes the general
// path: its catalogue text, a popup by level and the two notifications.
enum class MessageCode : int {
    // Handled by themselves.
    Popup = 1,
    PopupDismiss = 2,
    SystemHalt = 3,
    PopupDismissById = 6,
    // Controller events: no text and no notification.
    ModbusSignalCreated = 10,
    ModbusSignalRemoved = 11,
    Silent = 12,
    RuntimeContext = 13,
    InterpreterContext = 14,
    TaskDeleted = 16,
    PnValueChanged = 30,
    PnConnectionChanged = 31,
    PnioDeviceChanged = 32,
    PnioNetworkChanged = 33,
    IcmStatusChanged = 40,
    EipValueChanged = 50,
    EipConnectionChanged = 51,
    TeachPendantEnabled = 60080,
    // General path with a signal of its own.
    ProgramLoaded = 15,
    RobotCollision = 30014,
    JointMovedDuringPoweroff = 30031,
    ToolSensorChanged = 30419,
    ToolSensorRemoved = 30420,
    ToolSensorStatus = 30432,
    AxisErrorFirst = 11001,
    AxisErrorLast = 11999,
    // General path, then written into the cache's record of the robot.
    OperationalModeChanged = 30027,
    SafetyModeChanged = 30039,
    RobotModeChanged = 30045,
    FreedriveChanged = 30083,
    RobotTypeChanged = 30200,
    LinkModeChanged = 30201,
    SlowDownChanged = 30307,
};

constexpr MessageCode messageCode(int code)
{
    return static_cast<MessageCode>(code);
}

constexpr bool isAxisError(int code)
{
    return code >= static_cast<int>(MessageCode::AxisErrorFirst) &&
           code <= static_cast<int>(MessageCode::AxisErrorLast);
}

}  // namespace temla::korvu_sdk::detail
