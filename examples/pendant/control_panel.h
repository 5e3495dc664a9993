#pragma once

#include <QWidget>

#include "robot_view.h"

class QLabel;
class QPushButton;
class QSlider;

namespace pendant
{

// Power, brakes, protective-stop unlock, operational mode and the speed slider. The buttons only
// ask; the window sends the commands.
class ControlPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ControlPanel(QWidget *parent = nullptr);
    void show(const RobotView &view);
    void setCommandsEnabled(bool enabled);

Q_SIGNALS:
    void powerOnRequested();
    void brakeReleaseRequested();
    void powerOffRequested();
    void unlockRequested();
    void manualModeRequested(bool manual);
    // 0 to 1, when the operator lets go of the slider.
    void speedRequested(double fraction);

private:
    QPushButton *power_on_;
    QPushButton *brake_release_;
    QPushButton *power_off_;
    QPushButton *unlock_;
    QPushButton *manual_mode_;
    QSlider *speed_;
    QLabel *speed_label_;
};

}  // namespace pendant
