#include "robot_proxy/mode_names.h"

#include <cstdint>
#include <iterator>
#include <string>

namespace temla::common_interface
{

namespace
{

// Ascending search over [first, last], comparing with the value's text form.
template <typename Mode>
std::optional<Mode> matchText(std::string_view text, int32_t first, int32_t last)
{
    for (int32_t value = first; value <= last; ++value) {
        const Mode mode = static_cast<Mode>(value);
        if (toString(mode) == text) {
            return mode;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<RobotModeType> robotModeFromText(std::string_view text)
{
    return matchText<RobotModeType>(text, -1, 11);
}

std::optional<SafetyModeType> safetyModeFromText(std::string_view text)
{
    return matchText<SafetyModeType>(text, 0, 9);
}

std::optional<OperationalModeType> operationalModeFromText(std::string_view text)
{
    for (std::size_t value = 0; value < std::size(kOperationalModeTexts); ++value) {
        if (kOperationalModeTexts[value] == text) {
            return static_cast<OperationalModeType>(value);
        }
    }
    return std::nullopt;
}

}  // namespace temla::common_interface
