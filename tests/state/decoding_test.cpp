// Crafted realtime frames fed straight into the frame handlers: what lands where, the values
// that may be short or long, robots beyond the four records, and the track tick.
#include <cmath>

#include "state_test_support.h"

namespace state_test
{
namespace
{

// No connection: the channel 0 handler forces robot mode -1 and safety mode 0 for every robot.
class CraftedFrames : public ::testing::Test
{
protected:
    void feedState(const std::vector<StateRobot> &robots, RuntimeState state = RuntimeState::Stopped,
                   std::vector<int32_t> context = {-1, -1})
    {
        std::vector<bool> offered;
        for (const StateRobot &r : robots) {
            offered.push_back(r.with_enc_tick);
        }
        InputParser parser(stateFrame(robots, state, std::move(context)));
        detail::writerOf(cache).handleStateFrame(parser, static_cast<int>(robots.size()), offered);
        EXPECT_EQ(parser.remaining(), 0u);
    }

    RealtimeRobotState cache{std::make_shared<RpcClient>(0), std::make_shared<RtdeClient>(0)};
    SignalRecorder emitted{cache};
};

TEST_F(CraftedFrames, StateFrameLandsInTheRecordsInFrameOrder)
{
    StateRobot robot(1.0);
    robot.with_enc_tick = true;
    feedState({robot, StateRobot(2.0)}, RuntimeState::Running, {3, 42});

    EXPECT_EQ(cache.getThreadID(), 3);
    EXPECT_EQ(cache.getLineNumber(), 42);
    EXPECT_EQ(cache.getRuntimeState(), RuntimeState::Running);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const double tag = i + 1.0;
        const RobotInfo info = cache.getRobotInfo(i);
        EXPECT_TRUE(info.simulation_enabled);
        EXPECT_EQ(info.speed_fraction, 0.5);
        EXPECT_EQ(std::get<0>(info.payload), tag);
        EXPECT_EQ(std::get<3>(info.payload), std::vector<double>(9, tag));
        EXPECT_EQ(info.joint_positions, std::vector<double>(6, tag + 0.1));
        EXPECT_EQ(info.joint_speeds, std::vector<double>(6, tag + 0.2));
        EXPECT_EQ(info.joint_currents, std::vector<double>(6, tag + 0.3));
        EXPECT_EQ(info.tcp_pose, std::vector<double>(6, tag + 0.4));
        EXPECT_EQ(info.tcp_speed, std::vector<double>(6, tag + 0.5));
        EXPECT_EQ(info.tool_pose, std::vector<double>(6, tag + 0.6));
        EXPECT_EQ(info.handle_io_status, static_cast<int>(tag * 10));
        EXPECT_EQ(info.tcp_force, std::vector<double>(6, tag + 0.7));
        EXPECT_EQ(info.tcp_force_sensor, std::vector<double>(6, tag + 0.8));
        EXPECT_EQ(info.robot_mode, RobotModeType::NoController);
        EXPECT_EQ(info.safety_mode, SafetyModeType::Undefined);
    }
    EXPECT_EQ(cache.getRobotInfo(0).enc_tick_count, (std::vector<int>{7, 8}));
    EXPECT_TRUE(cache.getRobotInfo(1).enc_tick_count.empty());
    EXPECT_EQ(cache.getRobotInfo(2).joint_positions, std::vector<double>(6, 0.0));
}

TEST_F(CraftedFrames, RuntimeStateIsSignalledOncePerChange)
{
    feedState({}, RuntimeState::Stopped);
    EXPECT_EQ(emitted.count(Emission::Runtime), 0);
    feedState({}, RuntimeState::Paused);
    feedState({}, RuntimeState::Paused);
    EXPECT_EQ(emitted.all(), (std::vector<Emission>{{Emission::Runtime, -1, 3}}));
}

TEST_F(CraftedFrames, ShortRuntimeContextLeavesThreadAndLineUnchanged)
{
    feedState({}, RuntimeState::Stopped, {5, 9, 11});
    for (const std::vector<int32_t> &context : {std::vector<int32_t>{}, std::vector<int32_t>{1}}) {
        feedState({}, RuntimeState::Stopped, context);
        EXPECT_EQ(cache.getThreadID(), 5);
        EXPECT_EQ(cache.getLineNumber(), 9);
    }
}

TEST_F(CraftedFrames, VectorsAreStoredAsReceivedWhateverTheirLength)
{
    StateRobot robot(1.0);
    robot.q = {1.0, 2.0, 3.0};
    robot.tcp_pose = {};
    robot.tcp_force = std::vector<double>(12, 4.0);
    robot.payload = Payload(2.0, {}, {1.0}, {});
    feedState({robot});
    const RobotInfo info = cache.getRobotInfo(0);
    EXPECT_EQ(info.joint_positions, (std::vector<double>{1.0, 2.0, 3.0}));
    EXPECT_TRUE(info.tcp_pose.empty());
    EXPECT_EQ(info.tcp_force.size(), 12u);
    EXPECT_EQ(info.payload, Payload(2.0, {}, {1.0}, {}));

    InputParser electrical({std::vector<double>{}, std::vector<double>(8, 30.0),
                            std::vector<JointStateType>{JointStateType::Fault}, 48.0, 47.0, 2.5});
    detail::writerOf(cache).handleElectricalFrame(electrical, 1);
    const RobotInfo after = cache.getRobotInfo(0);
    EXPECT_TRUE(after.joint_voltages.empty());
    EXPECT_EQ(after.joint_temperatures.size(), 8u);
    EXPECT_EQ(after.joint_state, std::vector<JointStateType>{JointStateType::Fault});
    EXPECT_EQ(after.main_voltage, 48.0);
    EXPECT_EQ(after.robot_voltage, 47.0);
    EXPECT_EQ(after.robot_current, 2.5);
}

TEST_F(CraftedFrames, FifthRobotIsReadAndDropped)
{
    std::vector<StateRobot> robots;
    for (int i = 0; i < 5; ++i) {
        robots.emplace_back(i + 1.0);
    }
    robots[4].with_enc_tick = true;
    feedState(robots);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cache.getRobotInfo(i).joint_positions, std::vector<double>(6, i + 1.1)) << i;
    }
    for (const Emission &e : emitted.all()) {
        EXPECT_LT(e.index, 4) << e;
    }
    EXPECT_EQ(emitted.count(Emission::Safety), 4);

    InputParser electrical(electricalFrame(5, 10.0));
    detail::writerOf(cache).handleElectricalFrame(electrical, 5);
    EXPECT_EQ(electrical.remaining(), 0u);
    EXPECT_EQ(cache.getRobotInfo(3).main_voltage, 14.0);

    InputParser io(ioFrame(std::vector<IoWords>(5)));
    detail::writerOf(cache).handleIoFrame(io, 5);
    EXPECT_EQ(io.remaining(), 0u);
    EXPECT_EQ(cache.getRobotInfo(3).collision_level, 4);
}

