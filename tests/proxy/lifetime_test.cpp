// Destroying the proxy while its workers run, and queued delivery to a receiver in another thread.

#include <QThread>

#include <atomic>
#include <iostream>

#include "sim_fixture.h"

namespace proxy_test
{
namespace
{

using temla::common_interface::RobotModeType;

using Lifetime = SimFixture;

TEST_F(Lifetime, DestroyWhileFillsAndAConnectRun)
{
    connectAndLogin();
    ASSERT_EQ(proxy->selectRobot(0), 0);
    proxy->getRpcClient()->setRequestTimeout(5000);
    // The PROFINET fill waits (100 ms polls) for slots that never get ready.
    sim->setRegister("__internal.pn_server.slots_ready", 0);
    auto parser = batchOf({message(31, 3, "robot1", {"true"})});
    proxy->robotMessageCallback(parser);
    ASSERT_TRUE(sim->waitForCallCount("RegisterControl.getInt32", 2, std::chrono::seconds(5)));
    // The EtherNet/IP fill reads slowly.
    sim->stallMethod("RegisterControl.getInt32", std::chrono::milliseconds(20));
    const int reads_before = sim->callCount("RegisterControl.getInt32");
    auto eip = batchOf({message(51, 3, "robot1", {"1"})});
    proxy->robotMessageCallback(eip);
    ASSERT_TRUE(sim->waitForCallCount("RegisterControl.getInt32", reads_before + 3, std::chrono::seconds(5)));
    // A connect worker retries the script client.
    sim->dropConnections(temla::korvu_sim::ServerKind::Script);
    ASSERT_TRUE(waitUntil([&] { return !proxy->getScriptClient()->hasConnected(); }));
    auto connect_done = std::make_shared<std::atomic<bool>>(false);
    proxy->nonblock_connect(host(), sim->basePort(), [connect_done](bool) { *connect_done = true; });

    const auto start = std::chrono::steady_clock::now();
    proxy.reset();
    const auto took = std::chrono::steady_clock::now() - start;
    std::cout << "[ proxy destroyed in "
              << std::chrono::duration_cast<std::chrono::microseconds>(took).count() << " us ]" << std::endl;
    EXPECT_LT(took, std::chrono::seconds(2)) << "hang guard";

    EXPECT_TRUE(waitUntil([&] { return connect_done->load(); }));
    EXPECT_TRUE(waitUntil([] {
        return LogCapture::contains("The PN address table fill was cancelled.") &&
               LogCapture::contains("The EIP address table fill was cancelled.");
    }));
    EXPECT_FALSE(LogCapture::contains("pn_server ready timeout!"));
    sim->clearMethodFaults();
}

TEST_F(Lifetime, QueuedDeliveryToAnotherThread)
{
    connectAndLogin();
    ASSERT_EQ(proxy->selectRobot(0), 0);
    QThread thread;
    auto *recorder = new SignalRecorder(proxy.get(), Qt::AutoConnection);
    recorder->moveToThread(&thread);
    thread.start();

    const auto msg = message(20001, 1, "robot1", {"X"});
    auto parser = batchOf({msg, message(30045, 3, "robot1", {"RobotModeType.Idle"}),
                           message(30039, 3, "robot1", {"SafetyModeType.Recovery"}),
                           message(30027, 3, "robot1", {"OperationalModeType.Automatic"})});
    std::thread sdk_like([&] { proxy->robotMessageCallback(parser); });
    sdk_like.join();
    proxy->selectRobot(-1);

    ASSERT_TRUE(waitUntil([&] { return recorder->named("runtimeStateChanged").size() == 1; }));
    for (const auto &entry : recorder->all()) {
        EXPECT_EQ(entry.thread, &thread) << entry.signature.toStdString();
    }
    std::vector<SignalRecorder::Entry> records;
    for (const auto &entry : recorder->all()) {
        if (entry.signature == "robotMessageRecieved(int,QString,int,RobotMsg)") {
            records.push_back(entry);
        }
    }
    ASSERT_EQ(records.size(), 4u);
    ASSERT_EQ(records[0].args[3].userType(), qMetaTypeId<RobotMsg>());
    EXPECT_EQ(qvariant_cast<RobotMsg>(records[0].args[3]), msg);
    ASSERT_FALSE(recorder->named("robotModeChanged").empty());
    EXPECT_EQ(recorder->named("robotModeChanged")[0].args,
              (QVariantList{0, static_cast<int>(RobotModeType::Idle)}));
    EXPECT_EQ(recorder->named("safetyModeChanged")[0].args, (QVariantList{0, 3}));
    EXPECT_EQ(recorder->named("operationalModeChanged")[0].args, (QVariantList{0, 1}));
    EXPECT_EQ(recorder->named("runtimeStateChanged")[0].args, (QVariantList{6}));
    EXPECT_EQ(recorder->named("popup").size(), 1u);

    thread.quit();
    thread.wait();
    delete recorder;
}

}  // namespace
}  // namespace proxy_test
