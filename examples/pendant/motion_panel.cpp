#include "motion_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace pendant
{
namespace
{

constexpr double kDegreesPerRadian = 180.0 / M_PI;
const char *const kTcpAxisNames[MotionPanel::kAxes] = {"X", "Y", "Z", "RX", "RY", "RZ"};

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

}  // namespace

MotionPanel::MotionPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(jogGroup(tr("Joints (deg)"), false, joint_values_));
    layout->addWidget(jogGroup(tr("TCP (mm, deg)"), true, tcp_values_));
}

QWidget *MotionPanel::jogGroup(const QString &title, bool cartesian, QVector<QLabel *> &values)
{
    auto *group = new QGroupBox(title, this);
    auto *grid = new QGridLayout(group);
    for (int axis = 0; axis < kAxes; ++axis) {
        const QString name = cartesian ? kTcpAxisNames[axis] : QString("J%1").arg(axis + 1);
        const QString prefix = cartesian ? QString("jogTcp%1").arg(axis) : QString("jogJoint%1").arg(axis);
        auto *value = new QLabel("-", group);
        value->setObjectName(cartesian ? QString("tcpValue%1").arg(axis) : QString("jointValue%1").arg(axis));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(80);
        values.push_back(value);
        grid->addWidget(new QLabel(name, group), axis, 0);
        grid->addWidget(jogButton({cartesian, axis, -1}, prefix + "Minus"), axis, 1);
        grid->addWidget(value, axis, 2);
        grid->addWidget(jogButton({cartesian, axis, +1}, prefix + "Plus"), axis, 3);
    }
    return group;
}

QPushButton *MotionPanel::jogButton(const JogAxis &axis, const QString &object_name)
{
    auto *button = new QPushButton(axis.direction > 0 ? "+" : "-", this);
    button->setObjectName(object_name);
    button->setFixedWidth(36);
    button->setAutoRepeat(false);
    connect(button, &QPushButton::pressed, this, [this, axis] { emit jogPressed(axis); });
    connect(button, &QPushButton::released, this, &MotionPanel::jogReleased);
    jog_buttons_.push_back(button);
    return button;
}

void MotionPanel::show(const RobotView &view)
{
    for (int i = 0; i < kAxes; ++i) {
        const auto index = static_cast<std::size_t>(i);
        joint_values_[i]->setText(index < view.joint_positions.size()
                                      ? number(view.joint_positions[index] * kDegreesPerRadian, 2)
                                      : "-");
        if (index >= view.tcp_pose.size()) {
            tcp_values_[i]->setText("-");
        } else if (i < 3) {
            tcp_values_[i]->setText(number(view.tcp_pose[index] * 1000.0, 1));
        } else {
            tcp_values_[i]->setText(number(view.tcp_pose[index] * kDegreesPerRadian, 2));
        }
    }
}

void MotionPanel::setJogEnabled(bool enabled)
{
    for (auto *button : jog_buttons_) {
        button->setEnabled(enabled);
    }
}

}  // namespace pendant
