// The program runner against a fake robot: runtime states, line reports, errors, variables, the
// sandbox and the commands.

#include <gtest/gtest.h>

#include <functional>

#include "fake_host.h"
#include "korvu_sdk/api.h"
#include "program/program_messages.h"
#include "program/program_runner.h"

namespace program_test
{
namespace
{

using temla::common_interface::RuntimeMachine;

class Runner : public ::testing::Test
{
protected:
    // Ticks until the condition holds (checked before each tick); false after max_ticks.
    bool tickUntil(const std::function<bool()> &condition, int max_ticks = 1000)
    {
        for (int i = 0; i < max_ticks; ++i) {
            if (condition())
                return true;
            tick();
        }
        return condition();
    }
    void tick()
    {
        now += kTickPeriod;
        runner.tick(now);
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    void run(const std::string &text)
    {
        ASSERT_TRUE(runner.load(text, now));
        ASSERT_EQ(runner.start(now), 0);
    }
    bool stopped() { return runner.state() == RuntimeState::Stopped; }
    // Moves arrive as soon as they are started, so that programs run through.
    bool finishWithMovesArriving(int max_ticks = 1000)
    {
        return tickUntil(
            [&] {
                host.moving = false;
                return stopped();
            },
            max_ticks);
    }
    std::vector<int> lines(int code) const
    {
        std::vector<int> found;
        for (const auto &m : host.messagesOf(code))
            found.push_back(std::stoi(m.args.at(1)));
        return found;
    }

    FakeHost host;
    ProgramRunner runner{host, SandboxLimits{2u << 20, 100000, std::chrono::milliseconds(2)}};
    Clock::time_point now{};
};

TEST_F(Runner, ThreeMovesRunInOrderWithOneContextPerLine)
{
    run("-- pick\n"
        "movej({0.1, 0, 0, 0, 0, 0})\n"
        "movej({0.2, 0, 0, 0, 0, 0}, 0.5) -- approach\n"
        "\n"
        "movej({0.3, 0, 0, 0, 0, 0})\n");
    ASSERT_EQ(host.messagesOf(kProgramLoadedCode).size(), 1u);
    EXPECT_EQ(host.messagesOf(kProgramLoadedCode)[0].args, std::vector<std::string>{"pick"});

    // Each move blocks until the arm arrives.
    ticks(5);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({2}));
    host.moving = false;
    ticks(2);
    ASSERT_EQ(host.commands.size(), 2u);
    EXPECT_DOUBLE_EQ(host.commands[1].speed, 0.5);
    EXPECT_DOUBLE_EQ(host.commands[1].target[0], 0.2);

    ASSERT_TRUE(finishWithMovesArriving());
    EXPECT_EQ(host.commands.size(), 3u);
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({2, 3, 5}));
    EXPECT_EQ(lines(kInterpContextCode), std::vector<int>({2, 3, 5}));
    const auto contexts = host.messagesOf(kRuntimeContextCode);
    EXPECT_EQ(contexts[1].args, (std::vector<std::string>{"1", "3", "1", "approach"}));
    EXPECT_EQ(host.states, (std::vector<RuntimeState>{RuntimeState::Running, RuntimeState::Stopping,
                                                      RuntimeState::Stopped}));
    ASSERT_EQ(host.messagesOf(kTaskDeletedCode).size(), 1u);
    EXPECT_EQ(host.messagesOf(kTaskDeletedCode)[0].args, std::vector<std::string>{"1"});
    EXPECT_EQ(host.messages.back().code, kTaskDeletedCode);
    for (const auto &m : host.messages)
        EXPECT_EQ(m.source, "robot1");
}

TEST_F(Runner, PauseHoldsTheMoveAndResumeFinishesIt)
{
    run("movej({0.1, 0, 0, 0, 0, 0})\nsleep(0.5)\nx = 1\n");
    ticks(2);
    ASSERT_TRUE(host.moving);
    EXPECT_EQ(runner.pause(now), 0);
    EXPECT_EQ(host.holds, std::vector<bool>{true});
    EXPECT_EQ(runner.state(), RuntimeState::Pausing);
    host.settled = false;
    ticks(kTransitionTime / kTickPeriod + 2);
    EXPECT_EQ(runner.state(), RuntimeState::Pausing) << "until the arm stands";
    host.settled = true;
    ASSERT_TRUE(tickUntil([&] { return runner.state() == RuntimeState::Paused; }, 20));
    EXPECT_EQ(runner.pause(now), RuntimeMachine::kNotAllowed);
    EXPECT_EQ(runner.start(now), RuntimeMachine::kNotAllowed);

    // The move arriving while paused does not run the program on.
    host.moving = false;
    ticks(20);
    EXPECT_EQ(host.messagesOf(kRuntimeContextCode).size(), 1u);
    EXPECT_EQ(runner.resume(now), 0);
    EXPECT_EQ(host.holds, (std::vector<bool>{true, false}));
    ticks(3);
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({1, 2}));

