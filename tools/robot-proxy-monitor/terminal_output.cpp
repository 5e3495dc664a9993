#include "terminal_output.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

namespace monitor
{
namespace
{

constexpr char kReset[] = "\033[0m";
constexpr int kFallbackWidth = 120;

// A wrapped line would make the block taller than the cursor moves up; lines are cut to the width.
int terminalWidth()
{
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col;
    }
    return kFallbackWidth;
}

std::string timed(double t, const TextLine &line)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%7.2f s  ", t);
    const std::string level = levelName(line.level);
    return stamp + (level.empty() ? "" : "[" + level + "] ") + line.text;
}

int logLevel(QtMsgType type)
{
    switch (type) {
        case QtWarningMsg:
            return 1;
        case QtCriticalMsg:
            return 2;
        case QtFatalMsg:
            return 3;
        default:
            return 0;
    }
}

}  // namespace

void TerminalOutput::signal(double t, const char *name, const nlohmann::ordered_json &args)
{
    auto line = describeSignal(name, args);
    if (!line) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    printAboveBlock(out_, *line, t);
}

void TerminalOutput::state(double t, const StateSnapshot &snapshot)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!style_.in_place) {
        out_ << stateLine(snapshot, t) << std::endl;
        return;
    }
    block_ = statusBlock(snapshot, t);
    eraseBlock();
    drawBlock();
}

void TerminalOutput::note(const QString &text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    printAboveBlock(out_, TextLine{kNoLevel, "robot-proxy-monitor: " + text.toStdString()}, clock_.seconds());
}

void TerminalOutput::log(QtMsgType type, const QString &text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    printAboveBlock(err_, TextLine{logLevel(type), "log: " + text.toStdString()}, clock_.seconds());
}

void TerminalOutput::finish()
{
    std::lock_guard<std::mutex> lock(mutex_);
    // The last block stays on screen; later output starts below it.
    drawn_lines_ = 0;
    out_ << std::flush;
}

std::chrono::milliseconds TerminalOutput::stateInterval() const
{
    return std::chrono::milliseconds(style_.in_place ? 100 : 1000);
}

void TerminalOutput::printAboveBlock(std::ostream &stream, const TextLine &line, double t)
{
    eraseBlock();
    const std::string colour = style_.colour ? levelColour(line.level) : "";
    stream << colour << timed(t, line) << (colour.empty() ? "" : kReset) << std::endl;
    drawBlock();
}

void TerminalOutput::eraseBlock()
{
    if (drawn_lines_ > 0) {
        // Up to the first line of the block, then clear to the end of the screen.
        out_ << "\033[" << drawn_lines_ << "F\033[J";
        drawn_lines_ = 0;
    }
}

void TerminalOutput::drawBlock()
{
    if (!style_.in_place || block_.empty()) {
        out_ << std::flush;
        return;
    }
    const auto width = static_cast<std::size_t>(terminalWidth() - 1);
    for (const auto &line : block_) {
        out_ << (style_.colour ? "\033[1m" : "") << line.substr(0, width) << (style_.colour ? kReset : "")
             << '\n';
    }
    drawn_lines_ = static_cast<int>(block_.size());
    out_ << std::flush;
}

}  // namespace monitor
