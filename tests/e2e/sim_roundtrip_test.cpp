// Every client operation against the simulated controller, and event 1 on each kind of drop.
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "korvu_sdk/korvu_sdk.h"
#include "korvu_sim/simulator.h"
#include "test_support/exception_code.h"
#include "test_support/wait.h"

namespace
{

namespace error_code = temla::common_interface::error_code;
namespace sdk = temla::korvu_sdk;
using namespace std::chrono_literals;
using temla::common_interface::GripperStatus;
using temla::common_interface::KorvuException;
using temla::common_interface::RobotModeType;
using temla::common_interface::RobotMsg;
using temla::common_interface::RuntimeState;
using temla::common_interface::SafetyModeType;
using temla::korvu_sim::ServerKind;
using temla::korvu_sim::Simulator;
using temla::korvu_sim::SimulatorOptions;
using test_support::codeOf;
using test_support::waitUntil;
using Type = sdk::InputParser::Type;

SimulatorOptions options()
{
    SimulatorOptions o;
    o.robot_count = 2;
    o.manual_stepping = true;
    o.user = "operator";
    o.password = "secret";
    return o;
}

class SimRoundTrip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sim.start();
        rpc.setEventHandler([this](int e) { rpc_events += e == sdk::kEventConnectionLost; });
        rtde.setEventHandler([this](int e) { rtde_events += e == sdk::kEventConnectionLost; });
        script.setEventHandler([this](int e) { script_events += e == sdk::kEventConnectionLost; });
        connectAll();
    }

    void connectAll()
    {
        ASSERT_EQ(rpc.connect(sim.host(), sim.rpcPort()), 0);
        ASSERT_EQ(rtde.connect(sim.host(), sim.realtimePort()), 0);
        ASSERT_EQ(script.connect(sim.host(), sim.scriptPort()), 0);
        ASSERT_EQ(rpc.login("operator", "secret"), 0);
        ASSERT_EQ(rtde.login("operator", "secret"), 0);
        ASSERT_EQ(script.login("operator", "secret"), 0);
    }

    Simulator sim{options()};
    sdk::RpcClient rpc{0};
    sdk::RtdeClient rtde{0};
    sdk::ScriptClient script{0};
    std::atomic<int> rpc_events{0};
    std::atomic<int> rtde_events{0};
    std::atomic<int> script_events{0};
};

TEST_F(SimRoundTrip, PortsFollowTheBasePort)
{
    EXPECT_EQ(sim.rpcPort(), sim.basePort() + 4);
    EXPECT_EQ(sim.realtimePort(), sim.basePort() + 10);
    EXPECT_EQ(sim.scriptPort(), sim.basePort() + 2);
}

