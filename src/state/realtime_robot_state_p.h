#pragma once

// The cache's operations that belong to the library, not to the application: the frame handlers the
// subscriptions run and the record writes of the message dispatch and the disconnection report. The
// proxy and the tests reach them through CacheWriter.

#include <string>
#include <vector>

#include "robot_proxy/realtime_robot_state.h"

namespace temla::korvu_sdk::detail
{

class CacheWriter
{
public:
    explicit CacheWriter(RealtimeRobotState &state) : cache(state) {}

    void handleStateFrame(InputParser &parser, int robot_count, const std::vector<bool> &enc_tick_offered)
    {
        cache.handleStateFrame(parser, robot_count, enc_tick_offered);
    }
    void handleElectricalFrame(InputParser &parser, int robot_count)
    {
        cache.handleElectricalFrame(parser, robot_count);
    }
    void handleIoFrame(InputParser &parser, int robot_count) { cache.handleIoFrame(parser, robot_count); }
    void handleGripperFrame(InputParser &parser) { cache.handleGripperFrame(parser); }

    void storeRobotMode(int index, RobotModeType mode) { cache.storeRobotMode(index, mode); }
    void storeSafetyMode(int index, SafetyModeType mode) { cache.storeSafetyMode(index, mode); }
    void storeOperationalMode(int index, OperationalModeType mode)
    {
        cache.storeOperationalMode(index, mode);
    }
    void storeLinkModeEnabled(int index, bool enabled) { cache.storeLinkModeEnabled(index, enabled); }
    void storeFreedriveEnabled(int index, bool enabled) { cache.storeFreedriveEnabled(index, enabled); }
    void storeSlowDownLevel(int index, int level) { cache.storeSlowDownLevel(index, level); }
    void storeRobotType(int index, std::string type, std::string sub_type)
    {
        cache.storeRobotType(index, std::move(type), std::move(sub_type));
    }
    bool storeDisconnectedModes(int index) { return cache.storeDisconnectedModes(index); }
    RobotModeType storedRobotMode(int index) const { return cache.storedRobotMode(index); }
    int loginRefresh(std::string &reason) { return cache.loginRefresh(reason); }

private:
    RealtimeRobotState &cache;
};

inline CacheWriter writerOf(RealtimeRobotState &state)
{
    return CacheWriter(state);
}

}  // namespace temla::korvu_sdk::detail
