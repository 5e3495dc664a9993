#include "korvu_sdk/input_parser.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{

using temla::common_interface::GripperStatus;
using temla::common_interface::JointStateType;
using temla::common_interface::KorvuException;
using temla::common_interface::Payload;
using temla::common_interface::RobotModeType;
using temla::common_interface::RobotMsg;
using temla::common_interface::RuntimeState;
using temla::common_interface::SafetyModeType;
using temla::korvu_sdk::InputParser;
namespace error_code = temla::common_interface::error_code;

int codeOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const KorvuException &e) {
        return e.code();
    }
    return 0;
}

// One value of every type, in the order of InputParser::Type.
std::vector<InputParser::Value> oneOfEach()
{
    const Payload payload{1.5, {0.1, 0.2, 0.3}, {0, 0, 1}, {1, 0, 0, 0, 1, 0, 0, 0, 1}};
    const RobotMsg message{123456789012LL, 1, 10001, "rob1", {"3"}};
    return {true,
            int32_t{-7},
            int64_t{1} << 40,
            0.5,
            std::vector<double>{1.0, 2.0},
            std::vector<int32_t>{1, 2},
            std::vector<JointStateType>{JointStateType::Idle, JointStateType::Fault},
            RobotModeType::NoController,
            SafetyModeType::ProtectiveStop,
            RuntimeState::Stopped,
            payload,
            std::vector<GripperStatus>{{"g1", true, false, 3, 0.25, 0.5, 10.0}},
            std::vector<RobotMsg>{message}};
}

// Pops in Type order; each returns the popped value re-wrapped, so results compare with the input.
const std::vector<std::function<InputParser::Value(InputParser &)>> &pops()
{
    static const std::vector<std::function<InputParser::Value(InputParser &)>> table = {
        [](InputParser &p) { return InputParser::Value(p.popBool()); },
        [](InputParser &p) { return InputParser::Value(p.popInt32()); },
        [](InputParser &p) { return InputParser::Value(p.popInt64()); },
        [](InputParser &p) { return InputParser::Value(p.popDouble()); },
        [](InputParser &p) { return InputParser::Value(p.popVectorDouble()); },
        [](InputParser &p) { return InputParser::Value(p.popVectorInt()); },
        [](InputParser &p) { return InputParser::Value(p.popVectorJointStateType()); },
        [](InputParser &p) { return InputParser::Value(p.popRobotModeType()); },
        [](InputParser &p) { return InputParser::Value(p.popSafetyModeType()); },
        [](InputParser &p) { return InputParser::Value(p.popRuntimeState()); },
        [](InputParser &p) { return InputParser::Value(p.popPayload()); },
        [](InputParser &p) { return InputParser::Value(p.popGripperStatusVector()); },
        [](InputParser &p) { return InputParser::Value(p.popRobotMsgVector()); },
    };
    return table;
}

TEST(InputParser, EveryPopReturnsItsValueInOrder)
{
    const auto values = oneOfEach();
    ASSERT_EQ(values.size(), pops().size());
    InputParser parser(values);
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(pops()[i](parser), values[i]) << "pop " << i;
    }
    EXPECT_EQ(parser.remaining(), 0u);
}

TEST(InputParser, EveryWrongTypeRaisesTypeErrorAndLeavesTheValue)
{
    const auto values = oneOfEach();
    for (std::size_t held = 0; held < values.size(); ++held) {
        for (std::size_t popped = 0; popped < values.size(); ++popped) {
            if (held == popped) {
                continue;
            }
            InputParser parser({values[held]});
            EXPECT_EQ(codeOf([&] { pops()[popped](parser); }), error_code::kParserType)
                << "value " << held << " popped as " << popped;
            EXPECT_EQ(parser.remaining(), 1u);
            EXPECT_EQ(pops()[held](parser), values[held]);
        }
    }
}

TEST(InputParser, EveryPopPastTheEndRaisesEndError)
{
    for (const auto &pop : pops()) {
        InputParser empty;
        EXPECT_EQ(codeOf([&] { pop(empty); }), error_code::kParserEnd);
    }
    InputParser one({int32_t{1}});
    EXPECT_EQ(one.popInt32(), 1);
    EXPECT_EQ(codeOf([&] { one.popInt32(); }), error_code::kParserEnd);
}

TEST(InputParser, BuildsFromAnInitializerList)
{
    InputParser parser({RuntimeState::Running, std::vector<int>{1, 2}, true, 0.5, int32_t{3}, int64_t{5}});
    EXPECT_EQ(parser.popRuntimeState(), RuntimeState::Running);
    EXPECT_EQ(parser.popVectorInt(), (std::vector<int32_t>{1, 2}));
    EXPECT_TRUE(parser.popBool());
    EXPECT_DOUBLE_EQ(parser.popDouble(), 0.5);
    EXPECT_EQ(parser.popInt32(), 3);
    EXPECT_EQ(parser.popInt64(), 5);
}

TEST(InputParser, ErrorTextNamesBothTypes)
{
    InputParser parser({0.5});
    try {
        parser.popBool();
        FAIL() << "no exception";
    } catch (const KorvuException &e) {
        EXPECT_NE(std::string(e.what()).find("double"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("bool"), std::string::npos) << e.what();
    }
}

TEST(ModeNames, TextFormsAndUnknownValues)
{
    using temla::common_interface::toString;
    EXPECT_EQ(toString(RobotModeType::NoController), "RobotModeType.NoController");
    EXPECT_EQ(toString(RobotModeType::PowerOffing), "RobotModeType.PowerOffing");
    EXPECT_EQ(toString(static_cast<RobotModeType>(12)), "RobotModeType.Unkown");
    EXPECT_EQ(toString(static_cast<RobotModeType>(-2)), "RobotModeType.Unkown");
    EXPECT_EQ(toString(SafetyModeType::Undefined), "SafetyModeType.Undefined");
    EXPECT_EQ(toString(SafetyModeType::Fault), "SafetyModeType.Fault");
    EXPECT_EQ(toString(static_cast<SafetyModeType>(10)), "SafetyModeType.Unkown");
    EXPECT_EQ(toString(static_cast<SafetyModeType>(-1)), "SafetyModeType.Unkown");
}

}  // namespace
