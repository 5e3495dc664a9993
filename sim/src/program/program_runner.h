#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "korvu_sim/scenario.h"
#include "lua_sandbox.h"
#include "program_host.h"

namespace temla::korvu_sim::program
{

using Clock = std::chrono::steady_clock;

// The runner calls tick() this often; a stop, pause or resume takes effect on the next tick.
inline constexpr std::chrono::milliseconds kTickPeriod{10};
// Pausing and Stopping last at least this long, and until the arm has come to rest.
inline constexpr std::chrono::milliseconds kTransitionTime{100};
// Variable updates go out at most this often (the last value of each variable that changed).
inline constexpr std::chrono::milliseconds kVariablePeriod{100};

// What a blocking command waits for before the program is resumed.
struct ProgramWait {
    enum class Kind { None, Motion, Until, End };
    Kind kind = Kind::None;
    Clock::time_point until{};
};

// Shared by the runner and the program's commands (lua_commands.cpp).
struct CommandContext {
    ProgramHost *host = nullptr;
    Clock::time_point now{};
    ProgramWait wait;
    MotionStatus motion;  // outcome of the move waited for
};

// Installs the robot's commands (movej, sleep, set_digital_out, ...) into a program's sandbox.
void installCommands(LuaSandbox &sandbox, CommandContext &context);

// The command of an RPC method "RuntimeMachine.start" ... "RuntimeMachine.stop".
std::optional<ProgramCommand> programCommandOf(const std::string &method);

// Runs one program at a time on a ProgramHost: loading, the runtime state machine
// Stopped -> Running -> (Pausing -> Paused -> Running | Stepping) -> Stopping -> Stopped,
// the robot messages of a program (15 loaded, 13 / 14 contexts, 16 task deleted, script errors
// at their line) and the variable updates. Not thread-safe: call it from one thread, with
// tick() every kTickPeriod.
class ProgramRunner
{
public:
    explicit ProgramRunner(ProgramHost &host, SandboxLimits limits = {});
    ~ProgramRunner();

    // Compiles the text; on success it becomes the loaded program (message 15), ending the one
    // that runs. A syntax error is reported (script error and robot message at its line) and
    // changes nothing else. Returns whether it compiled.
    bool load(const std::string &text, Clock::time_point now);

    // Runtime machine commands: RuntimeMachine's codes (0 accepted, kNotAllowed, kNoProgram).
    int start(Clock::time_point now);
    int pause(Clock::time_point now);
    int resume(Clock::time_point now);
    int step(Clock::time_point now);  // from Paused: runs to the next line, then Paused again
    int stop(Clock::time_point now);
    int apply(ProgramCommand command, Clock::time_point now);

    void tick(Clock::time_point now);

    common_interface::RuntimeState state() const { return phase; }
    int taskId() const { return task; }

private:
    void setPhase(common_interface::RuntimeState next);
    bool waitSatisfied();
    void advance();
    void beginStop();
    void finishTask();
    int continueFromPause(Clock::time_point now, common_interface::RuntimeState next);
    bool onLine(int line);
    // Interpreter context for the line; runtime context too when it runs now.
    void reportLine(int line, bool runs);
    void reportRuntimeLine();
    void flushVariables(bool all);
    void reportError(const std::string &message);
    void sendMessage(int code, int level, std::vector<std::string> args, const std::string &source = {});

    ProgramHost &host;
    SandboxLimits limits;
    std::string text;
    struct SourceLine {
        bool code = false;    // holds a statement (not blank, not only a comment)
        std::string comment;  // shown with the line's contexts
    };
    std::vector<SourceLine> lines;
    bool loaded = false;
    std::unique_ptr<LuaSandbox> sandbox;
    CommandContext context;
    common_interface::RuntimeState phase = common_interface::RuntimeState::Stopped;
    Clock::time_point transition_end{};
    Clock::time_point paused_at{};
    Clock::time_point last_variables{};
    int task = 0;
    int current_line = 0;
    int context_index = 0;
    int contexts_this_resume = 0;
    int pending_runtime_line = 0;  // prepared, its runtime context not sent yet
    int skipped_line = 0;          // last line past the per-resume context cap
    bool step_done = false;
};

}  // namespace temla::korvu_sim::program
