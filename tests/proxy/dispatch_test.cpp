// The robot-message dispatch, row by row: each case is a batch, the signals it must emit (in order,
// with their arguments) and whether the batch ends with the unknown-code exception.

#include <QVariant>

#include "korvu_sdk/korvu_exception.h"
#include "sim_fixture.h"

namespace proxy_test
{
namespace
{

using temla::common_interface::KorvuException;

struct Expected {
    const char *signal;
    QVariantList args;
};

struct DispatchCase {
    const char *name;
    std::vector<RobotMsg> batch;
    std::vector<Expected> expected;
    bool throws = false;
};

QString catalogueText(RobotProxy &proxy, int code, const std::vector<std::string> &args)
{
    QString text = proxy.getErrorCodeMsg(code);
    for (const auto &arg : args) {
        text = text.arg(QString::fromStdString(arg));
    }
    return QStringLiteral("[%1] %2").arg(code).arg(text);
}

QVariant record(const RobotMsg &msg)
{
    return QVariant::fromValue(msg);
}

bool sameArg(const QVariant &actual, const QVariant &expected)
{
    if (expected.userType() == qMetaTypeId<RobotMsg>()) {
        return actual.userType() == qMetaTypeId<RobotMsg>() &&
               qvariant_cast<RobotMsg>(actual) == qvariant_cast<RobotMsg>(expected);
    }
    return actual == expected;
}

std::string describe(const std::vector<SignalRecorder::Entry> &entries)
{
    std::string out;
    for (const auto &e : entries) {
        out += e.signature.toStdString() + " [";
        for (const auto &a : e.args) {
            out += a.toString().toStdString() + ";";
        }
        out += "]\n";
    }
    return out;
}

class DispatchTest : public SimFixture
{
protected:
    void SetUp() override
    {
        SimFixture::SetUp();
        connectAndLogin();
        ASSERT_EQ(proxy->selectRobot(0), 0);
        recorder = std::make_unique<SignalRecorder>(proxy.get());
    }

    void TearDown() override
    {
        recorder.reset();
        SimFixture::TearDown();
    }

    void run(const DispatchCase &c)
    {
        recorder->clear();
        auto parser = batchOf(c.batch);
        bool thrown = false;
        try {
            proxy->robotMessageCallback(parser);
        } catch (const KorvuException &e) {
            thrown = true;
            EXPECT_EQ(e.code(), -8) << c.name;
            EXPECT_STREQ(e.what(), "Max error code") << c.name;
        }
        EXPECT_EQ(thrown, c.throws) << c.name;
        const auto got = recorder->all();
        ASSERT_EQ(got.size(), c.expected.size()) << c.name << "\n" << describe(got);
        for (std::size_t i = 0; i < got.size(); ++i) {
            const auto &e = c.expected[i];
            EXPECT_TRUE(got[i].signature.startsWith(QByteArray(e.signal) + '('))
                << c.name << " #" << i << "\n"
                << describe(got);
            ASSERT_EQ(got[i].args.size(), e.args.size()) << c.name << " #" << i << "\n" << describe(got);
            for (int a = 0; a < e.args.size(); ++a) {
                EXPECT_TRUE(sameArg(got[i].args[a], e.args[a]))
                    << c.name << " #" << i << " arg " << a << ": " << got[i].args[a].toString().toStdString()
                    << " != " << e.args[a].toString().toStdString();
            }
        }
    }

