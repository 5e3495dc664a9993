#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "korvu_sim/simulator.h"
#include "proxy_support.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace proxy_test
{

using temla::common_interface::RobotMsg;
using temla::korvu_sdk::RobotProxy;

// A simulated controller (frames only on demand) and a proxy that has not connected yet.
class SimFixture : public ::testing::Test
{
protected:
    void startSim(int robots = 2)
    {
        temla::korvu_sim::SimulatorOptions options;
        options.robot_count = robots;
        options.manual_stepping = true;
        sim = std::make_unique<temla::korvu_sim::Simulator>(options);
        sim->start();
        proxy = std::make_unique<RobotProxy>();
        LogCapture::clear();
    }

    void SetUp() override { startSim(); }

    void TearDown() override
    {
        proxy.reset();
        sim->stop();
    }

    QString host() const { return QString::fromStdString(sim->host()); }

    void connectAndLogin()
    {
        // The proxy's 100 ms request bound is too tight for a loaded or sanitized test machine.
        proxy->getRpcClient()->setRequestTimeout(5000);
        ASSERT_EQ(proxy->connect(host(), sim->basePort()), 0);
        ASSERT_EQ(proxy->login("admin", "admin"), 0);
    }

    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::unique_ptr<RobotProxy> proxy;
};

inline RobotMsg message(int code, int level, std::string source, std::vector<std::string> args = {})
{
    RobotMsg msg;
    msg.timestamp = 1234;
    msg.code = code;
    msg.level = level;
    msg.source = std::move(source);
    msg.args = std::move(args);
    return msg;
}

inline temla::korvu_sdk::InputParser batchOf(std::vector<RobotMsg> messages)
{
    return temla::korvu_sdk::InputParser({temla::korvu_sdk::InputParser::Value(std::move(messages))});
}

}  // namespace proxy_test
