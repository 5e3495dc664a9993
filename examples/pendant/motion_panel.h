#pragma once

#include <QVector>
#include <QWidget>

#include "robot_view.h"

class QLabel;
class QPushButton;

namespace pendant
{

// One jog direction: a joint (axis 0 to 5) or a TCP axis (x, y, z, rx, ry, rz), and its sense.
struct JogAxis {
    bool cartesian = false;
    int axis = 0;
    int direction = 1;  // +1 or -1
};

// The joints in degrees and the TCP in millimetres and degrees, each with a pair of jog buttons
// that report while they are held.
class MotionPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kAxes = 6;

    explicit MotionPanel(QWidget *parent = nullptr);
    void show(const RobotView &view);
    void setJogEnabled(bool enabled);

Q_SIGNALS:
    void jogPressed(pendant::JogAxis axis);
    void jogReleased();

private:
    QWidget *jogGroup(const QString &title, bool cartesian, QVector<QLabel *> &values);
    QPushButton *jogButton(const JogAxis &axis, const QString &object_name);

    QVector<QLabel *> joint_values_;
    QVector<QLabel *> tcp_values_;
    QVector<QPushButton *> jog_buttons_;
};

}  // namespace pendant

Q_DECLARE_METATYPE(pendant::JogAxis)
