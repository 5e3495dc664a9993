#pragma once

// What the library's own code and its tests may reach inside a RobotProxy beyond its public interface.

#include <chrono>

#include "proxy_core.h"
#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk::detail
{

class ProxyAccess
{
public:
    // Interval of the PROFINET readiness poll (100 ms); tests shorten it.
    static void setPnReadyPollInterval(RobotProxy &proxy, std::chrono::milliseconds interval)
    {
        proxy.core->setPollInterval(interval);
    }
};

}  // namespace temla::korvu_sdk::detail
