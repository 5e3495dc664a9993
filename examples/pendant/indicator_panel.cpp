#include "indicator_panel.h"

#include <QFormLayout>
#include <QLabel>

#include "state_texts.h"

namespace pendant
{
namespace
{

QLabel *indicator(const char *object_name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(object_name);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(140);
    label->setAutoFillBackground(true);
    return label;
}

void setIndicator(QLabel *label, const QString &text, const QColor &colour)
{
    label->setText(text);
    label->setStyleSheet(
        QString("QLabel { background: %1; border-radius: 3px; padding: 2px 6px; }").arg(colour.name()));
}

}  // namespace

IndicatorPanel::IndicatorPanel(QWidget *parent)
    : QWidget(parent),
      robot_mode_(indicator("robotModeIndicator", this)),
      safety_mode_(indicator("safetyModeIndicator", this)),
      operational_mode_(indicator("operationalModeIndicator", this)),
      runtime_state_(indicator("runtimeStateIndicator", this))
{
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Robot mode"), robot_mode_);
    layout->addRow(tr("Safety"), safety_mode_);
    layout->addRow(tr("Operational mode"), operational_mode_);
    layout->addRow(tr("Program"), runtime_state_);
}

void IndicatorPanel::show(const RobotView &view)
{
    setIndicator(robot_mode_, robotModeText(view.robot_mode), robotModeColour(view.robot_mode));
    setIndicator(safety_mode_, safetyModeText(view.safety_mode), safetyModeColour(view.safety_mode));
    setIndicator(operational_mode_, operationalModeText(view.operational_mode), QColor(0xe0, 0xe0, 0xe0));
    setIndicator(runtime_state_, runtimeStateText(view.runtime_state), QColor(0xe0, 0xe0, 0xe0));
}

}  // namespace pendant
