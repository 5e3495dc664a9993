#pragma once

#include <QString>

#include <vector>

namespace temla::korvu_sdk
{
class RobotProxy;
}

namespace pendant
{

// What became of a command: accepted, or refused / failed with a text for the operator.
struct CommandOutcome {
    bool accepted = false;
    QString text;
};

// The commands of the window, each one request through the proxy's interface handles of the
// selected robot. None throws: a transport failure comes back as a refused outcome.
class RobotCommands
{
public:
    explicit RobotCommands(temla::korvu_sdk::RobotProxy &proxy) : proxy_(proxy) {}

    CommandOutcome powerOn();
    CommandOutcome releaseBrakes();
    CommandOutcome powerOff();
    CommandOutcome unlockProtectiveStop();
    CommandOutcome setManualMode(bool manual);
    CommandOutcome setSpeedFraction(double fraction);

    // Joint speeds (rad/s) or a TCP twist (m/s, rad/s) held until renewed within watchdog seconds.
    CommandOutcome jogJoints(const std::vector<double> &speeds, double acceleration, double watchdog);
    CommandOutcome jogTcp(const std::vector<double> &twist, double acceleration, double watchdog);
    CommandOutcome stopMotion(double deceleration);

    // A program is loaded and started by sending it.
    CommandOutcome sendProgram(const QString &script);

private:
    temla::korvu_sdk::RobotProxy &proxy_;
};

// The operator's text for a refusal code of the controller.
QString refusalText(int code);

}  // namespace pendant
