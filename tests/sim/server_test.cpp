// The simulator's servers against a raw client speaking the framed protocol directly.
#include <gtest/gtest.h>

#include <asio.hpp>
#include <chrono>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"
#include "korvu_wire/framed_connection.h"
#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"

namespace temla::korvu_sim
{
namespace
{

using korvu_wire::Encoding;
using korvu_wire::Json;
using namespace std::chrono_literals;

constexpr auto kWait = 5s;

// A blocking client with a receive timeout, so that a silent server fails the test instead of hanging it.
class RawClient
{
public:
    RawClient(int port, Encoding message_encoding) : socket(io), encoding(message_encoding)
    {
        socket.connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
        timeval tv{5, 0};
        setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }

    void sendRaw(const std::string &bytes) { asio::write(socket, asio::buffer(bytes)); }
    void sendFrame(const std::string &payload)
    {
        sendRaw(korvu_wire::encodeFrameHeader(payload.size()) + payload);
    }
    void send(const Json &message) { sendFrame(korvu_wire::serialize(message, encoding)); }

    // The next message, or nullopt when the server closed the connection.
    std::optional<Json> receive()
    {
        unsigned char header[4];
        std::error_code ec;
        asio::read(socket, asio::buffer(header), ec);
        if (ec)
            return std::nullopt;
        size_t size =
            (size_t{header[0]} << 24) | (size_t{header[1]} << 16) | (size_t{header[2]} << 8) | header[3];
        std::string payload(size, '\0');
        asio::read(socket, asio::buffer(payload), ec);
        Json message;
        if (ec || !korvu_wire::deserialize(payload, encoding, message))
            return std::nullopt;
        return message;
    }

    // Sends a request and returns its answer, skipping notifications on the way.
    Json call(const std::string &method, Json params)
    {
        send(korvu_wire::makeRequest(++last_id, method, std::move(params)));
        while (auto message = receive())
            if (message->contains("id"))
                return *message;
        ADD_FAILURE() << "connection closed while waiting for " << method;
        return Json();
    }

    bool login(const std::string &user = "admin", const std::string &password = "admin")
    {
        return call(korvu_wire::kLogin, Json::array({user, password})).contains("result");
    }

    bool closedByServer() { return !receive().has_value(); }

private:
    asio::io_context io;
    asio::ip::tcp::socket socket;
    Encoding encoding;
    int64_t last_id = 0;
};

class SimulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SimulatorOptions options;
        options.robot_count = 2;
        options.manual_stepping = true;
        options.robots = {makeDefaultRobot(0), makeDefaultRobot(1)};
        options.robots[0].has_enc_tick_count = true;
        sim = std::make_unique<Simulator>(options);
        sim->start();
    }

    RawClient rpc() { return RawClient(sim->rpcPort(), Encoding::Json); }
    RawClient realtime() { return RawClient(sim->realtimePort(), Encoding::MsgPack); }
    RawClient script() { return RawClient(sim->scriptPort(), Encoding::Json); }

    std::unique_ptr<Simulator> sim;
};

TEST_F(SimulatorTest, BadInputClosesOnlyThatConnection)
{
    const std::string oversize = "\xff\xff\xff\xff";
    struct Case {
        const char *what;
        std::string bytes;
    };
    const Case cases[] = {
        {"garbage payload", korvu_wire::encodeFrameHeader(6) + "#$%^&*"},
        {"oversize length", oversize + "abc"},
        {"not an envelope", korvu_wire::encodeFrameHeader(5) + "[1,2]"},
        {"a result instead of a request",
         korvu_wire::encodeFrameHeader(33) + R"({"jsonrpc":"2.0","id":1,"result":1})"},
    };
    for (int port : {sim->rpcPort(), sim->scriptPort()}) {
        for (const auto &c : cases) {
            RawClient bad(port, Encoding::Json);
            bad.sendRaw(c.bytes);
            EXPECT_TRUE(bad.closedByServer()) << c.what << " on port " << port;
        }
        {
            // Truncated: the length promises more than ever comes before the peer goes away.
            RawClient truncated(port, Encoding::Json);
            truncated.sendRaw(korvu_wire::encodeFrameHeader(100) + "{\"jsonrpc\"");
        }
        RawClient good(port, Encoding::Json);
        EXPECT_TRUE(good.login()) << "port " << port << " no longer serves";
    }
    RawClient bad_realtime = realtime();
    bad_realtime.sendRaw(korvu_wire::encodeFrameHeader(3) +
                         "\xc1\xc1\xc1");  // 0xc1 is never valid MessagePack
    EXPECT_TRUE(bad_realtime.closedByServer());
    EXPECT_TRUE(realtime().login());
    EXPECT_TRUE(sim->waitFor([&] { return sim->connectionCount(ServerKind::All) == 0; }, kWait));
}

