// The clients against a bare in-test server: results, errors, timeouts and every kind of broken
// connection, which must end in event 1 with the client reusable.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "fake_server.h"
#include "korvu_sdk/korvu_sdk.h"
#include "korvu_wire/framed_connection.h"
#include "korvu_wire/values.h"
#include "test_support/exception_code.h"
#include "test_support/wait.h"

namespace
{

namespace wire = temla::korvu_wire;
namespace error_code = temla::common_interface::error_code;
using namespace std::chrono_literals;
using temla::common_interface::KorvuException;
using temla::korvu_sdk::InputParser;
using temla::korvu_sdk::RpcClient;
using temla::korvu_sdk::RtdeClient;
using temla::korvu_sdk::ScriptClient;
using test_support::codeOf;
using test_support::waitUntil;
using Json = wire::Json;

struct Events {
    std::atomic<int> lost{0};
    std::atomic<int> other{0};
    std::function<void(int)> handler()
    {
        return [this](int event) { (event == temla::korvu_sdk::kEventConnectionLost ? lost : other)++; };
    }
};

int unusedPort()
{
    asio::io_context io;
    asio::ip::tcp::acceptor acceptor(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    return acceptor.local_endpoint().port();
}

TEST(Clients, WithoutConnectionNothingThrowsExceptTheApi)
{
    RpcClient rpc(0);
    RtdeClient rtde(0);
    ScriptClient script(0);
    const int port = unusedPort();
    EXPECT_EQ(rpc.connect("127.0.0.1", port), temla::korvu_sdk::kConnectFailed);
    EXPECT_EQ(rtde.connect("127.0.0.1", 0), temla::korvu_sdk::kConnectBadAddress);
    EXPECT_EQ(script.connect("127.0.0.1", 70000), temla::korvu_sdk::kConnectBadAddress);
    EXPECT_EQ(rpc.connect("no such host.invalid", port), temla::korvu_sdk::kConnectFailed);

    EXPECT_FALSE(rpc.hasConnected());
    EXPECT_FALSE(rpc.hasLogined());
    EXPECT_EQ(rpc.login("u", "p"), temla::korvu_sdk::kLoginNotConnected);
    EXPECT_EQ(codeOf([&] { rpc.getRobotNames(); }), error_code::kNotConnected);
    EXPECT_EQ(codeOf([&] { rpc.getRobotInterface("r")->getRobotConfig()->getDof(); }),
              error_code::kNotConnected);
    EXPECT_EQ(codeOf([&] { rpc.getRegisterControl()->getBool("x", false); }), error_code::kNotConnected);
    EXPECT_EQ(rpc.logout(), 0);
    EXPECT_EQ(rpc.disconnect(), 0);

    EXPECT_TRUE(rtde.getOutputMaps().empty());
    EXPECT_EQ(rtde.setTopic(false, {"x"}, 1.0, 0), temla::korvu_sdk::kTopicNotConnected);
    EXPECT_EQ(rtde.subscribe(0, [](InputParser &) {}), temla::korvu_sdk::kSubscribeNotConnected);
    EXPECT_EQ(rtde.logout(), 0);
    EXPECT_EQ(rtde.disconnect(), 0);

    EXPECT_EQ(script.sendString("x"), temla::korvu_sdk::kScriptNotConnected);
    EXPECT_EQ(script.logout(), 0);
    EXPECT_EQ(script.disconnect(), 0);
}

class RpcAgainstFake : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rpc.setEventHandler(events.handler());
        ASSERT_EQ(rpc.connect("127.0.0.1", server.port()), 0);
    }

    void login() { ASSERT_EQ(rpc.login("u", "p"), 0); }

    // Answers getDof with 6 and everything else as the default handler does.
    void answerDof()
    {
        server.setHandler([](FakeServer &s, const wire::Envelope &request) {
            if (request.method == "RobotConfig.getDof") {
                s.reply(request.id, 6);
            } else if (request.method == "login" || request.method == "logout") {
                s.reply(request.id, true);
            }
        });
    }

    FakeServer server{wire::Encoding::Json};
    RpcClient rpc{0};
    Events events;
};

