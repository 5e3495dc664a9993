#pragma once

#include <array>
#include <asio.hpp>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "connections.h"
#include "controller_state.h"
#include "korvu_sim/simulator.h"
#include "realtime_server.h"
#include "robot_controller.h"
#include "rpc_server.h"
#include "scenario_runner.h"
#include "script_server.h"
#include "session.h"

namespace temla::korvu_sim
{

// What the servers share. The servers run on the io thread; the facade's members run on any
// thread and reach the io thread's objects only through runOnIo.
struct Simulator::Impl : std::enable_shared_from_this<Simulator::Impl> {
    explicit Impl(SimulatorOptions opts);

    const SimulatorOptions options;

    // Guards the controller state and every field from here to frames_sent, whichever thread
    // reads them (the servers lock it as well as the facade).
    mutable std::mutex mutex;
    ControllerState state;
    bool refuse_logins = false;
    bool paused = false;
    bool manual = false;
    SteadyClock::time_point last_advance = SteadyClock::now();
    std::map<std::string, std::pair<int, std::string>> failures;
    std::map<std::string, std::chrono::milliseconds> stalls;
    std::map<std::string, int> call_counts;
    std::vector<std::string> scripts;
    std::array<int, kServerCount> connection_counts{};
    std::array<int, kServerCount> login_counts{};
    std::uint64_t frames_sent = 0;

    std::atomic<int> base_port{0};

    // Wakes waitFor() after every change; guards no data of its own.
    mutable std::mutex change_mutex;
    mutable std::condition_variable change_cv;

    // Guards running and the start and join of thread.
    std::mutex lifecycle_mutex;
    bool running = false;
    asio::io_context io;
    std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
    std::thread thread;

    // io thread only
    std::set<std::shared_ptr<Session>> sessions;
    Connections connections{*this};
    RpcServer rpc{*this};
    RealtimeServer realtime{*this};
    ScriptServer script{*this};
    ScenarioRunner scenario{*this};

    // Runs task under the lock and returns what it returns.
    template <typename Task>
    auto locked(Task &&task) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return task();
    }
    // Runs change under the lock, then wakes the waiters: the one way the facade changes the model.
    template <typename Change>
    void mutate(Change &&change)
    {
        locked(std::forward<Change>(change));
        notifyChange();
    }
    // Runs action on the controller of robot index (out of range: nothing) under the lock, on the
    // io thread, then queues the messages it raised.
    template <typename Action>
    void control(int index, Action &&action)
    {
        runOnIo([&] {
            mutate([&] {
                if (index >= 0 && static_cast<size_t>(index) < state.robots.size()) {
                    RobotController controller(state, state.robots[static_cast<size_t>(index)]);
                    action(controller);
                }
            });
            realtime.flushOutbox();
        });
    }
    void notifyChange() const;
    void log(const std::string &line) const;
    // Runs task on the io thread and waits for it; runs it directly when the simulator is stopped
    // or when called on the io thread.
    void runOnIo(const std::function<void()> &task);
};

}  // namespace temla::korvu_sim
