// Programs sent through RobotProxy run on the simulator; the application sees them through the
// proxy's signals: runtime states, line contexts, task deletion, script errors and variables.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "korvu_sdk/api.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"
#include "test_support/signal_recorder.h"
#include "test_support/wait.h"

namespace program_test
{
namespace
{

using temla::common_interface::RuntimeState;
using temla::korvu_sdk::RobotProxy;
using temla::korvu_sim::ProgramCommand;
using test_support::SignalRecorder;
using test_support::waitUntil;
using namespace std::chrono_literals;

// Stopping lasts 100 ms, the state is streamed at 50 Hz and the runner ticks every 10 ms.
constexpr auto kStopBound = 1s;

class ProgramFlow : public ::testing::Test
{
protected:
    void SetUp() override { startWith({}); }
    void startWith(std::vector<temla::korvu_sim::ScenarioEvent> events)
    {
        temla::korvu_sim::SimulatorOptions options;
        options.robot_count = 1;
        options.events = std::move(events);
        sim = std::make_unique<temla::korvu_sim::Simulator>(options);
        sim->start();
        proxy = std::make_unique<RobotProxy>();
        proxy->getRpcClient()->setRequestTimeout(5000);
        ASSERT_EQ(proxy->connect(QString::fromStdString(sim->host()), sim->basePort()), 0);
        ASSERT_EQ(proxy->login("admin", "admin"), 0);
        ASSERT_EQ(proxy->selectRobot(0), 0);
        recorder = std::make_unique<SignalRecorder>(proxy.get());
    }
    void TearDown() override
    {
        recorder.reset();
        proxy.reset();
        sim->stop();
    }

    int runtime(ProgramCommand command)
    {
        auto machine = proxy->getRpcClient()->getRuntimeMachine();
        switch (command) {
            case ProgramCommand::Start:
                return machine->start();
            case ProgramCommand::Pause:
                return machine->pause();
            case ProgramCommand::Resume:
                return machine->resume();
            case ProgramCommand::Step:
                return machine->step();
            case ProgramCommand::Stop:
                return machine->stop();
        }
        return 1;
    }

    std::vector<int> states() const
    {
        std::vector<int> found;
        for (const auto &e : recorder->named("runtimeStateChanged"))
            found.push_back(e.args.at(0).toInt());
        return found;
    }
    bool seenState(RuntimeState state) const
    {
        const auto all = states();
        return std::find(all.begin(), all.end(), static_cast<int>(state)) != all.end();
    }
    bool taskDeleted() const { return !recorder->named("taskDeleted").empty(); }
    std::vector<int> contextLines() const
    {
        std::vector<int> lines;
        for (const auto &e : recorder->named("runtimeContextUpdated"))
            lines.push_back(e.args.at(1).toInt());
        return lines;
    }
    // scriptError(int, QString) entries as (line, text).
    std::vector<std::pair<int, QString>> lineErrors() const
    {
        std::vector<std::pair<int, QString>> errors;
        for (const auto &e : recorder->named("scriptError"))
            if (e.args.size() == 2)
                errors.emplace_back(e.args.at(0).toInt(), e.args.at(1).toString());
        return errors;
    }
    std::vector<QString> textErrors() const
    {
        std::vector<QString> errors;
        for (const auto &e : recorder->named("scriptError"))
            if (e.args.size() == 1)
                errors.push_back(e.args.at(0).toString());
        return errors;
    }

    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::unique_ptr<RobotProxy> proxy;
    std::unique_ptr<SignalRecorder> recorder;
};

TEST_F(ProgramFlow, ThreeMovesRunToTheirEnd)
{
    ASSERT_EQ(proxy->sendScript("movej({0.1, -1.5, 0.1, -1.5, 0.1, 0}, 3)\n"
                                "movej({0.2, -1.4, 0.2, -1.4, 0.2, 0}, 3)\n"
                                "movej({0.3, -1.3, 0.3, -1.3, 0.3, 0}, 3)\n"),
              0);
    ASSERT_TRUE(waitUntil([&] { return taskDeleted() && seenState(RuntimeState::Stopped); }));
    EXPECT_EQ(states(), (std::vector<int>{static_cast<int>(RuntimeState::Running),
                                          static_cast<int>(RuntimeState::Stopping),
                                          static_cast<int>(RuntimeState::Stopped)}));
    EXPECT_EQ(contextLines(), (std::vector<int>{1, 2, 3}));
    const auto loaded = recorder->named("programLoaded");
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].args.at(0).toInt(), 0);
    const int task = recorder->named("runtimeContextUpdated").at(0).args.at(0).toInt();
    EXPECT_EQ(recorder->named("taskDeleted").at(0).args.at(0).toInt(), task);
    EXPECT_TRUE(lineErrors().empty());
    const auto q = sim->jointPositions(0);
    EXPECT_NEAR(q[0], 0.3, 1e-9);
    EXPECT_NEAR(q[1], -1.3, 1e-9);
}