TEST_F(SimRoundTrip, EveryRobotGetterAnswersTheModel)
{
    ASSERT_EQ(rpc.getRobotNames(), sim.robotNames());
    ASSERT_EQ(sim.robotNames().size(), 2u);
    sim.updateRobot(1, [](temla::korvu_sim::RobotModel &r) {
        r.hardware_custom_parameters["hardware_interface_version"] = "V2";
        r.robot_mode = RobotModeType::Idle;
        r.safety_mode = SafetyModeType::ProtectiveStop;
        r.operational_mode = temla::common_interface::OperationalModeType::Manual;
        r.link_mode_enabled = true;
        r.slow_down_level = 3;
    });
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto model = sim.robot(i);
        auto robot = rpc.getRobotInterface(model.name);
        auto config = robot->getRobotConfig();
        EXPECT_EQ(config->getDof(), model.dof);
        EXPECT_EQ(config->getKinematicsParam(true), model.real_kinematics);
        EXPECT_EQ(config->getKinematicsParam(false), model.theory_kinematics);
        EXPECT_EQ(config->getRobotType(), model.type);
        EXPECT_EQ(config->getRobotSubType(), model.sub_type);
        EXPECT_EQ(config->getControlBoxType(), model.control_box_type);
        EXPECT_EQ(config->getTcpMaxSpeeds(), model.tcp_max_speeds);
        EXPECT_EQ(config->getTcpMaxAccelerations(), model.tcp_max_accelerations);
        EXPECT_EQ(config->getJointMaxPositions(), model.joint_max_positions);
        EXPECT_EQ(config->getJointMinPositions(), model.joint_min_positions);
        EXPECT_EQ(config->getJointMaxSpeeds(), model.joint_max_speeds);
        EXPECT_EQ(config->getJointMaxAccelerations(), model.joint_max_accelerations);
        EXPECT_EQ(config->getGravity(), model.gravity);
        const auto custom = model.hardware_custom_parameters.find("hardware_interface_version");
        EXPECT_EQ(config->getHardwareCustomParameters("hardware_interface_version"),
                  custom == model.hardware_custom_parameters.end() ? "" : custom->second);
        EXPECT_EQ(config->getHardwareCustomParameters("no such key"), "");

        auto state = robot->getRobotState();
        EXPECT_EQ(state->getMasterBoardUniqueId(), model.master_board.unique_id);
        EXPECT_EQ(state->getSlaveBoardUniqueId(), model.slave_board.unique_id);
        EXPECT_EQ(state->getHandleUniqueId(), model.handle.unique_id);
        EXPECT_EQ(state->getToolUniqueId(), model.tool.unique_id);
        EXPECT_EQ(state->getPedestalUniqueId(), model.pedestal.unique_id);
        EXPECT_EQ(state->getJointUniqueIds(), model.joint_unique_ids);
        EXPECT_EQ(state->getMasterBoardFirmwareVersion(), model.master_board.firmware_version);
        EXPECT_EQ(state->getMasterBoardHardwareVersion(), model.master_board.hardware_version);
        EXPECT_EQ(state->getSlaveBoardFirmwareVersion(), model.slave_board.firmware_version);
        EXPECT_EQ(state->getSlaveBoardHardwareVersion(), model.slave_board.hardware_version);
        EXPECT_EQ(state->getHandleFirmwareVersion(), model.handle.firmware_version);
        EXPECT_EQ(state->getHandleHardwareVersion(), model.handle.hardware_version);
        EXPECT_EQ(state->getToolFirmwareVersion(), model.tool.firmware_version);
        EXPECT_EQ(state->getToolHardwareVersion(), model.tool.hardware_version);
        EXPECT_EQ(state->getPedestalFirmwareVersion(), model.pedestal.firmware_version);
        EXPECT_EQ(state->getPedestalHardwareVersion(), model.pedestal.hardware_version);
        EXPECT_EQ(state->getJointFirmwareVersions(), model.joint_firmware_versions);
        EXPECT_EQ(state->getJointHardwareVersions(), model.joint_hardware_versions);
        EXPECT_EQ(state->getSlowDownLevel(), model.slow_down_level);
        EXPECT_EQ(state->getRobotModeType(), static_cast<RobotModeType>(model.robot_mode));
        EXPECT_EQ(state->getSafetyModeType(), static_cast<SafetyModeType>(model.safety_mode));
        EXPECT_EQ(state->getHandleState(), model.handle_state);
        EXPECT_EQ(state->getHandleMode(), model.handle_mode);

        auto manage = robot->getRobotManage();
        EXPECT_EQ(manage->getOperationalMode(), model.operational_mode);
        EXPECT_EQ(manage->isLinkModeEnabled(), model.link_mode_enabled);
        EXPECT_EQ(manage->isFreedriveEnabled(), model.freedrive_enabled);

        auto io = robot->getIoControl();
        EXPECT_EQ(io->getStandardDigitalInputNum(), model.io.standard_digital_input);
        EXPECT_EQ(io->getToolDigitalInputNum(), model.io.tool_digital_input);
        EXPECT_EQ(io->getConfigurableDigitalInputNum(), model.io.configurable_digital_input);
        EXPECT_EQ(io->getStandardDigitalOutputNum(), model.io.standard_digital_output);
        EXPECT_EQ(io->getToolDigitalOutputNum(), model.io.tool_digital_output);
        EXPECT_EQ(io->getConfigurableDigitalOutputNum(), model.io.configurable_digital_output);
        EXPECT_EQ(io->getStandardAnalogInputNum(), model.io.standard_analog_input);
        EXPECT_EQ(io->getToolAnalogInputNum(), model.io.tool_analog_input);
        EXPECT_EQ(io->getStandardAnalogOutputNum(), model.io.standard_analog_output);
        EXPECT_EQ(io->getToolAnalogOutputNum(), model.io.tool_analog_output);
        EXPECT_EQ(io->getStaticLinkInputNum(), model.io.static_link_input);
        EXPECT_EQ(io->getStaticLinkOutputNum(), model.io.static_link_output);
        EXPECT_EQ(io->getHandleIoStatus(), model.handle_io_status);

        // Handles of interfaces without operations are still handed out.
        EXPECT_NE(robot->getMotionControl(), nullptr);
        EXPECT_NE(robot->getForceControl(), nullptr);
        EXPECT_NE(robot->getSyncMove(), nullptr);
        EXPECT_NE(robot->getRobotAlgorithm(), nullptr);
        EXPECT_NE(robot->getTrace(), nullptr);
    }
}

