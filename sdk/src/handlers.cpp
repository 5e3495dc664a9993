#include "handlers.h"

#include <exception>

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

void Handlers::setLog(LogHandler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    log_ = std::move(handler);
}

void Handlers::setEvent(EventHandler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    event_ = std::move(handler);
}

void Handlers::log(int level, const char *file, int line, const std::string &message) const
{
    LogHandler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handler = log_;
    }
    if (!handler) {
        return;
    }
    try {
        handler(level, file, line, message);
    } catch (...) {
        // A failing log sink must not take the client's threads down with it.
    }
}

void Handlers::event(int event) const
{
    EventHandler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handler = event_;
    }
    if (!handler) {
        return;
    }
    try {
        handler(event);
    } catch (const std::exception &e) {
        log(kLogError, __FILE__, __LINE__, std::string("event handler threw: ") + e.what());
    } catch (...) {
        log(kLogError, __FILE__, __LINE__, "event handler threw");
    }
}

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla
