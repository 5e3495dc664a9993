#include "lua_sandbox.h"

#include <cstdlib>
#include <cstring>
#include <lua.hpp>
#include <new>

namespace temla::korvu_sim::program
{
namespace
{

// The count hook runs every this many VM instructions.
constexpr int kHookInterval = 1000;
// A call that cannot be suspended (a comparator inside table.sort, say) may run this many
// budgets before it is ended with an error.
constexpr long kUnyieldableBudgets = 10;
// Bounds on what variable reports hold.
constexpr std::size_t kMaxTrackedNames = 4096;
constexpr std::size_t kMaxValueText = 1024;
constexpr lua_Integer kMaxListedItems = 16;

// Registry keys: their addresses are unique.
const char kStoreKey = 0;
const char kEnvKey = 0;

// Base functions a program must not have: they read files or load code.
constexpr const char *kRemovedBase[] = {"dofile", "loadfile", "load", "collectgarbage"};

}  // namespace

LuaSandbox::LuaSandbox(SandboxLimits lim) : limits(lim)
{
    main = lua_newstate(&LuaSandbox::allocate, this);
    if (!main)
        throw std::bad_alloc();
    *static_cast<LuaSandbox **>(lua_getextraspace(main)) = this;
    HostSide guard(*this);
    openLibraries();
    makeEnvironment();
}

LuaSandbox::~LuaSandbox()
{
    lua_close(main);
}

LuaSandbox &LuaSandbox::of(lua_State *L)
{
    return **static_cast<LuaSandbox **>(lua_getextraspace(L));
}

void *LuaSandbox::allocate(void *ud, void *block, std::size_t old_size, std::size_t new_size)
{
    auto *self = static_cast<LuaSandbox *>(ud);
    // Without a block, old_size tells the kind of object, not a size.
    const std::size_t held = block ? old_size : 0;
    if (new_size == 0) {
        std::free(block);
        self->memory_used -= held;
        return nullptr;
    }
    if (!self->host_side && new_size > held &&
        self->memory_used + (new_size - held) > self->limits.memory_bytes)
        return nullptr;
    void *grown = std::realloc(block, new_size);
    if (grown)
        self->memory_used = self->memory_used - held + new_size;
    return grown;
}

void LuaSandbox::openLibraries()
{
    luaL_requiref(main, LUA_GNAME, luaopen_base, 1);
    for (const char *name : kRemovedBase) {
        lua_pushnil(main);
        lua_setfield(main, -2, name);
    }
    const std::pair<const char *, lua_CFunction> libraries[] = {{LUA_TABLIBNAME, luaopen_table},
                                                                {LUA_STRLIBNAME, luaopen_string},
                                                                {LUA_MATHLIBNAME, luaopen_math},
                                                                {LUA_UTF8LIBNAME, luaopen_utf8}};
    for (const auto &[name, open] : libraries) {
        luaL_requiref(main, name, open, 1);
        lua_pop(main, 1);
    }
    // Binary chunks cannot be loaded; no need to make them either.
    lua_getfield(main, -1, LUA_STRLIBNAME);
    lua_pushnil(main);
    lua_setfield(main, -2, "dump");
    lua_pop(main, 2);
}

// The program's globals: writes go to a store (and are recorded), reads fall through the store to
// the built-in functions, which a program can shadow but not overwrite.
void LuaSandbox::makeEnvironment()
{
    lua_rawgeti(main, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    const int builtins = lua_gettop(main);

    lua_newtable(main);  // store
    const int store = lua_gettop(main);
    lua_newtable(main);
    lua_pushvalue(main, builtins);
    lua_setfield(main, -2, "__index");
    lua_pushboolean(main, 0);
    lua_setfield(main, -2, "__metatable");
    lua_setmetatable(main, store);

    lua_newtable(main);  // environment, always empty
    const int env = lua_gettop(main);
    lua_newtable(main);
    lua_pushvalue(main, store);
    lua_setfield(main, -2, "__index");
    lua_pushvalue(main, store);
    lua_pushcclosure(main, &LuaSandbox::assignGlobal, 1);
    lua_setfield(main, -2, "__newindex");
    lua_pushboolean(main, 0);
    lua_setfield(main, -2, "__metatable");
    lua_setmetatable(main, env);

    lua_pushvalue(main, env);
    lua_setfield(main, builtins, LUA_GNAME);
    lua_pushvalue(main, store);
    lua_rawsetp(main, LUA_REGISTRYINDEX, &kStoreKey);
    lua_pushvalue(main, env);
    lua_rawsetp(main, LUA_REGISTRYINDEX, &kEnvKey);
    lua_settop(main, builtins - 1);
}

int LuaSandbox::assignGlobal(lua_State *L)
{
    lua_settop(L, 3);
    lua_pushvalue(L, 2);
    lua_pushvalue(L, 3);
    lua_rawset(L, lua_upvalueindex(1));
    if (lua_type(L, 2) == LUA_TSTRING) {
        LuaSandbox &self = of(L);
        std::size_t length = 0;
        const char *text = lua_tolstring(L, 2, &length);
        const std::string_view name(text, length);
        if (self.assigned_set.size() < kMaxTrackedNames &&
            self.assigned_set.find(name) == self.assigned_set.end()) {
            self.assigned_set.emplace(name);
            self.assigned.emplace_back(name);
        }
    }
    return 0;
}

void LuaSandbox::addFunction(const char *name, int (*function)(lua_State *), void *upvalue)
{
    HostSide guard(*this);
    lua_rawgeti(main, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_pushlightuserdata(main, upvalue);
    lua_pushcclosure(main, function, 1);
    lua_setfield(main, -2, name);
    lua_pop(main, 1);
}

std::optional<std::string> LuaSandbox::load(const std::string &text)
{
    const std::string chunk_name = std::string("=") + kChunkName;
    if (luaL_loadbufferx(main, text.data(), text.size(), chunk_name.c_str(), "t") != LUA_OK) {
        std::string message =
            lua_isstring(main, -1) ? lua_tostring(main, -1) : "the program cannot be loaded";
        lua_pop(main, 1);
        return message;
    }
    HostSide guard(*this);
    lua_rawgetp(main, LUA_REGISTRYINDEX, &kEnvKey);
    lua_setupvalue(main, -2, 1);
    thread = lua_newthread(main);
    lua_pushvalue(main, -2);
    lua_xmove(main, thread, 1);
    luaL_ref(main, LUA_REGISTRYINDEX);  // keeps the thread alive
    lua_pop(main, 1);
    lua_sethook(thread, &LuaSandbox::hook, LUA_MASKCOUNT | LUA_MASKLINE, kHookInterval);
    return std::nullopt;
}

void LuaSandbox::hook(lua_State *L, lua_Debug *ar)
{
    LuaSandbox &self = of(L);
    if (ar->event == LUA_HOOKCOUNT) {
        self.executed += kHookInterval;
        if (self.executed < self.limits.instructions_per_resume &&
            std::chrono::steady_clock::now() - self.resumed_at < self.limits.time_per_resume)
            return;
        if (lua_isyieldable(L)) {
            lua_yield(L, 0);
            return;
        }
        if (self.executed >= kUnyieldableBudgets * self.limits.instructions_per_resume ||
            std::chrono::steady_clock::now() - self.resumed_at >=
                kUnyieldableBudgets * self.limits.time_per_resume)
            luaL_error(L, "instruction budget exceeded inside a call that cannot be paused");
        return;
    }
    if (ar->event == LUA_HOOKLINE && self.line_handler && self.line_handler(ar->currentline) &&
        lua_isyieldable(L))
        lua_yield(L, 0);
}

LuaSandbox::Outcome LuaSandbox::resume(std::string &error)
{
    if (!thread) {
        error = "no program loaded";
        return Outcome::Failed;
    }
    executed = 0;
    resumed_at = std::chrono::steady_clock::now();
    int results = 0;
    const int status = lua_resume(thread, main, 0, &results);
    if (status == LUA_YIELD) {
        lua_pop(thread, results);
        return Outcome::Suspended;
    }
    if (status == LUA_OK)
        return Outcome::Finished;
    if (lua_type(thread, -1) == LUA_TSTRING)
        error = lua_tostring(thread, -1);
    else
        error = std::string("error object is a ") + luaL_typename(thread, -1) + " value";
    return Outcome::Failed;
}

std::string LuaSandbox::valueText(int index)
{
    index = lua_absindex(main, index);
    switch (lua_type(main, index)) {
        case LUA_TNIL:
            return "nil";
        case LUA_TBOOLEAN:
            return lua_toboolean(main, index) ? "true" : "false";
        case LUA_TNUMBER:
        case LUA_TSTRING: {
            lua_pushvalue(main, index);  // tostring converts numbers in place: work on a copy
            std::size_t length = 0;
            const char *text = lua_tolstring(main, -1, &length);
            std::string value(text, std::min(length, kMaxValueText));
            lua_pop(main, 1);
            return value;
        }
        case LUA_TTABLE: {
            const lua_Integer count = static_cast<lua_Integer>(lua_rawlen(main, index));
            if (count == 0 || count > kMaxListedItems)
                return "table";
            std::string list = "{";
            for (lua_Integer i = 1; i <= count; ++i) {
                lua_rawgeti(main, index, i);
                const bool scalar = lua_type(main, -1) == LUA_TNUMBER || lua_type(main, -1) == LUA_TBOOLEAN;
                list += (i > 1 ? ", " : "") + (scalar ? valueText(-1) : std::string(luaL_typename(main, -1)));
                lua_pop(main, 1);
            }
            return list + "}";
        }
        default:
            return luaL_typename(main, index);
    }
}

std::vector<std::pair<std::string, std::string>> LuaSandbox::takeAssignedGlobals(std::size_t max)
{
    std::vector<std::pair<std::string, std::string>> values;
    HostSide guard(*this);
    lua_rawgetp(main, LUA_REGISTRYINDEX, &kStoreKey);
    std::size_t taken = 0;
    for (; taken < assigned.size() && values.size() < max; ++taken) {
        const std::string &name = assigned[taken];
        lua_pushlstring(main, name.data(), name.size());
        lua_rawget(main, -2);
        if (lua_type(main, -1) != LUA_TFUNCTION)
            values.emplace_back(name, valueText(-1));
        lua_pop(main, 1);
        assigned_set.erase(name);
    }
    assigned.erase(assigned.begin(), assigned.begin() + static_cast<std::ptrdiff_t>(taken));
    lua_pop(main, 1);
    return values;
}

}  // namespace temla::korvu_sim::program
