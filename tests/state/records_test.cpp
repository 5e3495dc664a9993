// The cache before any controller contact: initial records, getter defaults, placeholders, the free
// helpers and the Modbus name list.
#include <cmath>

#include "state_test_support.h"

namespace state_test
{
namespace
{

class FreshCache : public ::testing::Test
{
protected:
    RealtimeRobotState cache{std::make_shared<RpcClient>(0), std::make_shared<RtdeClient>(0)};
};

TEST_F(FreshCache, RecordsHoldTheInitialValues)
{
    EXPECT_EQ(cache.getRobotIndex(), -1);
    EXPECT_EQ(cache.getRobotName(), "");
    EXPECT_EQ(cache.getRuntimeState(), RuntimeState::Stopped);
    EXPECT_EQ(cache.getThreadID(), -1);
    EXPECT_EQ(cache.getLineNumber(), -1);
    EXPECT_TRUE(cache.getRobotNames().empty());
    const std::vector<double> six_zeros(6, 0.0);
    for (int i = 0; i < RealtimeRobotState::kRobotSlots; ++i) {
        SCOPED_TRACE(i);
        const RobotInfo info = cache.getRobotInfo(i);
        EXPECT_EQ(info.dof, 6);
        EXPECT_EQ(info.robot_mode, RobotModeType::NoController);
        EXPECT_EQ(info.safety_mode, SafetyModeType::Normal);
        EXPECT_EQ(info.gravity, (std::vector<double>{0.0, 0.0, -9.81}));
        EXPECT_EQ(info.joint_positions, six_zeros);
        EXPECT_EQ(info.tcp_pose, six_zeros);
        EXPECT_EQ(info.joint_max_positions, six_zeros);
        EXPECT_EQ(info.joint_state, std::vector<JointStateType>(6, JointStateType::Idle));
        EXPECT_EQ(info.standard_digital_input_bits, std::vector<bool>(64, false));
        EXPECT_EQ(info.link_digital_output_bits, std::vector<bool>(64, false));
        EXPECT_EQ(std::get<0>(info.payload), 0.0);
        EXPECT_EQ(std::get<1>(info.payload).size(), 3u);
        EXPECT_EQ(std::get<2>(info.payload).size(), 3u);
        EXPECT_EQ(std::get<3>(info.payload), std::vector<double>(9, 0.0));
        EXPECT_TRUE(info.real_dh_param.empty());
        EXPECT_TRUE(info.standard_analog_input_values.empty());
    }
}

TEST_F(FreshCache, GettersAnswerDefaultsWithoutASelectedRobot)
{
    EXPECT_EQ(cache.getDof(), 6);
    EXPECT_EQ(cache.getRobotType(), "unkown");
    EXPECT_EQ(cache.getRobotSubType(), "unkown");
    EXPECT_EQ(cache.getControlBoxType(), "unkown");
    EXPECT_EQ(cache.getRobotModeType(), RobotModeType::Disconnected);
    EXPECT_EQ(cache.getSafetyModeType(), SafetyModeType::Undefined);
    EXPECT_EQ(cache.getOperationalMode(), temla::common_interface::OperationalModeType::Disabled);
    EXPECT_TRUE(cache.getTcpPose().empty());
    EXPECT_TRUE(cache.getJointPositions().empty());
    EXPECT_TRUE(cache.getTcpForce().empty());
    EXPECT_TRUE(cache.getTcpForce(std::vector<double>(6, 0.0)).empty());
    EXPECT_EQ(cache.getGravity(), (std::vector<double>{0.0, 0.0, -9.81}));
    const Payload payload = cache.getPayload();
    EXPECT_EQ(std::get<0>(payload), 0.0);
    EXPECT_TRUE(std::get<1>(payload).empty() && std::get<2>(payload).empty() && std::get<3>(payload).empty());
    for (const DhParamMap &dh : {cache.getRealDHParam(), cache.getTheoryDHParam()}) {
        EXPECT_EQ(dh.size(), 5u);
        for (const char *key : {"a", "d", "alpha", "theta", "beta"}) {
            EXPECT_EQ(dh.at(key), std::vector<double>(6, 0.0)) << key;
        }
    }
    EXPECT_FALSE(cache.getStandardDigitalInput(0));
    EXPECT_FALSE(cache.getStandardDigitalInput(-1));
    EXPECT_EQ(cache.getStandardAnalogInput(0), 0.0);
    EXPECT_EQ(cache.getEncTickCount(0), 0);
}

TEST_F(FreshCache, WritesOutsideTheFourRecordsAreIgnored)
{
    for (int index : {-1, 4, 100}) {
        detail::writerOf(cache).storeRobotMode(index, RobotModeType::Running);
        detail::writerOf(cache).storeSafetyMode(index, SafetyModeType::Fault);
        detail::writerOf(cache).storeSlowDownLevel(index, 3);
        detail::writerOf(cache).storeRobotType(index, "x", "y");
        EXPECT_FALSE(detail::writerOf(cache).storeDisconnectedModes(index));
        EXPECT_EQ(detail::writerOf(cache).storedRobotMode(index), RobotModeType::NoController);
    }
    detail::writerOf(cache).storeRobotMode(2, RobotModeType::Idle);
    detail::writerOf(cache).storeOperationalMode(2, temla::common_interface::OperationalModeType::Manual);
    detail::writerOf(cache).storeLinkModeEnabled(2, true);
    detail::writerOf(cache).storeFreedriveEnabled(2, true);
    detail::writerOf(cache).storeSlowDownLevel(2, 2);
    detail::writerOf(cache).storeRobotType(2, "K6", "lite");
    const RobotInfo info = cache.getRobotInfo(2);
    EXPECT_EQ(detail::writerOf(cache).storedRobotMode(2), RobotModeType::Idle);
    EXPECT_EQ(info.operational_mode, 2);
    EXPECT_TRUE(info.link_mode_enabled && info.freedrive_enabled);
    EXPECT_EQ(info.slow_down_level, 2);
    EXPECT_EQ(info.robot_type, "K6");
    EXPECT_EQ(info.robot_sub_type, "lite");
    EXPECT_TRUE(detail::writerOf(cache).storeDisconnectedModes(2));
    EXPECT_EQ(cache.getRobotInfo(2).robot_mode, RobotModeType::NoController);
    EXPECT_EQ(cache.getRobotInfo(2).safety_mode, SafetyModeType::Undefined);
    EXPECT_EQ(cache.getRobotInfo(0).robot_mode, RobotModeType::NoController);
    EXPECT_EQ(cache.getRobotInfo(0).safety_mode, SafetyModeType::Normal);
}

TEST_F(FreshCache, PlaceholdersLogTheirTextAndAnswerAConstant)
{
    LogCapture::clear();
    EXPECT_EQ(cache.getElbowPosistion(), std::vector<double>(6, 0.0));
    EXPECT_EQ(cache.getJointTargetCurrents(), std::vector<double>(6, 0.0));
    EXPECT_EQ(cache.getJointServoMode(), std::vector<int>(6, -1));
    EXPECT_EQ(cache.getToolDigitalInputAction(1), 0);
    EXPECT_EQ(cache.getToolAnalogOutputRunstate(1), temla::common_interface::StandardOutputRunState::None);
    EXPECT_EQ(
        cache.setToolDigitalOutputRunstate(1, temla::common_interface::StandardOutputRunState::StopHigh), -1);
    EXPECT_EQ(cache.setToolAnalogInputDomain(0, 1), -1);
    EXPECT_EQ(cache.getToolAnalogOutputDomain(0), -1);
    EXPECT_EQ(cache.setToolAnalogOutput(0, 1.0), -1);
    EXPECT_EQ(cache.setConfigurableDigitalOutput(0, true), -1);

    const std::vector<std::string> expected{
        "RealtimeRobotState::getElbowPosistion is not yet completed. ",
        "RealtimeRobotState::getJointTargetCurrents is not yet completed. ",
        "RealtimeRobotState::getJointServoMode is not yet completed. ",
        "RealtimeRobotState::getToolDigitalInputAction is not yet completed. ",
        "RealtimeRobotState::getToolAnalogOutputRunstate is not yet completed. ",
        "RealtimeRobotState::setToolDigitalOutputRunstate is not yet completed. ",
        "RealtimeRobotState::setToolAnalogInputDomainis not yet completed. ",
        "RealtimeRobotState::getToolAnalogOutputDomain not yet completed. ",
        "RealtimeRobotState::setToolAnalogOutput not yet completed. ",
        "RealtimeRobotState::setConfigurableDigitalOutput not yet completed. "};
    const auto lines = LogCapture::snapshot();
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[i].type, QtWarningMsg);
        EXPECT_EQ(lines[i].text, expected[i]);
    }
}