TEST_F(RpcAgainstFake, ApiNeedsLoginAndSendsRobotScopedParams)
{
    Json params;
    server.setHandler([&params](FakeServer &s, const wire::Envelope &request) {
        if (request.method == "login") {
            s.reply(request.id, true);
        } else if (request.method == "RobotConfig.getHardwareCustomParameters") {
            params = request.params;
            s.reply(request.id, "LEGACY");
        }
    });
    EXPECT_EQ(rpc.login("u", "p"), 0);
    EXPECT_TRUE(rpc.hasLogined());
    EXPECT_EQ(rpc.getRobotInterface("rob1")->getRobotConfig()->getHardwareCustomParameters("key"), "LEGACY");
    EXPECT_EQ(params, Json::array({"rob1", "key"}));
}

TEST_F(RpcAgainstFake, CallsBeforeLoginRaiseNotLoggedIn)
{
    EXPECT_TRUE(rpc.hasConnected());
    EXPECT_FALSE(rpc.hasLogined());
    EXPECT_EQ(codeOf([&] { rpc.getRobotNames(); }), error_code::kNotLoggedIn);
}

TEST_F(RpcAgainstFake, RejectedLoginReturnsRejected)
{
    server.setHandler(
        [](FakeServer &s, const wire::Envelope &request) { s.replyError(request.id, -201, "bad"); });
    EXPECT_EQ(rpc.login("u", "wrong"), temla::korvu_sdk::kLoginRejected);
    EXPECT_FALSE(rpc.hasLogined());
    EXPECT_TRUE(rpc.hasConnected());
}

// The login result is `true`; any other answer is a protocol fault that drops the connection.
TEST_F(RpcAgainstFake, LoginAnswerOtherThanTrueIsAProtocolFault)
{
    const std::vector<Json> answers = {false, nullptr, "true", 1, Json::object(), Json::array({true})};
    int expected_clients = 1;
    for (const auto &answer : answers) {
        SCOPED_TRACE(answer.dump());
        server.setHandler(
            [answer](FakeServer &s, const wire::Envelope &request) { s.reply(request.id, answer); });
        EXPECT_EQ(rpc.login("u", "p"), temla::korvu_sdk::kLoginNoAnswer);
        EXPECT_FALSE(rpc.hasLogined());
        EXPECT_TRUE(waitUntil([&] { return events.lost == 1; }));
        EXPECT_FALSE(rpc.hasConnected());
        events.lost = 0;
        server.closeClient();
        ASSERT_EQ(rpc.connect("127.0.0.1", server.port()), 0);
        ASSERT_TRUE(server.waitForClients(++expected_clients));
    }
}

TEST_F(RpcAgainstFake, LoginFailureKeepsTheServersReasonAndTheBoundReadsBack)
{
    EXPECT_EQ(rpc.lastLoginFailure().code, 0);
    server.setHandler([](FakeServer &s, const wire::Envelope &request) {
        s.replyError(request.id, -201, "login refused");
    });
    EXPECT_EQ(rpc.login("u", "wrong"), temla::korvu_sdk::kLoginRejected);
    EXPECT_EQ(rpc.lastLoginFailure().code, -201);
    EXPECT_EQ(rpc.lastLoginFailure().message, "login refused");

    EXPECT_EQ(rpc.requestTimeout(), temla::korvu_sdk::kDefaultRequestTimeoutMs);
    rpc.setRequestTimeout(250);
    EXPECT_EQ(rpc.requestTimeout(), 250);
    rpc.setRequestTimeout(0);
    EXPECT_EQ(rpc.requestTimeout(), 1);
}