    // Paused time does not count against a sleep.
    ticks(10);
    ASSERT_EQ(runner.pause(now), 0);
    ticks(100);
    ASSERT_EQ(runner.resume(now), 0);
    ticks(30);
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({1, 2})) << "0.4 s of the sleep ran";
    ASSERT_TRUE(tickUntil([&] { return stopped(); }, 30));
    EXPECT_EQ(host.states, (std::vector<RuntimeState>{
                               RuntimeState::Running, RuntimeState::Pausing, RuntimeState::Paused,
                               RuntimeState::Running, RuntimeState::Pausing, RuntimeState::Paused,
                               RuntimeState::Running, RuntimeState::Stopping, RuntimeState::Stopped}));
}

TEST_F(Runner, StepRunsOneLineAtATime)
{
    run("a = 1\nb = 2\nc = 3\n");
    ASSERT_EQ(runner.pause(now), 0);
    ASSERT_TRUE(tickUntil([&] { return runner.state() == RuntimeState::Paused; }, 20));
    EXPECT_EQ(runner.step(now), 0);
    ticks(2);
    EXPECT_EQ(runner.state(), RuntimeState::Paused);
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({1}));
    EXPECT_EQ(lines(kInterpContextCode), std::vector<int>({1, 2})) << "line 2 is prepared";
    EXPECT_EQ(runner.step(now), 0);
    ticks(2);
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({1, 2}));
    EXPECT_EQ(runner.resume(now), 0);
    ASSERT_TRUE(tickUntil([&] { return stopped(); }, 30));
    EXPECT_EQ(lines(kRuntimeContextCode), std::vector<int>({1, 2, 3}));
}

TEST_F(Runner, StopEndsAWaitOrALoopAtOnce)
{
    for (const char *program :
         {"sleep(100)\n", "movej({0.1, 0, 0, 0, 0, 0})\n", "n = 0\nwhile true do n = n + 1 end\n"}) {
        SCOPED_TRACE(program);
        host = FakeHost();
        run(program);
        ticks(3);
        ASSERT_EQ(runner.state(), RuntimeState::Running);
        const int stops_before = host.stops;
        EXPECT_EQ(runner.stop(now), 0);
        EXPECT_EQ(runner.state(), RuntimeState::Stopping);
        EXPECT_GT(host.stops, stops_before) << "the arm is stopped with the program";
        ASSERT_TRUE(tickUntil([&] { return stopped(); }, kTransitionTime / kTickPeriod + 1));
        EXPECT_EQ(host.messagesOf(kTaskDeletedCode).size(), 1u);
        EXPECT_EQ(runner.stop(now), RuntimeMachine::kNotAllowed);
    }
}

TEST_F(Runner, AnEndlessLoopYieldsEveryTick)
{
    run("n = 0\nwhile true do\n  n = n + 1\nend\n");
    ticks(30);  // every tick returns: the budget suspends the loop
    EXPECT_EQ(runner.state(), RuntimeState::Running);
    EXPECT_LE(host.messagesOf(kRuntimeContextCode).size(), 30u * 10u) << "contexts are capped per tick";
    const auto updates = host.notesOf(kVariableUpdateMethod);
    EXPECT_GE(updates.size(), 1u);
    EXPECT_LE(updates.size(), 30u * kTickPeriod / kVariablePeriod + 2) << "variable updates are rate-limited";
}

