// The simulator through our SDK's clients: what the library's login, refreshes and realtime
// handlers rely on must all be answered and streamed with the right types. The script round trip is
// in sim_roundtrip_test.cpp.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>

#include "korvu_sdk/korvu_sdk.h"
#include "korvu_sim/simulator.h"

namespace temla::korvu_sim
{
namespace
{

using namespace std::chrono_literals;
using common_interface::KorvuException;
using common_interface::RobotMsg;
using korvu_sdk::InputParser;

constexpr auto kWait = 5s;

std::vector<std::string> robotTopics(int k, const std::vector<const char *> &suffixes)
{
    std::vector<std::string> names;
    for (const char *suffix : suffixes)
        names.push_back("R" + std::to_string(k) + "_" + suffix);
    return names;
}

class SdkEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SimulatorOptions options;
        options.robots = {makeDefaultRobot(0), makeDefaultRobot(1)};
        options.robots[0].has_enc_tick_count = true;
        options.manual_stepping = true;
        sim = std::make_unique<Simulator>(options);
        sim->start();
        ASSERT_EQ(rpc.connect(sim->host(), sim->rpcPort()), 0);
        ASSERT_EQ(rtde.connect(sim->host(), sim->realtimePort()), 0);
        ASSERT_EQ(rpc.login("admin", "admin"), 0);
        ASSERT_EQ(rtde.login("admin", "admin"), 0);
    }

    std::unique_ptr<Simulator> sim;
    korvu_sdk::RpcClient rpc;
    korvu_sdk::RtdeClient rtde;
};

TEST_F(SdkEndToEnd, EveryRefreshCallIsAnswered)
{
    auto names = rpc.getRobotNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(rpc.getRuntimeMachine()->getStatus(), common_interface::RuntimeState::Stopped);
    auto robot = rpc.getRobotInterface(names[1]);
    auto config = robot->getRobotConfig();
    auto state = robot->getRobotState();
    auto manage = robot->getRobotManage();
    auto io = robot->getIoControl();
    EXPECT_EQ(config->getDof(), 6);
    EXPECT_EQ(config->getKinematicsParam(true).size(), 5u);
    EXPECT_NE(config->getKinematicsParam(true).at("a"), config->getKinematicsParam(false).at("a"));
    EXPECT_FALSE(config->getRobotType().empty());
    EXPECT_FALSE(config->getRobotSubType().empty());
    EXPECT_FALSE(config->getControlBoxType().empty());
    for (auto values :
         {config->getTcpMaxSpeeds(), config->getTcpMaxAccelerations(), config->getJointMaxPositions(),
          config->getJointMinPositions(), config->getJointMaxSpeeds(), config->getJointMaxAccelerations()})
        EXPECT_EQ(values.size(), 6u);
    EXPECT_EQ(config->getGravity(), (std::vector<double>{0.0, 0.0, -9.81}));
    EXPECT_EQ(config->getHardwareCustomParameters("joints_model_type_str"),
              "JM-20,JM-20,JM-20,JM-14,JM-14,JM-14");
    EXPECT_NE(state->getMasterBoardUniqueId(), state->getSlaveBoardUniqueId());
    EXPECT_FALSE(state->getHandleUniqueId().empty());
    EXPECT_FALSE(state->getToolUniqueId().empty());
    EXPECT_FALSE(state->getPedestalUniqueId().empty());
    EXPECT_EQ(state->getJointUniqueIds().size(), 6u);
    EXPECT_GT(state->getMasterBoardFirmwareVersion() + state->getMasterBoardHardwareVersion() +
                  state->getSlaveBoardFirmwareVersion() + state->getSlaveBoardHardwareVersion() +
                  state->getHandleFirmwareVersion() + state->getHandleHardwareVersion() +
                  state->getToolFirmwareVersion() + state->getToolHardwareVersion() +
                  state->getPedestalFirmwareVersion() + state->getPedestalHardwareVersion(),
              0);
    EXPECT_EQ(state->getJointFirmwareVersions().size(), 6u);
    EXPECT_EQ(state->getJointHardwareVersions().size(), 6u);
    EXPECT_EQ(state->getSlowDownLevel(), 0);
    EXPECT_EQ(state->getRobotModeType(), common_interface::RobotModeType::Running);
    EXPECT_EQ(state->getSafetyModeType(), common_interface::SafetyModeType::Normal);
    EXPECT_EQ(state->getHandleState() + state->getHandleMode(), 0);
    EXPECT_EQ(manage->getOperationalMode(), common_interface::OperationalModeType::Automatic);
    EXPECT_FALSE(manage->isLinkModeEnabled());
    EXPECT_FALSE(manage->isFreedriveEnabled());
    EXPECT_GT(io->getStandardDigitalInputNum() + io->getToolDigitalInputNum() +
                  io->getConfigurableDigitalInputNum() + io->getStandardDigitalOutputNum() +
                  io->getToolDigitalOutputNum() + io->getConfigurableDigitalOutputNum() +
                  io->getStandardAnalogInputNum() + io->getToolAnalogInputNum() +
                  io->getStandardAnalogOutputNum() + io->getToolAnalogOutputNum() +
                  io->getStaticLinkInputNum() + io->getStaticLinkOutputNum(),
              0);
    EXPECT_EQ(io->getHandleIoStatus(), 0);
    auto registers = rpc.getRegisterControl();
    EXPECT_EQ(registers->modbusGetSignalNames().size(), 3u);
    EXPECT_EQ(registers->getInt32("__internal.eip_slave.trans_type:0.index:7", -1), 7);
    EXPECT_TRUE(registers->getBool("unknown", true));
    EXPECT_THROW(rpc.getRobotInterface("")->getRobotConfig()->getDof(), KorvuException);
}