TEST_F(SimulatorTest, IllTypedParametersGetAnErrorAndTheConnectionStays)
{
    RawClient client = rpc();
    EXPECT_EQ(client.call("login", Json::array({1, 2}))["error"]["code"], korvu_wire::kErrInvalidParams);
    EXPECT_EQ(client.call("getRobotNames", Json::array())["error"]["code"], korvu_wire::kErrNotLoggedIn);
    ASSERT_TRUE(client.login());
    EXPECT_EQ(client.call("RobotConfig.getDof", Json::array({42}))["error"]["code"],
              korvu_wire::kErrInvalidParams);
    EXPECT_EQ(client.call("RobotConfig.getDof", Json::array({"nobody"}))["error"]["code"],
              korvu_wire::kErrUnknownRobot);
    EXPECT_EQ(client.call("No.such", Json::array())["error"]["code"], korvu_wire::kErrMethodNotFound);
    EXPECT_EQ(client.call("RobotConfig.getDof", Json::array({"robot1"}))["result"], 6);
}

TEST_F(SimulatorTest, LoginChecksCredentialsAndCanBeRefused)
{
    RawClient client = rpc();
    EXPECT_EQ(client.call("login", Json::array({"admin", "wrong"}))["error"]["code"],
              korvu_wire::kErrLoginRejected);
    sim->refuseLogins(true);
    EXPECT_FALSE(client.login());
    sim->refuseLogins(false);
    EXPECT_TRUE(client.login());
    EXPECT_EQ(sim->loginCount(ServerKind::Rpc), 1);
}

TEST_F(SimulatorTest, EveryServerAnswersPingBeforeAndAfterLogin)
{
    const std::pair<int, Encoding> servers[] = {{sim->rpcPort(), Encoding::Json},
                                                {sim->realtimePort(), Encoding::MsgPack},
                                                {sim->scriptPort(), Encoding::Json}};
    for (const auto &server : servers) {
        RawClient client(server.first, server.second);
        EXPECT_EQ(client.call(korvu_wire::kPing, Json::array())["result"], true);
        ASSERT_TRUE(client.login());
        EXPECT_EQ(client.call(korvu_wire::kPing, Json::array())["result"], true);
    }
}

TEST_F(SimulatorTest, AnswersRobotInformationAndRegisters)
{
    RawClient client = rpc();
    ASSERT_TRUE(client.login());
    EXPECT_EQ(client.call("getRobotNames", Json::array())["result"], Json::array({"robot1", "robot2"}));
    Json dh = client.call("RobotConfig.getKinematicsParam", Json::array({"robot2", true}))["result"];
    for (const char *key : {"a", "d", "alpha", "theta", "beta"})
        EXPECT_EQ(dh[key].size(), 6u) << key;
    EXPECT_EQ(client.call("RobotConfig.getHardwareCustomParameters",
                          Json::array({"robot1", "hardware_interface_version"}))["result"],
              "V2");
    EXPECT_EQ(
        client.call("RobotConfig.getHardwareCustomParameters", Json::array({"robot1", "unknown"}))["result"],
        "");
    EXPECT_EQ(client.call("RobotState.getRobotModeType", Json::array({"robot1"}))["result"], 8);

    auto read_int = [&](const std::string &name, int fallback) {
        return client.call("RegisterControl.getInt32", Json::array({name, fallback}))["result"].get<int>();
    };
    EXPECT_EQ(read_int("__internal.eip_slave.connect_status", 9), 0);
    EXPECT_EQ(read_int("__internal.pn_server.slots_ready", 0), 1);
    EXPECT_EQ(read_int("__internal.pn_server.slot_number", 0), 3);
    EXPECT_EQ(read_int("__internal.pn_server.slot2_index_number", 0), 16);
    EXPECT_EQ(read_int("__internal.pn_server.slot2.index5", -1), 21);
    EXPECT_EQ(read_int("__internal.pn_server.slot4.index0", -1), -1);
    EXPECT_EQ(read_int("__internal.pn_server.slot02.index5", -1), -1);
    EXPECT_EQ(read_int("__internal.eip_slave.trans_type:0.index:309", -1), 309 & 0xff);
    EXPECT_EQ(read_int("__internal.eip_slave.trans_type:0.index:310", -1), -1);
    EXPECT_EQ(read_int("__internal.eip_slave.trans_type:1.index:215", -1), 40);
    EXPECT_EQ(read_int("__internal.eip_slave.trans_type:1.index:216", -1), -1);
    EXPECT_EQ(read_int("no.such.register", 77), 77);
    EXPECT_EQ(client.call("RegisterControl.getBool",
                          Json::array({"__internal.pn_server.connected", true}))["result"],
              false);
    sim->setRegister("__internal.pn_server.connected", 1);
    EXPECT_EQ(client.call("RegisterControl.getBool",
                          Json::array({"__internal.pn_server.connected", false}))["result"],
              true);
    EXPECT_EQ(client.call("RegisterControl.getBool", Json::array({"no.such", true}))["result"], true);
    EXPECT_EQ(sim->callCount("RegisterControl.getInt32"), 12);
    sim->resetCallCounts();
    EXPECT_EQ(sim->callCount("RegisterControl.getInt32"), 0);
}

