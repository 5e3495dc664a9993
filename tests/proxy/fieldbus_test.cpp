// The fieldbus table fills: readiness wait, exits, failures and the single-entry updates.

#include <thread>

#include "robot_proxy_p.h"
#include "sim_fixture.h"

namespace proxy_test
{
namespace
{

constexpr char kPnReady[] = "The PN address table data is ready!";
constexpr char kEipReady[] = "The EIP address table data is ready!";

TEST(AddressTables, SingleEntryUpdates)
{
    RobotProxy proxy;
    proxy.pnValueChanged({"2", "x", "5", "300"});
    auto pn = proxy.getPnAddressData();
    ASSERT_EQ(pn.size(), 2u);
    EXPECT_TRUE(pn[0].empty());
    EXPECT_EQ(pn[1], (std::vector<uint8_t>{0, 0, 0, 0, 0, 44}));
    proxy.pnValueChanged({"1", "x", "0", "-1"});
    EXPECT_EQ(proxy.getPnAddressData()[0], (std::vector<uint8_t>{255}));

    // Ignored: too few arguments, slot below 1, negative index.
    proxy.pnValueChanged({"1", "x", "0"});
    proxy.pnValueChanged({"0", "x", "0", "1"});
    proxy.pnValueChanged({"3", "x", "-1", "1"});
    EXPECT_EQ(proxy.getPnAddressData().size(), 2u);
    EXPECT_THROW(proxy.pnValueChanged({"a", "x", "0", "1"}), std::invalid_argument);

    proxy.eipValueChanged({"1", "0", "7"});
    auto eip = proxy.getEipAddressData();
    ASSERT_EQ(eip.size(), 2u);
    EXPECT_TRUE(eip[0].empty());
    EXPECT_EQ(eip[1], (std::vector<uint8_t>{7}));
    proxy.eipValueChanged({"-1", "0", "7"});
    proxy.eipValueChanged({"0", "-1", "7"});
    proxy.eipValueChanged({"0", "1"});
    EXPECT_TRUE(proxy.getEipAddressData()[0].empty());
    EXPECT_THROW(proxy.eipValueChanged({"0", "99999999999", "1"}), std::out_of_range);
}

class FillTest : public SimFixture
{
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        connectAndLogin();
        temla::korvu_sdk::detail::ProxyAccess::setPnReadyPollInterval(*proxy, std::chrono::milliseconds(1));
    }

    void send(std::vector<RobotMsg> batch)
    {
        auto parser = batchOf(std::move(batch));
        proxy->robotMessageCallback(parser);
    }
};

TEST_F(FillTest, PnReadinessTimesOutAfter101PollsAndKeepsTheTable)
{
    proxy->pnValueChanged({"1", "x", "0", "9"});
    sim->setRegister("__internal.pn_server.connected", 1);
    sim->setRegister("__internal.pn_server.slots_ready", 0);
    sim->resetCallCounts();
    ASSERT_EQ(proxy->selectRobot(0), 0);
    ASSERT_TRUE(waitUntil([] { return LogCapture::contains("pn_server ready timeout!"); }));
    // 101 readiness reads and the selection's EtherNet/IP status read.
    EXPECT_EQ(sim->callCount("RegisterControl.getInt32"), 102);
    EXPECT_EQ(proxy->getPnAddressData(), (RobotProxy::AddressTable{{9}}));
    EXPECT_FALSE(LogCapture::contains(kPnReady));
}

TEST_F(FillTest, PnFillExits)
{
    proxy->initPNCacheData();
    EXPECT_TRUE(LogCapture::contains("Exit the ready pn address table: pn_server disconnected!"));

    // Logged in but no robot selected: hasLogined() is false.
    send({message(31, 3, "robot1", {"true"})});
    ASSERT_TRUE(
        waitUntil([] { return LogCapture::contains("Exit the ready pn address table: login out!"); }));
    EXPECT_TRUE(LogCapture::contains("pn_server connected changed: true"));

    // The fieldbus goes down while the fill waits for the slots.
    LogCapture::clear();
    temla::korvu_sdk::detail::ProxyAccess::setPnReadyPollInterval(*proxy, std::chrono::milliseconds(20));
    sim->setRegister("__internal.pn_server.slots_ready", 0);
    sim->setRegister("__internal.pn_server.connected", 1);
    ASSERT_EQ(proxy->selectRobot(0), 0);
    ASSERT_TRUE(waitUntil([] { return LogCapture::contains("pn_server connected: true"); }));
    sim->resetCallCounts();
    std::thread fill([&] { proxy->initPNCacheData(); });
    EXPECT_TRUE(sim->waitForCallCount("RegisterControl.getInt32", 3, std::chrono::seconds(5)));
    send({message(31, 3, "robot1", {"false"})});
    fill.join();
    EXPECT_TRUE(LogCapture::contains("Exit the ready pn address table: pn_server disconnected!"));
    EXPECT_FALSE(LogCapture::contains("pn_server ready timeout!"));
}

TEST_F(FillTest, EipFillExitsAndRunsForAnyNonZeroStatus)
{
    proxy->initEIPCacheData();
    EXPECT_TRUE(LogCapture::contains("Exit the ready eip address table: pn_server disconnected!"));
    send({message(51, 3, "robot1", {"2"})});
    proxy->initEIPCacheData();
    EXPECT_TRUE(LogCapture::contains("Exit the ready eip address table: login out!"));
    ASSERT_EQ(proxy->selectRobot(0), 0);
    send({message(51, 3, "robot1", {"2"})});
    proxy->initEIPCacheData();
    EXPECT_TRUE(LogCapture::contains(kEipReady));
    const auto table = proxy->getEipAddressData();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].size(), 310u);
    EXPECT_EQ(table[1].size(), 216u);
    EXPECT_EQ(table, sim->eipTables());
}

TEST_F(FillTest, FailedFillKeepsThePreviousTable)
{
    ASSERT_EQ(proxy->selectRobot(0), 0);
    send({message(51, 3, "robot1", {"1"})});
    ASSERT_TRUE(waitUntil([] { return LogCapture::contains(kEipReady); }));
    const auto before = proxy->getEipAddressData();
    LogCapture::clear();
    sim->failMethod("RegisterControl.getInt32", 1234, "register bank offline");
    proxy->initEIPCacheData();
    EXPECT_EQ(proxy->getEipAddressData(), before);
    EXPECT_FALSE(LogCapture::contains(kEipReady));
    bool warned = false;
    for (const auto &line : LogCapture::snapshot()) {
        warned = warned || (line.type == QtWarningMsg && line.text.rfind("initEIPCacheData ", 0) == 0);
    }
    EXPECT_TRUE(warned);
}

TEST_F(FillTest, ReadersGetThePreviousTableWhileAFillReads)
{
    ASSERT_EQ(proxy->selectRobot(0), 0);
    proxy->eipValueChanged({"0", "0", "77"});
    proxy->getRpcClient()->setRequestTimeout(5000);
    sim->stallMethod("RegisterControl.getInt32", std::chrono::milliseconds(30));
    send({message(51, 3, "robot1", {"1"})});
    ASSERT_TRUE(sim->waitForCallCount("RegisterControl.getInt32", 3, std::chrono::seconds(5)));
    EXPECT_EQ(proxy->getEipAddressData(), (RobotProxy::AddressTable{{77}}));
    sim->clearMethodFaults();
    ASSERT_TRUE(waitUntil([] { return LogCapture::contains(kEipReady); }, std::chrono::seconds(60)));
    EXPECT_EQ(proxy->getEipAddressData(), sim->eipTables());
}

}  // namespace
}  // namespace proxy_test
