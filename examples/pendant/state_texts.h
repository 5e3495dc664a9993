#pragma once

#include <QColor>
#include <QString>

#include "korvu_sdk/types.h"

namespace pendant
{

// Short texts of the modes for the indicators ("Running", "ProtectiveStop", ...).
QString robotModeText(temla::common_interface::RobotModeType mode);
QString safetyModeText(temla::common_interface::SafetyModeType mode);
QString operationalModeText(temla::common_interface::OperationalModeType mode);
// The library gives the program runtime state no text; the pendant names the values itself.
QString runtimeStateText(temla::common_interface::RuntimeState state);

// Indicator colours: green for ready, amber for in between, red for stopped by safety, grey for off.
QColor robotModeColour(temla::common_interface::RobotModeType mode);
QColor safetyModeColour(temla::common_interface::SafetyModeType mode);

// Display levels of the proxy's popups and messages: 3 fatal, 2 error, 1 warning, 4 info, 0 debug.
QString levelText(int display_level);
QColor levelColour(int display_level);

}  // namespace pendant
