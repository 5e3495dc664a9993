// The cache against the simulated controller: the login refresh, frames through the real
// subscriptions, the mode transitions and their refreshes, a lost connection, the track period and
// the optional encoder-tick topic.
#include <algorithm>
#include <cmath>

#include "state_test_support.h"

namespace state_test
{
namespace
{

using temla::korvu_sim::RobotModel;
using temla::korvu_sim::ServerKind;
using temla::korvu_sim::SimulatorOptions;

class CacheOnSimulator : public SimulatedCache
{
};

void expectLoginFields(const RobotInfo &info, const RobotModel &model)
{
    EXPECT_EQ(info.dof, model.dof);
    EXPECT_EQ(info.real_dh_param, model.real_kinematics);
    EXPECT_EQ(info.theory_dh_param, model.theory_kinematics);
    EXPECT_EQ(info.operational_mode, static_cast<int>(model.operational_mode));
    EXPECT_EQ(info.link_mode_enabled, model.link_mode_enabled);
    EXPECT_EQ(info.freedrive_enabled, model.freedrive_enabled);
    EXPECT_EQ(info.robot_type, model.type);
    EXPECT_EQ(info.robot_sub_type, model.sub_type);
    EXPECT_EQ(info.control_box_type, model.control_box_type);
    EXPECT_EQ(info.master_board_unique_id, model.master_board.unique_id);
    EXPECT_EQ(info.slave_board_unique_id, model.slave_board.unique_id);
    EXPECT_EQ(info.handle_unique_id, model.handle.unique_id);
    EXPECT_EQ(info.master_board_firmware_version, model.master_board.firmware_version);
    EXPECT_EQ(info.slave_board_hardware_version, model.slave_board.hardware_version);
    EXPECT_EQ(info.handle_firmware_version, model.handle.firmware_version);
    EXPECT_EQ(info.slow_down_level, model.slow_down_level);
    EXPECT_EQ(info.standard_digital_input_num, model.io.standard_digital_input);
    EXPECT_EQ(info.configurable_digital_output_num, model.io.configurable_digital_output);
    EXPECT_EQ(info.static_link_output_num, model.io.static_link_output);
    EXPECT_EQ(info.tool_analog_input_num, model.io.tool_analog_input);
    EXPECT_EQ(info.tool_digital_output_num, model.io.tool_digital_output);
    EXPECT_EQ(info.tcp_max_speeds, model.tcp_max_speeds);
    EXPECT_EQ(info.tcp_max_accelerations, model.tcp_max_accelerations);
    EXPECT_EQ(info.robot_mode, model.robot_mode);
    EXPECT_EQ(info.safety_mode, model.safety_mode);
    EXPECT_EQ(info.handle_state, model.handle_state);
    EXPECT_EQ(info.handle_io_status, model.handle_io_status);
    EXPECT_EQ(info.hardware_interface_version,
              model.hardware_custom_parameters.at("hardware_interface_version"));
}

void expectPoweronFields(const RobotInfo &info, const RobotModel &model)
{
    EXPECT_EQ(info.joint_unique_ids, model.joint_unique_ids);
    EXPECT_EQ(info.tool_unique_id, model.tool.unique_id);
    EXPECT_EQ(info.joint_firmware_versions, model.joint_firmware_versions);
    EXPECT_EQ(info.joint_hardware_versions, model.joint_hardware_versions);
    EXPECT_EQ(info.joint_max_positions, model.joint_max_positions);
    EXPECT_EQ(info.joint_min_positions, model.joint_min_positions);
    EXPECT_EQ(info.joint_max_speeds, model.joint_max_speeds);
    EXPECT_EQ(info.joint_max_accelerations, model.joint_max_accelerations);
    EXPECT_EQ(info.tool_firmware_version, model.tool.firmware_version);
    EXPECT_EQ(info.pedestal_unique_id, model.pedestal.unique_id);
    EXPECT_EQ(info.pedestal_hardware_version, model.pedestal.hardware_version);
    EXPECT_EQ(info.gravity, model.gravity);
}

TEST_F(CacheOnSimulator, LoginRefreshCopiesTheControllersModel)
{
    start(0, [](SimulatorOptions &options) {
        RobotModel running = temla::korvu_sim::makeDefaultRobot(0, 7);
        running.type = "K7";
        running.gravity = {0.0, 9.81, 0.0};
        RobotModel off = temla::korvu_sim::makeDefaultRobot(1);
        off.robot_mode = RobotModeType::PowerOff;
        RobotModel legacy = temla::korvu_sim::makeDefaultRobot(2);
        legacy.hardware_custom_parameters["hardware_interface_version"] = "LEGACY";
        legacy.robot_mode = RobotModeType::Idle;
        RobotModel untyped = temla::korvu_sim::makeDefaultRobot(3);
        untyped.hardware_custom_parameters["joints_model_type_str"] = "";
        options.robots = {running, off, legacy, untyped};
    });
    sim->setRuntimeState(RuntimeState::Paused);
    SignalRecorder emitted(*cache);
    EXPECT_EQ(cache->updateRobotInformationOnLogin(), 0);

    EXPECT_EQ(cache->getRobotNames(), sim->robotNames());
    EXPECT_EQ(cache->getRuntimeState(), RuntimeState::Paused);
    EXPECT_TRUE(emitted.all().empty());
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        expectLoginFields(cache->getRobotInfo(i), sim->robot(i));
    }
    expectPoweronFields(cache->getRobotInfo(0), sim->robot(0));
    EXPECT_EQ(cache->getRobotInfo(0).joints_model_type,
              (std::vector<std::string>{"JM-20", "JM-20", "JM-20", "JM-14", "JM-14", "JM-14", "JM-14"}));
    const RobotInfo off = cache->getRobotInfo(1);
    EXPECT_EQ(off.joint_max_positions, std::vector<double>(6, 0.0));
    EXPECT_TRUE(off.joint_unique_ids.empty());
    EXPECT_TRUE(off.joints_model_type.empty());
    expectPoweronFields(cache->getRobotInfo(2), sim->robot(2));
    EXPECT_TRUE(cache->getRobotInfo(2).joints_model_type.empty());
    expectPoweronFields(cache->getRobotInfo(3), sim->robot(3));
    EXPECT_TRUE(cache->getRobotInfo(3).joints_model_type.empty());
}

TEST_F(CacheOnSimulator, FailedRequestEndsOnlyThatRobotsRefresh)
{
    start(2);
    sim->failMethod("RobotConfig.getRobotType", -500, "injected");
    cache->updateRobotInformationOnLogin();
    for (int i = 0; i < 2; ++i) {
        const RobotInfo info = cache->getRobotInfo(i);
        EXPECT_EQ(info.freedrive_enabled, sim->robot(i).freedrive_enabled);
        EXPECT_EQ(info.operational_mode, static_cast<int>(sim->robot(i).operational_mode));
        EXPECT_EQ(info.robot_type, "");
        EXPECT_EQ(info.robot_mode, RobotModeType::NoController);
        EXPECT_TRUE(info.joint_unique_ids.empty());
    }
}

class FramesLand : public SimulatedCache, public ::testing::WithParamInterface<int>
{
};

TEST_P(FramesLand, InTheRecordOfEachRobot)
{
    const int robots = GetParam();
    const int records = std::min(robots, RealtimeRobotState::kRobotSlots);
    start(robots);
    loginAndSubscribe();
    GripperStatus gripper;
    gripper.name = "g1";
    gripper.connected = true;
    sim->setGripperStatuses({gripper});
    sim->setModbusSignals({"m1", "m2"}, {11, 12}, {0, 3});
    sim->setRuntimeState(RuntimeState::Running);
    stepFrame();
    ASSERT_TRUE(waitUntil([&] { return cache->getAllGripperStatusData().size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return cache->getModbusSignalValues().size() == 2; }));
    ASSERT_TRUE(waitUntil([&] { return cache->getRobotInfo(records - 1).main_voltage != 0.0; }));

    EXPECT_EQ(cache->getRuntimeState(), RuntimeState::Running);
    EXPECT_EQ(cache->getThreadID(), 1);
    EXPECT_EQ(cache->getModbusSignalErrors(), (std::vector<int>{0, 3}));
    EXPECT_EQ(cache->getGripperStatusDataByName("g1"), gripper);
    for (int i = 0; i < records; ++i) {
        SCOPED_TRACE(i);
        const RobotInfo info = cache->getRobotInfo(i);
        const RobotModel model = sim->robot(i);
        EXPECT_EQ(info.robot_mode, RobotModeType::Running);
        EXPECT_EQ(info.safety_mode, SafetyModeType::Normal);
        EXPECT_EQ(info.joint_positions.size(), 6u);
        EXPECT_NE(info.joint_positions, std::vector<double>(6, 0.0));
        EXPECT_EQ(info.tcp_pose.size(), 6u);
        EXPECT_EQ(info.simulation_enabled, model.simulation_enabled);
        EXPECT_EQ(std::get<0>(info.payload), model.payload.mass);
        EXPECT_EQ(info.joint_temperatures.size(), 6u);
        EXPECT_GT(info.main_voltage, 40.0);
        EXPECT_EQ(info.link_digital_input_bits.size(), 32u);
        EXPECT_EQ(info.standard_digital_input_bits.size(), 64u);
    }
}

// A fifth robot's values are read from every frame and dropped.
INSTANTIATE_TEST_SUITE_P(OneFourAndFiveRobots, FramesLand, ::testing::Values(1, 4, 5));

TEST_F(CacheOnSimulator, ModeTransitionsRunTheirRefreshesBeforeTheSignal)
{
    start(1);
    loginAndSubscribe();
    stepFrame();
    ASSERT_EQ(cache->getRobotInfo(0).robot_mode, RobotModeType::Running);

    struct Counts {
        int names, joint_ids, gravity;
        bool operator==(const Counts &o) const
        {
            return names == o.names && joint_ids == o.joint_ids && gravity == o.gravity;
        }
    };
    SignalRecorder emitted(*cache);
    std::mutex mutex;
    std::vector<Counts> at_signal;
    emitted.onEmission([&](const Emission &e) {
        if (e.kind == Emission::Robot) {
            const Counts counts{sim->callCount("getRobotNames"),
                                sim->callCount("RobotState.getJointUniqueIds"),
                                sim->callCount("RobotConfig.getGravity")};
            std::lock_guard<std::mutex> lock(mutex);
            at_signal.push_back(counts);
        }
    });

    struct Step {
        RobotModeType to;
        Counts refreshes;
    };
    // Login refresh: one name list; it also runs the power-on refresh when the robot is powered.
    const Step steps[] = {
        {RobotModeType::Idle, {0, 0, 0}},          // 8 -> 5: none
        {RobotModeType::Running, {0, 0, 1}},       // 5 -> 8: gravity only
        {RobotModeType::PowerOn, {0, 0, 0}},       // 8 -> 4: none
        {RobotModeType::Idle, {0, 1, 1}},          // 4 -> 5: power-on refresh
        {RobotModeType::Disconnected, {0, 0, 0}},  // 5 -> 0: none
        {RobotModeType::Idle, {1, 1, 1}},          // 0 -> 5: login refresh
        {RobotModeType::Disconnected, {0, 0, 0}},  // 5 -> 0: none
        {RobotModeType::Running, {1, 1, 2}},       // 0 -> 8: gravity, then login refresh
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(static_cast<int>(step.to));
        emitted.clear();
        {
            std::lock_guard<std::mutex> lock(mutex);
            at_signal.clear();
        }
        sim->resetCallCounts();
        sim->setRobotMode(0, step.to);
        stepFrame();
        EXPECT_EQ(emitted.all(), (std::vector<Emission>{{Emission::Robot, 0, static_cast<int>(step.to)}}));
        EXPECT_EQ(cache->getRobotInfo(0).robot_mode, step.to);
        std::lock_guard<std::mutex> lock(mutex);
        ASSERT_EQ(at_signal.size(), 1u);
        EXPECT_TRUE(at_signal[0] == step.refreshes)
            << at_signal[0].names << " " << at_signal[0].joint_ids << " " << at_signal[0].gravity;
    }
}

TEST_F(CacheOnSimulator, DroppedRpcConnectionForcesDisconnectedModesOnce)
{
    start(1);
    loginAndSubscribe();
    stepFrame();
    SignalRecorder emitted(*cache);
    sim->dropConnections(ServerKind::Rpc);
    ASSERT_TRUE(waitUntil([&] { return !rpc->hasConnected(); }));
    for (int i = 0; i < 3; ++i) {
        stepFrame();
    }
    EXPECT_EQ(emitted.all(), (std::vector<Emission>{{Emission::Safety, 0, 0}, {Emission::Robot, 0, -1}}));
    EXPECT_EQ(cache->getRobotInfo(0).robot_mode, RobotModeType::NoController);
    EXPECT_EQ(cache->getRobotInfo(0).safety_mode, SafetyModeType::Undefined);
}

TEST_F(CacheOnSimulator, TrackCallbackFollowsItsPeriodWithTheSelectedRobot)
{
    start(2);
    loginAndSubscribe();
    ASSERT_EQ(cache->selectRobot(1), 0);
    std::atomic<int> calls{0};
    std::atomic<bool> matches{true};
    cache->startTrackRecord(
        [&](const std::vector<double> &q, const std::vector<double> &pose) {
            ++calls;
            const RobotInfo selected = cache->getRobotInfo(1);
            matches = matches && q == selected.joint_positions && pose == selected.tcp_pose && q.size() == 6;
        },
        0.1);
    for (int frame = 1; frame <= 12; ++frame) {
        stepFrame();
        EXPECT_EQ(calls, frame / 5) << frame;
    }
    EXPECT_TRUE(matches);
    cache->stopTrackRecord();
    for (int frame = 0; frame < 6; ++frame) {
        stepFrame();
    }
    EXPECT_EQ(calls, 2);
}

TEST_F(CacheOnSimulator, EncoderTicksOnlyForTheRobotThatOffersThem)
{
    start(2, [](SimulatorOptions &options) { options.robots[0].has_enc_tick_count = true; });
    LogCapture::clear();
    loginAndSubscribe();
    EXPECT_EQ(LogCapture::count("RTDE field \"R2_enc_tick_count\" is not supported"), 1);
    EXPECT_EQ(LogCapture::countContaining("R1_enc_tick_count"), 0);
    stepFrame();
    EXPECT_FALSE(cache->getRobotInfo(0).enc_tick_count.empty());
    EXPECT_TRUE(cache->getRobotInfo(1).enc_tick_count.empty());
    EXPECT_EQ(cache->getRobotInfo(1).joint_positions.size(), 6u);
    EXPECT_EQ(cache->getRobotInfo(1).robot_mode, RobotModeType::Running);
}

TEST_F(CacheOnSimulator, SelectionAndReset)
{
    start(3);
    cache->updateRobotInformationOnLogin();
    LogCapture::clear();
    EXPECT_EQ(cache->selectRobot(1), 0);
    EXPECT_EQ(cache->getRobotIndex(), 1);
    EXPECT_EQ(cache->getRobotName(), sim->robotNames()[1]);
    EXPECT_EQ(cache->selectRobot(1), 0);
    EXPECT_EQ(cache->selectRobot(3), -1);
    EXPECT_EQ(cache->selectRobot(-1), -1);
    EXPECT_EQ(cache->getRobotIndex(), 1);
    EXPECT_EQ(cache->getRobotType(), sim->robot(1).type);
    EXPECT_EQ(cache->getDof(), 6);
    EXPECT_EQ(cache->getGravity(), sim->robot(1).gravity);

    cache->configSubscribe();
    sim->setRuntimeState(RuntimeState::Pausing);
    stepFrame();
    SignalRecorder emitted(*cache);
    cache->reset();
    cache->reset();
    EXPECT_EQ(emitted.all(), (std::vector<Emission>{{Emission::Runtime, -1, 6}}));
    EXPECT_EQ(cache->getRobotIndex(), -1);
    EXPECT_EQ(cache->getRobotName(), "");

    const std::vector<std::string> expected{"Robot index changed from  -1  to  1",
                                            "RobotProxy select robot of  3  out of range(0,  3 )",
                                            "RobotProxy select robot of  -1  out of range(0,  3 )",
                                            "RTDE field \"R1_enc_tick_count\" is not supported",
                                            "RTDE field \"R2_enc_tick_count\" is not supported",
                                            "RTDE field \"R3_enc_tick_count\" is not supported",
                                            "Reset robot index."};
    std::vector<std::string> texts;
    for (const auto &line : LogCapture::snapshot()) {
        texts.push_back(line.text);
    }
    EXPECT_EQ(texts, expected);
}

TEST_F(CacheOnSimulator, TcpForceInAChosenFrame)
{
    start(1);
    cache->updateRobotInformationOnLogin();
    ASSERT_EQ(cache->selectRobot(0), 0);
    StateRobot robot(1.0);
    robot.tcp_force = {1.0, 0.0, 0.0, 0.0, 0.0, 1.0};
    InputParser parser(stateFrame({robot}));
    detail::writerOf(*cache).handleStateFrame(parser, 1, {false});

    EXPECT_EQ(cache->getTcpForce(std::vector<double>(6, 0.0)), robot.tcp_force);
    const std::vector<double> rotated = cache->getTcpForce({1.0, 2.0, 3.0, 0.0, 0.0, M_PI / 2});
    const std::vector<double> expected{0.0, -1.0, 0.0, 0.0, 0.0, 1.0};
    ASSERT_EQ(rotated.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(rotated[i], expected[i], 1e-12) << i;
    }
}

TEST_F(CacheOnSimulator, SingleValueUpdatesAndModbusNames)
{
    start(1);
    cache->updateRobotInformationOnLogin();
    sim->updateRobot(0, [](RobotModel &r) {
        r.operational_mode = temla::common_interface::OperationalModeType::Manual;
        r.link_mode_enabled = true;
        r.gravity = {1.0, 2.0, 3.0};
    });
    sim->setModbusSignals({"z", "a"}, {0, 0}, {0, 0});
    cache->updateOperationMode(0);
    cache->updateIsLinkModeEnabled(0);
    cache->updateGravity(0);
    cache->updateModbusSignalNames();
    const RobotInfo info = cache->getRobotInfo(0);
    EXPECT_EQ(info.operational_mode, 2);
    EXPECT_TRUE(info.link_mode_enabled);
    EXPECT_EQ(info.gravity, (std::vector<double>{1.0, 2.0, 3.0}));
    EXPECT_EQ(cache->getModbusSignalNames(), (std::vector<std::string>{"z", "a"}));
    EXPECT_THROW(cache->updateGravity(1), std::out_of_range);

    LogCapture::clear();
    sim->failMethod("RobotConfig.getGravity", -500, "injected");
    cache->updateGravity(0);
    EXPECT_EQ(LogCapture::countContaining("get gravity error: "), 1);
}

TEST_F(CacheOnSimulator, DestructionWhileStreamingLogsOutAndStopsDelivery)
{
    start(4);
    sim->setManualStepping(false);
    loginAndSubscribe();
    ASSERT_TRUE(
        waitUntil([&] { return cache->getRobotInfo(3).joint_positions != std::vector<double>(6, 0.0); }));
    LogCapture::clear();
    cache.reset();
    EXPECT_FALSE(rtde->hasConnected());
    EXPECT_FALSE(rpc->hasConnected());
    EXPECT_EQ(LogCapture::count("~RealtimeRobotState()"), 1);
}

}  // namespace
}  // namespace state_test
