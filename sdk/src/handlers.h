#pragma once

#include <mutex>
#include <string>

#include "korvu_sdk/client_common.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

// A client's log and event handlers. Shared with the client's sessions and threads, so that a
// thread outliving its client never calls into freed memory. Handlers are copied out under the
// lock and called without it.
class Handlers
{
public:
    void setLog(LogHandler handler);
    void setEvent(EventHandler handler);
    void log(int level, const char *file, int line, const std::string &message) const;
    void event(int event) const;

private:
    mutable std::mutex mutex_;
    LogHandler log_;
    EventHandler event_;
};

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla

#define KORVU_LOG(handlers, level, message) (handlers).log((level), __FILE__, __LINE__, (message))
