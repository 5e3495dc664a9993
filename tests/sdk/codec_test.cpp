#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "korvu_wire/codec.h"
#include "korvu_wire/framed_connection.h"
#include "korvu_wire/values.h"

namespace
{

namespace wire = temla::korvu_wire;
using temla::common_interface::GripperStatus;
using temla::common_interface::JointStateType;
using temla::common_interface::Payload;
using temla::common_interface::RobotModeType;
using temla::common_interface::RobotMsg;
using temla::common_interface::RuntimeState;
using temla::common_interface::SafetyModeType;
using temla::korvu_sdk::InputParser;
using wire::Encoding;
using wire::Envelope;
using wire::Json;

Json roundTrip(const Json &message, Encoding encoding)
{
    Json back;
    EXPECT_TRUE(wire::deserialize(wire::serialize(message, encoding), encoding, back));
    return back;
}

TEST(Envelope, EveryKindSurvivesBothEncodings)
{
    for (const auto encoding : {Encoding::Json, Encoding::MsgPack}) {
        Envelope e;
        std::string why;
        ASSERT_TRUE(wire::parseEnvelope(
            roundTrip(wire::makeRequest(7, "RobotConfig.getDof", {"rob1"}), encoding), e, why));
        EXPECT_EQ(e.kind, Envelope::Kind::Request);
        EXPECT_EQ(e.id, 7);
        EXPECT_EQ(e.method, "RobotConfig.getDof");
        EXPECT_EQ(e.params, Json::array({"rob1"}));

        ASSERT_TRUE(wire::parseEnvelope(roundTrip(wire::makeResult(8, {1, 2}), encoding), e, why));
        EXPECT_EQ(e.kind, Envelope::Kind::Result);
        EXPECT_EQ(e.id, 8);
        EXPECT_EQ(e.result, Json::array({1, 2}));

        ASSERT_TRUE(wire::parseEnvelope(
            roundTrip(wire::makeError(9, -202, "no robot", {{"robot", "x"}}), encoding), e, why));
        EXPECT_EQ(e.kind, Envelope::Kind::Error);
        EXPECT_EQ(e.error_code, -202);
        EXPECT_EQ(e.error_message, "no robot");
        EXPECT_EQ(e.error_data["robot"], "x");

        ASSERT_TRUE(wire::parseEnvelope(roundTrip(wire::makeError(-1, -32700, "parse"), encoding), e, why));
        EXPECT_FALSE(e.has_id);

        ASSERT_TRUE(wire::parseEnvelope(
            roundTrip(wire::makeNotification("frame", {{"channel", 0}}), encoding), e, why));
        EXPECT_EQ(e.kind, Envelope::Kind::Notification);
        EXPECT_FALSE(e.has_id);
    }
}

TEST(Envelope, MalformedEnvelopesAreRejected)
{
    const std::vector<Json> bad = {
        Json::array(),
        Json{{"id", 1}, {"result", 1}},
        Json{{"jsonrpc", "1.0"}, {"id", 1}, {"result", 1}},
        Json{{"jsonrpc", "2.0"}, {"id", "one"}, {"result", 1}},
        Json{{"jsonrpc", "2.0"}, {"id", 1}},
        Json{{"jsonrpc", "2.0"}, {"result", 1}},
        Json{{"jsonrpc", "2.0"}, {"method", 5}},
        Json{{"jsonrpc", "2.0"}, {"method", "m"}, {"params", 5}},
        Json{{"jsonrpc", "2.0"}, {"id", 1}, {"error", "bad"}},
        Json{{"jsonrpc", "2.0"}, {"id", 1}, {"error", {{"code", 1.5}, {"message", "x"}}}},
        Json{{"jsonrpc", "2.0"}, {"id", 1}, {"error", {{"code", 1LL << 40}, {"message", "x"}}}},
        Json{{"jsonrpc", "2.0"}, {"id", 1}, {"error", {{"code", 1}}}},
    };
    for (const auto &message : bad) {
        Envelope e;
        std::string why;
        EXPECT_FALSE(wire::parseEnvelope(message, e, why)) << message.dump();
        EXPECT_FALSE(why.empty());
    }
}

TEST(Deserialize, RejectsGarbageAndDeepNesting)
{
    Json out;
    EXPECT_FALSE(wire::deserialize("{\"a\":", Encoding::Json, out));
    EXPECT_FALSE(wire::deserialize("", Encoding::Json, out));
    EXPECT_FALSE(wire::deserialize(std::string("\xc1", 1), Encoding::MsgPack, out));
    EXPECT_FALSE(wire::deserialize(std::string("\xdd\xff\xff\xff\xff", 5), Encoding::MsgPack,
                                   out));  // huge array claim

    const int ok_depth = wire::kMaxNestingDepth;
    EXPECT_TRUE(
        wire::deserialize(std::string(ok_depth, '[') + std::string(ok_depth, ']'), Encoding::Json, out));
    EXPECT_FALSE(wire::deserialize(std::string(ok_depth + 1, '[') + std::string(ok_depth + 1, ']'),
                                   Encoding::Json, out));
    // A flat array of tiny elements would build a document far larger than its frame.
    const auto flat = [](std::size_t count) {
        std::string bytes = "\xdd";
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<char>((count >> shift) & 0xff));
        }
        return bytes + std::string(count, '\xc0');
    };
    EXPECT_TRUE(wire::deserialize(flat(wire::kMaxElements - 1), Encoding::MsgPack, out));
    EXPECT_FALSE(wire::deserialize(flat(wire::kMaxElements), Encoding::MsgPack, out));
    // A million nested one-element arrays would overflow the stack of a recursive reader.
    EXPECT_FALSE(wire::deserialize(std::string(1000000, '\x91'), Encoding::MsgPack, out));
}

