#include "robot_commands.h"

#include <QCoreApplication>

#include <exception>
#include <stdexcept>

#include "korvu_sdk/api.h"
#include "robot_proxy/robot_proxy.h"

namespace pendant
{
namespace
{

namespace result = temla::common_interface::command_result;

QString tr(const char *text)
{
    return QCoreApplication::translate("pendant::RobotCommands", text);
}

template <typename Handle>
Handle &require(const std::shared_ptr<Handle> &handle)
{
    if (!handle) {
        throw std::runtime_error("not connected");
    }
    return *handle;
}

// Runs one command; the SDK raises for transport failures, which the window shows like a refusal.
template <typename Command>
CommandOutcome run(const char *what, Command command, QString (*describe)(int) = &refusalText)
{
    try {
        const int code = command();
        if (code == 0) {
            return {true, {}};
        }
        return {false, tr("%1 refused: %2 (%3)").arg(tr(what), describe(code)).arg(code)};
    } catch (const std::exception &e) {
        return {false, tr("%1 failed: %2").arg(tr(what), QString::fromUtf8(e.what()))};
    }
}

}  // namespace

QString refusalText(int code)
{
    switch (code) {
        case result::kNotPowered:
            return tr("the arm is not powered");
        case result::kBrakesHeld:
            return tr("the brakes are held");
        case result::kSafetyStop:
            return tr("a safety stop is active");
        case result::kEmergencyStop:
            return tr("an emergency stop is active");
        case result::kOutsideJointLimits:
            return tr("outside the joint limits");
        case result::kUnreachable:
            return tr("the pose cannot be reached");
        case result::kAutomaticMode:
            return tr("jogging needs the Manual mode");
        case result::kInvalidArgument:
            return tr("invalid value");
        case result::kFreedriveActive:
            return tr("freedrive is on");
        case result::kMoving:
            return tr("the robot is moving");
        case result::kNothingToUnlock:
            return tr("there is no protective stop");
        default:
            return tr("refused");
    }
}

CommandOutcome RobotCommands::powerOn()
{
    return run(QT_TR_NOOP("power on"), [this] { return require(proxy_.getRobotManage()).poweron(); });
}

CommandOutcome RobotCommands::releaseBrakes()
{
    return run(QT_TR_NOOP("brake release"), [this] { return require(proxy_.getRobotManage()).startup(); });
}

CommandOutcome RobotCommands::powerOff()
{
    return run(QT_TR_NOOP("power off"), [this] { return require(proxy_.getRobotManage()).poweroff(); });
}

CommandOutcome RobotCommands::unlockProtectiveStop()
{
    return run(QT_TR_NOOP("unlock"),
               [this] { return require(proxy_.getRobotManage()).unlockProtectiveStop(); });
}

CommandOutcome RobotCommands::setManualMode(bool manual)
{
    using Mode = temla::common_interface::OperationalModeType;
    return run(QT_TR_NOOP("operational mode"), [this, manual] {
        return require(proxy_.getRobotManage()).setOperationalMode(manual ? Mode::Manual : Mode::Automatic);
    });
}

CommandOutcome RobotCommands::setSpeedFraction(double fraction)
{
    return run(QT_TR_NOOP("speed"),
               [this, fraction] { return require(proxy_.getRobotManage()).setSpeedFraction(fraction); });
}

CommandOutcome RobotCommands::jogJoints(const std::vector<double> &speeds, double acceleration,
                                        double watchdog)
{
    return run(QT_TR_NOOP("jog"),
               [&] { return require(proxy_.getMotionControl()).speedJoint(speeds, acceleration, watchdog); });
}

CommandOutcome RobotCommands::jogTcp(const std::vector<double> &twist, double acceleration, double watchdog)
{
    return run(QT_TR_NOOP("jog"),
               [&] { return require(proxy_.getMotionControl()).speedLine(twist, acceleration, watchdog); });
}

CommandOutcome RobotCommands::stopMotion(double deceleration)
{
    return run(QT_TR_NOOP("stop"), [&] { return require(proxy_.getMotionControl()).stopMove(deceleration); });
}

CommandOutcome RobotCommands::sendProgram(const QString &script)
{
    return run(QT_TR_NOOP("program start"), [&] { return proxy_.sendScript(script.toStdString()); });
}

}  // namespace pendant