    std::unique_ptr<SignalRecorder> recorder;
};

TEST_F(DispatchTest, TableOfMessages)
{
    auto &p = *proxy;
    const QString r1 = "robot1";
    const QString r2 = "robot2";
    const auto info = message(20001, 3, "robot1", {"X"});
    const auto info_popup = message(20001, 1, "robot1", {"X"});
    const auto second_robot = message(20001, 3, "robot2", {"X"});
    const auto stranger = message(20001, 3, "nobody", {"X"});
    const auto unknown = message(99999, 0, "robot1", {"A", "B"});
    const QString unknown_text = "[99999] Unknown error(99999). args: {param-A Aparam-B , B}";
    const auto listed_after = message(20001, 3, "robot1", {"Y"});
    const auto script = message(20001, 3, "robot1:42", {"X"});
    const auto script_unknown = message(99999, 3, "robot1:7", {"A", "B"});
    const auto own_popup = message(1, 1, "robot1", {"Title", "Body", "2"});
    const auto own_popup_bare = message(1, 0, "robot1");
    const auto axis = message(11010, 0, "robot1", {"3"});
    const auto collision = message(30014, 3, "robot1");
    const auto sensor = message(30419, 3, "robot1");
    const auto link_caps = message(30201, 3, "robot1", {"TRUE"});
    const auto link_on = message(30201, 3, "robot1", {"true"});
    const auto freedrive_caps = message(30083, 3, "robot1", {"TRUE"});
    const auto slow_bad = message(30307, 3, "robot1", {"fast"});
    const auto slow = message(30307, 3, "robot1", {"3"});
    const auto op_mode = message(30027, 3, "robot1", {"OperationalModeType.Manual"});
    const auto safety = message(30039, 3, "robot2", {"SafetyModeType.ProtectiveStop"});
    const auto robot_type = message(30200, 3, "robot1", {"K9", "long"});
    const auto tool_status = message(30432, 3, "robot1");
    const auto loaded = message(15, 3, "robot1", {"main.prog"});

    const std::vector<DispatchCase> cases = {
        {"empty batch", {}, {}},
        {"info message: notifications only",
         {info},
         {{"robotMessageRecieved", {0, r1, 4, 20001, catalogueText(p, 20001, {"X"})}},
          {"robotMessageRecieved", {0, r1, 4, record(info)}}}},
        {"level 1 adds a popup first",
         {info_popup},
         {{"popup", {0, 2, r1, catalogueText(p, 20001, {"X"}), 0}},
          {"robotMessageRecieved", {0, r1, 2, 20001, catalogueText(p, 20001, {"X"})}},
          {"robotMessageRecieved", {0, r1, 2, record(info_popup)}}}},
        {"source of the second robot gives index 1",
         {second_robot},
         {{"robotMessageRecieved", {1, r2, 4, 20001, catalogueText(p, 20001, {"X"})}},
          {"robotMessageRecieved", {1, r2, 4, record(second_robot)}}}},
        {"unmatched source keeps the selected index",
         {stranger},
         {{"robotMessageRecieved", {0, QString("nobody"), 4, 20001, catalogueText(p, 20001, {"X"})}},
          {"robotMessageRecieved", {0, QString("nobody"), 4, record(stranger)}}}},
        {"unknown code then a listed one: each keeps its own text, the batch throws",
         {unknown, listed_after},
         {{"popup", {0, 3, r1, unknown_text, 0}},
          {"robotMessageRecieved", {0, r1, 3, 99999, unknown_text}},
          {"robotMessageRecieved", {0, r1, 3, record(unknown)}},
          {"robotMessageRecieved", {0, r1, 4, 20001, catalogueText(p, 20001, {"Y"})}},
          {"robotMessageRecieved", {0, r1, 4, record(listed_after)}}},
         true},
        {"script error: only scriptError, unframed; the batch goes on",
         {script, info},
         {{"scriptError", {42, p.getErrorCodeMsg(20001).arg("X")}},
          {"robotMessageRecieved", {0, r1, 4, 20001, catalogueText(p, 20001, {"X"})}},
          {"robotMessageRecieved", {0, r1, 4, record(info)}}}},
        {"script error of an unknown code",
         {script_unknown},
         {{"scriptError", {7, QString("Unknown error(99999). args: {A, B}")}}},
         true},
        {"code 1: popup from the arguments",
         {own_popup},
         {{"popup", {0, 2, QString("Title"), QString("Body"), 2}},
          {"robotMessageRecieved", {0, r1, 2, 1, QString("Body")}},
          {"robotMessageRecieved", {0, r1, 2, record(own_popup)}}}},
        {"code 1 without arguments uses empty texts",
         {own_popup_bare},
         {{"popup", {0, 3, QString(), QString(), 0}},
          {"robotMessageRecieved", {0, r1, 3, 1, QString()}},
          {"robotMessageRecieved", {0, r1, 3, record(own_popup_bare)}}}},
        {"codes 2 and 3 without arguments",
         {message(2, 3, "robot1"), message(3, 3, "robot1")},
         {{"popupDismiss", {QString()}}, {"systemHalt", {QString()}}}},
        {"code 2 and 3 with arguments",
         {message(2, 3, "robot1", {"src"}), message(3, 3, "robot1", {"halt"})},
         {{"popupDismiss", {QString("src")}}, {"systemHalt", {QString("halt")}}}},
        {"code 6", {message(6, 3, "robot1", {"17"})}, {{"popupDismissById", {17}}}},
        {"code 6 invalid and missing id emit nothing",
         {message(6, 3, "robot1", {"x"}), message(6, 3, "robot1")},
         {}},
        {"code 12 emits nothing", {message(12, 0, "robot1", {"a"})}, {}},
        {"codes 13 and 14",
         {message(13, 3, "robot1", {"1", "2", "3", "c"}), message(14, 3, "robot1", {"4", "5", "6", "d"}),
          message(13, 3, "robot1", {"1", "2", "3"})},
         {{"runtimeContextUpdated", {1, 2, 3, QString("c")}},
          {"interpContextUpdated", {4, 5, 6, QString("d")}}}},
        {"code 16 with and without a task id",
         {message(16, 3, "robot1", {"5"}), message(16, 3, "robot1")},
         {{"taskDeleted", {5}}, {"taskDeleted", {0}}}},
        {"codes 10 and 11 without arguments",
         {message(10, 3, "robot1"), message(11, 3, "robot1")},
         {{"modbusSignalCreated", {QString()}}, {"modbusSignalRemoved", {QString()}}}},
        {"codes 32, 33 (and 33 short)",
         {message(32, 3, "robot1", {"dev"}), message(33, 3, "robot1", {"1.2.3.4", "255.0.0.0", "1.1.1.1"}),
          message(33, 3, "robot1", {"1.2.3.4"})},
         {{"pnioDeviceChanged", {QString("dev")}},
          {"pnioNetworkChanged", {QString("1.2.3.4"), QString("255.0.0.0"), QString("1.1.1.1")}}}},
        {"code 40", {message(40, 3, "robot1", {"Connected"})}, {{"icmStatusChanged", {true}}}},
        {"code 60080", {message(60080, 3, "robot1", {"true"})}, {{"teachPendantEnabledChanged", {true}}}},
        {"code 51 with a malformed status is dropped, the batch goes on",
         {message(51, 3, "robot1", {"up"}), message(51, 3, "robot1", {"0"})},
         {{"sigEipConnectionStatusChanged", {0}}}},
        {"code 30 with a malformed argument is dropped, the batch goes on",
         {message(30, 3, "robot1", {"x", "0", "0", "1"}), message(40, 3, "robot1", {"Down"})},
         {{"icmStatusChanged", {false}}}},
        {"axis error: popupAxisError whatever the level, no popup",
         {axis},
         {{"popupAxisError", {0, 3, r1, catalogueText(p, 11010, {"3"}), 0, QString("3")}},
          {"robotMessageRecieved", {0, r1, 3, 11010, catalogueText(p, 11010, {"3"})}},
          {"robotMessageRecieved", {0, r1, 3, record(axis)}}}},
        {"collision without argument",
         {collision},
         {{"robotCollisionOccurred", {0, QString("0")}},
          {"robotMessageRecieved", {0, r1, 4, 30014, catalogueText(p, 30014, {})}},
          {"robotMessageRecieved", {0, r1, 4, record(collision)}}}},
        {"tool sensor without argument",
         {sensor},
         {{"robotToolSensorChanged", {0, QString()}},
          {"robotMessageRecieved", {0, r1, 4, 30419, catalogueText(p, 30419, {})}},
          {"robotMessageRecieved", {0, r1, 4, record(sensor)}}}},
        {"tool sensor status without argument: notifications only",
         {tool_status},
         {{"robotMessageRecieved", {0, r1, 4, 30432, catalogueText(p, 30432, {})}},
          {"robotMessageRecieved", {0, r1, 4, record(tool_status)}}}},
        {"program loaded",
         {loaded},
         {{"programLoaded", {0, QString("main.prog")}},
          {"robotMessageRecieved", {0, r1, 4, 15, catalogueText(p, 15, {"main.prog"})}},
          {"robotMessageRecieved", {0, r1, 4, record(loaded)}}}},
        {"link mode in capitals changes nothing",
         {link_caps},
         {{"robotMessageRecieved", {0, r1, 4, 30201, catalogueText(p, 30201, {"TRUE"})}},
          {"robotMessageRecieved", {0, r1, 4, record(link_caps)}}}},
        {"link mode on",
         {link_on},
         {{"robotMessageRecieved", {0, r1, 4, 30201, catalogueText(p, 30201, {"true"})}},
          {"robotMessageRecieved", {0, r1, 4, record(link_on)}},
          {"linkModeChanged", {0, true}}}},
        {"freedrive in capitals is false",
         {freedrive_caps},
         {{"robotMessageRecieved", {0, r1, 4, 30083, catalogueText(p, 30083, {"TRUE"})}},
          {"robotMessageRecieved", {0, r1, 4, record(freedrive_caps)}},
          {"freedriveEnabled", {0, false}}}},
        {"malformed slow-down level: notifications out, no change, the batch goes on",
         {slow_bad, slow},
         {{"robotMessageRecieved", {0, r1, 4, 30307, catalogueText(p, 30307, {"fast"})}},
          {"robotMessageRecieved", {0, r1, 4, record(slow_bad)}},
          {"robotMessageRecieved", {0, r1, 4, 30307, catalogueText(p, 30307, {"3"})}},
          {"robotMessageRecieved", {0, r1, 4, record(slow)}},
          {"slowDownChanged", {0, 3}}}},
        {"operational mode",
         {op_mode},
         {{"robotMessageRecieved",
           {0, r1, 4, 30027, catalogueText(p, 30027, {"OperationalModeType.Manual"})}},
          {"robotMessageRecieved", {0, r1, 4, record(op_mode)}},
          {"operationalModeChanged", {0, 2}}}},
        {"safety mode of the second robot",
         {safety},
         {{"robotMessageRecieved",
           {1, r2, 4, 30039, catalogueText(p, 30039, {"SafetyModeType.ProtectiveStop"})}},
          {"robotMessageRecieved", {1, r2, 4, record(safety)}},
          {"safetyModeChanged", {1, 5}}}},
        {"robot type",
         {robot_type},
         {{"robotMessageRecieved", {0, r1, 4, 30200, catalogueText(p, 30200, {"K9", "long"})}},
          {"robotMessageRecieved", {0, r1, 4, record(robot_type)}},
          {"robotTypeChanged", {QString("K9"), QString("long")}}}},
    };
    for (const auto &c : cases) {
        run(c);
    }

    auto state = proxy->getRealTimeState();
    EXPECT_TRUE(proxy->icmIsConnected() == false);
    EXPECT_EQ(proxy->getEipConnected(), 0);
    const auto first = state->getRobotInfo(0);
    EXPECT_TRUE(first.link_mode_enabled);
    EXPECT_FALSE(first.freedrive_enabled);
    EXPECT_EQ(first.slow_down_level, 3);
    EXPECT_EQ(first.operational_mode, 2);
    EXPECT_EQ(first.robot_type, "K9");
    EXPECT_EQ(first.robot_sub_type, "long");
    EXPECT_EQ(state->getRobotInfo(1).safety_mode, temla::common_interface::SafetyModeType::ProtectiveStop);
    EXPECT_TRUE(LogCapture::contains("Popup dismiss by id message has no id."));
    EXPECT_TRUE(LogCapture::contains("Invalid popup dismiss id: \"x\""));
}

TEST_F(DispatchTest, ModbusNamesReachTheCache)
{
    auto parser = batchOf({message(10, 3, "robot1", {"coil_9"})});
    proxy->robotMessageCallback(parser);
    auto names = proxy->getRealTimeState()->getModbusSignalNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "coil_9"), names.end());
    auto removal = batchOf({message(11, 3, "robot1", {"coil_9"})});
    proxy->robotMessageCallback(removal);
    names = proxy->getRealTimeState()->getModbusSignalNames();
    EXPECT_EQ(std::find(names.begin(), names.end(), "coil_9"), names.end());
}

