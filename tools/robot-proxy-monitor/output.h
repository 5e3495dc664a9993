#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <nlohmann/json.hpp>

#include "state_snapshot.h"

namespace monitor
{

// Seconds since the program started; one clock for every line the monitor writes.
class Clock
{
public:
    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Where the monitor's observations go. All members may be called from any thread (log lines come
// from the library's threads); implementations serialise their writes.
class MonitorOutput
{
public:
    virtual ~MonitorOutput() = default;
    // One proxy signal, t seconds after the start.
    virtual void signal(double t, const char *name, const nlohmann::ordered_json &args) = 0;
    // A periodic reading of the cache.
    virtual void state(double t, const StateSnapshot &snapshot) = 0;
    // The monitor's own events: reconnection attempts, a refused script, why it ends.
    virtual void note(const QString &text) = 0;
    // A log line of the library or the simulator.
    virtual void log(QtMsgType type, const QString &text) = 0;
    // Called once before the program ends.
    virtual void finish() {}
    // How often state() wants a reading.
    virtual std::chrono::milliseconds stateInterval() const = 0;
};

}  // namespace monitor
