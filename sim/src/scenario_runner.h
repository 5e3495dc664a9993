#pragma once

#include <asio.hpp>
#include <memory>
#include <vector>

#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"

namespace temla::korvu_sim
{

// Runs the scenario's events at their times after the first successful login. Io thread only.
class ScenarioRunner
{
public:
    explicit ScenarioRunner(Simulator::Impl &sim) : sim_(sim) {}

    // Arms the event timers once; later calls do nothing.
    void start();
    // Cancels the pending events (io thread); clear() then forgets them once the thread has ended.
    void cancel();
    void clear();

private:
    void run(const ScenarioEvent &event);

    Simulator::Impl &sim_;
    bool started_ = false;
    std::vector<std::unique_ptr<asio::steady_timer>> timers_;
};

}  // namespace temla::korvu_sim
