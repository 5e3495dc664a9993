#include "korvu_sim/simulator.h"

#include <algorithm>
#include <future>
#include <stdexcept>

#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"
#include "rpc_methods.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{
namespace
{

using korvu_wire::Json;

std::vector<RobotModel> robotsOf(const SimulatorOptions &options)
{
    std::vector<RobotModel> robots = options.robots;
    if (robots.empty())
        for (int i = 0; i < std::max(1, options.robot_count); ++i)
            robots.push_back(makeDefaultRobot(i));
    return robots;
}

int sumOrSlot(const std::array<int, kServerCount> &counts, ServerKind kind)
{
    if (kind == ServerKind::All)
        return counts[0] + counts[1] + counts[2];
    return counts[slot(kind)];
}

bool eachAtLeast(const std::array<int, kServerCount> &counts, int n)
{
    return std::all_of(counts.begin(), counts.end(), [n](int c) { return c >= n; });
}

}  // namespace

Simulator::Impl::Impl(SimulatorOptions opts)
    : options(std::move(opts)), state(makeControllerState(robotsOf(options))), manual(options.manual_stepping)
{
}

void Simulator::Impl::notifyChange() const
{
    std::lock_guard<std::mutex> lock(change_mutex);
    change_cv.notify_all();
}

void Simulator::Impl::log(const std::string &line) const
{
    if (options.log)
        options.log(line);
}

void Simulator::Impl::runOnIo(const std::function<void()> &task)
{
    {
        std::lock_guard<std::mutex> lock(lifecycle_mutex);
        if (!running || thread.get_id() == std::this_thread::get_id()) {
            task();
            return;
        }
    }
    std::promise<void> done;
    auto future = done.get_future();
    asio::post(io, [&task, &done] {
        task();
        done.set_value();
    });
    future.wait();
}

Simulator::Simulator(SimulatorOptions options) : impl(std::make_shared<Impl>(std::move(options))) {}

Simulator::~Simulator()
{
    stop();
}

void Simulator::start()
{
    std::lock_guard<std::mutex> lock(impl->lifecycle_mutex);
    if (impl->running)
        return;
    impl->io.restart();
    impl->connections.bind();
    impl->connections.startAccepting();
    impl->realtime.startClock();
    impl->script.startPrograms();
    impl->work.emplace(impl->io.get_executor());
    impl->thread = std::thread([impl = impl] { impl->io.run(); });
    impl->running = true;
}

void Simulator::stop()
{
    std::lock_guard<std::mutex> lock(impl->lifecycle_mutex);
    if (!impl->running)
        return;
    asio::post(impl->io, [impl = impl] {
        impl->connections.close();
        impl->scenario.cancel();
        impl->realtime.stopClock();
        impl->script.cancelPrograms();
        impl->work.reset();
    });
    impl->thread.join();
    impl->io.stop();
    impl->sessions.clear();
    impl->scenario.clear();
    impl->running = false;
    impl->mutate([&] {
        impl->connection_counts = {};
        impl->login_counts = {};
    });
}

const std::string &Simulator::host() const
{
    return impl->options.host;
}
int Simulator::basePort() const
{
    return impl->base_port;
}
int Simulator::rpcPort() const
{
    return impl->base_port + korvu_wire::kRpcPortOffset;
}
int Simulator::realtimePort() const
{
    return impl->base_port + korvu_wire::kRealtimePortOffset;
}
int Simulator::scriptPort() const
{
    return impl->base_port + korvu_wire::kScriptPortOffset;
}

std::vector<std::string> Simulator::robotNames() const
{
    return impl->locked([&] {
        std::vector<std::string> names;
        for (const auto &robot : impl->state.robots)
            names.push_back(robot.model.name);
        return names;
    });
}

RobotModel Simulator::robot(int index) const
{
    return impl->locked([&] { return impl->state.robots.at(static_cast<size_t>(index)).model; });
}

void Simulator::updateRobot(int index, const std::function<void(RobotModel &)> &change)
{
    impl->mutate([&] {
        if (index >= 0 && static_cast<size_t>(index) < impl->state.robots.size())
            change(impl->state.robots[static_cast<size_t>(index)].model);
    });
}

void Simulator::setRobotMode(int index, common_interface::RobotModeType mode)
{
    impl->control(index, [mode](RobotController &c) { c.forceRobotMode(mode); });
}

