// Connection, login, selection, disconnection and the script channel against the simulator.

#include <QSignalSpy>

#include <future>
#include <thread>

#include "sim_fixture.h"

namespace proxy_test
{
namespace
{

using temla::common_interface::RobotModeType;
using temla::common_interface::SafetyModeType;
using temla::korvu_sim::ServerKind;

using ConnectFlow = SimFixture;

TEST_F(ConnectFlow, ConnectsTheThreeServersFromTheBasePort)
{
    QSignalSpy connected(proxy.get(), &RobotProxy::connected);
    const int base = sim->basePort();
    EXPECT_EQ(sim->rpcPort(), base + 4);
    EXPECT_EQ(sim->realtimePort(), base + 10);
    EXPECT_EQ(sim->scriptPort(), base + 2);
    ASSERT_EQ(proxy->connect(host(), base), 0);
    EXPECT_TRUE(proxy->hasConnected());
    ASSERT_TRUE(sim->waitForClients(1, std::chrono::seconds(5)));
    ASSERT_EQ(connected.count(), 1);
    EXPECT_EQ(connected[0][0].toString(), host());
    EXPECT_EQ(connected[0][1].toInt(), base);
    const std::string rpc_line =
        "Connected to RPC Server \"" + sim->host() + "\":" + std::to_string(base + 4);
    EXPECT_TRUE(LogCapture::contains(rpc_line)) << rpc_line;
    EXPECT_TRUE(
        LogCapture::contains("Connected to RTDE Server " + sim->host() + ":" + std::to_string(base + 10)));
    EXPECT_TRUE(
        LogCapture::contains("Connected to SCRIPT Server " + sim->host() + ":" + std::to_string(base + 2)));
}

TEST_F(ConnectFlow, AFailedRpcConnectionReturnsAtOnce)
{
    sim->stop();
    QSignalSpy connected(proxy.get(), &RobotProxy::connected);
    EXPECT_LT(proxy->connect(host(), sim->basePort()), 0);
    EXPECT_EQ(connected.count(), 0);
    EXPECT_FALSE(proxy->getRpcClient()->hasConnected());
    EXPECT_FALSE(proxy->getRtdeClient()->hasConnected());
    EXPECT_TRUE(LogCapture::contains("Connected to RPC Server \"" + sim->host() +
                                     "\":" + std::to_string(sim->basePort() + 4) + " FAILED"));
}

TEST_F(ConnectFlow, RetriesOnlyTheClientsNotConnected)
{
    connectAndLogin();
    ASSERT_EQ(proxy->selectRobot(1), 0);

    // Everything connected: no attempt, no reset of the selection, `connected` all the same.
    QSignalSpy connected(proxy.get(), &RobotProxy::connected);
    EXPECT_EQ(proxy->connect(host(), sim->basePort()), 0);
    EXPECT_EQ(connected.count(), 1);
    EXPECT_EQ(proxy->getRobotIndex(), 1);

    sim->dropConnections(ServerKind::Script);
    ASSERT_TRUE(waitUntil([&] { return !proxy->getScriptClient()->hasConnected(); }));
    const int rpc_connections = sim->connectionCount(ServerKind::Rpc);
    EXPECT_EQ(proxy->connect(host(), sim->basePort()), 0);
    EXPECT_EQ(connected.count(), 2);
    EXPECT_TRUE(proxy->getScriptClient()->hasConnected());
    EXPECT_EQ(sim->connectionCount(ServerKind::Rpc), rpc_connections);
    EXPECT_EQ(proxy->getRobotIndex(), -1) << "the attempt for the script client clears the selection";
    EXPECT_TRUE(proxy->getRobotName().isEmpty());
}

TEST_F(ConnectFlow, NonBlockingConnectReportsOnTheWorker)
{
    std::promise<bool> done;
    std::promise<int> done2;
    EXPECT_EQ(proxy->nonblock_connect(host(), sim->basePort(), [&](bool ok) { done.set_value(ok); }), 0);
    auto result = done.get_future();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(result.get());
    EXPECT_EQ(proxy->nonblock_connect2(host(), sim->basePort(), [&](int r) { done2.set_value(r); }), 0);
    auto result2 = done2.get_future();
    ASSERT_EQ(result2.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(result2.get(), 0);
    EXPECT_TRUE(proxy->hasConnected());
}

TEST_F(ConnectFlow, NonBlockingConnectWithoutCallbackStillConnects)
{
    EXPECT_EQ(proxy->nonblock_connect(host(), sim->basePort(), nullptr), 0);
    EXPECT_TRUE(waitUntil([&] { return proxy->hasConnected(); }));
}

using LoginFlow = SimFixture;

TEST_F(LoginFlow, BeforeConnectReturnsMinusOneAndLogsNothing)
{
    EXPECT_EQ(proxy->login("admin", "admin"), -1);
    EXPECT_TRUE(LogCapture::snapshot().empty());
}

TEST_F(LoginFlow, SubscribesAndReportsLogined)
{
    QSignalSpy logined(proxy.get(), &RobotProxy::logined);
    ASSERT_EQ(proxy->connect(host(), sim->basePort()), 0);
    ASSERT_EQ(proxy->login("admin", "admin"), 0);
    ASSERT_EQ(logined.count(), 1);
    EXPECT_TRUE(logined[0][0].toBool());
    EXPECT_EQ(proxy->getRobotNames(), sim->robotNames());
    EXPECT_FALSE(proxy->hasLogined()) << "no robot selected yet";
    bool subscribed = false;
    for (const auto &line : LogCapture::snapshot()) {
        subscribed = subscribed || line.text.rfind("Subscribe R1_message channel: ", 0) == 0;
    }
    EXPECT_TRUE(subscribed);

    // The subscription delivers the controller's messages to the dispatch.
    ASSERT_EQ(proxy->selectRobot(0), 0);
    EXPECT_TRUE(proxy->hasLogined());
    // Delivered on the realtime thread, recorded on this one.
    SignalRecorder recorder(proxy.get(), Qt::QueuedConnection);
    sim->injectMessage(message(3, 0, "robot1", {"halted"}));
    sim->step();
    ASSERT_TRUE(waitUntil([&] { return recorder.named("systemHalt").size() == 1; }));
    EXPECT_EQ(recorder.named("systemHalt")[0].args, (QVariantList{QString("halted")}));
}

TEST_F(LoginFlow, RefusedRpcLoginIsMinusOne)
{
    ASSERT_EQ(proxy->connect(host(), sim->basePort()), 0);
    QSignalSpy logined(proxy.get(), &RobotProxy::logined);
    sim->refuseLogins(true);
    EXPECT_EQ(proxy->login("admin", "admin"), -1);
    EXPECT_TRUE(LogCapture::contains("Login to RPC Server FAILED"));
    EXPECT_EQ(logined.count(), 0);
    EXPECT_TRUE(proxy->hasConnected());
    EXPECT_EQ(proxy->lastError().failure, RobotProxy::Failure::LoginRejected);
    EXPECT_EQ(proxy->lastError().code, -201) << "the controller's own reason";
}

// Logins to the three servers run one after another; the simulator holds each login reply back, and
// the refusal is switched on between two of them, so that only the later servers refuse.
int loginWithRefusalAfter(RobotProxy &proxy, temla::korvu_sim::Simulator &sim, std::chrono::milliseconds when)
{
    proxy.getRpcClient()->setRequestTimeout(5000);
    sim.stallMethod("login", std::chrono::milliseconds(1000));
    std::thread refuse([&sim, when] {
        std::this_thread::sleep_for(when);
        sim.failMethod("login", -2, "login refused");
    });
    const int result = proxy.login("admin", "admin");
    refuse.join();
    sim.clearMethodFaults();
    return result;
}

TEST_F(LoginFlow, RefusedRealtimeLoginIsMinusTwo)
{
    ASSERT_EQ(proxy->connect(host(), sim->basePort()), 0);
    EXPECT_EQ(loginWithRefusalAfter(*proxy, *sim, std::chrono::milliseconds(500)), -2);
    EXPECT_TRUE(LogCapture::contains("Login to RTDE Server FAILED"));
    EXPECT_TRUE(proxy->getRpcClient()->hasLogined());
    EXPECT_EQ(proxy->lastError().failure, RobotProxy::Failure::LoginRejected);
    EXPECT_TRUE(proxy->lastError().text.contains("Realtime"));
}

TEST_F(LoginFlow, RefusedScriptLoginIsMinusThree)
{
    ASSERT_EQ(proxy->connect(host(), sim->basePort()), 0);
    EXPECT_EQ(loginWithRefusalAfter(*proxy, *sim, std::chrono::milliseconds(1500)), -3);
    EXPECT_TRUE(LogCapture::contains("Login to Script Server FAILED"));
    EXPECT_TRUE(proxy->getRtdeClient()->hasLogined());
    EXPECT_EQ(proxy->lastError().failure, RobotProxy::Failure::LoginRejected);
    EXPECT_TRUE(proxy->lastError().text.contains("Script"));
}

class SelectionFlow : public SimFixture
{
protected:
    void SetUp() override
    {
        startSim(3);
        connectAndLogin();
    }
};

TEST_F(SelectionFlow, OutOfRangeIsRefused)
{
    EXPECT_EQ(proxy->selectRobot(3), -1);
    EXPECT_TRUE(LogCapture::contains("RobotProxy select robot of  3  out of range(0,  3 )"));
    EXPECT_EQ(proxy->getRobotIndex(), -1);
}

TEST_F(SelectionFlow, EmitsTheSnapshotInOrderOnce)
{
    sim->updateRobot(2, [](temla::korvu_sim::RobotModel &robot) {
        robot.slow_down_level = 2;
        robot.link_mode_enabled = true;
    });
    sim->setRobotMode(2, RobotModeType::Idle);
    proxy->getRealTimeState()->updateRobotInformationOnLogin();
    SignalRecorder recorder(proxy.get());
    ASSERT_EQ(proxy->selectRobot(2), 0);
    EXPECT_EQ(proxy->getRobotIndex(), 2);
    EXPECT_EQ(proxy->getRobotName(), QString("robot3"));
    const auto state = proxy->getRealTimeState();
    const auto entries = recorder.all();
    const std::vector<QByteArray> expected = {
        "runtimeStateChanged(RuntimeState)",
        "robotModeChanged(int,RobotModeType)",
        "safetyModeChanged(int,SafetyModeType)",
        "operationalModeChanged(int,OperationalModeType)",
        "linkModeChanged(int,bool)",
        "freedriveEnabled(int,bool)",
        "slowDownChanged(int,int)",
        "sigEipConnectionStatusChanged(int)",
    };
    EXPECT_EQ(recorder.signatures(), expected);
    ASSERT_EQ(entries.size(), expected.size());
    EXPECT_EQ(entries[1].args, (QVariantList{2, static_cast<int>(state->getRobotModeType())}));
    EXPECT_EQ(entries[4].args, (QVariantList{2, state->isLinkModeEnabled()}));
    EXPECT_EQ(entries[6].args, (QVariantList{2, state->getSlowDownLevel()}));
    EXPECT_EQ(entries[7].args, (QVariantList{0}));

    recorder.clear();
    EXPECT_EQ(proxy->selectRobot(2), 0);
    EXPECT_EQ(recorder.size(), 0u) << "selecting the same robot again emits nothing";
    EXPECT_TRUE(LogCapture::contains("pn_server connected: false"));
    EXPECT_TRUE(LogCapture::contains("eip_slave connect_status: 0"));
}

TEST_F(SelectionFlow, NegativeIndexClearsTheSelection)
{
    ASSERT_EQ(proxy->selectRobot(1), 0);
    SignalRecorder recorder(proxy.get());
    EXPECT_EQ(proxy->selectRobot(-1), 0);
    const auto entries = recorder.all();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].args, (QVariantList{6}));
    EXPECT_EQ(entries[1].args, (QVariantList{1, 0}));
    EXPECT_EQ(entries[2].args, (QVariantList{1, 0}));
    EXPECT_EQ(proxy->getRobotIndex(), -1);
    EXPECT_TRUE(proxy->getRobotName().isEmpty());
    EXPECT_TRUE(proxy->hasLogined()) << "robot_selected keeps its value";
}

TEST_F(SelectionFlow, ConnectedFieldbusesStartTheFills)
{
    sim->setRegister("__internal.pn_server.connected", 1);
    sim->setRegister("__internal.eip_slave.connect_status", 1);
    QSignalSpy eip(proxy.get(), &RobotProxy::sigEipConnectionStatusChanged);
    ASSERT_EQ(proxy->selectRobot(0), 0);
    ASSERT_EQ(eip.count(), 1);
    EXPECT_EQ(eip[0][0].toInt(), 1);
    ASSERT_TRUE(waitUntil([] {
        return LogCapture::contains("The PN address table data is ready!") &&
               LogCapture::contains("The EIP address table data is ready!");
    }));
    EXPECT_EQ(proxy->getPnAddressData(), sim->pnSlots());
    EXPECT_EQ(proxy->getEipAddressData(), sim->eipTables());
    EXPECT_EQ(proxy->getEipConnected(), 1);
}

TEST_F(SelectionFlow, InterfacesOfTheSelectedRobot)
{
    ASSERT_EQ(proxy->selectRobot(1), 0);
    EXPECT_EQ(proxy->getRobotConfig()->getRobotType(), sim->robot(1).type);
    const auto dh = proxy->getDH(true);
    EXPECT_EQ(dh.at("a").size(), static_cast<std::size_t>(sim->robot(1).dof));
    EXPECT_NE(proxy->getRegisterControl(), nullptr);
    EXPECT_EQ(proxy->getRobotNames(), sim->robotNames());
}

class DisconnectFlow : public SimFixture
{
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        connectAndLogin();
    }
};