TEST_F(Runner, AVariableInALoopArrivesWithItsLastValue)
{
    run("total = 0\nfor i = 1, 5000 do\n  total = total + i\nend\nlabel = 'done'\npose = {1, 2.5, true}\n"
        "local hidden = 3\nfunction f() end\n");
    ASSERT_TRUE(finishWithMovesArriving());
    const auto updates = host.notesOf(kVariableUpdateMethod);
    std::map<std::string, std::string> last;
    for (const auto &u : updates)
        last[u.at(0)] = u.at(1);
    EXPECT_EQ(last["total"], "12502500");
    EXPECT_EQ(last["label"], "done");
    EXPECT_EQ(last["pose"], "{1, 2.5, true}");
    EXPECT_EQ(last.count("hidden"), 0u);
    EXPECT_EQ(last.count("f"), 0u);
    EXPECT_LT(updates.size(), 20u);
}

struct ErrorCase {
    const char *program;
    int line;
    const char *contains;
};

TEST_F(Runner, ErrorsArriveAtTheirLine)
{
    const ErrorCase cases[] = {
        {"x = 1\n\n\n\n\n\nif x then\n", 8, "'end' expected"},  // syntax: reported at end of text
        {"a = 1\nb = = 2\n", 2, "unexpected symbol"},
        {"\n\n\n\n\n\n\n\n\n\n\nundefined_command(1)\n", 12,
         "attempt to call a nil value (global 'undefined_command')"},
        {"movej({1, 2})\n", 1, "bad argument #1 to 'movej' (6 numbers expected, got 2)"},
        {"sleep(-1)\n", 1, "bad argument #1 to 'sleep'"},
        {"x = 1\nos.execute('touch /tmp/korvu_program_test')\n", 2, "global 'os'"},
        {"io.open('/etc/passwd')\n", 1, "global 'io'"},
        {"require('os')\n", 1, "global 'require'"},
        {"load('return 1')\n", 1, "global 'load'"},
        {"dofile('/etc/passwd')\n", 1, "global 'dofile'"},
        {"string.dump(print)\n", 1, "field 'dump'"},
        {"error('two\\nlines\\\\')\n", 1, "two\nlines\\"},
        {"local t = {}\nfor i = 1, 1e9 do t[i] = i end\n", 2, "not enough memory"},
        {"table.sort({3, 2, 1}, function(a, b) while true do end end)\n", 1, "instruction budget exceeded"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.program);
        host = FakeHost();
        const bool compiled = runner.load(c.program, now);
        if (compiled) {
            ASSERT_EQ(runner.start(now), 0);
            ASSERT_TRUE(finishWithMovesArriving(2000));
            EXPECT_EQ(host.messagesOf(kTaskDeletedCode).size(), 1u);
        } else {
            EXPECT_TRUE(host.states.empty()) << "a syntax error starts nothing";
        }
        const auto errors = host.notesOf(kScriptErrorMethod);
        ASSERT_EQ(errors.size(), 1u);
        const std::string &text = errors[0].at(0);
        EXPECT_EQ(text.front(), '"');
        EXPECT_EQ(text.back(), '"');
        const auto messages = host.messagesOf(kGeneralCode);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].source, "robot1:" + std::to_string(c.line));
        EXPECT_NE(messages[0].args.at(0).find(c.contains), std::string::npos) << messages[0].args.at(0);
        EXPECT_TRUE(endsBatch(messages[0]));
    }
}

TEST_F(Runner, ErrorTextsAreEscaped)
{
    EXPECT_EQ(scriptText("a\nb\tc\\d\"e"), "\"a\\nb\\tc\\\\d\"e\"");
    run("error('x\\ny')\n");
    ASSERT_TRUE(finishWithMovesArriving());
    EXPECT_EQ(host.notesOf(kScriptErrorMethod).at(0).at(0), "\"program:1: x\\ny\"");
}