TEST_F(CraftedFrames, IoWordsUnpackBitByBit)
{
    IoWords words;
    words.standard_in = 5;
    words.tool_in = INT64_MIN;
    words.configurable_in = -1;
    words.link_in = 6;
    words.standard_out = 1LL << 40;
    words.link_out = INT32_MIN;
    InputParser parser(ioFrame({words}, {1, 2, 3}, {0, -5}));
    detail::writerOf(cache).handleIoFrame(parser, 1);

    EXPECT_EQ(cache.getModbusSignalValues(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(cache.getModbusSignalErrors(), (std::vector<int>{0, -5}));
    const RobotInfo info = cache.getRobotInfo(0);
    EXPECT_EQ(info.collision_level, 1);
    EXPECT_DOUBLE_EQ(info.control_box_temperature, 1.1);
    EXPECT_DOUBLE_EQ(info.control_box_humidity, 1.2);
    EXPECT_EQ(info.standard_digital_input_bits, toVec(5L));
    EXPECT_EQ(info.standard_digital_input_bits.size(), 64u);
    EXPECT_TRUE(info.tool_digital_input_bits[63]);
    EXPECT_EQ(info.configurable_digital_input_bits, std::vector<bool>(64, true));
    EXPECT_EQ(info.link_digital_input_bits.size(), 32u);
    EXPECT_TRUE(info.link_digital_input_bits[1] && info.link_digital_input_bits[2]);
    EXPECT_TRUE(info.standard_digital_output_bits[40]);
    EXPECT_EQ(info.link_digital_output_bits.size(), 32u);
    EXPECT_TRUE(info.link_digital_output_bits[31]);
    EXPECT_EQ(info.tool_digital_output_bits, std::vector<bool>(64, false));
    EXPECT_EQ(info.standard_analog_input_values, std::vector<double>{1.0});
    EXPECT_EQ(info.tool_analog_input_values, (std::vector<double>{1.0, 1.0}));
    EXPECT_EQ(info.standard_analog_output_values.size(), 3u);
    EXPECT_TRUE(info.tool_analog_output_values.empty());
}

TEST_F(CraftedFrames, GripperListIsReplacedWhole)
{
    GripperStatus a;
    a.name = "left";
    a.position = 0.25;
    GripperStatus b;
    b.name = "right";
    b.enabled = true;
    InputParser first(std::vector<Value>{std::vector<GripperStatus>{a, b}});
    detail::writerOf(cache).handleGripperFrame(first);
    EXPECT_EQ(cache.getAllGripperStatusData(), (std::vector<GripperStatus>{a, b}));
    EXPECT_EQ(cache.getGripperStatusDataByName("right"), b);
    EXPECT_EQ(cache.getGripperStatusDataByName("righ"), GripperStatus{});

    InputParser second(std::vector<Value>{std::vector<GripperStatus>{b}});
    detail::writerOf(cache).handleGripperFrame(second);
    EXPECT_EQ(cache.getAllGripperStatusData(), std::vector<GripperStatus>{b});
    EXPECT_EQ(cache.getGripperStatusDataByName("left").name, "");
}

TEST_F(CraftedFrames, MalformedFrameReleasesTheLock)
{
    InputParser parser(std::vector<Value>{RuntimeState::Running});
    EXPECT_THROW(detail::writerOf(cache).handleStateFrame(parser, 1, {false}),
                 temla::common_interface::KorvuException);
    std::thread reader([&] { EXPECT_EQ(cache.getRuntimeState(), RuntimeState::Running); });
    reader.join();
}

TEST_F(CraftedFrames, TrackCallbackRunsEveryPeriodWithRecordZeroWhenNothingIsSelected)
{
    std::vector<std::vector<double>> positions;
    std::vector<std::vector<double>> poses;
    cache.startTrackRecord(
        [&](const std::vector<double> &q, const std::vector<double> &pose) {
            positions.push_back(q);
            poses.push_back(pose);
            // The mutex is held here; a getter on this thread must not block.
            EXPECT_EQ(cache.getDof(), 6);
        },
        0.1);
    for (int frame = 1; frame <= 12; ++frame) {
        feedState({StateRobot(frame), StateRobot(100 + frame)});
    }
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[0], std::vector<double>(6, 5.1));
    EXPECT_EQ(poses[0], std::vector<double>(6, 5.4));
    EXPECT_EQ(positions[1], std::vector<double>(6, 10.1));

    cache.stopTrackRecord();
    for (int frame = 0; frame < 10; ++frame) {
        feedState({StateRobot(1.0)});
    }
    EXPECT_EQ(positions.size(), 2u);
}

TEST_F(CraftedFrames, TrackPeriodBelowOneFrameIsOff)
{
    int calls = 0;
    for (double period : {0.01, 0.0, -1.0, std::nan("")}) {
        cache.startTrackRecord([&](const std::vector<double> &, const std::vector<double> &) { ++calls; },
                               period);
        for (int frame = 0; frame < 5; ++frame) {
            feedState({StateRobot(1.0)});
        }
    }
    EXPECT_EQ(calls, 0);
}

TEST_F(CraftedFrames, TrackCallbackMayStopTheRecordingItself)
{
    int calls = 0;
    cache.startTrackRecord(
        [&](const std::vector<double> &, const std::vector<double> &) {
            ++calls;
            cache.stopTrackRecord();
        },
        0.02);
    for (int frame = 0; frame < 5; ++frame) {
        feedState({StateRobot(1.0)});
    }
    EXPECT_EQ(calls, 1);
}

TEST_F(CraftedFrames, ReceiverConnectedDirectlyMayCallGetters)
{
    std::vector<int> seen;
    QObject context;
    QObject::connect(
        &cache, &RealtimeRobotState::safetyModeChanged, &context,
        [&](int index, SafetyModeType) {
            seen.push_back(static_cast<int>(cache.getSafetyModeType()));
            seen.push_back(static_cast<int>(cache.getRobotInfo(index).safety_mode));
        },
        Qt::DirectConnection);
    feedState({StateRobot(1.0)});
    EXPECT_EQ(seen, (std::vector<int>{0, 0}));
}

}  // namespace
}  // namespace state_test
