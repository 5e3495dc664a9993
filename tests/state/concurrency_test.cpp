// Every kind of caller at once: frame handlers at full rate for four robots, refreshes, getters,
// selection, track switches and the message dispatch's writes, each from its own thread. Run it
// under ThreadSanitizer to check the locking; it must also simply finish (no deadlock).
#include <atomic>

#include "state_test_support.h"

namespace state_test
{
namespace
{

class ConcurrentUse : public SimulatedCache
{
};

TEST_F(ConcurrentUse, HandlersRefreshesGettersAndSelectionTogether)
{
    constexpr int frame_count = 600;
    // Selection and reset log a line each time; thousands of them say nothing here.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    start(4);
    cache->updateRobotInformationOnLogin();

    // Robot 0 alternates PowerOn and Idle, so the handler itself runs power-on refreshes.
    std::vector<StateRobot> robots;
    for (int i = 0; i < 4; ++i) {
        robots.emplace_back(i + 1.0);
    }
    robots[0].robot_mode = RobotModeType::PowerOn;
    const std::vector<Value> powered_on = stateFrame(robots, RuntimeState::Running, {1, 2});
    robots[0].robot_mode = RobotModeType::Idle;
    const std::vector<Value> idle = stateFrame(robots, RuntimeState::Paused, {1, 3});
    const std::vector<Value> electrical = electricalFrame(4, 1.0);
    const std::vector<Value> io = ioFrame(std::vector<IoWords>(4), {1, 2}, {0, 0});
    const std::vector<bool> no_ticks(4, false);

    std::atomic<bool> done{false};
    std::atomic<int> refreshes{0}, reads{0}, selections{0}, direct_reads{0}, track_calls{0};

    QObject context;
    QObject::connect(
        cache.get(), &RealtimeRobotState::robotModeChanged, &context,
        [&](int index, RobotModeType) {
            cache->getRobotInfo(index);
            cache->getJointPositions();
            ++direct_reads;
        },
        Qt::DirectConnection);

    std::thread handlers([&] {
        for (int frame = 0; frame < frame_count; ++frame) {
            InputParser state(frame % 50 < 25 ? powered_on : idle);
            detail::writerOf(*cache).handleStateFrame(state, 4, no_ticks);
            if (frame % 5 == 0) {
                InputParser io_frame(io);
                detail::writerOf(*cache).handleIoFrame(io_frame, 4);
            }
            if (frame % 50 == 0) {
                InputParser electrical_frame(electrical);
                detail::writerOf(*cache).handleElectricalFrame(electrical_frame, 4);
                InputParser grippers(std::vector<Value>{std::vector<GripperStatus>(2)});
                detail::writerOf(*cache).handleGripperFrame(grippers);
            }
        }
        done = true;
    });
    std::thread refresher([&] {
        for (int i = 0; !done; ++i) {
            cache->updateRobotInformationOnPoweron(i % 4);
            cache->updateGravity(i % 4);
            cache->updateOperationMode(i % 4);
            cache->updateHDParamOnRobotTypeChanged(-1);
            if (i % 10 == 0) {
                cache->updateRobotInformationOnLogin();
                cache->updateModbusSignalNames();
            }
            ++refreshes;
        }
    });
    std::thread reader([&] {
        const std::vector<double> frame{0.1, 0.2, 0.3, 0.0, 0.0, 1.0};
        while (!done) {
            cache->getJointPositions();
            cache->getTcpPose();
            cache->getRobotModeType();
            cache->getRobotType();
            cache->getRealDHParam();
            cache->getPayload();
            cache->getStandardDigitalInput(reads % 70);
            cache->getTcpForce(frame);
            cache->getRobotInfo(reads % 4);
            cache->getAllGripperStatusData();
            cache->getModbusSignalNames();
            cache->getRuntimeState();
            cache->isLinkModeEnabled();
            ++reads;
        }
    });
    std::thread selector([&] {
        for (int i = 0; !done; ++i) {
            cache->selectRobot(i % 4);
            if (i % 7 == 0) {
                cache->reset();
            }
            if (i % 3 == 0) {
                cache->startTrackRecord(
                    [&](const std::vector<double> &, const std::vector<double> &) {
                        cache->getTcpPose();
                        ++track_calls;
                    },
                    0.02);
            } else if (i % 11 == 0) {
                cache->stopTrackRecord();
            }
            detail::writerOf(*cache).storeSafetyMode(i % 4, SafetyModeType::ReducedMode);
            detail::writerOf(*cache).storeSlowDownLevel(i % 4, i % 3);
            detail::writerOf(*cache).storeRobotType(i % 4, "K6", "std");
            detail::writerOf(*cache).storedRobotMode(i % 4);
            detail::writerOf(*cache).storeDisconnectedModes((i + 1) % 4);
            cache->addModbusSignalName("m");
            cache->removeModbusSignalName("m");
            ++selections;
        }
    });
    handlers.join();
    refresher.join();
    reader.join();
    selector.join();
    qInstallMessageHandler(previous);

    EXPECT_GT(refreshes, 0);
    EXPECT_GT(reads, 0);
    EXPECT_GT(selections, 0);
    EXPECT_GT(direct_reads, 0);
    EXPECT_GT(track_calls, 0);
    EXPECT_EQ(cache->getRobotInfo(3).joint_positions, std::vector<double>(6, 4.1));
}

}  // namespace
}  // namespace state_test