TEST_F(DisconnectFlow, ReportInOrderWithASelectedRobot)
{
    ASSERT_EQ(proxy->selectRobot(1), 0);
    proxy->sendScript("print(1)");
    SignalRecorder recorder(proxy.get());
    EXPECT_EQ(proxy->disconnectFromServer(), 0);
    const std::vector<QByteArray> expected = {"robotModeChanged(int,RobotModeType)",
                                              "safetyModeChanged(int,SafetyModeType)", "logined(bool)",
                                              "disconnected()"};
    EXPECT_EQ(recorder.signatures(), expected);
    const auto entries = recorder.all();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].args, (QVariantList{1, -1}));
    EXPECT_EQ(entries[1].args, (QVariantList{1, 0}));
    EXPECT_EQ(entries[2].args, (QVariantList{false}));
    EXPECT_FALSE(proxy->hasConnected());
    EXPECT_EQ(proxy->getRobotIndex(), -1);
    EXPECT_FALSE(proxy->hasLogined());
    EXPECT_EQ(proxy->getScript(), "");
    EXPECT_EQ(proxy->getRobotNames(), sim->robotNames()) << "robot names stay";
    EXPECT_EQ(proxy->getRealTimeState()->getRobotInfo(1).robot_mode, RobotModeType::NoController);
}