TEST_F(DispatchTest, RobotModeDecodingRunsTheRefreshes)
{
    using temla::common_interface::RobotModeType;
    auto state = proxy->getRealTimeState();
    auto send = [&](const char *text) {
        auto parser = batchOf({message(30045, 3, "robot1", {text})});
        proxy->robotMessageCallback(parser);
    };

    sim->resetCallCounts();
    send("RobotModeType.Running");
    EXPECT_GE(sim->callCount("RobotConfig.getGravity"), 1);
    EXPECT_EQ(state->getRobotInfo(0).robot_mode, RobotModeType::Running);

    send("RobotModeType.PowerOn");
    sim->resetCallCounts();
    send("RobotModeType.Idle");
    EXPECT_EQ(sim->callCount("getRobotNames"), 0) << "after PowerOn, Idle refreshes the robot only";
    EXPECT_EQ(state->getRobotInfo(0).robot_mode, RobotModeType::Idle);

    send("RobotModeType.Disconnected");
    sim->resetCallCounts();
    send("RobotModeType.Idle");
    EXPECT_GE(sim->callCount("getRobotNames"), 1) << "after Disconnected, Idle runs the login refresh";

    recorder->clear();
    send("no such mode");
    const auto modes = recorder->named("robotModeChanged");
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0].args, (QVariantList{0, -1}));
}