TEST_F(SimRoundTrip, ControllerWideCalls)
{
    sim.setRuntimeState(RuntimeState::Paused);
    EXPECT_EQ(rpc.getRuntimeMachine()->getStatus(), RuntimeState::Paused);
    EXPECT_NO_THROW(rpc.getAxisNames());
    EXPECT_NE(rpc.getAxisInterface("axis1"), nullptr);
    EXPECT_NE(rpc.getSystemInfo(), nullptr);
    EXPECT_NE(rpc.getGripperInterface(), nullptr);

    auto registers = rpc.getRegisterControl();
    sim.setRegister("__internal.pn_server.connected", 1);
    sim.setRegister("__internal.eip_slave.connect_status", 2);
    EXPECT_TRUE(registers->getBool("__internal.pn_server.connected", false));
    EXPECT_EQ(registers->getInt32("__internal.eip_slave.connect_status", 0), 2);
    EXPECT_EQ(registers->getInt32("no.such.register", 7), 7);
    EXPECT_TRUE(registers->getBool("no.such.register", true));

    sim.setModbusSignals({"sig_b", "sig_a"}, {1, 2}, {0, 0});
    EXPECT_EQ(registers->modbusGetSignalNames(), (std::vector<std::string>{"sig_b", "sig_a"}));
}

TEST_F(SimRoundTrip, ErrorsTimeoutsAndRefusedLogins)
{
    EXPECT_NE(codeOf([&] { rpc.getRobotInterface("nobody")->getRobotConfig()->getDof(); }), 0);

    sim.failMethod("RobotConfig.getDof", -4711, "injected failure");
    try {
        rpc.getRobotInterface(sim.robotNames()[0])->getRobotConfig()->getDof();
        FAIL() << "no exception";
    } catch (const KorvuException &e) {
        EXPECT_EQ(e.code(), -4711);
        EXPECT_STREQ(e.what(), "injected failure");
    }
    sim.clearMethodFaults();

    rpc.setRequestTimeout(100);
    sim.stallMethod("getRobotNames", 1000ms);
    EXPECT_EQ(codeOf([&] { rpc.getRobotNames(); }), error_code::kTimeout);
    sim.clearMethodFaults();
    rpc.setRequestTimeout(3000);
    EXPECT_EQ(rpc.getRobotNames(), sim.robotNames());
    EXPECT_TRUE(rpc.hasLogined());

    sim.refuseLogins(true);
    sdk::RpcClient other(0);
    ASSERT_EQ(other.connect(sim.host(), sim.rpcPort()), 0);
    EXPECT_EQ(other.login("operator", "secret"), sdk::kLoginRejected);
    sim.refuseLogins(false);
    EXPECT_EQ(other.login("operator", "wrong"), sdk::kLoginRejected);
    EXPECT_EQ(other.login("operator", "secret"), 0);
}

