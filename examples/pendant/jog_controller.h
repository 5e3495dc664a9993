#pragma once

#include <QObject>
#include <QTimer>

#include <optional>

#include "motion_panel.h"

namespace pendant
{

class RobotCommands;

// Jogging while a button is held: the speed command is sent at once and renewed well inside the
// controller's watchdog, so the arm stops by itself if the pendant goes silent (a crash, a lost
// link); releasing the button stops it at once.
class JogController : public QObject
{
    Q_OBJECT

public:
    // Seconds the controller keeps a jog command alive, and how often it is renewed.
    static constexpr double kWatchdogSeconds = 0.3;
    static constexpr int kRenewIntervalMs = 100;

    JogController(RobotCommands &commands, QObject *parent = nullptr);

    void start(const JogAxis &axis);
    void stop();
    bool active() const { return axis_.has_value(); }

Q_SIGNALS:
    void refused(QString text);

private:
    void send();

    RobotCommands &commands_;
    QTimer renew_timer_;
    std::optional<JogAxis> axis_;
};

}  // namespace pendant
