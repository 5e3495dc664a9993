// The monitor's parts that need no controller: back-off, signal arguments, the human lines.
#include <gtest/gtest.h>

#include "robot_proxy/robot_proxy.h"
#include "session.h"
#include "signal_relay.h"
#include "terminal_format.h"

namespace monitor_test
{
namespace
{

using json = nlohmann::ordered_json;
using temla::korvu_sdk::RobotProxy;

TEST(MonitorBackOff, DoublesFromHalfASecondUpToEightSeconds)
{
    const std::vector<int> expected = {500, 1000, 2000, 4000, 8000, 8000, 8000};
    for (std::size_t attempt = 0; attempt < expected.size(); ++attempt) {
        EXPECT_EQ(monitor::retryDelay(static_cast<int>(attempt)).count(), expected[attempt]) << attempt;
    }
    EXPECT_EQ(monitor::retryDelay(1000).count(), 8000);
}

TEST(MonitorSignalRelay, ArgumentsKeepTheirOrderEnumsAsIntegersRecordsAsObjects)
{
    RobotProxy proxy;
    QObject context;
    std::vector<std::pair<std::string, json>> received;
    monitor::relayProxySignals(
        proxy, &context, [&](const char *name, const json &args) { received.emplace_back(name, args); });

    temla::common_interface::RobotMsg msg;
    msg.timestamp = 1234567890123;
    msg.level = 1;
    msg.code = 10001;
    msg.source = "robot1";
    msg.args = {"3"};
    emit proxy.robotModeChanged(1, RobotProxy::RobotModeType::NoController);
    emit proxy.robotMessageRecieved(0, "robot1", 2, msg);
    emit proxy.scriptError(12, "boom");
    emit proxy.disconnected();

    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0], (std::pair<std::string, json>{"robotModeChanged", json::array({1, -1})}));
    const json record = {
        {"timestamp", 1234567890123}, {"level", 1}, {"code", 10001}, {"source", "robot1"}, {"args", {"3"}}};
    EXPECT_EQ(received[1].second, json::array({0, "robot1", 2, record}));
    EXPECT_EQ(received[2], (std::pair<std::string, json>{"scriptError", json::array({12, "boom"})}));
    EXPECT_EQ(received[3], (std::pair<std::string, json>{"disconnected", json::array()}));
}

TEST(MonitorHumanLines, SignalsBecomeLevelledLinesOrNothing)
{
    struct Case {
        const char *name;
        json args;
        std::optional<monitor::TextLine> line;
    };
    const std::vector<Case> cases = {
        {"popup",
         {0, 2, "robot1", "[10001] joint3 error: over current", 0},
         monitor::TextLine{2, "POPUP robot1: [10001] joint3 error: over current"}},
        {"robotMessageRecieved",
         {0, "robot1", 4, 30045, "[30045] Robot mode changed: X"},
         monitor::TextLine{4, "robot1: [30045] Robot mode changed: X"}},
        {"robotMessageRecieved", {0, "robot1", 4, json::object()}, std::nullopt},
        {"scriptError", {7, "bad"}, monitor::TextLine{2, "script error at line 7: bad"}},
        {"robotModeChanged", {0, 8}, std::nullopt},
        {"logined", {false}, monitor::TextLine{monitor::kNoLevel, "logged out"}},
    };
    for (const auto &c : cases) {
        const auto line = monitor::describeSignal(c.name, c.args);
        ASSERT_EQ(line.has_value(), c.line.has_value()) << c.name << c.args.dump();
        if (line) {
            EXPECT_EQ(line->level, c.line->level) << c.name;
            EXPECT_EQ(line->text, c.line->text) << c.name;
        }
    }
}

TEST(MonitorHumanLines, StatusBlockShowsDegreesMillimetresAndModeTexts)
{
    monitor::StateSnapshot state;
    state.logged_in = true;
    state.robot_index = 0;
    state.robot_name = "robot1";
    state.robot_type = "K6";
    state.robot_mode = temla::common_interface::RobotModeType::Running;
    state.safety_mode = temla::common_interface::SafetyModeType::ProtectiveStop;
    state.operational_mode = temla::common_interface::OperationalModeType::Manual;
    state.runtime_state = temla::common_interface::RuntimeState::Paused;
    state.line_number = 3;
    state.joint_positions = {3.14159265358979, -1.5707963267949};
    state.tcp_pose = {0.4, -0.1, 0.25, 0.0, 3.14159265358979, 0.0};
    state.speed_fraction = 0.5;
    state.io.standard_digital_inputs = {true, false, true};

    std::string block;
    for (const auto &line : monitor::statusBlock(state, 1.0)) {
        block += line + "\n";
    }
    for (const char *part :
         {"0 robot1 (K6)", "robot Running", "safety ProtectiveStop", "operational Manual", "Paused", "line 3",
          "180.00  -90.00 deg", "400.0  -100.0   250.0 mm", "180.00", "50 %", "DI 101"}) {
        EXPECT_NE(block.find(part), std::string::npos) << part << " not in\n" << block;
    }
}

}  // namespace
}  // namespace monitor_test