TEST_F(RpcAgainstFake, BoundedLogoutDoesNotWaitTheRequestBound)
{
    login();
    server.setHandler([](FakeServer &s, const wire::Envelope &request) {
        if (request.method != "logout") {
            s.reply(request.id, true);
        }
    });
    rpc.setRequestTimeout(5000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rpc.logout(20), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "hang guard: the request bound is 5 s";
    EXPECT_FALSE(rpc.hasLogined());
    EXPECT_TRUE(rpc.hasConnected());
    EXPECT_EQ(server.methods().back(), "logout");
}

TEST_F(RpcAgainstFake, ServerErrorsBecomeExceptionsWithTheirCode)
{
    login();
    server.setHandler([](FakeServer &s, const wire::Envelope &request) {
        s.send(wire::makeError(request.id, -202, "unknown robot", {{"robot", "x"}}));
    });
    try {
        rpc.getRobotInterface("x")->getRobotState()->getRobotModeType();
        FAIL() << "no exception";
    } catch (const KorvuException &e) {
        EXPECT_EQ(e.code(), -202);
        EXPECT_STREQ(e.what(), "unknown robot");
        EXPECT_EQ(Json::parse(e.data())["robot"], "x");
    }
    EXPECT_TRUE(rpc.hasLogined());
}

TEST_F(RpcAgainstFake, UnansweredRequestTimesOutAndTheClientStaysUsable)
{
    login();
    server.setHandler([](FakeServer &, const wire::Envelope &) {});
    rpc.setRequestTimeout(150);
    EXPECT_EQ(codeOf([&] { rpc.getRobotNames(); }), error_code::kTimeout);
    EXPECT_TRUE(rpc.hasLogined());

    // A late reply to the timed-out request is dropped; the next request gets its own answer.
    server.reply(1, Json::array({"late"}));
    answerDof();
    EXPECT_EQ(rpc.getRobotInterface("r")->getRobotConfig()->getDof(), 6);
    EXPECT_EQ(events.lost, 0);
}

TEST_F(RpcAgainstFake, IllTypedResultRaisesProtocolAndDropsTheConnection)
{
    login();
    server.setHandler([](FakeServer &s, const wire::Envelope &request) { s.reply(request.id, "six"); });
    EXPECT_EQ(codeOf([&] { rpc.getRobotInterface("r")->getRobotConfig()->getDof(); }), error_code::kProtocol);
    EXPECT_TRUE(waitUntil([&] { return events.lost == 1; }));
    EXPECT_FALSE(rpc.hasConnected());
}

TEST_F(RpcAgainstFake, DeliberateDisconnectRaisesNoEvent)
{
    login();
    EXPECT_EQ(rpc.logout(), 0);
    EXPECT_FALSE(rpc.hasLogined());
    EXPECT_EQ(rpc.disconnect(), 0);
    EXPECT_FALSE(rpc.hasConnected());
    server.closeClient();
    EXPECT_EQ(rpc.disconnect(), 0);
    std::this_thread::sleep_for(50ms);  // nothing to wait for: an event would arrive within this time
    EXPECT_EQ(events.lost, 0);
}

// Every way a connection can break: the client reports event 1 once, fails the waiting request,
// and connects and logs in again afterwards.
TEST_F(RpcAgainstFake, EveryBrokenConnectionRaisesEventOneAndAllowsReconnect)
{
    const std::vector<std::pair<std::string, std::function<void(FakeServer &)>>> faults = {
        {"peer close", [](FakeServer &s) { s.closeClient(); }},
        {"garbage bytes", [](FakeServer &s) { s.sendRaw(std::string("\x00\x00\x00\x05garbage!!", 13)); }},
        {"oversized frame",
         [](FakeServer &s) { s.sendRaw(wire::encodeFrameHeader(wire::kMaxFrameSize + 1)); }},
        {"largest length", [](FakeServer &s) { s.sendRaw("\xff\xff\xff\xff"); }},
        {"not an envelope",
         [](FakeServer &s) {
             s.send(Json::array({1, 2}));
         }},
        {"empty frame", [](FakeServer &s) { s.sendRaw(std::string(4, '\0')); }},
        {"deep nesting",
         [](FakeServer &s) {
             const std::string deep = std::string(5000, '[') + std::string(5000, ']');
             s.sendRaw(wire::encodeFrameHeader(deep.size()) + deep);
         }},
    };
    int expected_clients = 1;
    for (const auto &fault : faults) {
        SCOPED_TRACE(fault.first);
        login();
        server.setHandler([](FakeServer &, const wire::Envelope &) {});
        rpc.setRequestTimeout(10000);
        std::atomic<int> pending_code{0};
        std::thread caller([&] { pending_code = codeOf([&] { rpc.getRobotNames(); }); });
        ASSERT_TRUE(waitUntil([&] { return server.methods().back() == "getRobotNames"; }));
        fault.second(server);
        caller.join();
        EXPECT_EQ(pending_code, error_code::kConnectionLost);
        EXPECT_TRUE(waitUntil([&] { return events.lost == 1; }));
        EXPECT_FALSE(rpc.hasConnected());
        events.lost = 0;

        server.setHandler([](FakeServer &s, const wire::Envelope &request) {
            if (request.method == "login") {
                s.reply(request.id, true);
            }
        });
        server.closeClient();
        ASSERT_EQ(rpc.connect("127.0.0.1", server.port()), 0);
        ASSERT_TRUE(server.waitForClients(++expected_clients));
    }
    login();
    EXPECT_EQ(events.lost, 0);
}

class RtdeAgainstFake : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.setHandler([this](FakeServer &s, const wire::Envelope &request) { handle(s, request); });
        rtde.setEventHandler(events.handler());
        rtde.setLogHandler([this](int level, const char *, int, const std::string &message) {
            std::lock_guard<std::mutex> lock(log_mutex);
            log.emplace_back(level, message);
        });
        ASSERT_EQ(rtde.connect("127.0.0.1", server.port()), 0);
        ASSERT_EQ(rtde.login("u", "p"), 0);
    }

    void handle(FakeServer &s, const wire::Envelope &request)
    {
        if (request.method == "login") {
            s.reply(request.id, true);
        } else if (request.method == "getOutputMaps") {
            s.reply(request.id, Json{{"counter", 1}, {"flag", 0}});
        } else if (request.method == "setTopic") {
            const auto &names = request.params.at(1);
            Json types = Json::array();
            for (const auto &name : names) {
                if (name == "counter") {
                    types.push_back(1);
                } else if (name == "flag") {
                    types.push_back(0);
                } else {
                    s.replyError(request.id, -203, "unknown output");
                    return;
                }
            }
            s.reply(request.id, Json{{"channel", request.params.at(3)}, {"types", types}});
        }
    }

    void sendFrame(int channel, Json values)
    {
        server.send(
            wire::makeNotification("frame", Json{{"channel", channel}, {"values", std::move(values)}}));
    }

    bool logged(const std::string &part)
    {
        std::lock_guard<std::mutex> lock(log_mutex);
        for (const auto &line : log) {
            if (line.second.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    FakeServer server{wire::Encoding::MsgPack};
    RtdeClient rtde{0};
    Events events;
    std::mutex log_mutex;
    std::vector<std::pair<int, std::string>> log;
};

TEST_F(RtdeAgainstFake, BoundedLogoutDoesNotWaitTheRequestBound)
{
    // The fixture's server never answers a logout; the client's own bound is 3 s.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rtde.logout(20), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "hang guard";
    EXPECT_FALSE(rtde.hasLogined());
}

TEST_F(RtdeAgainstFake, TopicsSubscriptionsAndFramesInOrder)
{
    EXPECT_EQ(rtde.getOutputMaps(), (std::map<std::string, int>{{"counter", 1}, {"flag", 0}}));
    EXPECT_EQ(rtde.setTopic(false, {"nope"}, 10.0, 0), temla::korvu_sdk::kTopicRejected);
    EXPECT_EQ(rtde.setTopic(true, {"counter"}, 10.0, 0), temla::korvu_sdk::kTopicRejected);
    EXPECT_EQ(rtde.subscribe(2, [](InputParser &) {}), temla::korvu_sdk::kSubscribeNoTopic);
    ASSERT_EQ(rtde.setTopic(false, {"counter", "flag"}, 10.0, 2), 2);

    std::mutex mutex;
    std::vector<int> seen;
    ASSERT_EQ(rtde.subscribe(2,
                             [&](InputParser &p) {
                                 const int value = p.popInt32();
                                 EXPECT_TRUE(p.popBool());
                                 std::lock_guard<std::mutex> lock(mutex);
                                 seen.push_back(value);
                             }),
              0);
    for (int i = 0; i < 500; ++i) {
        sendFrame(2, {i, true});
    }
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return seen.size() == 500;
    }));
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(seen[i], i);
    }

    // A second subscription of the channel replaces the first.
    std::atomic<int> replaced{0};
    ASSERT_EQ(rtde.subscribe(2, [&](InputParser &) { ++replaced; }), 0);
    sendFrame(2, {1, true});
    EXPECT_TRUE(waitUntil([&] { return replaced == 1; }));
    EXPECT_EQ(seen.size(), 500u);
    EXPECT_EQ(events.lost, 0);
}