// The type of every output the library subscribes to, as its frame handlers pop them.
std::map<std::string, Type> expectedOutputs()
{
    std::map<std::string, Type> outputs = {
        {"runtime_state", Type::RuntimeState},         {"runtime_context", Type::VectorInt},
        {"modbus_signals", Type::VectorInt},           {"modbus_signals_errors", Type::VectorInt},
        {"gripper_status", Type::GripperStatusVector}, {"R1_message", Type::RobotMsgVector},
    };
    const std::vector<std::pair<const char *, Type>> per_robot = {
        {"is_simulation_enabled", Type::Bool},
        {"target_speed_fraction", Type::Double},
        {"actual_payload", Type::Payload},
        {"actual_q", Type::VectorDouble},
        {"actual_qd", Type::VectorDouble},
        {"actual_current", Type::VectorDouble},
        {"robot_mode", Type::RobotModeType},
        {"safety_mode", Type::SafetyModeType},
        {"actual_TCP_pose", Type::VectorDouble},
        {"actual_TCP_speed", Type::VectorDouble},
        {"actual_tool_pose", Type::VectorDouble},
        {"handle_status", Type::Int32},
        {"actual_TCP_force", Type::VectorDouble},
        {"actual_TCP_force_sensor", Type::VectorDouble},
        {"actual_joint_voltage", Type::VectorDouble},
        {"joint_temperatures", Type::VectorDouble},
        {"joint_mode", Type::VectorJointStateType},
        {"actual_main_voltage", Type::Double},
        {"actual_robot_voltage", Type::Double},
        {"actual_robot_current", Type::Double},
        {"collision_level", Type::Int32},
        {"masterboard_temperature", Type::Double},
        {"controlbox_humidity", Type::Double},
        {"standard_digital_input_bits", Type::Int64},
        {"tool_digital_input_bits", Type::Int64},
        {"configurable_digital_input_bits", Type::Int64},
        {"link_digital_input_bits", Type::Int32},
        {"standard_digital_output_bits", Type::Int64},
        {"tool_digital_output_bits", Type::Int64},
        {"configurable_digital_output_bits", Type::Int64},
        {"link_digital_output_bits", Type::Int32},
        {"standard_analog_input_values", Type::VectorDouble},
        {"tool_analog_input_values", Type::VectorDouble},
        {"standard_analog_output_values", Type::VectorDouble},
        {"tool_analog_output_values", Type::VectorDouble},
    };
    for (int robot = 1; robot <= 2; ++robot) {
        for (const auto &entry : per_robot) {
            outputs["R" + std::to_string(robot) + "_" + entry.first] = entry.second;
        }
    }
    return outputs;
}

void popByType(sdk::InputParser &parser, Type type)
{
    switch (type) {
        case Type::Bool:
            parser.popBool();
            break;
        case Type::Int32:
            parser.popInt32();
            break;
        case Type::Int64:
            parser.popInt64();
            break;
        case Type::Double:
            parser.popDouble();
            break;
        case Type::VectorDouble:
            parser.popVectorDouble();
            break;
        case Type::VectorInt:
            parser.popVectorInt();
            break;
        case Type::VectorJointStateType:
            parser.popVectorJointStateType();
            break;
        case Type::RobotModeType:
            parser.popRobotModeType();
            break;
        case Type::SafetyModeType:
            parser.popSafetyModeType();
            break;
        case Type::RuntimeState:
            parser.popRuntimeState();
            break;
        case Type::Payload:
            parser.popPayload();
            break;
        case Type::GripperStatusVector:
            parser.popGripperStatusVector();
            break;
        case Type::RobotMsgVector:
            parser.popRobotMsgVector();
            break;
    }
}

