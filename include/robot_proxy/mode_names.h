#pragma once

/// @file
/// Text forms of the controller's mode enumerations, and the matching of a received text back to a value.
///
/// The controller reports modes in robot messages as text (codes 30027, 30039 and 30045). The text form
/// of a value is the enumeration's prefix followed by the enumerator name, for example
/// "RobotModeType.NoController" or "SafetyModeType.Undefined". The text forms of RobotModeType and
/// SafetyModeType are produced by temla::common_interface::toString, defined next to the enumerations in
/// korvu_sdk/types.h (included here); out-of-range values give "RobotModeType.Unkown" and
/// "SafetyModeType.Unkown". OperationalModeType has no toString; its texts are kOperationalModeTexts.
///
/// The *FromText functions compare the text byte for byte (case-sensitive) with the text form of each
/// value in ascending order and return the first equal one, or nothing. The "Unkown" texts match no
/// value. The fallback for "nothing" is the caller's: -1 (NoController) for robot modes, 0 for safety and
/// operational modes.

#include <optional>
#include <string_view>

#include "korvu_sdk/types.h"
#include "robot_proxy/export.h"

namespace temla::common_interface
{

/// Text form of OperationalModeType value i (0 Disabled, 1 Automatic, 2 Manual).
inline constexpr std::string_view kOperationalModeTexts[] = {
    "OperationalModeType.Disabled",
    "OperationalModeType.Automatic",
    "OperationalModeType.Manual",
};

/// Matches the text forms of values -1 to 11.
ROBOT_PROXY_EXPORT std::optional<RobotModeType> robotModeFromText(std::string_view text);

/// Matches the text forms of values 0 to 9.
ROBOT_PROXY_EXPORT std::optional<SafetyModeType> safetyModeFromText(std::string_view text);

/// Matches the text forms of values 0 to 2.
ROBOT_PROXY_EXPORT std::optional<OperationalModeType> operationalModeFromText(std::string_view text);

}  // namespace temla::common_interface
