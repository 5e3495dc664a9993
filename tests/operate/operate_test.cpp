// Operating the simulated controller through RobotProxy: modes, moves, stops, jogging, refusals, I/O.
#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

#include "operate_fixture.h"

namespace operate_test
{
namespace
{

using test_support::SignalRecorder;
using test_support::waitUntil;

// A well-conditioned configuration of the default arm (elbow bent, wrist away from singularities).
const std::vector<double> kWorkPose{0.3, -1.2, 1.5, -1.8, -1.5, 0.4};

double maxDifference(const std::vector<double> &a, const std::vector<double> &b)
{
    if (a.size() != b.size())
        return INFINITY;
    double d = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        d = std::max(d, std::abs(a[i] - b[i]));
    return d;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

}  // namespace

TEST_F(Operate, PowerOnAndBrakeReleaseReachRunningThroughEveryMode)
{
    ASSERT_TRUE(waitUntil([&] { return cache->getRobotModeType() == RobotModeType::PowerOff; }));
    sim->resetCallCounts();
    SignalRecorder recorder(proxy.get(), Qt::QueuedConnection);
    bringUp();
    waitUntil([] { return false; }, 100ms);

    // The frames and the mode messages (30045) both report each mode; consecutive repeats collapse.
    std::vector<int> modes;
    for (const auto &entry : recorder.named("robotModeChanged"))
        if (modes.empty() || modes.back() != entry.args[1].toInt())
            modes.push_back(entry.args[1].toInt());
    EXPECT_EQ(modes, (std::vector<int>{4, 5, 6, 8}));
    // Idle after PowerOn refreshes the robot's information, Running its gravity.
    EXPECT_GE(sim->callCount("RobotConfig.getDof"), 1);
    EXPECT_GE(sim->callCount("RobotConfig.getGravity"), 1);

    ASSERT_EQ(proxy->getRobotManage()->poweroff(), result::kAccepted);
    ASSERT_TRUE(waitUntil([&] { return cache->getRobotModeType() == RobotModeType::PowerOff; }));
}

TEST_F(Operate, JointMoveArrivesWithinTheSpeedBoundScaledByTheSpeedFraction)
{
    bringUp();
    constexpr double kFraction = 0.5;
    ASSERT_EQ(proxy->getRobotManage()->setSpeedFraction(kFraction), result::kAccepted);
    const auto model = sim->robot(0);
    const std::vector<double> target{0.6, -2.0, 0.5, -1.2, -0.5, 0.8};

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(proxy->getMotionControl()->moveJoint(target, 10.0, 100.0), result::kAccepted);
    double highest_share = 0.0;  // of the bound, over the streamed speeds
    ASSERT_TRUE(waitUntil(
        [&] {
            const auto qd = cache->getJointSpeeds();
            for (size_t j = 0; j < qd.size(); ++j)
                highest_share =
                    std::max(highest_share, std::abs(qd[j]) / (model.joint_max_speeds[j] * kFraction));
            return sim->isSteady(0) && maxDifference(cache->getJointPositions(), target) < 1e-9;
        },
        10s));
    // Slowest joint: 1.57 rad at pi rad/s and 4 pi rad/s² is about 0.75 s at full speed, 1.5 s at half.
    EXPECT_LT(seconds(std::chrono::steady_clock::now() - start), 1.5 + 1.0);
    EXPECT_LE(highest_share, 1.0 + 1e-9);
    EXPECT_GT(highest_share, 0.5) << "the move ran well below its bound";
    EXPECT_EQ(cache->getJointSpeeds(), std::vector<double>(6, 0.0));
}

TEST_F(Operate, LinearMoveKeepsTheStreamedTcpOnTheLine)
{
    bringUp();
    moveTo(kWorkPose);
    ASSERT_TRUE(waitUntil([&] { return maxDifference(cache->getJointPositions(), kWorkPose) < 1e-9; }));
    const std::vector<double> from = cache->getTcpPose();
    std::vector<double> to = from;
    to[0] += 0.10, to[1] -= 0.05, to[2] += 0.08;

    ASSERT_EQ(proxy->getMotionControl()->moveLine(to, 0.25, 1.0), result::kAccepted);
    const double length = std::hypot(to[0] - from[0], to[1] - from[1], to[2] - from[2]);
    double farthest = 0.0;  // from the line, m
    int samples = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            const auto p = cache->getTcpPose();
            // Distance of p from the line: |(p - from) × direction|.
            double d[3], u[3];
            for (int k = 0; k < 3; ++k)
                d[k] = p[k] - from[k], u[k] = (to[k] - from[k]) / length;
            farthest = std::max(farthest, std::hypot(d[1] * u[2] - d[2] * u[1], d[2] * u[0] - d[0] * u[2],
                                                     d[0] * u[1] - d[1] * u[0]));
            ++samples;
            return sim->isSteady(0) && maxDifference(p, to) < 1e-6;
        },
        10s));
    EXPECT_LT(farthest, 1e-6);
    EXPECT_GT(samples, 5);
}