TEST_F(SdkEndToEnd, TheCachesFourTopicListsDecodeWithTheirPops)
{
    auto maps = rtde.getOutputMaps();
    ASSERT_TRUE(maps.count("R1_enc_tick_count"));
    ASSERT_FALSE(maps.count("R2_enc_tick_count"));

    std::vector<std::string> list0{"runtime_state", "runtime_context"};
    std::vector<std::string> list1, list2{"modbus_signals", "modbus_signals_errors"};
    for (int k = 1; k <= 2; ++k) {
        auto add = [](std::vector<std::string> &to, const std::vector<std::string> &names) {
            to.insert(to.end(), names.begin(), names.end());
        };
        add(list0, robotTopics(k, {"is_simulation_enabled", "target_speed_fraction", "actual_payload",
                                   "actual_q", "actual_qd", "actual_current", "robot_mode", "safety_mode",
                                   "actual_TCP_pose", "actual_TCP_speed", "actual_tool_pose", "handle_status",
                                   "actual_TCP_force", "actual_TCP_force_sensor"}));
        if (k == 1)
            list0.push_back("R1_enc_tick_count");
        add(list1, robotTopics(k, {"actual_joint_voltage", "joint_temperatures", "joint_mode",
                                   "actual_main_voltage", "actual_robot_voltage", "actual_robot_current"}));
        add(list2, robotTopics(k, {"collision_level", "masterboard_temperature", "controlbox_humidity",
                                   "standard_digital_input_bits", "tool_digital_input_bits",
                                   "configurable_digital_input_bits", "link_digital_input_bits",
                                   "standard_digital_output_bits", "tool_digital_output_bits",
                                   "configurable_digital_output_bits", "link_digital_output_bits",
                                   "standard_analog_input_values", "tool_analog_input_values",
                                   "standard_analog_output_values", "tool_analog_output_values"}));
    }

    std::mutex mutex;
    std::vector<std::string> failures;
    std::atomic<int> frames{0};
    auto guarded = [&](const char *list, std::function<void(InputParser &)> pops) {
        return [&, list, pops](InputParser &frame) {
            try {
                pops(frame);
                if (frame.remaining() != 0)
                    throw std::runtime_error("values left over");
            } catch (const std::exception &e) {
                std::lock_guard<std::mutex> lock(mutex);
                failures.push_back(std::string(list) + ": " + e.what());
            }
            ++frames;
        };
    };
    auto channel0 = guarded("list 0", [](InputParser &p) {
        p.popRuntimeState();
        EXPECT_EQ(p.popVectorInt().size(), 2u);
        for (int robot = 0; robot < 2; ++robot) {
            p.popBool();
            p.popDouble();
            EXPECT_EQ(std::get<3>(p.popPayload()).size(), 9u);
            for (int v = 0; v < 3; ++v)
                EXPECT_EQ(p.popVectorDouble().size(), 6u);
            p.popRobotModeType();
            p.popSafetyModeType();
            for (int v = 0; v < 3; ++v)
                EXPECT_EQ(p.popVectorDouble().size(), 6u);
            p.popInt32();
            p.popVectorDouble();
            p.popVectorDouble();
            if (robot == 0) {
                EXPECT_EQ(p.popVectorInt().size(), 6u);
            }
        }
    });
    auto channel1 = guarded("list 1", [](InputParser &p) {
        for (int robot = 0; robot < 2; ++robot) {
            p.popVectorDouble();
            p.popVectorDouble();
            EXPECT_EQ(p.popVectorJointStateType().size(), 6u);
            p.popDouble();
            p.popDouble();
            p.popDouble();
        }
    });
    auto channel2 = guarded("list 2", [](InputParser &p) {
        p.popVectorInt();
        p.popVectorInt();
        for (int robot = 0; robot < 2; ++robot) {
            p.popInt32();
            p.popDouble();
            p.popDouble();
            for (int word = 0; word < 2; ++word) {
                p.popInt64();
                p.popInt64();
                p.popInt64();
                p.popInt32();
            }
            for (int v = 0; v < 4; ++v)
                p.popVectorDouble();
        }
    });
    auto channel3 = guarded(
        "list 3", [](InputParser &p) { EXPECT_EQ(p.popGripperStatusVector().at(0).name, "gripper1"); });

    const std::vector<std::pair<std::vector<std::string>, korvu_sdk::SubscribeCallback>> lists{
        {list0, channel0}, {list1, channel1}, {list2, channel2}, {{"gripper_status"}, channel3}};
    for (size_t i = 0; i < lists.size(); ++i) {
        int channel = rtde.setTopic(false, lists[i].first, 10.0, static_cast<int>(i));
        ASSERT_EQ(channel, static_cast<int>(i));
        ASSERT_EQ(rtde.subscribe(channel, lists[i].second), 0);
    }
    sim->step();
    sim->step();
    ASSERT_TRUE(sim->waitFor([&] { return frames.load() == 8; }, kWait));
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_TRUE(failures.empty()) << failures.front();
}

