// The robot's commands as Lua functions. Lua reports errors and suspends coroutines with longjmp,
// which skips C++ destructors: the lua_CFunctions below keep only trivially destructible values
// in their own frames and do everything that builds C++ objects in noexcept helpers.

#include <cmath>
#include <cstdio>
#include <exception>
#include <lua.hpp>
#include <optional>
#include <type_traits>

#include "program_messages.h"
#include "program_runner.h"

namespace temla::korvu_sim::program
{
namespace
{

constexpr double kDefaultJointSpeed = 1.05;          // rad/s
constexpr double kDefaultJointAcceleration = 1.4;    // rad/s^2
constexpr double kDefaultLinearSpeed = 0.25;         // m/s
constexpr double kDefaultLinearAcceleration = 1.2;   // m/s^2
constexpr double kLongestSleep = 365.0 * 24 * 3600;  // s
constexpr int kPoseSize = 6;
constexpr int kCogSize = 3;
constexpr const char *kDefaultPopupTitle = "Program";

constexpr int kMaxValues = 16;  // longest list a command takes or returns

struct Values {
    double v[kMaxValues] = {};
    int n = 0;
};

struct Failure {
    char text[256] = {};
    bool failed() const { return text[0] != '\0'; }
};

CommandContext &contextOf(lua_State *L)
{
    return *static_cast<CommandContext *>(lua_touserdata(L, lua_upvalueindex(1)));
}

template <typename Action>
Failure guarded(const char *what, Action &&action) noexcept
{
    Failure failure;
    try {
        action();
    } catch (const std::exception &e) {
        std::snprintf(failure.text, sizeof failure.text, "%s failed: %s", what, e.what());
    } catch (...) {
        std::snprintf(failure.text, sizeof failure.text, "%s failed", what);
    }
    return failure;
}

int raise(lua_State *L, const Failure &failure)
{
    return luaL_error(L, "%s", failure.text);
}

// A list of exactly `expected` numbers at argument `arg`.
Values checkList(lua_State *L, int arg, int expected)
{
    luaL_checktype(L, arg, LUA_TTABLE);
    const lua_Integer length = static_cast<lua_Integer>(lua_rawlen(L, arg));
    if (length != expected || expected > kMaxValues)
        luaL_argerror(L, arg,
                      lua_pushfstring(L, "%d numbers expected, got %d", expected, static_cast<int>(length)));
    Values values;
    for (int i = 1; i <= expected; ++i) {
        lua_rawgeti(L, arg, i);
        int is_number = 0;
        const double value = lua_tonumberx(L, -1, &is_number);
        lua_pop(L, 1);
        if (!is_number || !std::isfinite(value))
            luaL_argerror(L, arg, lua_pushfstring(L, "element %d is not a finite number", i));
        values.v[values.n++] = value;
    }
    return values;
}

double checkPositive(lua_State *L, int arg, double fallback)
{
    const double value = luaL_optnumber(L, arg, fallback);
    if (!(value > 0.0) || !std::isfinite(value))
        luaL_argerror(L, arg, "must be a positive number");
    return value;
}

int checkIndex(lua_State *L, int arg)
{
    const lua_Integer index = luaL_checkinteger(L, arg);
    if (index < 0 || index > 1023)
        luaL_argerror(L, arg, "no such channel");
    return static_cast<int>(index);
}

void pushList(lua_State *L, const Values &values)
{
    lua_createtable(L, values.n, 0);
    for (int i = 0; i < values.n; ++i) {
        lua_pushnumber(L, values.v[i]);
        lua_rawseti(L, -2, i + 1);
    }
}

Values toValues(const std::vector<double> &list)
{
    Values values;
    for (double v : list)
        if (values.n < kMaxValues)
            values.v[values.n++] = v;
    return values;
}

int afterMotion(lua_State *L, int, lua_KContext)
{
    const CommandContext &context = contextOf(L);
    if (context.motion.progress != MotionProgress::Aborted)
        return 0;
    Failure failure;
    std::snprintf(failure.text, sizeof failure.text, "move aborted (code %d): %s", context.motion.code,
                  context.motion.reason.c_str());
    return raise(L, failure);
}

int startMove(lua_State *L, const char *name, MotionKind kind, const Values &target, const Values *via,
              double speed, double acceleration)
{
    CommandContext &context = contextOf(L);
    Failure refusal;
    const Failure failure = guarded(name, [&] {
        MotionCommand command;
        command.kind = kind;
        command.target.assign(target.v, target.v + target.n);
        if (via)
            command.via.assign(via->v, via->v + via->n);
        command.speed = speed;
        command.acceleration = acceleration;
        const MotionStatus status = context.host->startMotion(command);
        if (status.progress == MotionProgress::Aborted)
            std::snprintf(refusal.text, sizeof refusal.text, "%s refused (code %d): %s", name, status.code,
                          status.reason.c_str());
    });
    if (failure.failed())
        return raise(L, failure);
    if (refusal.failed())
        return raise(L, refusal);
    context.wait = {ProgramWait::Kind::Motion, {}};
    return lua_yieldk(L, 0, 0, &afterMotion);
}

int movej(lua_State *L)
{
    const Values q = checkList(L, 1, contextOf(L).host->dof());
    const double speed = checkPositive(L, 2, kDefaultJointSpeed);
    const double acceleration = checkPositive(L, 3, kDefaultJointAcceleration);
    return startMove(L, "movej", MotionKind::Joint, q, nullptr, speed, acceleration);
}

int movel(lua_State *L)
{
    const Values pose = checkList(L, 1, kPoseSize);
    const double speed = checkPositive(L, 2, kDefaultLinearSpeed);
    const double acceleration = checkPositive(L, 3, kDefaultLinearAcceleration);
    return startMove(L, "movel", MotionKind::Linear, pose, nullptr, speed, acceleration);
}

int movec(lua_State *L)
{
    const Values via = checkList(L, 1, kPoseSize);
    const Values pose = checkList(L, 2, kPoseSize);
    const double speed = checkPositive(L, 3, kDefaultLinearSpeed);
    const double acceleration = checkPositive(L, 4, kDefaultLinearAcceleration);
    return startMove(L, "movec", MotionKind::Circular, pose, &via, speed, acceleration);
}

int stopProgram(lua_State *L)
{
    contextOf(L).wait = {ProgramWait::Kind::End, {}};
    return lua_yield(L, 0);
}

int sleepFor(lua_State *L)
{
    const double seconds = luaL_checknumber(L, 1);
    if (!(seconds >= 0.0) || !std::isfinite(seconds))
        luaL_argerror(L, 1, "must be a number of seconds, 0 or more");
    CommandContext &context = contextOf(L);
    const auto duration = std::chrono::duration<double>(std::min(seconds, kLongestSleep));
    context.wait = {ProgramWait::Kind::Until,
                    context.now + std::chrono::duration_cast<Clock::duration>(duration)};
    return lua_yield(L, 0);
}

int setDigitalOut(lua_State *L)
{
    const int index = checkIndex(L, 1);
    luaL_checktype(L, 2, LUA_TBOOLEAN);
    const bool value = lua_toboolean(L, 2);
    bool known = false;
    const Failure failure =
        guarded("set_digital_out", [&] { known = contextOf(L).host->setDigitalOutput(index, value); });
    if (failure.failed())
        return raise(L, failure);
    if (!known)
        luaL_argerror(L, 1, "no such digital output");
    return 0;
}

template <typename Value, typename Read>
int pushRead(lua_State *L, const char *name, Read &&read)
{
    const int index = checkIndex(L, 1);
    std::optional<Value> value;
    const Failure failure = guarded(name, [&] { value = read(*contextOf(L).host, index); });
    if (failure.failed())
        return raise(L, failure);
    if (!value)
        luaL_argerror(L, 1, "no such channel");
    if constexpr (std::is_same_v<Value, bool>)
        lua_pushboolean(L, *value);
    else
        lua_pushnumber(L, *value);
    return 1;
}

int getDigitalOut(lua_State *L)
{
    return pushRead<bool>(L, "get_digital_out", [](ProgramHost &h, int i) { return h.digitalOutput(i); });
}

int getDigitalIn(lua_State *L)
{
    return pushRead<bool>(L, "get_digital_in", [](ProgramHost &h, int i) { return h.digitalInput(i); });
}

int getAnalogOut(lua_State *L)
{
    return pushRead<double>(L, "get_analog_out", [](ProgramHost &h, int i) { return h.analogOutput(i); });
}

int getAnalogIn(lua_State *L)
{
    return pushRead<double>(L, "get_analog_in", [](ProgramHost &h, int i) { return h.analogInput(i); });
}

int setAnalogOut(lua_State *L)
{
    const int index = checkIndex(L, 1);
    const double value = luaL_checknumber(L, 2);
    bool known = false;
    const Failure failure =
        guarded("set_analog_out", [&] { known = contextOf(L).host->setAnalogOutput(index, value); });
    if (failure.failed())
        return raise(L, failure);
    if (!known)
        luaL_argerror(L, 1, "no such analog output");
    return 0;
}

int sendText(lua_State *L, const char *name, int code, int level, const char *first, const char *second,
             int mode)
{
    const Failure failure = guarded(name, [&] {
        ProgramHost &host = *contextOf(L).host;
        std::vector<std::string> args{first};
        if (second)
            args.insert(args.begin(), second);  // popup: title first
        if (code == kPopupCode)
            args.push_back(std::to_string(mode));
        host.sendMessage(makeMessage(code, level, host.robotName(), std::move(args)));
    });
    return failure.failed() ? raise(L, failure) : 0;
}

int popup(lua_State *L)
{
    const char *message = luaL_checkstring(L, 1);
    const char *title = luaL_optstring(L, 2, kDefaultPopupTitle);
    const lua_Integer mode = luaL_optinteger(L, 3, 0);
    return sendText(L, "popup", kPopupCode, kLevelWarning, message, title, static_cast<int>(mode));
}

// textmsg(...) and print(...): the arguments as text, separated by blanks.
int textmsg(lua_State *L)
{
    const int count = lua_gettop(L);
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            luaL_addchar(&buffer, ' ');
        luaL_tolstring(L, i, nullptr);
        luaL_addvalue(&buffer);
    }
    luaL_pushresult(&buffer);
    return sendText(L, "textmsg", kGeneralCode, kLevelInfo, lua_tostring(L, -1), nullptr, 0);
}

int setTcp(lua_State *L)
{
    const Values offset = checkList(L, 1, kPoseSize);
    const Failure failure = guarded(
        "set_tcp", [&] { contextOf(L).host->setTcp(std::vector<double>(offset.v, offset.v + offset.n)); });
    return failure.failed() ? raise(L, failure) : 0;
}

int setPayload(lua_State *L)
{
    const double mass = luaL_checknumber(L, 1);
    if (!(mass >= 0.0) || !std::isfinite(mass))
        luaL_argerror(L, 1, "must be a mass in kg, 0 or more");
    Values cog;
    cog.n = kCogSize;
    if (!lua_isnoneornil(L, 2))
        cog = checkList(L, 2, kCogSize);
    const Failure failure = guarded("set_payload", [&] {
        contextOf(L).host->setPayload(mass, std::vector<double>(cog.v, cog.v + cog.n));
    });
    return failure.failed() ? raise(L, failure) : 0;
}

template <typename Read>
int pushValues(lua_State *L, const char *name, Read &&read)
{
    Values values;
    const Failure failure = guarded(name, [&] { values = toValues(read(*contextOf(L).host)); });
    if (failure.failed())
        return raise(L, failure);
    pushList(L, values);
    return 1;
}

int getJointPositions(lua_State *L)
{
    return pushValues(L, "get_actual_joint_positions", [](ProgramHost &h) { return h.jointPositions(); });
}

int getTcpPose(lua_State *L)
{
    return pushValues(L, "get_actual_tcp_pose", [](ProgramHost &h) { return h.tcpPose(); });
}

}  // namespace

void installCommands(LuaSandbox &sandbox, CommandContext &context)
{
    const std::pair<const char *, lua_CFunction> commands[] = {
        {"movej", movej},
        {"movel", movel},
        {"movec", movec},
        {"stop", stopProgram},
        {"sleep", sleepFor},
        {"set_digital_out", setDigitalOut},
        {"get_digital_out", getDigitalOut},
        {"get_digital_in", getDigitalIn},
        {"set_analog_out", setAnalogOut},
        {"get_analog_out", getAnalogOut},
        {"get_analog_in", getAnalogIn},
        {"popup", popup},
        {"textmsg", textmsg},
        {"print", textmsg},
        {"set_tcp", setTcp},
        {"set_payload", setPayload},
        {"get_actual_joint_positions", getJointPositions},
        {"get_actual_tcp_pose", getTcpPose},
    };
    for (const auto &[name, function] : commands)
        sandbox.addFunction(name, function, &context);
}

}  // namespace temla::korvu_sim::program
