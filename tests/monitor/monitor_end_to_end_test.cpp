// The monitor program run against the embedded simulator and against a korvu-sim process.
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

#include "monitor_process.h"

namespace monitor_test
{
namespace
{

using nlohmann::json;
using namespace std::chrono_literals;

constexpr char kPopupText[] = "[10001] joint3 error: over current";

// Index of the first signal line at or after from that matches, or npos.
std::size_t find(const std::vector<json> &emitted, std::size_t from, const std::string &name,
                 const json &args)
{
    for (std::size_t i = from; i < emitted.size(); ++i) {
        if (emitted[i]["signal"] == name && (args.is_null() || emitted[i]["args"] == args)) {
            return i;
        }
    }
    return std::string::npos;
}

TEST(MonitorJson, ScenarioSignalsArriveInOrderAsParseableLines)
{
    const ProgramRun run =
        runMonitor({"--json", "--scenario", scenarioPath("short.json"), "--duration", "2.5"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
    const auto lines = jsonLines(run.out);
    ASSERT_FALSE(lines.empty());

    double previous_t = 0.0;
    int state_lines = 0;
    for (const auto &line : lines) {
        ASSERT_TRUE(line.contains("t") && line["t"].is_number()) << line.dump();
        EXPECT_GE(line["t"].get<double>(), previous_t) << line.dump();
        previous_t = line["t"].get<double>();
        if (line.contains("state")) {
            ++state_lines;
            EXPECT_EQ(line.size(), 2u) << line.dump();
            EXPECT_TRUE(line["state"]["joint_positions"].is_array());
        } else {
            ASSERT_TRUE(line.contains("signal") && line["args"].is_array()) << line.dump();
            EXPECT_EQ(line.size(), 3u) << line.dump();
        }
    }
    EXPECT_GE(state_lines, 1);

    const auto emitted = signalLines(lines);
    const std::vector<std::pair<std::string, json>> expected = {
        {"connected", nullptr},
        {"logined", json::array({true})},
        {"robotModeChanged", json::array({0, 5})},
        {"popup", json::array({0, 2, "robot1", kPopupText, 0})},
        {"robotMessageRecieved", json::array({0, "robot1", 2, 10001, kPopupText})},
        {"robotMessageRecieved", nullptr},
        {"safetyModeChanged", json::array({0, 5})},
        {"popupDismiss", json::array({"robot1"})},
        {"logined", json::array({false})},
        {"disconnected", json::array()},
    };
    std::size_t at = 0;
    for (const auto &[name, args] : expected) {
        const auto found = find(emitted, at, name, args);
        ASSERT_NE(found, std::string::npos) << "no " << name << " " << args.dump() << " after line " << at;
        at = found + 1;
    }
    // The record variant right after the text variant: the RobotMsg as an object.
    const auto text_variant = find(emitted, 0, "popup", nullptr) + 1;
    const json &record = emitted.at(text_variant + 1)["args"];
    ASSERT_EQ(record.size(), 4u);
    EXPECT_EQ(record[3]["code"], 10001);
    EXPECT_EQ(record[3]["level"], 1);
    EXPECT_EQ(record[3]["source"], "robot1");
    EXPECT_EQ(record[3]["args"], json::array({"3"}));
    EXPECT_TRUE(record[3]["timestamp"].is_number_integer());
    EXPECT_EQ(emitted.back()["signal"], "disconnected");
}

TEST(MonitorScript, IsSentOnceSelectedAndRunsLineByLine)
{
    const ProgramRun run = runMonitor({"--json", "--scenario", scenarioPath("plain.json"), "--script",
                                       scenarioPath("two_moves.lua"), "--duration", "6"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
    const auto emitted = signalLines(jsonLines(run.out));
    const auto selected = find(emitted, 0, "sigEipConnectionStatusChanged", nullptr);
    ASSERT_NE(selected, std::string::npos);
    // Messages and the runtime state come on different channels: each keeps its own order.
    const std::vector<std::vector<std::pair<std::string, json>>> sequences = {
        {{"programLoaded", nullptr}, {"runtimeContextUpdated", nullptr}, {"taskDeleted", nullptr}},
        {{"runtimeStateChanged", json::array({0})}, {"runtimeStateChanged", json::array({6})}}};
    for (const auto &sequence : sequences) {
        std::size_t at = selected;
        for (const auto &[name, args] : sequence) {
            const auto found = find(emitted, at, name, args);
            ASSERT_NE(found, std::string::npos)
                << "no " << name << " " << args.dump() << " after line " << at;
            at = found + 1;
        }
    }
    std::vector<int> lines;
    for (const auto &line : emitted) {
        if (line["signal"] == "runtimeContextUpdated" && (lines.empty() || lines.back() != line["args"][1])) {
            lines.push_back(line["args"][1].get<int>());
        }
    }
    EXPECT_EQ(lines, (std::vector<int>{1, 2}));
}

TEST(MonitorDuration, EndsNormallyAfterTheDuration)
{
    const ProgramRun run = runMonitor({"--json", "--duration", "1.5"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_GE(run.wall, 1500ms);
    EXPECT_LT(run.wall, 10s);
    const auto lines = jsonLines(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_GE(lines.back()["t"].get<double>(), 1.5);
}

struct ExitCase {
    const char *name;
    QStringList arguments;
    int exit_code;
};

TEST(MonitorExitStatus, EachFailureHasItsStatus)
{
    const QString port = QString::number(unusedBasePort());
    const std::vector<ExitCase> cases = {
        {"nothing listening", {"--host", "127.0.0.1", "--port", port, "--duration", "5"}, 2},
        {"wrong password", {"--password", "wrong", "--duration", "5"}, 3},
        {"robot out of range", {"--robot", "4", "--duration", "5"}, 1},
        {"bad option", {"--robot", "first"}, 1},
        {"unknown option", {"--colour"}, 1},
        {"missing scenario", {"--scenario", "/nonexistent/scenario.json"}, 1},
        {"missing script", {"--script", "/nonexistent/program.lua"}, 1},
        {"help", {"--help"}, 0},
    };
    for (const auto &c : cases) {
        const ProgramRun run = runMonitor(c.arguments, 20s);
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(run.exit_code, c.exit_code) << c.name << ": " << run.err.toStdString();
    }
}

TEST(MonitorExitStatus, InterruptDisconnectsCleanlyAndExitsWith130)
{
    QProcess process;
    process.start(monitorProgram(), {"--json"});
    ASSERT_TRUE(process.waitForStarted());
    QString out;
    ASSERT_TRUE(waitForOutput(
        process, out, [](const QString &o) { return o.contains("\"logined\",\"args\":[true]"); }, 20s))
        << out.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(20000));
    out += QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130);
    const auto emitted = signalLines(jsonLines(out));
    ASSERT_GE(emitted.size(), 2u);
    EXPECT_EQ(emitted[emitted.size() - 2]["signal"], "logined");
    EXPECT_EQ(emitted[emitted.size() - 2]["args"], json::array({false}));
    EXPECT_EQ(emitted.back()["signal"], "disconnected");
}

int countLogins(const std::vector<json> &emitted)
{
    int logins = 0;
    for (const auto &s : emitted) {
        logins += s["signal"] == "logined" && s["args"] == json::array({true}) ? 1 : 0;
    }
    return logins;
}

TEST(MonitorReconnect, DroppedConnectionEndsWithoutReconnectAndIsRecoveredWithIt)
{
    const ProgramRun without =
        runMonitor({"--json", "--scenario", scenarioPath("drop.json"), "--duration", "10"}, 30s);
    ASSERT_TRUE(without.finished);
    EXPECT_EQ(without.exit_code, 2) << without.err.toStdString();
    EXPECT_LT(without.wall, 8s);

    const ProgramRun with = runMonitor(
        {"--json", "--scenario", scenarioPath("drop.json"), "--reconnect", "--duration", "4"}, 30s);
    ASSERT_TRUE(with.finished);
    EXPECT_EQ(with.exit_code, 0) << with.err.toStdString();
    const auto emitted = signalLines(jsonLines(with.out));
    EXPECT_GE(countLogins(emitted), 2);
    // Selected again: the selection reports the robot's modes after the second login.
    const auto second_login =
        find(emitted, find(emitted, 0, "disconnected", nullptr), "logined", json::array({true}));
    ASSERT_NE(second_login, std::string::npos);
    EXPECT_NE(find(emitted, second_login, "operationalModeChanged", nullptr), std::string::npos);
}

// Reads the base port from korvu-sim's first line.
int servedBasePort(QProcess &simulator)
{
    QString err;
    const QString marker = "base port ";
    simulator.setReadChannel(QProcess::StandardError);
    while (!err.contains(" (rpc")) {
        if (!simulator.waitForReadyRead(10000)) {
            return 0;
        }
        err += QString::fromUtf8(simulator.readAllStandardError());
    }
    const int from = err.indexOf(marker) + marker.size();
    return err.mid(from, err.indexOf(' ', from) - from).toInt();
}

TEST(MonitorReconnect, LogsInAgainWhenTheControllerProgramRestarts)
{
    QProcess first;
    first.start(simulatorProgram(), {"--port", "0"});
    ASSERT_TRUE(first.waitForStarted());
    const int port = servedBasePort(first);
    ASSERT_GT(port, 0);

    QProcess monitor;
    monitor.start(monitorProgram(), {"--json", "--reconnect", "--host", "127.0.0.1", "--port",
                                     QString::number(port), "--duration", "30"});
    ASSERT_TRUE(monitor.waitForStarted());
    QString out;
    auto logins = [](int n) {
        return [n](const QString &o) { return countLogins(signalLines(jsonLines(o))) >= n; };
    };
    ASSERT_TRUE(waitForOutput(monitor, out, logins(1), 20s)) << out.toStdString();

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    ASSERT_TRUE(waitForOutput(
        monitor, out, [](const QString &o) { return o.contains("\"disconnected\""); }, 20s))
        << out.toStdString() << monitor.readAllStandardError().toStdString() << " exit "
        << monitor.exitCode();
    QProcess second;
    second.start(simulatorProgram(), {"--port", QString::number(port)});
    ASSERT_TRUE(second.waitForStarted());
    EXPECT_TRUE(waitForOutput(monitor, out, logins(2), 30s)) << out.toStdString();

    ::kill(static_cast<pid_t>(monitor.processId()), SIGINT);
    EXPECT_TRUE(monitor.waitForFinished(20000));
    EXPECT_EQ(monitor.exitCode(), 130);
    second.terminate();
    second.waitForFinished(10000);
}

TEST(MonitorHumanOutput, DemoScenarioShowsItsPopupWithinFiveSeconds)
{
    const ProgramRun run = runMonitor({"--duration", "5"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QString("POPUP robot1: ") + kPopupText)) << run.out.toStdString();
    // Not a terminal: plain lines, no cursor movement or colours.
    EXPECT_FALSE(run.out.contains('\033'));
    EXPECT_TRUE(run.out.contains("state: logged in; robot 0 robot1 (K6)")) << run.out.toStdString();
}

}  // namespace
}  // namespace monitor_test