TEST_F(SimRoundTrip, EveryOutputHasItsTypeAndStreamsIt)
{
    const auto offered = rtde.getOutputMaps();
    std::vector<std::string> names;
    std::vector<Type> types;
    for (const auto &entry : expectedOutputs()) {
        const auto it = offered.find(entry.first);
        ASSERT_NE(it, offered.end()) << entry.first;
        EXPECT_EQ(it->second, static_cast<int>(entry.second)) << entry.first;
        names.push_back(entry.first);
        types.push_back(entry.second);
    }
    EXPECT_EQ(offered.count("R1_enc_tick_count"), 0u);
    EXPECT_LT(rtde.setTopic(false, {"no_such_output"}, 10.0, 0), 0);

    const int channel = rtde.setTopic(false, names, 10.0, 3);
    ASSERT_EQ(channel, 3);
    std::atomic<int> frames{0};
    std::atomic<int> failures{0};
    ASSERT_EQ(rtde.subscribe(channel,
                             [&](sdk::InputParser &parser) {
                                 try {
                                     for (const auto type : types) {
                                         popByType(parser, type);
                                     }
                                     failures += parser.remaining() != 0;
                                 } catch (const KorvuException &) {
                                     ++failures;
                                 }
                                 ++frames;
                             }),
              0);
    sim.step();
    sim.step();
    EXPECT_TRUE(waitUntil([&] { return frames >= 2; }));
    EXPECT_EQ(failures, 0);
}

TEST_F(SimRoundTrip, StreamedModesAndInjectedMessages)
{
    sim.setRobotMode(0, RobotModeType::Idle);
    sim.setSafetyMode(0, SafetyModeType::ProtectiveStop);
    sim.setGripperStatuses({GripperStatus{"g1", true, true, 0, 0.5, 0.0, 0.0}});
    const int modes = rtde.setTopic(false, {"R1_robot_mode", "R1_safety_mode", "gripper_status"}, 50.0, 0);
    const int messages = rtde.setTopic(false, {"R1_message"}, 200.0, 0);
    ASSERT_EQ(modes, 0);
    ASSERT_GT(messages, 0);  // channel 0 is taken: another one is assigned

    std::mutex mutex;
    std::vector<RobotModeType> robot_modes;
    std::vector<SafetyModeType> safety_modes;
    std::vector<std::vector<GripperStatus>> grippers;
    std::vector<RobotMsg> received;
    rtde.subscribe(modes, [&](sdk::InputParser &p) {
        std::lock_guard<std::mutex> lock(mutex);
        robot_modes.push_back(p.popRobotModeType());
        safety_modes.push_back(p.popSafetyModeType());
        grippers.push_back(p.popGripperStatusVector());
    });
    rtde.subscribe(messages, [&](sdk::InputParser &p) {
        auto batch = p.popRobotMsgVector();
        std::lock_guard<std::mutex> lock(mutex);
        received.insert(received.end(), batch.begin(), batch.end());
    });
    const RobotMsg first{42, 1, 10001, sim.robotNames()[0], {"3"}};
    const RobotMsg second{43, 3, 20001, "other", {}};
    sim.injectMessages({first, second});
    sim.step();
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return !robot_modes.empty() && received.size() >= 2;
    }));
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(robot_modes.front(), RobotModeType::Idle);
    EXPECT_EQ(safety_modes.front(), SafetyModeType::ProtectiveStop);
    EXPECT_EQ(grippers.front(),
              (std::vector<GripperStatus>{GripperStatus{"g1", true, true, 0, 0.5, 0.0, 0.0}}));
    EXPECT_EQ(received[0], first);
    EXPECT_EQ(received[1], second);
}

TEST_F(SimRoundTrip, TimedStreamingDeliversFrames)
{
    sim.setManualStepping(false);
    const int channel = rtde.setTopic(false, {"runtime_state", "R1_actual_q"}, 100.0, 0);
    ASSERT_EQ(channel, 0);
    std::atomic<int> frames{0};
    rtde.subscribe(channel, [&](sdk::InputParser &p) {
        p.popRuntimeState();
        if (p.popVectorDouble().size() == 6) {
            ++frames;
        }
    });
    EXPECT_TRUE(waitUntil([&] { return frames >= 5; }));
    rtde.disconnect();  // the subscriber holds `frames`, which ends with this body
}