TEST_F(SimulatorTest, FailedAndStalledMethods)
{
    RawClient client = rpc();
    ASSERT_TRUE(client.login());
    sim->failMethod("RobotConfig.getDof", -77, "broken");
    Json error = client.call("RobotConfig.getDof", Json::array({"robot1"}))["error"];
    EXPECT_EQ(error["code"], -77);
    EXPECT_EQ(error["message"], "broken");
    sim->clearMethodFaults();
    sim->stallMethod("getRobotNames", 200ms);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(client.call("getRobotNames", Json::array()).contains("result"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

TEST_F(SimulatorTest, TopicsStreamTypedValuesAndMessagesArriveOnceInOrder)
{
    RawClient client = realtime();
    ASSERT_TRUE(client.login());
    Json maps = client.call("getOutputMaps", Json::array())["result"];
    EXPECT_TRUE(maps.contains("R1_enc_tick_count"));
    EXPECT_FALSE(maps.contains("R2_enc_tick_count"));
    EXPECT_FALSE(maps.contains("R3_actual_q"));
    EXPECT_EQ(maps["R1_message"], static_cast<int>(korvu_sdk::InputParser::Type::RobotMsgVector));

    Json unknown = client.call("setTopic", Json::array({false, {"R2_enc_tick_count"}, 50.0, 0}));
    EXPECT_EQ(unknown["error"]["code"], korvu_wire::kErrUnknownOutput);

    sim->injectMessage({1, 1, 10001, "robot1", {"3"}});  // before any channel: kept for the first one
    Json messages = client.call("setTopic", Json::array({false, {"R1_message"}, 200.0, 0}))["result"];
    EXPECT_EQ(messages["channel"], 0);
    std::vector<std::string> names{"runtime_state",     "R1_actual_q",   "R1_robot_mode",
                                   "R1_actual_payload", "R2_joint_mode", "gripper_status"};
    Json state = client.call("setTopic", Json::array({false, names, 50.0, 0}))["result"];
    EXPECT_EQ(state["channel"], 1);  // 0 is taken: the lowest free one

    sim->injectMessages({{2, 0, 20001, "robot2", {}}, {3, 2, 30045, "robot1", {"RobotModeType.Idle"}}});
    sim->setRobotMode(0, common_interface::RobotModeType::Idle);
    sim->step();
    sim->step();  // nothing new: a message-only channel sends no second frame

    std::vector<int64_t> timestamps;
    int state_frames = 0;
    while (state_frames < 2) {
        auto frame = client.receive();
        ASSERT_TRUE(frame.has_value());
        ASSERT_EQ((*frame)["method"], "frame");
        const Json &params = (*frame)["params"];
        if (params["channel"] == 0) {
            auto batch = std::get<std::vector<common_interface::RobotMsg>>(
                korvu_wire::decodeValue(params["values"][0], korvu_sdk::InputParser::Type::RobotMsgVector));
            for (const auto &m : batch)
                timestamps.push_back(m.timestamp);
            continue;
        }
        ++state_frames;
        const Json &values = params["values"];
        ASSERT_EQ(values.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_NO_THROW(korvu_wire::decodeValue(
                values[i], static_cast<korvu_sdk::InputParser::Type>(state["types"][i].get<int>())))
                << names[i];
        EXPECT_EQ(values[1].size(), 6u);
        EXPECT_EQ(values[2], 5);  // Idle from now on
    }
    EXPECT_EQ(timestamps, (std::vector<int64_t>{1, 2, 3}));
    EXPECT_EQ(sim->framesSent(), 3u);
}

TEST_F(SimulatorTest, JointsMoveOnlyWhileRunning)
{
    RawClient client = realtime();
    ASSERT_TRUE(client.login());
    client.call("setTopic", Json::array({false, {"R1_actual_q", "R1_actual_qd"}, 50.0, 0}));
    auto next_q = [&] {
        sim->step();
        auto frame = client.receive();
        return frame ? (*frame)["params"]["values"] : Json();
    };
    // The joints move only when commanded.
    ASSERT_EQ(sim->command("MotionControl.moveJoint", R"(["robot1", [1, -1, 1, -1, 1, 1], 1.0, 2.0])"), 0);
    Json a = next_q(), b = next_q();
    EXPECT_NE(a[0], b[0]);
    sim->setRobotMode(0, common_interface::RobotModeType::Idle);
    Json c = next_q(), d = next_q();
    EXPECT_EQ(c[0], d[0]);
    EXPECT_EQ(d[1], Json(std::vector<double>(6, 0.0)));
}

TEST_F(SimulatorTest, ScriptsAreRecordedAndCallbacksPushed)
{
    RawClient client = script();
    ASSERT_TRUE(client.login());
    EXPECT_EQ(client.call("sendString", Json::array({"-- no statement: runs without a report"}))["result"], 0);
    EXPECT_EQ(client.call("sendString", Json::array({""}))["error"]["code"], korvu_wire::kErrScriptRejected);
    EXPECT_EQ(sim->receivedScripts(), std::vector<std::string>{"-- no statement: runs without a report"});
    sim->sendScriptError("\"line 3\\n\"");
    sim->sendVariableUpdate("count", "12");
    auto first = client.receive(), second = client.receive();
    ASSERT_TRUE(first && second);
    EXPECT_EQ((*first)["method"], korvu_wire::kScriptErrorNotification);
    EXPECT_EQ((*first)["params"], Json::array({"\"line 3\\n\""}));
    EXPECT_EQ((*second)["method"], korvu_wire::kVariableUpdateNotification);
    EXPECT_EQ((*second)["params"], Json::array({"count", "12"}));
}

TEST_F(SimulatorTest, DropClosesOneServersConnections)
{
    RawClient a = rpc(), b = script();
    ASSERT_TRUE(a.login() && b.login());
    sim->dropConnections(ServerKind::Rpc);
    EXPECT_TRUE(a.closedByServer());
    EXPECT_TRUE(sim->waitFor([&] { return sim->connectionCount(ServerKind::Rpc) == 0; }, kWait));
    EXPECT_EQ(sim->connectionCount(ServerKind::Script), 1);
    EXPECT_TRUE(rpc().login());
}

TEST(SimulatorLifecycle, PicksFreeBasesAndStopsCleanly)
{
    Simulator first, second;
    first.start();
    second.start();
    EXPECT_NE(first.basePort(), second.basePort());
    RawClient client(first.rpcPort(), Encoding::Json);
    EXPECT_TRUE(client.login());
    EXPECT_TRUE(first.waitForLogins(0, kWait) && first.loginCount(ServerKind::Rpc) == 1);
    first.stop();
    EXPECT_TRUE(client.closedByServer());
    first.stop();
    SimulatorOptions taken;
    taken.base_port = second.basePort();
    Simulator clash(taken);
    EXPECT_THROW(clash.start(), std::system_error);
}

TEST(SimulatorLifecycle, ScenarioEventsRunAfterTheFirstLogin)
{
    Scenario scenario = parseScenario(R"({"events": [
        {"at": 0.0, "register": {"name": "custom", "value": 5}},
        {"at": 0.05, "drop": "rpc"}]})");
    Simulator sim(applyScenario({}, scenario));
    sim.start();
    RawClient client(sim.rpcPort(), Encoding::Json);
    EXPECT_EQ(client.call("RegisterControl.getInt32", Json::array({"custom", 0}))["error"]["code"],
              korvu_wire::kErrNotLoggedIn);
    ASSERT_TRUE(client.login());
    EXPECT_TRUE(sim.waitFor([&] { return sim.connectionCount(ServerKind::Rpc) == 0; }, kWait));
    RawClient again(sim.rpcPort(), Encoding::Json);
    ASSERT_TRUE(again.login());
    EXPECT_EQ(again.call("RegisterControl.getInt32", Json::array({"custom", 0}))["result"], 5);
}

// ---- A hostile or careless peer must not push the simulator over ----

ScenarioEvent registerEvent(double at, std::int64_t value)
{
    ScenarioEvent event;
    event.at = at;
    event.kind = ScenarioEvent::Kind::Register;
    event.name = "custom";
    event.register_value = value;
    return event;
}

// 1e10 s overflowed the clock conversion and ran the event at once.
TEST(SimulatorHardening, EventTimeBeyondTheClockNeverFiresEarly)
{
    SimulatorOptions options;
    options.events = {registerEvent(1e10, 5), registerEvent(1e300, 6)};
    Simulator sim(options);
    sim.start();
    RawClient client(sim.rpcPort(), Encoding::Json);
    ASSERT_TRUE(client.login());
    std::this_thread::sleep_for(100ms);  // an event due "at once" would have run by now
    EXPECT_EQ(client.call("RegisterControl.getInt32", Json::array({"custom", 0}))["result"], 0);
}

// 1e-10 Hz overflowed the period and sent frames as fast as the simulator could.
TEST_F(SimulatorTest, FrequencyBelowTheLowestRateIsRefused)
{
    RawClient client = realtime();
    ASSERT_TRUE(client.login());
    for (const double frequency : {1e-10, 0.0009, -1.0}) {
        EXPECT_EQ(client.call("setTopic", Json::array({false, Json::array({"R1_message"}), frequency,
                                                       0}))["error"]["code"],
                  korvu_wire::kErrInvalidParams)
            << frequency;
    }
    EXPECT_EQ(client.call("setTopic",
                          Json::array({false, Json::array({"R1_message"}), 0.001, 0}))["result"]["channel"],
              0);
}

// One timer per event, made at the first login, held up the io thread: 200,000 events far ahead
// must not delay that login's answer (the old way took about half a second).
TEST(SimulatorHardening, LongScenarioDoesNotHoldUpTheFirstLogin)
{
    SimulatorOptions options;
    options.events.assign(200000, registerEvent(1000.0, 1));
    Simulator sim(options);
    sim.start();
    RawClient client(sim.rpcPort(), Encoding::Json);
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.login());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 250ms);
}