TEST_F(Operate, ProtectiveStopHaltsTheArmWithinTheStopTimeAndHoldsUntilUnlocked)
{
    bringUp();
    auto motion = proxy->getMotionControl();
    ASSERT_EQ(motion->moveJoint({2.0, -0.5, 1.0, -0.5, 1.0, 2.0}, 10.0, 100.0), result::kAccepted);
    ASSERT_TRUE(waitUntil([&] {
        const auto qd = cache->getJointSpeeds();
        return !qd.empty() && std::abs(qd[0]) > 1.0;
    }));

    const auto stop = std::chrono::steady_clock::now();
    sim->protectiveStop(0);
    ASSERT_TRUE(sim->waitForSteady(0, 5s));
    // The model stops within kStop of simulated time; the clock ticks every 10 ms.
    EXPECT_LT(seconds(std::chrono::steady_clock::now() - stop), kStop + 0.1);
    ASSERT_TRUE(waitUntil([&] { return cache->getSafetyModeType() == SafetyModeType::ProtectiveStop; }));
    const auto halted = sim->jointPositions(0);

    EXPECT_EQ(motion->moveJoint(kWorkPose, 1.0, 1.0), result::kSafetyStop);
    EXPECT_EQ(sim->jointPositions(0), halted);
    EXPECT_EQ(proxy->getRobotManage()->unlockProtectiveStop(), result::kAccepted);
    ASSERT_TRUE(waitUntil([&] { return cache->getSafetyModeType() == SafetyModeType::Normal; }));
    EXPECT_EQ(motion->moveJoint(kWorkPose, 1.0, 1.0), result::kAccepted);
}

TEST_F(Operate, JoggingStopsByItselfWhenTheWatchdogExpires)
{
    bringUp();
    ASSERT_EQ(
        proxy->getRobotManage()->setOperationalMode(temla::common_interface::OperationalModeType::Manual),
        result::kAccepted);
    constexpr double kWatchdog = 0.2, kSpeed = 0.5, kAcceleration = 5.0;
    auto motion = proxy->getMotionControl();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(motion->speedJoint({0, 0, 0, 0, 0, kSpeed}, kAcceleration, kWatchdog), result::kAccepted);
    // Renewed: still moving past the first watchdog period.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    ASSERT_EQ(motion->speedJoint({0, 0, 0, 0, 0, kSpeed}, kAcceleration, kWatchdog), result::kAccepted);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_FALSE(sim->isSteady(0));

    ASSERT_TRUE(sim->waitForSteady(0, 5s));
    const double stopped_after = seconds(std::chrono::steady_clock::now() - start);
    EXPECT_GT(stopped_after, 0.12 + kWatchdog);
    EXPECT_LT(stopped_after, 0.12 + kWatchdog + kSpeed / kAcceleration + 0.2);
    EXPECT_TRUE(motion->isSteady());
    ASSERT_TRUE(waitUntil([&] { return cache->getJointSpeeds() == std::vector<double>(6, 0.0); }));
}

