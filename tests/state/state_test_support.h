#pragma once

// Shared helpers of the realtime state tests: crafted realtime frames, a recorder of the cache's
// signals and log lines, and a fixture that runs the cache against the simulator.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QObject>
#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <korvu_sdk/korvu_sdk.h>
#include <korvu_sim/simulator.h>

#include "robot_proxy/realtime_robot_state.h"
#include "state/realtime_robot_state_p.h"
#include "test_support/log_capture.h"
#include "test_support/signal_recorder.h"
#include "test_support/wait.h"

namespace state_test
{

using namespace temla::korvu_sdk;
using temla::common_interface::GripperStatus;
using temla::common_interface::JointStateType;
using temla::common_interface::Payload;
using temla::common_interface::RobotModeType;
using temla::common_interface::RuntimeState;
using temla::common_interface::SafetyModeType;
using Value = InputParser::Value;

using test_support::LogCapture;
using test_support::waitUntil;

// Values of one robot's block in a channel 0 frame; every vector is filled from tag so that the
// destination of each value can be told apart.
struct StateRobot {
    explicit StateRobot(double tag, RobotModeType mode = RobotModeType::Running,
                        SafetyModeType safety = SafetyModeType::Normal)
        : payload(tag, {tag, tag, tag}, {tag, tag, tag}, std::vector<double>(9, tag)),
          q(6, tag + 0.1),
          qd(6, tag + 0.2),
          current(6, tag + 0.3),
          robot_mode(mode),
          safety_mode(safety),
          tcp_pose(6, tag + 0.4),
          tcp_speed(6, tag + 0.5),
          tool_pose(6, tag + 0.6),
          handle_status(static_cast<int32_t>(tag * 10)),
          tcp_force(6, tag + 0.7),
          tcp_force_sensor(6, tag + 0.8)
    {
    }

    bool simulation = true;
    double speed_fraction = 0.5;
    Payload payload;
    std::vector<double> q, qd, current;
    RobotModeType robot_mode;
    SafetyModeType safety_mode;
    std::vector<double> tcp_pose, tcp_speed, tool_pose;
    int32_t handle_status;
    std::vector<double> tcp_force, tcp_force_sensor;
    bool with_enc_tick = false;
    std::vector<int32_t> enc_tick{7, 8};
};

inline std::vector<Value> stateFrame(const std::vector<StateRobot> &robots,
                                     RuntimeState state = RuntimeState::Stopped,
                                     std::vector<int32_t> context = {-1, -1})
{
    std::vector<Value> values{state, std::move(context)};
    for (const StateRobot &r : robots) {
        values.insert(values.end(), {r.simulation, r.speed_fraction, r.payload, r.q, r.qd, r.current,
                                     r.robot_mode, r.safety_mode, r.tcp_pose, r.tcp_speed, r.tool_pose,
                                     r.handle_status, r.tcp_force, r.tcp_force_sensor});
        if (r.with_enc_tick) {
            values.emplace_back(r.enc_tick);
        }
    }
    return values;
}

inline std::vector<Value> electricalFrame(int robots, double tag)
{
    std::vector<Value> values;
    for (int i = 0; i < robots; ++i) {
        const double t = tag + i;
        values.insert(values.end(),
                      {std::vector<double>(6, t), std::vector<double>(6, t + 0.5),
                       std::vector<JointStateType>(6, JointStateType::Busy), t + 1, t + 2, t + 3});
    }
    return values;
}

struct IoWords {
    int64_t standard_in = 0, tool_in = 0, configurable_in = 0;
    int32_t link_in = 0;
    int64_t standard_out = 0, tool_out = 0, configurable_out = 0;
    int32_t link_out = 0;
};

inline std::vector<Value> ioFrame(const std::vector<IoWords> &robots, std::vector<int32_t> modbus_values = {},
                                  std::vector<int32_t> modbus_errors = {})
{
    std::vector<Value> values{std::move(modbus_values), std::move(modbus_errors)};
    int32_t tag = 1;
    for (const IoWords &w : robots) {
        const double t = tag;
        values.insert(values.end(),
                      {tag, t + 0.1, t + 0.2, w.standard_in, w.tool_in, w.configurable_in, w.link_in,
                       w.standard_out, w.tool_out, w.configurable_out, w.link_out, std::vector<double>{t},
                       std::vector<double>{t, t}, std::vector<double>{t, t, t}, std::vector<double>{}});
        ++tag;
    }
    return values;
}

// What the cache emitted, in order, as seen by a receiver connected directly.
struct Emission {
    enum Kind { Runtime, Safety, Robot } kind;
    int index;
    int value;
    bool operator==(const Emission &o) const
    {
        return kind == o.kind && index == o.index && value == o.value;
    }
};

inline std::ostream &operator<<(std::ostream &out, const Emission &e)
{
    static const char *const names[] = {"runtime", "safety", "robot"};
    return out << names[e.kind] << "(" << e.index << ", " << e.value << ")";
}

// The cache's three mode signals as Emissions (its other signals are left out), recorded by the
// shared recorder on a direct connection.
class SignalRecorder
{
public:
    explicit SignalRecorder(RealtimeRobotState &cache) : recorder_((registerModeTypes(), &cache)) {}

