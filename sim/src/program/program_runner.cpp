#include "program_runner.h"

#include <cctype>

#include "korvu_sdk/api.h"
#include "program_messages.h"

namespace temla::korvu_sim::program
{
namespace
{

using common_interface::RuntimeMachine;
using common_interface::RuntimeState;

// Context messages one resume may send; a tight loop reports its last line only.
constexpr int kMaxContextsPerResume = 8;
// Variable updates per flush; the rest go out with the next one.
constexpr std::size_t kMaxVariablesPerFlush = 64;
constexpr const char *kDefaultProgramName = "script";

std::string trim(const std::string &text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

// The text after "--" on a line (a comment inside a string counts too: the line is only shown).
std::string commentOf(const std::string &line)
{
    size_t dashes = line.find("--");
    return dashes == std::string::npos ? std::string() : trim(line.substr(dashes + 2));
}

// Blank and comment-only lines hold no statement (the chunk's closing return is counted on the
// line after the last one).
bool holdsCode(const std::string &line)
{
    const std::string code = trim(line);
    return !code.empty() && code.rfind("--", 0) != 0;
}

// "program:12: message" -> 12 and "message"; other texts keep the fallback line.
std::pair<int, std::string> splitPosition(const std::string &message, int fallback_line)
{
    const std::string prefix = std::string(LuaSandbox::kChunkName) + ":";
    if (message.rfind(prefix, 0) != 0)
        return {fallback_line, message};
    size_t pos = prefix.size();
    int line = 0;
    size_t digits = 0;
    while (pos < message.size() && std::isdigit(static_cast<unsigned char>(message[pos])) && digits < 9) {
        line = line * 10 + (message[pos++] - '0');
        ++digits;
    }
    if (digits == 0 || pos >= message.size() || message[pos] != ':')
        return {fallback_line, message};
    return {line, trim(message.substr(pos + 1))};
}

}  // namespace

std::optional<ProgramCommand> programCommandOf(const std::string &method)
{
    static const std::pair<const char *, ProgramCommand> methods[] = {
        {"RuntimeMachine.start", ProgramCommand::Start},
        {"RuntimeMachine.pause", ProgramCommand::Pause},
        {"RuntimeMachine.resume", ProgramCommand::Resume},
        {"RuntimeMachine.step", ProgramCommand::Step},
        {"RuntimeMachine.stop", ProgramCommand::Stop}};
    for (const auto &[name, command] : methods)
        if (method == name)
            return command;
    return std::nullopt;
}

ProgramRunner::ProgramRunner(ProgramHost &h, SandboxLimits lim) : host(h), limits(lim)
{
    context.host = &host;
}

ProgramRunner::~ProgramRunner() = default;

bool ProgramRunner::load(const std::string &program, Clock::time_point now)
{
    context.now = now;
    {
        LuaSandbox check(limits);
        if (auto error = check.load(program)) {
            reportError(*error);
            return false;
        }
    }
    if (phase != RuntimeState::Stopped) {
        // The new program replaces the running one at once.
        host.stopMotion();
        flushVariables(true);
        sandbox.reset();
        finishTask();
    }
    text = program;
    lines.clear();
    for (const std::string &line : splitLines(program))
        lines.push_back({holdsCode(line), commentOf(line)});
    loaded = true;
    const bool named = !lines.empty() && !lines.front().code && !lines.front().comment.empty();
    sendMessage(kProgramLoadedCode, kLevelInfo, {named ? lines.front().comment : kDefaultProgramName});
    return true;
}

int ProgramRunner::start(Clock::time_point now)
{
    context.now = now;
    if (!loaded)
        return RuntimeMachine::kNoProgram;
    if (phase != RuntimeState::Stopped)
        return RuntimeMachine::kNotAllowed;
    sandbox = std::make_unique<LuaSandbox>(limits);
    if (auto error = sandbox->load(text)) {
        // Compiled at load time; only the memory cap can refuse it now.
        reportError(*error);
        sandbox.reset();
        return RuntimeMachine::kNotAllowed;
    }
    installCommands(*sandbox, context);
    sandbox->setLineHandler([this](int line) { return onLine(line); });
    ++task;
    current_line = 0;
    pending_runtime_line = 0;
    context_index = 0;
    context.wait = {};
    last_variables = now;
    setPhase(RuntimeState::Running);
    return 0;
}

int ProgramRunner::pause(Clock::time_point now)
{
    context.now = now;
    if (phase != RuntimeState::Running && phase != RuntimeState::Stepping)
        return RuntimeMachine::kNotAllowed;
    host.holdMotion(true);
    paused_at = now;
    transition_end = now + kTransitionTime;
    setPhase(RuntimeState::Pausing);
    return 0;
}

int ProgramRunner::resume(Clock::time_point now)
{
    return continueFromPause(now, RuntimeState::Running);
}

int ProgramRunner::step(Clock::time_point now)
{
    return continueFromPause(now, RuntimeState::Stepping);
}

int ProgramRunner::continueFromPause(Clock::time_point now, RuntimeState next)
{
    context.now = now;
    if (phase != RuntimeState::Paused)
        return RuntimeMachine::kNotAllowed;
    // A wait in progress does not count the paused time.
    if (context.wait.kind == ProgramWait::Kind::Until)
        context.wait.until += now - paused_at;
    host.holdMotion(false);
    setPhase(next);
    reportRuntimeLine();
    return 0;
}

int ProgramRunner::stop(Clock::time_point now)
{
    context.now = now;
    if (phase == RuntimeState::Stopped)
        return RuntimeMachine::kNotAllowed;
    if (phase != RuntimeState::Stopping)
        beginStop();
    return 0;
}

int ProgramRunner::apply(ProgramCommand command, Clock::time_point now)
{
    switch (command) {
        case ProgramCommand::Start:
            return start(now);
        case ProgramCommand::Pause:
            return pause(now);
        case ProgramCommand::Resume:
            return resume(now);
        case ProgramCommand::Step:
            return step(now);
        case ProgramCommand::Stop:
            return stop(now);
    }
    return RuntimeMachine::kNotAllowed;
}

void ProgramRunner::tick(Clock::time_point now)
{
    context.now = now;
    switch (phase) {
        case RuntimeState::Stopping:
            if (now >= transition_end && host.steady())
                finishTask();
            break;
        case RuntimeState::Pausing:
            if (now >= transition_end && host.steady())
                setPhase(RuntimeState::Paused);
            break;
        case RuntimeState::Running:
        case RuntimeState::Stepping:
            advance();
            break;
        default:
            break;
    }
    if (sandbox && now - last_variables >= kVariablePeriod)
        flushVariables(false);
}

void ProgramRunner::setPhase(RuntimeState next)
{
    phase = next;
    host.setRuntimeState(next);
}

bool ProgramRunner::waitSatisfied()
{
    switch (context.wait.kind) {
        case ProgramWait::Kind::Motion: {
            MotionStatus status = host.motionStatus();
            if (status.progress == MotionProgress::Moving)
                return false;
            context.motion = std::move(status);
            break;
        }
        case ProgramWait::Kind::Until:
            if (context.now < context.wait.until)
                return false;
            break;
        default:
            break;
    }
    context.wait = {};
    return true;
}

void ProgramRunner::advance()
{
    if (!waitSatisfied())
        return;
    contexts_this_resume = 0;
    skipped_line = 0;
    std::string error;
    const LuaSandbox::Outcome outcome = sandbox->resume(error);
    if (skipped_line != 0)
        reportLine(skipped_line, true);
    if (outcome == LuaSandbox::Outcome::Failed) {
        reportError(error);
        beginStop();
    } else if (outcome == LuaSandbox::Outcome::Finished || context.wait.kind == ProgramWait::Kind::End) {
        beginStop();
    } else if (step_done) {
        step_done = false;
        host.holdMotion(true);
        paused_at = context.now;
        setPhase(RuntimeState::Paused);
    }
}

bool ProgramRunner::onLine(int line)
{
    if (line < 1 || static_cast<size_t>(line) > lines.size() || !lines[line - 1].code)
        return false;
    if (phase == RuntimeState::Stepping && current_line != 0) {
        // The step is done: this line is prepared and runs on the next step or resume.
        current_line = line;
        step_done = true;
        reportLine(line, false);
        return true;
    }
    if (line == current_line && contexts_this_resume > 0)
        return false;
    current_line = line;
    if (contexts_this_resume >= kMaxContextsPerResume) {
        skipped_line = line;
        return false;
    }
    reportLine(line, true);
    return false;
}

void ProgramRunner::reportLine(int line, bool runs)
{
    ++contexts_this_resume;
    sendMessage(
        kInterpContextCode, kLevelInfo,
        {std::to_string(task), std::to_string(line), std::to_string(context_index), lines[line - 1].comment});
    pending_runtime_line = line;
    if (runs)
        reportRuntimeLine();
}

void ProgramRunner::reportRuntimeLine()
{
    if (pending_runtime_line == 0)
        return;
    const int line = pending_runtime_line;
    pending_runtime_line = 0;
    sendMessage(
        kRuntimeContextCode, kLevelInfo,
        {std::to_string(task), std::to_string(line), std::to_string(context_index), lines[line - 1].comment});
    host.setRuntimeContext(task, line);
    ++context_index;
}

void ProgramRunner::beginStop()
{
    host.stopMotion();
    flushVariables(true);
    sandbox.reset();
    context.wait = {};
    pending_runtime_line = 0;
    transition_end = context.now + kTransitionTime;
    setPhase(RuntimeState::Stopping);
}

void ProgramRunner::finishTask()
{
    setPhase(RuntimeState::Stopped);
    host.setRuntimeContext(-1, -1);
    sendMessage(kTaskDeletedCode, kLevelInfo, {std::to_string(task)});
}

void ProgramRunner::flushVariables(bool all)
{
    if (!sandbox)
        return;
    last_variables = context.now;
    do {
        for (const auto &[name, value] : sandbox->takeAssignedGlobals(kMaxVariablesPerFlush))
            host.notifyScript(kVariableUpdateMethod, {name, value});
    } while (all && sandbox->hasAssignedGlobals());
}

void ProgramRunner::reportError(const std::string &message)
{
    const auto [line, detail] = splitPosition(message, current_line);
    host.notifyScript(kScriptErrorMethod, {scriptText(message)});
    sendMessage(kGeneralCode, kLevelError, {detail}, scriptErrorSource(host.robotName(), line));
}

void ProgramRunner::sendMessage(int code, int level, std::vector<std::string> args, const std::string &source)
{
    host.sendMessage(makeMessage(code, level, source.empty() ? host.robotName() : source, std::move(args)));
}

}  // namespace temla::korvu_sim::program