void Simulator::setSafetyMode(int index, common_interface::SafetyModeType mode)
{
    updateRobot(index, [mode](RobotModel &r) { r.safety_mode = mode; });
}

void Simulator::setRuntimeState(common_interface::RuntimeState state)
{
    impl->mutate([&] { impl->state.runtime_state = state; });
}

void Simulator::setRuntimeContext(int thread_id, int line_number)
{
    impl->mutate([&] { impl->state.runtime_context = {thread_id, line_number}; });
}

void Simulator::setModbusSignals(std::vector<std::string> names, std::vector<int32_t> values,
                                 std::vector<int32_t> errors)
{
    impl->mutate([&] {
        impl->state.modbus_names = std::move(names);
        impl->state.modbus_values = std::move(values);
        impl->state.modbus_errors = std::move(errors);
    });
}

void Simulator::setGripperStatuses(std::vector<common_interface::GripperStatus> statuses)
{
    impl->mutate([&] { impl->state.grippers = std::move(statuses); });
}

void Simulator::setRegister(const std::string &name, std::int64_t value)
{
    impl->mutate([&] { impl->state.registers[name] = value; });
}

void Simulator::clearRegister(const std::string &name)
{
    impl->mutate([&] { impl->state.registers.erase(name); });
}

void Simulator::setPnSlots(std::vector<std::vector<std::uint8_t>> slots)
{
    impl->mutate([&] { impl->state.pn_slots = std::move(slots); });
}

std::vector<std::vector<std::uint8_t>> Simulator::pnSlots() const
{
    return impl->locked([&] { return impl->state.pn_slots; });
}

std::vector<std::vector<std::uint8_t>> Simulator::eipTables() const
{
    return impl->locked([&] { return impl->state.eip_tables; });
}

int Simulator::command(const std::string &method, const std::string &params_json)
{
    Json params = Json::parse(params_json, nullptr, false);
    int answer = 0;
    std::string error;
    impl->runOnIo([&] {
        try {
            impl->mutate([&] {
                auto result = callCommand(impl->state, method, params);
                if (!result)
                    throw RpcError(korvu_wire::kErrMethodNotFound, "no command " + method);
                answer = korvu_wire::asInt32(*result);
            });
        } catch (const std::exception &e) {
            error = e.what();
        }
        impl->realtime.flushOutbox();
    });
    if (!error.empty())
        throw std::invalid_argument("korvu_sim: " + method + ": " + error);
    return answer;
}

std::vector<double> Simulator::jointPositions(int index) const
{
    return impl->locked([&] { return impl->state.robots.at(static_cast<size_t>(index)).joints.q; });
}

bool Simulator::isSteady(int index) const
{
    return impl->locked([&] {
        auto &robot = impl->state.robots.at(static_cast<size_t>(index));
        return RobotController(impl->state, robot).isSteady();
    });
}

bool Simulator::waitForSteady(int index, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return isSteady(index); }, timeout);
}

bool Simulator::waitForRobotMode(int index, common_interface::RobotModeType mode,
                                 std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return robot(index).robot_mode == mode; }, timeout);
}

void Simulator::protectiveStop(int index, int cause_code)
{
    impl->control(index, [cause_code](RobotController &c) { c.protectiveStop(cause_code); });
}

void Simulator::collision(int index, int joint)
{
    impl->control(index, [joint](RobotController &c) { c.collision(joint); });
}

void Simulator::emergencyStop(int index, common_interface::SafetyModeType which)
{
    impl->control(index, [which](RobotController &c) { c.emergencyStop(which); });
}

void Simulator::releaseEmergencyStop(int index)
{
    impl->control(index, [](RobotController &c) { c.releaseEmergencyStop(); });
}

void Simulator::setSlowDown(int index, int level, int percent)
{
    impl->control(index, [level, percent](RobotController &c) { c.setSlowDown(level, percent); });
}

bool Simulator::pushJoints(int index, const std::vector<double> &q)
{
    bool moved = false;
    impl->control(index, [&](RobotController &c) { moved = c.pushJoints(q); });
    return moved;
}

void Simulator::injectMessage(const common_interface::RobotMsg &message)
{
    injectMessages({message});
}

void Simulator::injectMessages(const std::vector<common_interface::RobotMsg> &messages)
{
    impl->runOnIo([&] {
        for (const auto &m : messages)
            impl->realtime.distribute(m);
    });
}

