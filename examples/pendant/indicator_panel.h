#pragma once

#include <QWidget>

#include "robot_view.h"

class QLabel;

namespace pendant
{

// Robot, safety and operational mode and the program runtime state, as coloured indicators.
class IndicatorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit IndicatorPanel(QWidget *parent = nullptr);
    void show(const RobotView &view);

private:
    QLabel *robot_mode_;
    QLabel *safety_mode_;
    QLabel *operational_mode_;
    QLabel *runtime_state_;
};

}  // namespace pendant