// Events given out of time order through the options run in time order, all of them, in turns.
TEST(SimulatorHardening, EventsRunInTimeOrderWhateverTheirListOrder)
{
    constexpr int kEvents = 2000;
    SimulatorOptions options;
    for (int i = kEvents - 1; i >= 0; --i)
        options.events.push_back(registerEvent(i * 1e-5, i));
    Simulator sim(options);
    sim.start();
    RawClient client(sim.rpcPort(), Encoding::Json);
    ASSERT_TRUE(client.login());
    // Polled over the connection: the register is the only sign of the events.
    Json value;
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    do {
        value = client.call("RegisterControl.getInt32", Json::array({"custom", -1}))["result"];
    } while (value != kEvents - 1 && std::chrono::steady_clock::now() < deadline);
    EXPECT_EQ(value, kEvents - 1);
}

// Twenty unauthenticated peers announcing 16 MiB frames held 332 MB. Together the connections hold
// at most kMaxBufferedInput; the peers beyond it are closed, and all is given back when they go.
TEST_F(SimulatorTest, AnnouncedFramesShareOneInputBudget)
{
    constexpr size_t kPeers = 8;
    constexpr size_t kSent = 12u * 1024u * 1024u;  // 8 x 12 MiB is more than the 64 MiB budget
    const std::string body(kSent, ' ');
    std::vector<std::unique_ptr<RawClient>> peers;
    for (size_t i = 0; i < kPeers; ++i) {
        peers.push_back(std::make_unique<RawClient>(sim->rpcPort(), Encoding::Json));
        try {
            peers.back()->sendRaw(korvu_wire::encodeFrameHeader(korvu_wire::kMaxFrameSize) + body);
        } catch (const std::system_error &) {
            // closed by the simulator while sending: expected for the peers past the budget
        }
    }
    EXPECT_LE(sim->bufferedInputBytes(), kMaxBufferedInput);
    EXPECT_TRUE(sim->waitFor([&] { return sim->connectionCount(ServerKind::Rpc) <= 5; }, kWait))
        << sim->connectionCount(ServerKind::Rpc);
    peers.clear();
    EXPECT_TRUE(sim->waitFor(
        [&] { return sim->connectionCount(ServerKind::Rpc) == 0 && sim->bufferedInputBytes() == 0; }, kWait))
        << sim->bufferedInputBytes();
    RawClient fresh = rpc();
    EXPECT_TRUE(fresh.login());
}

}  // namespace
}  // namespace temla::korvu_sim
