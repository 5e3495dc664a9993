#include <gtest/gtest.h>

#include "robot_proxy/mode_names.h"

namespace temla::common_interface
{
namespace
{

const char *const kRobotModeTexts[] = {
    "RobotModeType.NoController", "RobotModeType.Disconnected",   "RobotModeType.ConfirmSafety",
    "RobotModeType.Booting",      "RobotModeType.PowerOff",       "RobotModeType.PowerOn",
    "RobotModeType.Idle",         "RobotModeType.BrakeReleasing", "RobotModeType.BackDrive",
    "RobotModeType.Running",      "RobotModeType.Maintaince",     "RobotModeType.Error",
    "RobotModeType.PowerOffing",
};

const char *const kSafetyModeTexts[] = {
    "SafetyModeType.Undefined",          "SafetyModeType.Normal",
    "SafetyModeType.ReducedMode",        "SafetyModeType.Recovery",
    "SafetyModeType.Violation",          "SafetyModeType.ProtectiveStop",
    "SafetyModeType.SafeguardStop",      "SafetyModeType.SystemEmergencyStop",
    "SafetyModeType.RobotEmergencyStop", "SafetyModeType.Fault",
};

TEST(ModeNames, RobotModeTextsRoundTrip)
{
    for (int value = -1; value <= 11; ++value) {
        SCOPED_TRACE(value);
        const auto mode = static_cast<RobotModeType>(value);
        EXPECT_EQ(toString(mode), kRobotModeTexts[value + 1]);
        EXPECT_EQ(robotModeFromText(kRobotModeTexts[value + 1]), mode);
    }
    EXPECT_EQ(toString(static_cast<RobotModeType>(12)), "RobotModeType.Unkown");
    EXPECT_EQ(toString(static_cast<RobotModeType>(-2)), "RobotModeType.Unkown");
}

TEST(ModeNames, SafetyModeTextsRoundTrip)
{
    for (int value = 0; value <= 9; ++value) {
        SCOPED_TRACE(value);
        const auto mode = static_cast<SafetyModeType>(value);
        EXPECT_EQ(toString(mode), kSafetyModeTexts[value]);
        EXPECT_EQ(safetyModeFromText(kSafetyModeTexts[value]), mode);
    }
    EXPECT_EQ(toString(static_cast<SafetyModeType>(10)), "SafetyModeType.Unkown");
    EXPECT_EQ(toString(static_cast<SafetyModeType>(-1)), "SafetyModeType.Unkown");
}

TEST(ModeNames, OperationalModeTexts)
{
    EXPECT_EQ(operationalModeFromText("OperationalModeType.Disabled"), OperationalModeType::Disabled);
    EXPECT_EQ(operationalModeFromText("OperationalModeType.Automatic"), OperationalModeType::Automatic);
    EXPECT_EQ(operationalModeFromText("OperationalModeType.Manual"), OperationalModeType::Manual);
}

TEST(ModeNames, OtherTextsMatchNothing)
{
    for (const char *text : {"RobotModeType.Unkown", "robotmodetype.running", "RobotModeType.RUNNING",
                             "RobotModeType.Running ", "Running", "", "SafetyModeType.Normal"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(robotModeFromText(text), std::nullopt);
    }
    for (const char *text : {"SafetyModeType.Unkown", "safetymodetype.normal", "SafetyModeType.Normal\n",
                             "Normal", "", "RobotModeType.Running"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(safetyModeFromText(text), std::nullopt);
    }
    for (const char *text : {"OperationalModeType.manual", "Manual", "", "OperationalModeType.Unkown"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(operationalModeFromText(text), std::nullopt);
    }
    // The text is compared as bytes: an embedded NUL does not cut it short.
    EXPECT_EQ(robotModeFromText(std::string_view("RobotModeType.Idle\0x", 20)), std::nullopt);
}

}  // namespace
}  // namespace temla::common_interface