TEST_F(SdkEndToEnd, TimedMessagesArriveOnceInOrderAndDropsAreNoticed)
{
    sim->setManualStepping(false);
    std::mutex mutex;
    std::vector<int64_t> received;
    int channel = rtde.setTopic(false, {"R1_message"}, 200.0, 0);
    ASSERT_GE(channel, 0);
    ASSERT_EQ(rtde.subscribe(channel,
                             [&](InputParser &p) {
                                 for (const auto &m : p.popRobotMsgVector()) {
                                     std::lock_guard<std::mutex> lock(mutex);
                                     received.push_back(m.timestamp);
                                 }
                             }),
              0);
    std::vector<int64_t> sent;
    for (int64_t i = 0; i < 200; ++i) {
        sim->injectMessage({i, 3, 20001, "robot1", {std::to_string(i)}});
        sent.push_back(i);
    }
    ASSERT_TRUE(sim->waitFor(
        [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return received.size() >= sent.size();
        },
        kWait));
    {
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_EQ(received, sent);
    }

    std::atomic<int> lost{0};
    rtde.setEventHandler([&](int event) { lost += event == korvu_sdk::kEventConnectionLost; });
    sim->dropConnections(ServerKind::Realtime);
    EXPECT_TRUE(sim->waitFor([&] { return lost.load() == 1; }, kWait));
    EXPECT_TRUE(rpc.hasConnected());
}

TEST_F(SdkEndToEnd, InjectedFaultsReachTheCaller)
{
    sim->failMethod("RobotConfig.getDof", -42, "dof unavailable");
    try {
        rpc.getRobotInterface("robot1")->getRobotConfig()->getDof();
        ADD_FAILURE() << "no exception";
    } catch (const KorvuException &e) {
        EXPECT_EQ(e.code(), -42);
        EXPECT_STREQ(e.what(), "dof unavailable");
    }
    rpc.setRequestTimeout(100);
    sim->stallMethod("getRobotNames", 1000ms);
    try {
        rpc.getRobotNames();
        ADD_FAILURE() << "no timeout";
    } catch (const KorvuException &e) {
        EXPECT_EQ(e.code(), common_interface::error_code::kTimeout);
    }
    sim->clearMethodFaults();
    EXPECT_EQ(rpc.getRobotNames().size(), 2u);
    EXPECT_EQ(sim->callCount("getRobotNames"), 2);

    korvu_sdk::RpcClient refused;
    ASSERT_EQ(refused.connect(sim->host(), sim->rpcPort()), 0);
    EXPECT_EQ(refused.login("admin", "nope"), korvu_sdk::kLoginRejected);
}

}  // namespace
}  // namespace temla::korvu_sim
