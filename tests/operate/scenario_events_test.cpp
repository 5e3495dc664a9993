// Scenario files drive the controller model: commands at given times, stops and inputs.
#include <gtest/gtest.h>

#include <chrono>

#include "korvu_sdk/rpc_client.h"
#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"

namespace operate_test
{
namespace
{

using namespace std::chrono_literals;
using temla::common_interface::RobotModeType;
using temla::common_interface::SafetyModeType;

}  // namespace

TEST(ScenarioEvents, CommandsStopsAndInputsRunThroughTheControllerModel)
{
    const auto scenario = temla::korvu_sim::parseScenario(R"({
        "robots": [{"name": "arm", "robot_mode": "RobotModeType.Running"}],
        "events": [
            {"at": 0, "command": {"method": "MotionControl.moveJoint",
                                  "params": ["arm", [0.3, -1.2, 1.5, -1.8, -1.5, 0.4], 3.0, 10.0]}},
            {"at": 0, "input": {"robot": 0, "bank": "configurable", "index": 3, "value": true}},
            {"at": 0, "input": {"robot": 0, "bank": "analog", "index": 1, "value": 4.5}},
            {"at": 0.1, "protective_stop": {"robot": 0, "code": 30003}},
            {"at": 0.6, "command": {"method": "RobotManage.unlockProtectiveStop", "params": ["arm"]}}
        ]})");
    temla::korvu_sim::Simulator sim(temla::korvu_sim::applyScenario({}, scenario));
    sim.start();
    const auto home = sim.jointPositions(0);
    temla::korvu_sdk::RpcClient client;
    ASSERT_EQ(client.connect(sim.host(), sim.rpcPort()), 0);
    ASSERT_EQ(client.login("admin", "admin"), 0);

    // The move starts, the stop halts it on the way, the unlock returns to Normal.
    ASSERT_TRUE(sim.waitFor([&] { return sim.robot(0).safety_mode == SafetyModeType::ProtectiveStop; }, 5s));
    ASSERT_TRUE(sim.waitForSteady(0, 5s));
    const auto halted = sim.jointPositions(0);
    EXPECT_NE(halted, home);
    EXPECT_NE(halted, (std::vector<double>{0.3, -1.2, 1.5, -1.8, -1.5, 0.4}));
    ASSERT_TRUE(sim.waitFor([&] { return sim.robot(0).safety_mode == SafetyModeType::Normal; }, 5s));
    EXPECT_EQ(sim.jointPositions(0), halted);

    const auto io = sim.robot(0).io_values;
    EXPECT_EQ(io.configurable_digital_input, 1u << 3);
    EXPECT_EQ(io.standard_analog_input.at(1), 4.5);
    EXPECT_EQ(sim.robot(0).robot_mode, RobotModeType::Running);
}

TEST(ScenarioEvents, MalformedControllerEventsNameTheirEntry)
{
    const std::vector<std::pair<const char *, const char *>> cases{
        {R"({"events": [{"at": 0, "command": {"method": "MotionControl.stopMove", "params": 1}}]})",
         "events[0].command.params"},
        {R"({"events": [{"at": 0, "collision": {"robot": 0, "joint": 0}}]})", "events[0].collision.joint"},
        {R"({"events": [{"at": 0, "emergency_stop": {"robot": 0, "source": "hand"}}]})",
         "events[0].emergency_stop.source"},
        {R"({"events": [{"at": 0, "input": {"robot": 0, "bank": "relay", "index": 0, "value": true}}]})",
         "events[0].input.bank"},
        {R"({"events": [{"at": 0, "push_joints": {"robot": 3, "q": [0]}}]})", "events[0].push_joints.robot"},
    };
    for (const auto &[text, where] : cases) {
        SCOPED_TRACE(text);
        try {
            temla::korvu_sim::parseScenario(text);
            ADD_FAILURE() << "accepted";
        } catch (const temla::korvu_sim::ScenarioError &e) {
            EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
        }
    }
}

}  // namespace operate_test
