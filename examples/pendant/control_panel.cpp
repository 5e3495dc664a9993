#include "control_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace pendant
{
namespace
{

constexpr int kSliderSteps = 100;

QPushButton *button(const QString &text, const char *object_name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(object_name);
    return b;
}

}  // namespace

ControlPanel::ControlPanel(QWidget *parent)
    : QWidget(parent),
      power_on_(button(tr("Power on"), "powerOnButton", this)),
      brake_release_(button(tr("Release brakes"), "brakeReleaseButton", this)),
      power_off_(button(tr("Power off"), "powerOffButton", this)),
      unlock_(button(tr("Unlock protective stop"), "unlockButton", this)),
      manual_mode_(button(tr("Manual mode"), "manualModeButton", this)),
      speed_(new QSlider(Qt::Horizontal, this)),
      speed_label_(new QLabel(this))
{
    manual_mode_->setCheckable(true);
    speed_->setObjectName("speedSlider");
    speed_->setRange(0, kSliderSteps);
    speed_label_->setObjectName("speedLabel");
    speed_label_->setMinimumWidth(48);

    auto *group = new QGroupBox(tr("Robot"), this);
    auto *grid = new QGridLayout(group);
    grid->addWidget(power_on_, 0, 0);
    grid->addWidget(brake_release_, 0, 1);
    grid->addWidget(power_off_, 1, 0);
    grid->addWidget(unlock_, 1, 1);
    grid->addWidget(manual_mode_, 2, 0, 1, 2);
    auto *speed_row = new QHBoxLayout;
    speed_row->addWidget(new QLabel(tr("Speed"), group));
    speed_row->addWidget(speed_, 1);
    speed_row->addWidget(speed_label_);
    grid->addLayout(speed_row, 3, 0, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);

    connect(power_on_, &QPushButton::clicked, this, &ControlPanel::powerOnRequested);
    connect(brake_release_, &QPushButton::clicked, this, &ControlPanel::brakeReleaseRequested);
    connect(power_off_, &QPushButton::clicked, this, &ControlPanel::powerOffRequested);
    connect(unlock_, &QPushButton::clicked, this, &ControlPanel::unlockRequested);
    connect(manual_mode_, &QPushButton::clicked, this, &ControlPanel::manualModeRequested);
    connect(speed_, &QSlider::valueChanged, this,
            [this](int value) { speed_label_->setText(QString("%1 %").arg(value)); });
    connect(speed_, &QSlider::sliderReleased, this,
            [this] { emit speedRequested(static_cast<double>(speed_->value()) / kSliderSteps); });
}

void ControlPanel::show(const RobotView &view)
{
    // While the operator drags, the slider shows the hand, not the controller.
    if (!speed_->isSliderDown()) {
        speed_->setValue(static_cast<int>(std::lround(view.speed_fraction * kSliderSteps)));
    }
    manual_mode_->setChecked(view.operational_mode == temla::common_interface::OperationalModeType::Manual);
}

void ControlPanel::setCommandsEnabled(bool enabled)
{
    for (auto *b : {power_on_, brake_release_, power_off_, unlock_, manual_mode_}) {
        b->setEnabled(enabled);
    }
    speed_->setEnabled(enabled);
}

}  // namespace pendant
