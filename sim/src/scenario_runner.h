#pragma once

#include <asio.hpp>
#include <memory>
#include <vector>

#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"
#include "session.h"

namespace temla::korvu_sim
{

// Runs the scenario's events at their times after the first successful login. Io thread only.
// One timer waits for the next event at a time, and a turn runs a bounded number of due events, so
// a long scenario neither costs a timer per event nor holds up the io thread.
class ScenarioRunner
{
public:
    explicit ScenarioRunner(Simulator::Impl &sim) : sim_(sim) {}

    // Starts the clock once; later calls do nothing.
    void start();
    // Cancels the pending events (io thread); clear() then forgets them once the thread has ended.
    void cancel();
    void clear();

private:
    const ScenarioEvent &event(size_t position) const;
    SteadyClock::time_point dueTime(size_t position) const;
    void armNext();
    void runDue();
    void run(const ScenarioEvent &event);
    void runControllerEvent(const ScenarioEvent &event);

    Simulator::Impl &sim_;
    bool started_ = false;
    bool cancelled_ = false;
    SteadyClock::time_point origin_;
    std::vector<size_t> order_;  // event indexes by time, when the given list is not in time order
    size_t next_ = 0;
    std::unique_ptr<asio::steady_timer> timer_;
};

}  // namespace temla::korvu_sim