TEST_F(SimRoundTrip, ScriptsAndScriptCallbacks)
{
    std::mutex mutex;
    std::vector<std::string> seen;
    script.subscribeScriptError([&](const std::string &text) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back("e:" + text);
    });
    script.subscribeScriptError2([&](const std::string &a, const std::string &b) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back("e2:" + a + "|" + b);
    });
    script.subscribeVariableUpdate([&](const std::string &a, const std::string &b) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back("v:" + a + "|" + b);
    });
    EXPECT_EQ(script.sendString("-- no statement: runs without a report\n"), 0);
    ASSERT_TRUE(sim.waitForScripts(1, 10s));
    EXPECT_EQ(sim.receivedScripts().back(), "-- no statement: runs without a report\n");

    sim.sendScriptError("\"bad line\\n\"");
    sim.sendScriptError2("a", "b");
    sim.sendVariableUpdate("x", "1\\n");
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return seen.size() == 3;
    }));
    EXPECT_EQ(seen, (std::vector<std::string>{"e:\"bad line\\n\"", "e2:a|b", "v:x|1\\n"}));
}

TEST_F(SimRoundTrip, EachDropRaisesEventOneOnItsClientAndReconnectStartsClean)
{
    ASSERT_EQ(rtde.setTopic(false, {"runtime_state"}, 10.0, 0), 0);
    ASSERT_EQ(rtde.subscribe(0, [](sdk::InputParser &) {}), 0);

    sim.dropConnections(ServerKind::Rpc);
    EXPECT_TRUE(waitUntil([&] { return rpc_events == 1; }));
    EXPECT_FALSE(rpc.hasConnected());
    EXPECT_TRUE(rtde.hasConnected());

    sim.dropConnections(ServerKind::Realtime);
    EXPECT_TRUE(waitUntil([&] { return rtde_events == 1; }));
    EXPECT_FALSE(rtde.hasConnected());

    sim.dropConnections(ServerKind::Script);
    EXPECT_TRUE(waitUntil([&] { return script_events == 1; }));
    EXPECT_FALSE(script.hasConnected());

    connectAll();
    EXPECT_EQ(rtde.subscribe(0, [](sdk::InputParser &) {}), sdk::kSubscribeNoTopic);
    EXPECT_EQ(rtde.setTopic(false, {"runtime_state"}, 10.0, 0), 0);

    sim.dropConnections(ServerKind::All);
    EXPECT_TRUE(waitUntil([&] { return rpc_events == 2 && rtde_events == 2 && script_events == 2; }));
    EXPECT_EQ(codeOf([&] { rpc.getRobotNames(); }), error_code::kNotConnected);
}

// The simulator answers the liveness pings on every server, before and after login, so an idle
// connection stays up.
TEST_F(SimRoundTrip, IdleConnectionsStayUpOnPings)
{
    rpc.disconnect();
    rtde.disconnect();
    script.disconnect();
    rpc.setLivenessTimeout(150);
    rtde.setLivenessTimeout(150);
    script.setLivenessTimeout(150);
    ASSERT_EQ(rpc.connect(sim.host(), sim.rpcPort()), 0);
    ASSERT_EQ(rtde.connect(sim.host(), sim.realtimePort()), 0);
    ASSERT_EQ(script.connect(sim.host(), sim.scriptPort()), 0);
    std::this_thread::sleep_for(450ms);  // unauthenticated and idle
    ASSERT_EQ(rpc.login("operator", "secret"), 0);
    ASSERT_EQ(rtde.login("operator", "secret"), 0);
    ASSERT_EQ(script.login("operator", "secret"), 0);
    std::this_thread::sleep_for(450ms);  // logged in and idle
    EXPECT_TRUE(rpc.hasLogined() && rtde.hasLogined() && script.hasLogined());
    EXPECT_GE(sim.callCount("ping"), 6);
    EXPECT_EQ(rpc_events + rtde_events + script_events, 0);
}

}  // namespace
