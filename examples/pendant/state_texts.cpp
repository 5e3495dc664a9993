#include "state_texts.h"

#include <array>
#include <string>

namespace pendant
{
namespace
{

using temla::common_interface::RobotModeType;
using temla::common_interface::SafetyModeType;

QString afterPrefix(const std::string &text)
{
    const auto dot = text.find('.');
    return QString::fromStdString(dot == std::string::npos ? text : text.substr(dot + 1));
}

const QColor kGreen(0x5c, 0xb8, 0x5c);
const QColor kAmber(0xf0, 0xad, 0x4e);
const QColor kRed(0xd9, 0x53, 0x4f);
const QColor kGrey(0xb0, 0xb0, 0xb0);

}  // namespace

QString robotModeText(RobotModeType mode)
{
    return afterPrefix(temla::common_interface::toString(mode));
}

QString safetyModeText(SafetyModeType mode)
{
    return afterPrefix(temla::common_interface::toString(mode));
}

QString operationalModeText(temla::common_interface::OperationalModeType mode)
{
    static const std::array<const char *, 3> kNames = {"Disabled", "Automatic", "Manual"};
    const auto value = static_cast<int>(mode);
    return value >= 0 && value < 3 ? kNames[static_cast<std::size_t>(value)] : QString::number(value);
}

QString runtimeStateText(temla::common_interface::RuntimeState state)
{
    static const std::array<const char *, 8> kNames = {"Running",  "Retracting", "Pausing", "Paused",
                                                       "Stepping", "Stopping",   "Stopped", "Aborting"};
    const auto value = static_cast<int>(state);
    return value >= 0 && value < 8 ? kNames[static_cast<std::size_t>(value)] : QString::number(value);
}

QColor robotModeColour(RobotModeType mode)
{
    switch (mode) {
        case RobotModeType::Running:
            return kGreen;
        case RobotModeType::PowerOn:
        case RobotModeType::Idle:
        case RobotModeType::BrakeReleasing:
        case RobotModeType::Booting:
        case RobotModeType::PowerOffing:
            return kAmber;
        case RobotModeType::Error:
            return kRed;
        default:
            return kGrey;
    }
}

QColor safetyModeColour(SafetyModeType mode)
{
    switch (mode) {
        case SafetyModeType::Normal:
            return kGreen;
        case SafetyModeType::ReducedMode:
        case SafetyModeType::Recovery:
            return kAmber;
        case SafetyModeType::Undefined:
            return kGrey;
        default:
            return kRed;
    }
}

QString levelText(int display_level)
{
    switch (display_level) {
        case 0:
            return "debug";
        case 1:
            return "warning";
        case 2:
            return "error";
        case 3:
            return "fatal";
        default:
            return "info";
    }
}

QColor levelColour(int display_level)
{
    switch (display_level) {
        case 1:
            return QColor(0x8a, 0x6d, 0x00);
        case 2:
        case 3:
            return QColor(0xb0, 0x20, 0x20);
        case 0:
            return Qt::gray;
        default:
            return Qt::black;
    }
}

}  // namespace pendant
