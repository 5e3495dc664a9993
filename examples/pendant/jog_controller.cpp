#include "jog_controller.h"

#include <vector>

#include "robot_commands.h"

namespace pendant
{
namespace
{

constexpr double kJointSpeed = 0.3;    // rad/s, before the controller's speed fraction
constexpr double kLinearSpeed = 0.05;  // m/s
constexpr double kAngularSpeed = 0.2;  // rad/s
constexpr double kAcceleration = 1.0;  // rad/s² or m/s²
constexpr double kDeceleration = 2.0;  // rad/s² on release

std::vector<double> velocity(const JogAxis &axis)
{
    std::vector<double> v(MotionPanel::kAxes, 0.0);
    const double speed = !axis.cartesian ? kJointSpeed : (axis.axis < 3 ? kLinearSpeed : kAngularSpeed);
    v[static_cast<std::size_t>(axis.axis)] = axis.direction * speed;
    return v;
}

}  // namespace

JogController::JogController(RobotCommands &commands, QObject *parent) : QObject(parent), commands_(commands)
{
    renew_timer_.setInterval(kRenewIntervalMs);
    renew_timer_.setTimerType(Qt::PreciseTimer);
    connect(&renew_timer_, &QTimer::timeout, this, &JogController::send);
}

void JogController::start(const JogAxis &axis)
{
    axis_ = axis;
    send();
    if (axis_) {
        renew_timer_.start();
    }
}

void JogController::stop()
{
    if (!axis_) {
        return;
    }
    axis_.reset();
    renew_timer_.stop();
    const CommandOutcome outcome = commands_.stopMotion(kDeceleration);
    if (!outcome.accepted) {
        emit refused(outcome.text);
    }
}

void JogController::send()
{
    if (!axis_) {
        return;
    }
    const auto v = velocity(*axis_);
    const CommandOutcome outcome = axis_->cartesian ? commands_.jogTcp(v, kAcceleration, kWatchdogSeconds)
                                                    : commands_.jogJoints(v, kAcceleration, kWatchdogSeconds);
    if (!outcome.accepted) {
        // A refused jog is not retried every tick; the operator presses again.
        axis_.reset();
        renew_timer_.stop();
        emit refused(outcome.text);
    }
}

}  // namespace pendant