TEST_F(RtdeAgainstFake, ThrowingSubscriberIsLoggedAndDeliveryGoesOn)
{
    ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
    std::atomic<int> calls{0};
    rtde.subscribe(0, [&](InputParser &p) {
        ++calls;
        if (p.popInt32() % 2 == 0) {
            throw std::runtime_error("subscriber failure");
        }
        p.popInt32();  // past the end: KorvuException
    });
    for (int i = 0; i < 10; ++i) {
        sendFrame(0, {i});
    }
    EXPECT_TRUE(waitUntil([&] { return calls == 10; }));
    EXPECT_TRUE(logged("subscriber failure"));
    EXPECT_TRUE(rtde.hasConnected());
    EXPECT_EQ(events.lost, 0);
}

TEST_F(RtdeAgainstFake, IllTypedOrMiscountedFrameDropsTheConnection)
{
    const std::vector<Json> bad_values = {Json::array({"x"}), Json::array({1, 2}), Json::array(), Json(5)};
    for (const auto &values : bad_values) {
        SCOPED_TRACE(values.dump());
        ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
        std::atomic<int> calls{0};
        rtde.subscribe(0, [&](InputParser &) { ++calls; });
        sendFrame(0, values);
        EXPECT_TRUE(waitUntil([&] { return events.lost == 1; }));
        EXPECT_FALSE(rtde.hasConnected());
        EXPECT_EQ(calls, 0);
        events.lost = 0;
        server.closeClient();
        ASSERT_EQ(rtde.connect("127.0.0.1", server.port()), 0);
        ASSERT_EQ(rtde.login("u", "p"), 0);
        // The new connection starts without topics or subscriptions.
        EXPECT_EQ(rtde.subscribe(0, [](InputParser &) {}), temla::korvu_sdk::kSubscribeNoTopic);
    }
}