TEST_F(DisconnectFlow, ReportWithoutSelection)
{
    SignalRecorder recorder(proxy.get());
    proxy->disconnectFromServer();
    const std::vector<QByteArray> expected = {"logined(bool)", "disconnected()"};
    EXPECT_EQ(recorder.signatures(), expected);
}

TEST_F(DisconnectFlow, LostConnectionRunsTheReportOnceOnly)
{
    ASSERT_EQ(proxy->selectRobot(1), 0);
    QSignalSpy disconnected(proxy.get(), &RobotProxy::disconnected);
    SignalRecorder recorder(proxy.get(), Qt::QueuedConnection);
    sim->dropConnections(ServerKind::All);
    // The RPC and the realtime client both see the loss, each on its own thread; the application
    // hears it once. A frame that lands between the two drops may add a forwarded mode change of the
    // cache's own.
    ASSERT_TRUE(waitUntil([&] { return recorder.named("disconnected").size() == 1; }));
    ASSERT_TRUE(waitUntil(
        [&] { return !proxy->getRpcClient()->hasConnected() && !proxy->getRtdeClient()->hasConnected(); }));
    waitUntil([] { return false; }, std::chrono::milliseconds(300));
    const auto signatures = recorder.signatures();
    const auto count = [&](const char *signature) {
        return std::count(signatures.begin(), signatures.end(), QByteArray(signature));
    };
    EXPECT_EQ(count("disconnected()"), 1);
    EXPECT_EQ(count("logined(bool)"), 1);
    EXPECT_GE(count("robotModeChanged(int,RobotModeType)"), 1);
    EXPECT_GE(count("safetyModeChanged(int,SafetyModeType)"), 1);
    EXPECT_EQ(signatures.back(), QByteArray("disconnected()"));
    EXPECT_EQ(proxy->getRobotIndex(), 1) << "the selection stays after a lost connection";
    EXPECT_EQ(proxy->getRobotName(), QString("robot2"));

    // A reconnection arms the report again.
    recorder.clear();
    ASSERT_EQ(proxy->connect(host(), sim->basePort()), 0);
    sim->dropConnections(ServerKind::Rpc);
    ASSERT_TRUE(waitUntil([&] { return recorder.named("disconnected").size() == 1; }));
}