TEST_F(ProgramFlow, PauseHoldsTheArmAndResumeFinishes)
{
    ASSERT_EQ(proxy->sendScript("movej({0, -1.5708, 0, -1.5708, 0, 0}, 3)\n"
                                "movej({0.8, -1.5708, 0, -1.5708, 0, 0}, 1)\n"),
              0);
    ASSERT_TRUE(waitUntil([&] { return contextLines().size() == 2; }));
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(runtime(ProgramCommand::Pause), 0);
    ASSERT_TRUE(waitUntil([&] { return seenState(RuntimeState::Paused); }));
    std::this_thread::sleep_for(100ms);
    const auto held = proxy->getRealTimeState()->getTcpPose();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(proxy->getRealTimeState()->getTcpPose(), held) << "the arm stands while paused";
    const double joint = sim->jointPositions(0)[0];
    EXPECT_GT(joint, 0.0);
    EXPECT_LT(joint, 0.8);
    EXPECT_FALSE(taskDeleted());

    ASSERT_EQ(runtime(ProgramCommand::Resume), 0);
    ASSERT_TRUE(waitUntil([&] { return taskDeleted() && seenState(RuntimeState::Stopped); }));
    EXPECT_NEAR(sim->jointPositions(0)[0], 0.8, 1e-9);
    EXPECT_EQ(states(),
              (std::vector<int>{
                  static_cast<int>(RuntimeState::Running), static_cast<int>(RuntimeState::Pausing),
                  static_cast<int>(RuntimeState::Paused), static_cast<int>(RuntimeState::Running),
                  static_cast<int>(RuntimeState::Stopping), static_cast<int>(RuntimeState::Stopped)}));
    EXPECT_EQ(runtime(ProgramCommand::Resume), temla::common_interface::RuntimeMachine::kNotAllowed);
}

TEST_F(ProgramFlow, StopEndsAnEndlessLoopWithTaskDeleted)
{
    for (const char *program : {"n = 0\nwhile true do\n  n = n + 1\nend\n", "sleep(60)\n"}) {
        SCOPED_TRACE(program);
        recorder->clear();
        ASSERT_EQ(proxy->sendScript(program), 0);
        ASSERT_TRUE(sim->waitForRuntimeState(RuntimeState::Running, 5s));
        ASSERT_TRUE(waitUntil([&] { return seenState(RuntimeState::Running); }));
        const auto stopped_at = std::chrono::steady_clock::now();
        ASSERT_EQ(runtime(ProgramCommand::Stop), 0);
        ASSERT_TRUE(sim->waitForRuntimeState(RuntimeState::Stopped, kStopBound));
        EXPECT_LT(std::chrono::steady_clock::now() - stopped_at, kStopBound);
        ASSERT_TRUE(waitUntil([&] { return taskDeleted() && seenState(RuntimeState::Stopped); }));
        EXPECT_TRUE(lineErrors().empty());
    }
    // The loaded program runs again from the start.
    ASSERT_EQ(runtime(ProgramCommand::Start), 0);
    EXPECT_TRUE(sim->waitForRuntimeState(RuntimeState::Running, 5s));
    EXPECT_EQ(runtime(ProgramCommand::Start), temla::common_interface::RuntimeMachine::kNotAllowed);
}