TEST_F(FreshCache, ModbusNamesStaySortedAndKeepDuplicates)
{
    cache.addModbusSignalName("b");
    cache.addModbusSignalName("a");
    cache.addModbusSignalName("b");
    EXPECT_EQ(cache.getModbusSignalNames(), (std::vector<std::string>{"a", "b", "b"}));
    cache.removeModbusSignalName("b");
    EXPECT_EQ(cache.getModbusSignalNames(), (std::vector<std::string>{"a", "b"}));
    cache.removeModbusSignalName("zz");
    EXPECT_EQ(cache.getModbusSignalNames(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(FreshCache, SelectionOutOfRangeIsRejectedWithAWarning)
{
    LogCapture::clear();
    EXPECT_EQ(cache.selectRobot(0), -1);
    EXPECT_EQ(cache.selectRobot(-1), -1);
    EXPECT_EQ(cache.getRobotIndex(), -1);
    EXPECT_EQ(LogCapture::count("RobotProxy select robot of  0  out of range(0,  0 )"), 1);
    EXPECT_EQ(LogCapture::count("RobotProxy select robot of  -1  out of range(0,  0 )"), 1);
}

TEST_F(FreshCache, RefreshesWithoutARobotNameDoNothing)
{
    EXPECT_EQ(cache.updateGravity(7), 0);
    EXPECT_EQ(cache.updateRobotInformationOnPoweron(-1), 0);
    EXPECT_EQ(cache.updateRobotInformationOnPoweron(5), 0);
    EXPECT_EQ(cache.updateHDParamOnRobotTypeChanged(-1), 0);
    EXPECT_EQ(cache.updateHDParamOnRobotTypeChanged(2), 0);
    EXPECT_THROW(cache.updateGravity(0), std::out_of_range);
    EXPECT_THROW(cache.updateOperationMode(3), std::out_of_range);
    cache.updateModbusSignalNames();
    EXPECT_EQ(cache.getRobotInfo(0).gravity, (std::vector<double>{0.0, 0.0, -9.81}));
}

TEST(Split, KeepsEmptyParts)
{
    struct Case {
        std::string text, delimiter;
        std::vector<std::string> parts;
    };
    const Case cases[] = {{"a,b", ",", {"a", "b"}},
                          {"a,,b,", ",", {"a", "", "b", ""}},
                          {"", ",", {""}},
                          {"JM-20::JM-14", "::", {"JM-20", "JM-14"}},
                          {"abc", "", {"abc"}}};
    for (const Case &c : cases) {
        EXPECT_EQ(split(c.text, c.delimiter), c.parts) << c.text;
    }
}

TEST(ToVec, EntryBIsBitB)
{
    const std::vector<bool> word5 = toVec(5L);
    ASSERT_EQ(word5.size(), 64u);
    for (int b = 0; b < 64; ++b) {
        EXPECT_EQ(word5[b], b == 0 || b == 2) << b;
    }
    const std::vector<bool> high = toVec(static_cast<long>(INT64_MIN));
    EXPECT_TRUE(high[63]);
    EXPECT_EQ(std::count(high.begin(), high.end(), true), 1);
    const std::vector<bool> link = toVec(static_cast<int>(0x80000001u));
    ASSERT_EQ(link.size(), 32u);
    EXPECT_TRUE(link[0] && link[31]);
    EXPECT_EQ(std::count(link.begin(), link.end(), true), 2);
    EXPECT_EQ(toVec(-1), std::vector<bool>(32, true));
}

}  // namespace
}  // namespace state_test