TEST_F(RtdeAgainstFake, FrameOfUnknownChannelIsIgnored)
{
    ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
    std::atomic<int> calls{0};
    rtde.subscribe(0, [&](InputParser &) { ++calls; });
    sendFrame(5, {"whatever"});
    sendFrame(0, {1});
    EXPECT_TRUE(waitUntil([&] { return calls == 1; }));
    EXPECT_TRUE(rtde.hasConnected());
}

TEST_F(RtdeAgainstFake, DisconnectInsideSubscriberReturnsAndStopsDelivery)
{
    ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
    std::atomic<int> calls{0};
    std::atomic<bool> returned{false};
    rtde.subscribe(0, [&](InputParser &) {
        ++calls;
        rtde.disconnect();
        returned = true;
    });
    sendFrame(0, {1});
    sendFrame(0, {2});
    EXPECT_TRUE(waitUntil([&] { return returned.load(); }));
    EXPECT_FALSE(rtde.hasConnected());
    EXPECT_EQ(rtde.disconnect(), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(events.lost, 0);
}

TEST_F(RtdeAgainstFake, DisconnectWaitsForTheRunningSubscriber)
{
    ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
    std::atomic<bool> entered{false};
    std::atomic<bool> finished{false};
    rtde.subscribe(0, [&](InputParser &) {
        entered = true;
        std::this_thread::sleep_for(100ms);  // keeps the subscriber busy while disconnect() runs
        finished = true;
    });
    sendFrame(0, {1});
    ASSERT_TRUE(waitUntil([&] { return entered.load(); }));
    rtde.disconnect();
    EXPECT_TRUE(finished);
}

TEST_F(RtdeAgainstFake, LostConnectionEndsSubscriptionsAndRaisesEventOnce)
{
    ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
    rtde.subscribe(0, [](InputParser &) {});
    server.closeClient();
    EXPECT_TRUE(waitUntil([&] { return events.lost == 1; }));
    EXPECT_EQ(rtde.subscribe(0, [](InputParser &) {}), temla::korvu_sdk::kSubscribeNotConnected);
    EXPECT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), temla::korvu_sdk::kTopicNotConnected);
    std::this_thread::sleep_for(50ms);  // a second event would arrive within this time
    EXPECT_EQ(events.lost, 1);
}

// A subscriber slower than the stream holds the reader back; that wait is not the server's silence.
TEST_F(RtdeAgainstFake, SlowSubscriberIsNotTakenForASilentServer)
{
    rtde.disconnect();
    rtde.setLivenessTimeout(200);
    ASSERT_EQ(rtde.connect("127.0.0.1", server.port()), 0);
    ASSERT_EQ(rtde.login("u", "p"), 0);
    ASSERT_EQ(rtde.setTopic(false, {"counter"}, 10.0, 0), 0);
    std::atomic<int> calls{0};
    rtde.subscribe(0, [&](InputParser &) {
        if (calls++ == 0) {
            std::this_thread::sleep_for(600ms);  // the queue fills behind it and the reader waits
        }
    });
    for (int i = 0; i < 400; ++i) {
        sendFrame(0, {i});
    }
    EXPECT_TRUE(waitUntil([&] { return calls == 400; }));
    EXPECT_TRUE(rtde.hasConnected());
    EXPECT_EQ(events.lost, 0);
}