    // Runs on the emitting thread at each emission, after it is recorded.
    void onEmission(std::function<void(const Emission &)> hook)
    {
        recorder_.onRecord([hook = std::move(hook)](const test_support::SignalRecorder::Entry &entry) {
            Emission emission{};
            if (hook && toEmission(entry, emission)) {
                hook(emission);
            }
        });
    }

    std::vector<Emission> all() const
    {
        std::vector<Emission> emissions;
        Emission emission{};
        for (const auto &entry : recorder_.all()) {
            if (toEmission(entry, emission)) {
                emissions.push_back(emission);
            }
        }
        return emissions;
    }

    int count(Emission::Kind kind) const
    {
        int n = 0;
        for (const Emission &e : all()) {
            n += e.kind == kind;
        }
        return n;
    }

    void clear() { recorder_.clear(); }

private:
    // The recorder keeps enumeration arguments as ints once their types are known to Qt.
    static void registerModeTypes()
    {
        qRegisterMetaType<RuntimeState>("RuntimeState");
        qRegisterMetaType<SafetyModeType>("SafetyModeType");
        qRegisterMetaType<RobotModeType>("RobotModeType");
    }

    // False for a signal that is not a mode signal.
    static bool toEmission(const test_support::SignalRecorder::Entry &entry, Emission &emission)
    {
        if (entry.signature.startsWith("runtimeStateChanged(")) {
            emission = {Emission::Runtime, -1, entry.args.value(0).toInt()};
            return true;
        }
        const bool safety = entry.signature.startsWith("safetyModeChanged(");
        if (!safety && !entry.signature.startsWith("robotModeChanged(")) {
            return false;
        }
        emission = {safety ? Emission::Safety : Emission::Robot, entry.args.value(0).toInt(),
                    entry.args.value(1).toInt()};
        return true;
    }

    test_support::SignalRecorder recorder_;
};

// The cache on clients logged in to a simulator that sends frames only when stepped.
class SimulatedCache : public ::testing::Test
{
protected:
    void start(int robot_count, const std::function<void(temla::korvu_sim::SimulatorOptions &)> &adjust = {})
    {
        temla::korvu_sim::SimulatorOptions options;
        options.manual_stepping = true;
        for (int i = 0; i < robot_count; ++i) {
            options.robots.push_back(temla::korvu_sim::makeDefaultRobot(i));
        }
        if (adjust) {
            adjust(options);
        }
        sim = std::make_unique<temla::korvu_sim::Simulator>(options);
        sim->start();
        rpc = std::make_shared<RpcClient>(0);
        rtde = std::make_shared<RtdeClient>(0);
        ASSERT_EQ(rpc->connect(sim->host(), sim->rpcPort()), 0);
        ASSERT_EQ(rtde->connect(sim->host(), sim->realtimePort()), 0);
        ASSERT_EQ(rpc->login("admin", "admin"), 0);
        ASSERT_EQ(rtde->login("admin", "admin"), 0);
        rpc->setRequestTimeout(2000);
        cache = std::make_unique<RealtimeRobotState>(rpc, rtde);
    }

    void loginAndSubscribe()
    {
        cache->updateRobotInformationOnLogin();
        cache->configSubscribe();
    }

    // One frame on every channel; returns once the cache has decoded its channel 0 frame.
    void stepFrame()
    {
        ++frame_number;
        sim->setRuntimeContext(1, frame_number);
        sim->step();
        ASSERT_TRUE(waitUntil([&] { return cache->getLineNumber() == frame_number; })) << frame_number;
    }

    void TearDown() override
    {
        cache.reset();
        rtde.reset();
        rpc.reset();
        if (sim) {
            sim->stop();
        }
    }

    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::shared_ptr<RpcClient> rpc;
    std::shared_ptr<RtdeClient> rtde;
    std::unique_ptr<RealtimeRobotState> cache;
    int frame_number = 0;
};

}  // namespace state_test