using ScriptFlow = DisconnectFlow;

TEST_F(ScriptFlow, StoresTheLastScriptPerRobot)
{
    ASSERT_EQ(proxy->selectRobot(1), 0);
    EXPECT_EQ(proxy->sendScript("movej(1)"), 0);
    EXPECT_EQ(proxy->sendScript(""), 1);
    EXPECT_EQ(proxy->getScript(), "movej(1)");
    ASSERT_TRUE(sim->waitForScripts(1, std::chrono::seconds(5)));
    EXPECT_EQ(sim->receivedScripts().back(), "movej(1)");
    ASSERT_EQ(proxy->selectRobot(0), 0);
    EXPECT_EQ(proxy->getScript(), "");
    ASSERT_EQ(proxy->selectRobot(1), 0);
    EXPECT_EQ(proxy->getScript(), "movej(1)");
}

TEST_F(ScriptFlow, ErrorTextsAreUnescapedAndUnquoted)
{
    SignalRecorder recorder(proxy.get(), Qt::QueuedConnection);
    sim->sendScriptError("\"ab\"");
    sim->sendScriptError("\"abc\"");
    sim->sendScriptError("line\\n2\\q");
    sim->sendScriptError2("\"first\\tx\"", "\"s\"");
    sim->sendVariableUpdate("var", "a\\nb");
    ASSERT_TRUE(waitUntil([&] { return recorder.size() == 5; }));
    const auto entries = recorder.all();
    EXPECT_EQ(entries[0].args, (QVariantList{QString("\"ab\"")}));
    EXPECT_EQ(entries[1].args, (QVariantList{QString("abc")}));
    EXPECT_EQ(entries[2].args, (QVariantList{QString("line\n2")}));
    EXPECT_EQ(entries[3].signature, QByteArray("scriptError2(QString,QString)"));
    EXPECT_EQ(entries[3].args, (QVariantList{QString("first\tx"), QString("\"s\"")}));
    EXPECT_EQ(entries[4].signature, QByteArray("variableUpdate(QString,QString)"));
    EXPECT_EQ(entries[4].args, (QVariantList{QString("var"), QString("a\\nb")}));
}

}  // namespace
}  // namespace proxy_test