TEST(ScriptAgainstFake, SendStringAndTheThreeCallbacks)
{
    FakeServer server(wire::Encoding::Json);
    std::vector<std::string> scripts;
    std::mutex mutex;
    server.setHandler([&](FakeServer &s, const wire::Envelope &request) {
        if (request.method == "login") {
            s.reply(request.id, true);
        } else if (request.method == "sendString") {
            const auto text = request.params.at(0).get<std::string>();
            if (text == "refuse") {
                s.replyError(request.id, -205, "refused");
                return;
            }
            std::lock_guard<std::mutex> lock(mutex);
            scripts.push_back(text);
            s.reply(request.id, 0);
        }
    });
    ScriptClient script(0);
    std::vector<std::string> received;
    script.subscribeScriptError([&](const std::string &text) {
        std::lock_guard<std::mutex> lock(mutex);
        received.push_back("error:" + text);
    });
    script.subscribeScriptError2([&](const std::string &a, const std::string &b) {
        std::lock_guard<std::mutex> lock(mutex);
        received.push_back("error2:" + a + "," + b);
    });
    script.subscribeVariableUpdate([&](const std::string &a, const std::string &b) {
        std::lock_guard<std::mutex> lock(mutex);
        received.push_back("var:" + a + "=" + b);
        throw std::runtime_error("callback failure is contained");
    });
    ASSERT_EQ(script.connect("127.0.0.1", server.port()), 0);
    ASSERT_EQ(script.login("u", "p"), 0);
    EXPECT_EQ(script.sendString("movej()\n"), 0);
    EXPECT_EQ(script.sendString("refuse"), temla::korvu_sdk::kScriptRejected);

    server.send(wire::makeNotification("scriptError", Json::array({"\"line 3\\n\""})));
    server.send(wire::makeNotification("variableUpdate", Json::array({"x", "1\\n"})));
    server.send(wire::makeNotification("scriptError2", Json::array({"a", "b"})));
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return received.size() == 3;
    }));
    EXPECT_EQ(received, (std::vector<std::string>{"error:\"line 3\\n\"", "var:x=1\\n", "error2:a,b"}));
    EXPECT_EQ(scripts, (std::vector<std::string>{"movej()\n"}));

    // A notification with the wrong parameters breaks the connection.
    server.send(wire::makeNotification("scriptError2", Json::array({"only one"})));
    EXPECT_TRUE(waitUntil([&] { return !script.hasConnected(); }));
}

// A stopped server keeps its socket open and says nothing. Each client pings an idle connection
// and reports the silence as event 1 within the liveness bound (shortened here).
constexpr auto kTestLiveness = 300ms;

template <typename Client>
void expectSilenceReportedAsLost(wire::Encoding encoding)
{
    FakeServer server(encoding);
    Client client(0);
    Events events;
    client.setEventHandler(events.handler());
    client.setLivenessTimeout(static_cast<int>(kTestLiveness.count()));
    ASSERT_EQ(client.connect("127.0.0.1", server.port()), 0);
    ASSERT_EQ(client.login("u", "p"), 0);
    std::this_thread::sleep_for(3 * kTestLiveness);  // idle, but the server answers the pings
    EXPECT_TRUE(client.hasConnected());
    EXPECT_EQ(events.lost, 0);

    server.setAnswerPings(false);
    const auto stopped = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitUntil([&] { return events.lost == 1; }));
    const auto elapsed = std::chrono::steady_clock::now() - stopped;
    // The last ping answer came at most a ping interval and a check period before the stop.
    EXPECT_GE(elapsed, kTestLiveness / 2);
    EXPECT_LT(elapsed, kTestLiveness + 1s);  // a second of slack for loaded or sanitized runs
    EXPECT_FALSE(client.hasConnected());
}

TEST(Liveness, SilentServerIsReportedAsLostByEveryClient)
{
    {
        SCOPED_TRACE("RPC");
        expectSilenceReportedAsLost<RpcClient>(wire::Encoding::Json);
    }
    {
        SCOPED_TRACE("realtime");
        expectSilenceReportedAsLost<RtdeClient>(wire::Encoding::MsgPack);
    }
    {
        SCOPED_TRACE("script");
        expectSilenceReportedAsLost<ScriptClient>(wire::Encoding::Json);
    }
}

}  // namespace
