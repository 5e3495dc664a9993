#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct lua_State;
struct lua_Debug;

namespace temla::korvu_sim::program
{

struct SandboxLimits {
    std::size_t memory_bytes = 16u << 20;
    // VM instructions one resume may run before the program is suspended until the next tick.
    long instructions_per_resume = 200000;
    // Wall-clock bound of one resume, so that a slow machine still keeps the simulator's thread free.
    std::chrono::microseconds time_per_resume{2000};
};

// One program's Lua state: only the base (without file or chunk loading), table, string, math
// and utf8 libraries; global assignments are recorded; the allocator refuses memory past the cap.
// The program runs as a coroutine so that commands, the instruction budget and stepping can
// suspend it anywhere.
class LuaSandbox
{
public:
    // Called before each new source line runs; returning true suspends the program there.
    using LineHandler = std::function<bool(int line)>;

    explicit LuaSandbox(SandboxLimits limits = {});
    ~LuaSandbox();
    LuaSandbox(const LuaSandbox &) = delete;
    LuaSandbox &operator=(const LuaSandbox &) = delete;

    // Compiles a text chunk (binary chunks are refused); on failure the Lua error message.
    std::optional<std::string> load(const std::string &text);
    // A global function of the program, with one light-userdata upvalue.
    void addFunction(const char *name, int (*function)(lua_State *), void *upvalue);
    void setLineHandler(LineHandler handler) { line_handler = std::move(handler); }

    enum class Outcome { Suspended, Finished, Failed };
    // Runs the program until it ends, fails (error holds the message) or is suspended.
    Outcome resume(std::string &error);

    // Global names assigned since the last call (at most max), with their values as text.
    std::vector<std::pair<std::string, std::string>> takeAssignedGlobals(std::size_t max);
    bool hasAssignedGlobals() const { return !assigned.empty(); }

    std::size_t memoryInUse() const { return memory_used; }

    // Name under which errors of the program name their line ("program:7: ...").
    static constexpr const char *kChunkName = "program";

    // The sandbox that owns the state L belongs to.
    static LuaSandbox &of(lua_State *L);

private:
    // Calls the simulator makes outside the program's protected run allocate past the cap: a
    // refusal there would end the process instead of the program.
    struct HostSide {
        explicit HostSide(LuaSandbox &s) : sandbox(s) { sandbox.host_side = true; }
        ~HostSide() { sandbox.host_side = false; }
        LuaSandbox &sandbox;
    };

    static void *allocate(void *ud, void *block, std::size_t old_size, std::size_t new_size);
    static void hook(lua_State *L, lua_Debug *ar);
    static int assignGlobal(lua_State *L);
    void openLibraries();
    void makeEnvironment();
    std::string valueText(int index);

    SandboxLimits limits;
    std::size_t memory_used = 0;
    bool host_side = false;
    lua_State *main = nullptr;
    lua_State *thread = nullptr;
    bool started = false;
    long executed = 0;
    std::chrono::steady_clock::time_point resumed_at{};
    LineHandler line_handler;
    std::vector<std::string> assigned;  // in first-assignment order, each once
    std::set<std::string, std::less<>> assigned_set;
};

}  // namespace temla::korvu_sim::program
