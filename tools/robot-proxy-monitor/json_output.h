#pragma once

#include <mutex>
#include <ostream>

#include "output.h"

namespace monitor
{

// Standard output carries only JSON lines: {"t": s, "signal": name, "args": [...]} per proxy signal
// and {"t": s, "state": {...}} once a second. Notes and log lines go to the error stream.
class JsonOutput : public MonitorOutput
{
public:
    JsonOutput(std::ostream &out, std::ostream &err) : out_(out), err_(err) {}

    void signal(double t, const char *name, const nlohmann::ordered_json &args) override;
    void state(double t, const StateSnapshot &snapshot) override;
    void note(const QString &text) override;
    void log(QtMsgType type, const QString &text) override;
    std::chrono::milliseconds stateInterval() const override { return std::chrono::milliseconds(1000); }

private:
    void line(const nlohmann::ordered_json &object);

    std::mutex mutex_;
    std::ostream &out_;
    std::ostream &err_;
};

}  // namespace monitor