TEST_F(DispatchTest, ModesReadAsUnknownWhileTheRpcClientIsDisconnected)
{
    proxy->getRpcClient()->disconnect();
    recorder->clear();
    auto parser = batchOf({message(30039, 3, "robot1", {"SafetyModeType.Normal"}),
                           message(30045, 3, "robot1", {"RobotModeType.Idle"})});
    proxy->robotMessageCallback(parser);
    ASSERT_EQ(recorder->named("safetyModeChanged").size(), 1u);
    EXPECT_EQ(recorder->named("safetyModeChanged")[0].args, (QVariantList{0, 0}));
    EXPECT_EQ(recorder->named("robotModeChanged")[0].args, (QVariantList{0, -1}));
    EXPECT_EQ(proxy->getRealTimeState()->getRobotInfo(0).safety_mode,
              temla::common_interface::SafetyModeType::Undefined);
}

TEST_F(DispatchTest, IndexOutsideTheFourRecordsIsSignalledButNotStored)
{
    proxy->selectRobot(-1);
    recorder->clear();
    auto state = proxy->getRealTimeState();
    auto parser = batchOf({message(30083, 3, "nobody", {"true"}), message(30307, 3, "nobody", {"4"}),
                           message(30045, 3, "nobody", {"RobotModeType.Running"})});
    proxy->robotMessageCallback(parser);
    ASSERT_EQ(recorder->named("freedriveEnabled").size(), 1u);
    EXPECT_EQ(recorder->named("freedriveEnabled")[0].args, (QVariantList{-1, true}));
    EXPECT_EQ(recorder->named("slowDownChanged")[0].args, (QVariantList{-1, 4}));
    EXPECT_EQ(recorder->named("robotModeChanged")[0].args, (QVariantList{-1, 8}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(state->getRobotInfo(i).freedrive_enabled) << i;
        EXPECT_EQ(state->getRobotInfo(i).slow_down_level, 0) << i;
    }
}

TEST_F(DispatchTest, FieldbusMessagesStartFillsAndPatchEntries)
{
    auto parser =
        batchOf({message(30, 3, "robot1", {"2", "x", "5", "300"}), message(50, 3, "robot1", {"1", "0", "7"}),
                 message(40, 3, "robot1", {"Connected"})});
    proxy->robotMessageCallback(parser);
    const auto pn = proxy->getPnAddressData();
    ASSERT_EQ(pn.size(), 2u);
    EXPECT_TRUE(pn[0].empty());
    EXPECT_EQ(pn[1], (std::vector<uint8_t>{0, 0, 0, 0, 0, 44}));
    const auto eip = proxy->getEipAddressData();
    ASSERT_EQ(eip.size(), 2u);
    EXPECT_TRUE(eip[0].empty());
    EXPECT_EQ(eip[1], (std::vector<uint8_t>{7}));
    EXPECT_TRUE(proxy->icmIsConnected());

    auto start = batchOf({message(51, 3, "robot1", {"1"}), message(31, 3, "robot1", {"true"})});
    proxy->robotMessageCallback(start);
    EXPECT_EQ(proxy->getEipConnected(), 1);
    ASSERT_TRUE(waitUntil([] {
        return LogCapture::contains("The EIP address table data is ready!") &&
               LogCapture::contains("The PN address table data is ready!");
    }));
    EXPECT_EQ(proxy->getEipAddressData(), sim->eipTables());
    EXPECT_EQ(proxy->getPnAddressData(), sim->pnSlots());
    EXPECT_TRUE(LogCapture::contains("pn_server connected changed: true"));
    EXPECT_TRUE(LogCapture::contains("eip_slave_server connected changed: 1"));
}

}  // namespace
}  // namespace proxy_test
