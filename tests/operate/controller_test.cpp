// The controller model on its own, stepped by hand: circular moves and Cartesian jogging.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "korvu_sdk/api.h"
#include "korvu_sim/simulator.h"
#include "robot_proxy/robot_math.h"

namespace operate_test
{
namespace
{

using namespace std::chrono_literals;
using temla::common_interface::RobotModeType;
namespace result = temla::common_interface::command_result;

const std::vector<double> kWorkPose{0.3, -1.2, 1.5, -1.8, -1.5, 0.4};

std::string jsonList(const std::vector<double> &values)
{
    std::string text = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        char value[40];
        std::snprintf(value, sizeof value, "%.17g", values[i]);
        text += (i ? "," : "") + std::string(value);
    }
    return text + "]";
}

class SteppedController : public ::testing::Test
{
protected:
    void SetUp() override
    {
        temla::korvu_sim::SimulatorOptions options;
        options.manual_stepping = true;
        sim = std::make_unique<temla::korvu_sim::Simulator>(options);
        sim->start();
        const auto model = sim->robot(0);
        dh = {model.real_kinematics.at("alpha"), model.real_kinematics.at("a"), model.real_kinematics.at("d"),
              model.real_kinematics.at("theta")};
        ASSERT_EQ(command("MotionControl.moveJoint", jsonList(kWorkPose) + ", 10, 100"), result::kAccepted);
        ASSERT_TRUE(stepUntilSteady());
    }

    int command(const std::string &method, const std::string &rest)
    {
        return sim->command(method, "[\"robot1\"" + (rest.empty() ? "" : ", " + rest) + "]");
    }

    // Steps at most max_steps times (20 ms each), checking after each; true once steady.
    bool stepUntilSteady(int max_steps = 500, const std::function<void()> &each = {})
    {
        for (int k = 0; k < max_steps; ++k) {
            sim->step();
            if (each)
                each();
            if (sim->isSteady(0))
                return true;
        }
        return false;
    }

    std::vector<double> tcp()
    {
        std::vector<double> pose;
        temla::robot_math::forwardKinematics(pose, sim->jointPositions(0), {}, dh, {}, -1);
        return pose;
    }

    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::vector<std::vector<double>> dh;
};

}  // namespace

TEST_F(SteppedController, CircularMoveKeepsTheTcpOnTheCircle)
{
    const std::vector<double> start = tcp();
    std::vector<double> via = start, end = start;
    via[0] += 0.05, via[1] += 0.05;
    end[0] += 0.10;
    std::vector<double> center;
    double radius = 0.0;
    ASSERT_TRUE(temla::robot_math::circleCenter(start, via, end, center, radius));

    ASSERT_EQ(command("MotionControl.moveCircle", jsonList(via) + ", " + jsonList(end) + ", 0.2, 1.0"),
              result::kAccepted);
    double worst = 0.0;  // |distance from the center - radius|, m
    bool passed_via = false;
    ASSERT_TRUE(stepUntilSteady(500, [&] {
        const auto p = tcp();
        worst = std::max(worst,
                         std::abs(std::hypot(p[0] - center[0], p[1] - center[1], p[2] - center[2]) - radius));
        passed_via = passed_via || std::hypot(p[0] - via[0], p[1] - via[1], p[2] - via[2]) < 0.005;
    }));
    EXPECT_LT(worst, 1e-6);
    EXPECT_TRUE(passed_via);
    const auto p = tcp();
    EXPECT_LT(std::hypot(p[0] - end[0], p[1] - end[1], p[2] - end[2]), 1e-6);
}

TEST_F(SteppedController, CartesianJogMovesTheTcpAlongTheTwistAndStopsWithTheWatchdog)
{
    ASSERT_EQ(command("RobotManage.setOperationalMode", "2"), result::kAccepted);
    const std::vector<double> start = tcp();
    ASSERT_EQ(command("MotionControl.speedLine", "[0.05, 0, 0, 0, 0, 0], 1.0, 0.3"), result::kAccepted);
    ASSERT_TRUE(stepUntilSteady(100));
    const auto p = tcp();
    // Ramp 0.05 s, about 0.25 s at 0.05 m/s, ramp down: about 1.5 cm along x, nothing across.
    EXPECT_GT(p[0] - start[0], 0.01);
    EXPECT_LT(p[0] - start[0], 0.02);
    EXPECT_LT(std::hypot(p[1] - start[1], p[2] - start[2]), 1e-3);
}

TEST_F(SteppedController, ModeTransitionsTakeTheConfiguredTimes)
{
    const auto timings = sim->robot(0).timings;
    // Steps of 20 ms until the mode changes; the count must match the timing to one step.
    auto stepsUntil = [&](RobotModeType mode) {
        int steps = 0;
        while (sim->robot(0).robot_mode != mode && steps < 1000) {
            sim->step();
            ++steps;
        }
        return steps;
    };
    auto expectSteps = [](int steps, double seconds) { EXPECT_NEAR(steps * 0.02, seconds, 0.02 + 1e-9); };
    ASSERT_EQ(command("RobotManage.poweroff", ""), result::kAccepted);
    EXPECT_EQ(sim->robot(0).robot_mode, RobotModeType::PowerOffing);
    expectSteps(stepsUntil(RobotModeType::PowerOff), timings.power_off);
    ASSERT_EQ(command("RobotManage.poweron", ""), result::kAccepted);
    EXPECT_EQ(sim->robot(0).robot_mode, RobotModeType::PowerOn);
    expectSteps(stepsUntil(RobotModeType::Idle), timings.power_on);
    ASSERT_EQ(command("RobotManage.startup", ""), result::kAccepted);
    EXPECT_EQ(sim->robot(0).robot_mode, RobotModeType::BrakeReleasing);
    expectSteps(stepsUntil(RobotModeType::Running), timings.brake_release);
    EXPECT_EQ(sim->jointPositions(0), kWorkPose) << "nothing moved while the modes changed";
}

}  // namespace operate_test