TEST_F(Runner, RefusedAndAbortedMovesStopTheProgram)
{
    host.refuse = true;
    run("x = 1\nmovej({9, 0, 0, 0, 0, 0})\nx = 2\n");
    ASSERT_TRUE(tickUntil([&] { return stopped(); }, 30));
    auto messages = host.messagesOf(kGeneralCode);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].source, "robot1:2");
    EXPECT_EQ(messages[0].args[0], "movej refused (code -7): target outside the joint limits");

    host = FakeHost();
    run("movel({0.4, 0, 0.3, 3.14, 0, 0})\n\nmovec({0.4, 0.1, 0.3, 3.14, 0, 0}, {0.4, 0.2, 0.3, 3.14, 0, "
        "0})\n");
    ticks(2);
    host.moving = false;
    ticks(2);
    ASSERT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(host.commands[0].kind, MotionKind::Linear);
    EXPECT_EQ(host.commands[1].kind, MotionKind::Circular);
    EXPECT_DOUBLE_EQ(host.commands[1].via[1], 0.1);
    host.abort_reason = "protective stop";
    ASSERT_TRUE(tickUntil([&] { return stopped(); }, 30));
    messages = host.messagesOf(kGeneralCode);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].source, "robot1:3");
    EXPECT_EQ(messages[0].args[0], "move aborted (code -9): protective stop");
}

TEST_F(Runner, CommandsReachTheRobot)
{
    run("set_digital_out(2, true)\n"
        "d = get_digital_out(2)\n"
        "i = get_digital_in(3)\n"
        "set_analog_out(1, 4.5)\n"
        "a = get_analog_out(1) + get_analog_in(0)\n"
        "set_tcp({0, 0, 0.1, 0, 0, 0})\n"
        "set_payload(1.5, {0, 0, 0.05})\n"
        "q = get_actual_joint_positions()\n"
        "p = get_actual_tcp_pose()\n"
        "popup('check the gripper', 'Gripper', 1)\n"
        "textmsg('cycle', 3, true)\n"
        "stop()\n"
        "never = 1\n");
    ASSERT_TRUE(finishWithMovesArriving());
    EXPECT_TRUE(host.notesOf(kScriptErrorMethod).empty());
    EXPECT_TRUE(host.digital_out[2]);
    EXPECT_DOUBLE_EQ(host.analog_out[1], 4.5);
    EXPECT_EQ(host.tcp, (std::vector<double>{0, 0, 0.1, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(host.mass, 1.5);
    EXPECT_EQ(host.cog, (std::vector<double>{0, 0, 0.05}));
    std::map<std::string, std::string> vars;
    for (const auto &u : host.notesOf(kVariableUpdateMethod))
        vars[u[0]] = u[1];
    EXPECT_EQ(vars["d"], "true");
    EXPECT_EQ(vars["i"], "true");
    EXPECT_EQ(vars["a"], "7.0");
    EXPECT_EQ(vars["q"], "{0.1, 0.2, 0.3, 0.4, 0.5, 0.6}");
    EXPECT_EQ(vars.count("never"), 0u) << "stop() ends the program";
    const auto popups = host.messagesOf(kPopupCode);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].args, (std::vector<std::string>{"Gripper", "check the gripper", "1"}));
    const auto texts = host.messagesOf(kGeneralCode);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].args, std::vector<std::string>{"cycle 3 true"});
    EXPECT_EQ(texts[0].source, "robot1");
}

TEST_F(Runner, ANewProgramReplacesTheRunningOneAndASyntaxErrorChangesNothing)
{
    EXPECT_EQ(runner.start(now), RuntimeMachine::kNoProgram);
    run("sleep(10)\n");
    ticks(2);
    EXPECT_FALSE(runner.load("this is not lua", now));
    EXPECT_EQ(runner.state(), RuntimeState::Running);
    EXPECT_EQ(runner.taskId(), 1);
    run("x = 1\n");
    EXPECT_EQ(host.messagesOf(kTaskDeletedCode).size(), 1u);
    EXPECT_EQ(runner.taskId(), 2);
    ASSERT_TRUE(finishWithMovesArriving());
    // The loaded program runs again on start.
    ASSERT_EQ(runner.start(now), 0);
    ASSERT_TRUE(finishWithMovesArriving());
    EXPECT_EQ(runner.taskId(), 3);
    EXPECT_EQ(host.messagesOf(kProgramLoadedCode).size(), 2u);
}

}  // namespace
}  // namespace program_test
