#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "output.h"
#include "terminal_format.h"

namespace monitor
{

// Human output. On a terminal (in_place) a status block at the bottom is redrawn ten times a second
// and every message line is printed above it; elsewhere every line is plain and the state is one
// line a second. Colours by level when colour is set.
class TerminalOutput : public MonitorOutput
{
public:
    struct Style {
        bool in_place = false;
        bool colour = false;
    };

    TerminalOutput(std::ostream &out, std::ostream &err, Style style, const Clock &clock)
        : out_(out), err_(err), style_(style), clock_(clock)
    {
    }

    void signal(double t, const char *name, const nlohmann::ordered_json &args) override;
    void state(double t, const StateSnapshot &snapshot) override;
    void note(const QString &text) override;
    void log(QtMsgType type, const QString &text) override;
    void finish() override;
    std::chrono::milliseconds stateInterval() const override;

private:
    // Both with mutex_ held.
    void printAboveBlock(std::ostream &stream, const TextLine &line, double t);
    void eraseBlock();
    void drawBlock();

    std::mutex mutex_;
    std::ostream &out_;
    std::ostream &err_;
    Style style_;
    const Clock &clock_;
    std::vector<std::string> block_;
    int drawn_lines_ = 0;
};

}  // namespace monitor
