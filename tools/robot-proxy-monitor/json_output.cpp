#include "json_output.h"

#include <cmath>

namespace monitor
{
namespace
{

// Milliseconds are enough for a reader and keep the lines short.
double roundedSeconds(double t)
{
    return std::round(t * 1000.0) / 1000.0;
}

}  // namespace

void JsonOutput::signal(double t, const char *name, const nlohmann::ordered_json &args)
{
    line({{"t", roundedSeconds(t)}, {"signal", name}, {"args", args}});
}

void JsonOutput::state(double t, const StateSnapshot &snapshot)
{
    line({{"t", roundedSeconds(t)}, {"state", toJson(snapshot)}});
}

void JsonOutput::note(const QString &text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    err_ << "robot-proxy-monitor: " << text.toStdString() << std::endl;
}

void JsonOutput::log(QtMsgType, const QString &text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    err_ << text.toStdString() << std::endl;
}

void JsonOutput::line(const nlohmann::ordered_json &object)
{
    // Texts from the controller need not be valid UTF-8; replace rather than throw.
    const std::string text = object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::lock_guard<std::mutex> lock(mutex_);
    out_ << text << '\n' << std::flush;
}

}  // namespace monitor
