#pragma once

#include "output.h"

namespace monitor
{

// Routes the process's Qt log lines (the library's and the SDK's) to the output while alive: debug
// and info lines only when verbose. Safe against lines logged on the library's threads during
// destruction. One instance per process.
class LogRouting
{
public:
    LogRouting(MonitorOutput &output, bool verbose);
    ~LogRouting();
    LogRouting(const LogRouting &) = delete;
    LogRouting &operator=(const LogRouting &) = delete;
};

}  // namespace monitor
