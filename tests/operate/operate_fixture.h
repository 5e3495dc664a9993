#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "korvu_sdk/api.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sim/simulator.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"
#include "test_support/signal_recorder.h"
#include "test_support/wait.h"

namespace operate_test
{

using namespace std::chrono_literals;
using temla::common_interface::RobotModeType;
using temla::common_interface::SafetyModeType;
namespace result = temla::common_interface::command_result;

// A simulated robot that starts powered off, with short transition times so that the tests stay
// fast, streaming in real time; a proxy connected, logged in, the robot selected.
class Operate : public ::testing::Test
{
protected:
    static constexpr double kTransition = 0.05;  // s, every mode transition
    static constexpr double kStop = 0.1;         // s, protective and emergency stops

    void SetUp() override
    {
        auto robot = temla::korvu_sim::makeDefaultRobot(0);
        robot.robot_mode = RobotModeType::PowerOff;
        robot.timings = {kTransition, kTransition, kTransition, kStop};
        temla::korvu_sim::SimulatorOptions options;
        options.robots = {robot};
        sim = std::make_unique<temla::korvu_sim::Simulator>(options);
        sim->start();
        proxy = std::make_unique<temla::korvu_sdk::RobotProxy>();
        proxy->getRpcClient()->setRequestTimeout(5000);
        ASSERT_EQ(proxy->connect(QString::fromStdString(sim->host()), sim->basePort()), 0);
        ASSERT_EQ(proxy->login("admin", "admin"), 0);
        ASSERT_EQ(proxy->selectRobot(0), 0);
        cache = proxy->getRealTimeState();
    }

    void TearDown() override
    {
        proxy.reset();
        sim->stop();
    }

    // Power on and release the brakes; returns once the cache reports Running.
    void bringUp()
    {
        ASSERT_EQ(proxy->getRobotManage()->poweron(), result::kAccepted);
        ASSERT_TRUE(sim->waitForRobotMode(0, RobotModeType::Idle, 5s));
        ASSERT_EQ(proxy->getRobotManage()->startup(), result::kAccepted);
        ASSERT_TRUE(
            test_support::waitUntil([&] { return cache->getRobotModeType() == RobotModeType::Running; }));
    }

    // A joint move at the robot's own bounds; returns once the arm stands at q.
    void moveTo(const std::vector<double> &q)
    {
        ASSERT_EQ(proxy->getMotionControl()->moveJoint(q, 10.0, 100.0), result::kAccepted);
        ASSERT_TRUE(sim->waitForSteady(0, 10s));
    }

    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::unique_ptr<temla::korvu_sdk::RobotProxy> proxy;
    std::shared_ptr<temla::korvu_sdk::RealtimeRobotState> cache;
};

}  // namespace operate_test