TEST_F(Operate, CommandsTheRobotCannotTakeAreRefusedWithTheirCode)
{
    auto manage = proxy->getRobotManage();
    auto motion = proxy->getMotionControl();
    const auto move = [&] { return motion->moveJoint(kWorkPose, 1.0, 1.0); };
    EXPECT_EQ(move(), result::kNotPowered);
    EXPECT_EQ(manage->startup(), result::kNotPowered);
    ASSERT_EQ(manage->poweron(), result::kAccepted);
    ASSERT_TRUE(sim->waitForRobotMode(0, RobotModeType::Idle, 5s));
    EXPECT_EQ(move(), result::kBrakesHeld);
    ASSERT_EQ(manage->startup(), result::kAccepted);
    ASSERT_TRUE(sim->waitForRobotMode(0, RobotModeType::Running, 5s));

    struct Case {
        const char *what;
        std::function<int()> command;
        int code;
    };
    const std::vector<Case> cases{
        {"a joint outside its limits",
         [&] {
             return motion->moveJoint({7.0, 0, 0, 0, 0, 0}, 1.0, 1.0);
         },
         result::kOutsideJointLimits},
        {"a pose out of reach",
         [&] {
             return motion->moveLine({5.0, 0, 0, 0, 0, 0}, 0.1, 1.0);
         },
         result::kUnreachable},
        {"jogging in Automatic mode",
         [&] {
             return motion->speedJoint({0.1, 0, 0, 0, 0, 0}, 1.0, 0.1);
         },
         result::kAutomaticMode},
        {"a joint list of the wrong length",
         [&] {
             return motion->moveJoint({0.1, 0.2}, 1.0, 1.0);
         },
         result::kInvalidArgument},
        {"a speed fraction above 1", [&] { return manage->setSpeedFraction(1.5); }, result::kInvalidArgument},
        {"an output that does not exist",
         [&] { return proxy->getIoControl()->setStandardDigitalOutput(99, true); }, result::kInvalidArgument},
        {"an unlock without a stop", [&] { return manage->unlockProtectiveStop(); },
         result::kNothingToUnlock},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.command(), c.code);
    }
    EXPECT_TRUE(sim->isSteady(0)) << "a refused command moves nothing";

    ASSERT_EQ(move(), result::kAccepted);
    EXPECT_EQ(move(), result::kMoving);
    ASSERT_EQ(motion->stopMove(10.0), result::kAccepted);
    ASSERT_TRUE(sim->waitForSteady(0, 5s));

    ASSERT_EQ(manage->setFreedrive(true), result::kAccepted);
    EXPECT_EQ(move(), result::kFreedriveActive);
    ASSERT_EQ(manage->setFreedrive(false), result::kAccepted);

    sim->protectiveStop(0);
    EXPECT_EQ(move(), result::kSafetyStop);
    ASSERT_EQ(manage->unlockProtectiveStop(), result::kAccepted);

    sim->emergencyStop(0, SafetyModeType::RobotEmergencyStop);
    ASSERT_TRUE(sim->waitForRobotMode(0, RobotModeType::PowerOff, 5s));
    EXPECT_EQ(manage->poweron(), result::kEmergencyStop);
    EXPECT_EQ(move(), result::kEmergencyStop);
    sim->releaseEmergencyStop(0);
    EXPECT_EQ(manage->poweron(), result::kAccepted);
}

TEST_F(Operate, OutputsSetByCommandReadBackThroughTheCache)
{
    auto io = proxy->getIoControl();
    ASSERT_EQ(io->setStandardDigitalOutput(3, true), result::kAccepted);
    ASSERT_EQ(io->setToolDigitalOutput(1, true), result::kAccepted);
    ASSERT_EQ(io->setConfigurableDigitalOutput(5, true), result::kAccepted);
    ASSERT_EQ(io->setStandardAnalogOutput(1, 2.5), result::kAccepted);
    ASSERT_TRUE(waitUntil([&] {
        return cache->getStandardDigitalOutput(3) && cache->getToolDigitalOutput(1) &&
               cache->getConfigurableDigitalOutput(5) && cache->getStandardAnalogOutput(1) == 2.5;
    }));
    EXPECT_FALSE(cache->getStandardDigitalOutput(2));
    EXPECT_FALSE(cache->getConfigurableDigitalOutput(4));
    EXPECT_EQ(cache->getStandardAnalogOutput(0), 0.0);

    ASSERT_EQ(io->setStandardDigitalOutput(3, false), result::kAccepted);
    ASSERT_TRUE(waitUntil([&] { return !cache->getStandardDigitalOutput(3); }));
}

}  // namespace operate_test