std::vector<std::string> Simulator::receivedScripts() const
{
    return impl->locked([&] { return impl->scripts; });
}

void Simulator::sendScriptError(const std::string &text)
{
    impl->runOnIo([&] { impl->script.push(korvu_wire::kScriptErrorNotification, Json::array({text})); });
}

void Simulator::sendScriptError2(const std::string &first, const std::string &second)
{
    impl->runOnIo([&] {
        impl->script.push(korvu_wire::kScriptError2Notification, Json::array({first, second}));
    });
}

void Simulator::sendVariableUpdate(const std::string &name, const std::string &value)
{
    impl->runOnIo([&] {
        impl->script.push(korvu_wire::kVariableUpdateNotification, Json::array({name, value}));
    });
}

void Simulator::dropConnections(ServerKind kind)
{
    impl->runOnIo([&] { impl->connections.drop(kind); });
}

void Simulator::refuseLogins(bool refuse)
{
    impl->mutate([&] { impl->refuse_logins = refuse; });
}

void Simulator::failMethod(const std::string &method, int code, const std::string &message)
{
    impl->mutate([&] { impl->failures[method] = {code, message}; });
}

void Simulator::stallMethod(const std::string &method, std::chrono::milliseconds delay)
{
    impl->mutate([&] { impl->stalls[method] = delay; });
}

void Simulator::clearMethodFaults()
{
    impl->mutate([&] {
        impl->failures.clear();
        impl->stalls.clear();
    });
}

void Simulator::pauseStreaming()
{
    impl->mutate([&] { impl->paused = true; });
}

void Simulator::resumeStreaming()
{
    impl->mutate([&] { impl->paused = false; });
}

void Simulator::setManualStepping(bool manual)
{
    impl->mutate([&] {
        impl->manual = manual;
        impl->last_advance = SteadyClock::now();
    });
}

void Simulator::step()
{
    impl->runOnIo([&] { impl->realtime.step(); });
}

std::uint64_t Simulator::framesSent() const
{
    return impl->locked([&] { return impl->frames_sent; });
}

std::size_t Simulator::bufferedInputBytes() const
{
    return impl->connections.bufferedInput();
}

int Simulator::callCount(const std::string &method) const
{
    return impl->locked([&] {
        auto it = impl->call_counts.find(method);
        return it == impl->call_counts.end() ? 0 : it->second;
    });
}

void Simulator::resetCallCounts()
{
    impl->locked([&] { impl->call_counts.clear(); });
}

int Simulator::connectionCount(ServerKind kind) const
{
    return impl->locked([&] { return sumOrSlot(impl->connection_counts, kind); });
}

int Simulator::loginCount(ServerKind kind) const
{
    return impl->locked([&] { return sumOrSlot(impl->login_counts, kind); });
}

bool Simulator::waitForClients(int n, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return impl->locked([&] { return eachAtLeast(impl->connection_counts, n); }); },
                   timeout);
}

bool Simulator::waitForLogins(int n, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return impl->locked([&] { return eachAtLeast(impl->login_counts, n); }); }, timeout);
}

bool Simulator::waitForScripts(size_t n, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return receivedScripts().size() >= n; }, timeout);
}

bool Simulator::waitForCallCount(const std::string &method, int n, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return callCount(method) >= n; }, timeout);
}

bool Simulator::waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const
{
    const auto deadline = SteadyClock::now() + timeout;
    std::unique_lock<std::mutex> lock(impl->change_mutex);
    while (true) {
        if (condition())
            return true;
        if (SteadyClock::now() >= deadline)
            return false;
        impl->change_cv.wait_until(lock,
                                   std::min(deadline, SteadyClock::now() + std::chrono::milliseconds(20)));
    }
}

bool Simulator::runProgram(const std::string &text)
{
    bool compiled = false;
    impl->runOnIo([&] { compiled = impl->script.runProgram(text); });
    return compiled;
}

int Simulator::programCommand(ProgramCommand command)
{
    int result = 0;
    impl->runOnIo([&] { result = impl->script.programCommand(command); });
    return result;
}

common_interface::RuntimeState Simulator::runtimeState() const
{
    return impl->locked([&] { return impl->state.runtime_state; });
}

bool Simulator::waitForRuntimeState(common_interface::RuntimeState state,
                                    std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return runtimeState() == state; }, timeout);
}

}  // namespace temla::korvu_sim