TEST(FrameHeader, IsBigEndianLength)
{
    EXPECT_EQ(wire::encodeFrameHeader(0x01020304), std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(wire::encodeFrameHeader(5), std::string("\x00\x00\x00\x05", 4));
}

TEST(Values, EveryRealtimeTypeRoundTripsThroughMsgPack)
{
    const std::vector<InputParser::Value> values = {
        false,
        int32_t{-2147483647 - 1},
        int64_t{-(int64_t{1} << 62)},
        -0.125,
        std::vector<double>{},
        std::vector<int32_t>{0, -1, 2147483647},
        std::vector<JointStateType>{JointStateType::PowerOff, JointStateType::Collision},
        RobotModeType::PowerOffing,
        SafetyModeType::Fault,
        RuntimeState::Paused,
        Payload{2.0, {1, 2, 3}, {4, 5, 6}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        std::vector<GripperStatus>{{"left", true, true, 0, 1.0, 2.0, 3.0},
                                   {"right", false, false, 7, 0, 0, 0}},
        std::vector<RobotMsg>{{1, 2, 3, "src:42", {"a", "", "ü"}}, {0, 0, 0, "", {}}},
    };
    for (const auto &value : values) {
        const auto type = wire::typeOf(value);
        const Json back = roundTrip(Json::array({wire::encodeValue(value)}), Encoding::MsgPack);
        EXPECT_EQ(wire::decodeValue(back.at(0), type), value) << static_cast<int>(type);
    }
}

TEST(Values, DecodersRejectWrongTypesAndRanges)
{
    using Type = InputParser::Type;
    const std::vector<std::pair<Json, Type>> bad = {
        {1, Type::Bool},
        {true, Type::Int32},
        {1.5, Type::Int32},
        {int64_t{1} << 31, Type::Int32},
        {-(int64_t{1} << 31) - 1, Type::Int32},
        {uint64_t{1} << 63, Type::Int64},
        {"1", Type::Double},
        {Json::array({1, "2"}), Type::VectorDouble},
        {Json::array({1.5}), Type::VectorInt},
        {Json::object(), Type::VectorInt},
        {"Running", Type::RobotModeType},
        {Json{{"mass", 1}, {"cog", {0, 0}}, {"aom", {0, 0, 0}}, {"inertia", Json::array()}}, Type::Payload},
        {Json{{"cog", {0, 0, 0}}}, Type::Payload},
        {Json::array({Json{{"connected", true}}}), Type::GripperStatusVector},
        {Json::array({Json{{"timestamp", 1}, {"level", 0}, {"code", 1}, {"source", "s"}}}),
         Type::RobotMsgVector},
        {Json::array(
             {Json{{"timestamp", 1}, {"level", 0}, {"code", 1}, {"source", 2}, {"args", Json::array()}}}),
         Type::RobotMsgVector},
    };
    for (const auto &entry : bad) {
        EXPECT_THROW(wire::decodeValue(entry.first, entry.second), wire::WireError)
            << entry.first.dump() << " as " << static_cast<int>(entry.second);
    }
}

TEST(Values, DoublesAcceptIntegersAndGripperFieldsDefault)
{
    EXPECT_EQ(wire::asDoubleVector(Json::array({1, 2.5})), (std::vector<double>{1.0, 2.5}));
    const auto status = wire::asGripperStatus(Json{{"name", "g"}});
    EXPECT_EQ(status, (GripperStatus{"g", false, false, 0, 0.0, 0.0, 0.0}));
}

TEST(Values, KinematicsAndOutputMaps)
{
    const temla::common_interface::KinematicsParam param{{"a", {0, 0.4}}, {"d", {0.1, 0}}};
    EXPECT_EQ(wire::asKinematicsParam(wire::toJson(param)), param);
    EXPECT_EQ(wire::asOutputMap(Json{{"R1_actual_q", 4}}), (std::map<std::string, int>{{"R1_actual_q", 4}}));
    EXPECT_THROW(wire::asOutputMap(Json{{"x", 13}}), wire::WireError);
    EXPECT_THROW(wire::asKinematicsParam(Json{{"a", "b"}}), wire::WireError);
}

}  // namespace