TEST_F(ProgramFlow, SyntaxAndRunTimeErrorsArriveAtTheirLine)
{
    ASSERT_EQ(proxy->sendScript("-- a syntax error at line 7\nx = 1\n\n\n\n\ny = = 2\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return !lineErrors().empty() && !textErrors().empty(); }));
    EXPECT_EQ(lineErrors()[0].first, 7);
    EXPECT_TRUE(lineErrors()[0].second.contains("unexpected symbol")) << lineErrors()[0].second.toStdString();
    EXPECT_TRUE(textErrors()[0].startsWith("program:7: ")) << textErrors()[0].toStdString();
    EXPECT_TRUE(recorder->named("programLoaded").empty());
    EXPECT_TRUE(states().empty()) << "nothing started";

    recorder->clear();
    ASSERT_EQ(proxy->sendScript("x = 1\n\n\n\n\n\n\n\n\n\n\nerror('gripper lost\\n\\tpart \\\\ 3')\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return !lineErrors().empty() && taskDeleted(); }));
    EXPECT_EQ(lineErrors()[0].first, 12);
    EXPECT_EQ(lineErrors()[0].second, QString("gripper lost\n\tpart \\ 3"));
    ASSERT_EQ(textErrors().size(), 1u);
    EXPECT_EQ(textErrors()[0], QString("program:12: gripper lost\n\tpart \\ 3"))
        << "unescaped, quotes stripped";

    recorder->clear();
    ASSERT_EQ(proxy->sendScript("x = 1\n\n\n\n\n\n\n\n\n\n\nundefined_command()\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return !lineErrors().empty() && taskDeleted(); }));
    EXPECT_EQ(lineErrors()[0].first, 12);
    EXPECT_TRUE(lineErrors()[0].second.contains("undefined_command"));
}

TEST_F(ProgramFlow, AVariableUpdatedInALoopArrivesWithItsLastValue)
{
    ASSERT_EQ(proxy->sendScript("for i = 1, 200000 do\n  counter = i\nend\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return taskDeleted(); }));
    ASSERT_TRUE(waitUntil([&] {
        const auto updates = recorder->named("variableUpdate");
        return !updates.empty() && updates.back().args.at(1).toString() == "200000";
    }));
    const auto updates = recorder->named("variableUpdate");
    EXPECT_LT(updates.size(), 100u) << "rate-limited";
    for (const auto &u : updates)
        EXPECT_EQ(u.args.at(0).toString(), QString("counter"));
}

TEST_F(ProgramFlow, AProtectiveStopDuringAMoveStopsTheProgram)
{
    ASSERT_EQ(proxy->sendScript("movej({1.5, -1.5708, 0, -1.5708, 0, 0}, 0.5)\nx = 1\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return contextLines().size() == 1; }));
    std::this_thread::sleep_for(100ms);
    sim->protectiveStop(0);
    ASSERT_TRUE(waitUntil([&] { return !lineErrors().empty() && taskDeleted(); }));
    EXPECT_EQ(lineErrors()[0].first, 1);
    EXPECT_TRUE(lineErrors()[0].second.startsWith("move aborted (code -3)"))
        << lineErrors()[0].second.toStdString();
    EXPECT_TRUE(recorder->named("variableUpdate").empty()) << "line 2 never ran";
}

TEST_F(ProgramFlow, ANewScriptReplacesTheRunningProgram)
{
    ASSERT_EQ(proxy->sendScript("movej({1.5, -1.5708, 0, -1.5708, 0, 0}, 1)\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return contextLines().size() == 1; }));
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(proxy->sendScript("-- second\nmovej({0, -1.5708, 0, -1.5708, 0, 0}, 3)\n"), 0);
    ASSERT_TRUE(waitUntil([&] { return recorder->named("taskDeleted").size() == 2; }));
    EXPECT_TRUE(lineErrors().empty()) << "the new move waits for the arm to stand";
    EXPECT_NEAR(sim->jointPositions(0)[0], 0.0, 1e-9);
}

TEST_F(ProgramFlow, FileAndProcessAccessFailsAndTouchesNothing)
{
    const QString path = QString("/tmp/korvu_program_test_%1").arg(sim->basePort());
    QFile::remove(path);
    const std::string file = path.toStdString();
    for (const std::string &program :
         {"os.execute('touch " + file + "')\n", "io.open('" + file + "', 'w')\n"}) {
        SCOPED_TRACE(program);
        recorder->clear();
        ASSERT_EQ(proxy->sendScript(program), 0);
        ASSERT_TRUE(waitUntil([&] { return !lineErrors().empty() && taskDeleted(); }));
        EXPECT_EQ(lineErrors()[0].first, 1);
        EXPECT_TRUE(lineErrors()[0].second.contains("attempt to index a nil value"))
            << lineErrors()[0].second.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(ProgramFlow, TheExampleProgramRunsToItsPopup)
{
    std::ifstream file(KORVU_PROGRAM_EXAMPLE);
    std::stringstream text;
    text << file.rdbuf();
    ASSERT_FALSE(text.str().empty());
    ASSERT_EQ(proxy->sendScript(text.str()), 0);
    ASSERT_TRUE(waitUntil([&] { return taskDeleted(); }, std::chrono::seconds(30)));
    EXPECT_TRUE(lineErrors().empty()) << lineErrors()[0].second.toStdString();
    EXPECT_EQ(recorder->named("programLoaded").at(0).args.at(1).toString(), QString("pick and place"));
    const auto popups = recorder->named("popup");
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].args.at(2).toString(), QString("Pick and place"));
    EXPECT_EQ(popups[0].args.at(3).toString(), QString("Two parts placed"));
    int cycles = 0;
    for (const auto &e : recorder->named("robotMessageRecieved"))
        cycles += e.args.size() == 5 && e.args.at(4).toString().startsWith("[5] cycle") ? 1 : 0;
    EXPECT_EQ(cycles, 2);
    const auto home = sim->jointPositions(0);
    EXPECT_NEAR(home[1], -1.5708, 1e-9);
}

TEST_F(ProgramFlow, AScenarioRunsAndStopsAProgram)
{
    TearDown();
    const auto scenario = temla::korvu_sim::parseScenario(R"({"events": [
        {"at": 0.1, "program": {"text": "-- scenario\nwhile true do sleep(0.01) end\n"}},
        {"at": 0.6, "runtime": "stop"}]})");
    startWith(scenario.events);
    ASSERT_TRUE(waitUntil([&] { return taskDeleted() && seenState(RuntimeState::Stopped); }));
    EXPECT_EQ(recorder->named("programLoaded").at(0).args.at(1).toString(), QString("scenario"));
    EXPECT_TRUE(seenState(RuntimeState::Running));
    EXPECT_GE(contextLines().size(), 10u) << "the loop ran for half a second";
    EXPECT_THROW(temla::korvu_sim::parseScenario(R"({"events": [{"at": 0, "runtime": "jump"}]})"),
                 temla::korvu_sim::ScenarioError);
}

}  // namespace
}  // namespace program_test
