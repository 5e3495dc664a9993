// The realtime subscriptions of the cache and the decoding of their frames into the robot records.
#include <exception>

#include <QDebug>
#include <QString>

#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "library_log.h"
#include "realtime_channels.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_selection.h"

namespace temla
{
namespace korvu_sdk
{

using Lock = std::lock_guard<std::recursive_mutex>;

namespace
{

// Frames arrive on the realtime client's thread; a frame that cannot be decoded is dropped here
// so that nothing is thrown into the client.
template <typename Handler>
void deliver(const char *channel, Handler &&handle)
{
    try {
        handle();
    } catch (const std::exception &e) {
        RP_LOG_WARNING() << "Realtime frame of channel" << channel << "dropped:" << e.what();
    } catch (...) {
        RP_LOG_WARNING() << "Realtime frame of channel" << channel << "dropped";
    }
}

}  // namespace

int RealtimeRobotState::configSubscribe()
{
    if (!rtde_client) {
        return 0;
    }
    const int robot_count = static_cast<int>(getRobotNames().size());
    const auto maps = rtde_client->getOutputMaps();
    auto request = [&](const detail::ChannelTable &table) {
        detail::ChannelTopics topics = detail::topicsOf(table, robot_count, maps);
        const int channel = rtde_client->setTopic(false, topics.names, table.rate_hz, table.channel);
        return std::make_pair(channel, std::move(topics.listed));
    };

    const auto state = request(detail::stateChannel());
    const int subscribed =
        rtde_client->subscribe(state.first, [this, robot_count, listed = state.second](InputParser &parser) {
            deliver("0", [&] { handleStateFrame(parser, robot_count, listed); });
        });
    if (subscribed != 0) {
        RP_LOG_CRITICAL() << "Subscribe to realtime state FAILED";
    }
    rtde_client->subscribe(request(detail::electricalChannel()).first,
                           [this, robot_count](InputParser &parser) {
                               deliver("1", [&] { handleElectricalFrame(parser, robot_count); });
                           });
    rtde_client->subscribe(request(detail::ioChannel()).first, [this, robot_count](InputParser &parser) {
        deliver("2", [&] { handleIoFrame(parser, robot_count); });
    });
    rtde_client->subscribe(request(detail::gripperChannel()).first, [this](InputParser &parser) {
        deliver("3", [&] { handleGripperFrame(parser); });
    });
    return 0;
}

RobotInfo &RealtimeRobotState::frameTarget(int index)
{
    return index < kRobotSlots ? robot_infos[index] : overflow_record;
}

bool RealtimeRobotState::clientsConnected() const
{
    return rtde_client && rtde_client->hasConnected() && rpc_client && rpc_client->hasConnected();
}

void RealtimeRobotState::handleStateFrame(InputParser &parser, int robot_count,
                                          const std::vector<bool> &enc_tick_offered)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    detail::decodeFrame(
        detail::stateChannel(), parser, robot_count, enc_tick_offered,
        [this](detail::GlobalValue value, detail::FrameGlobals &globals) {
            if (value == detail::GlobalValue::RuntimeState && globals.runtime_state != runtime_state) {
                runtime_state = globals.runtime_state;
                emit runtimeStateChanged(runtime_state);
            } else if (value == detail::GlobalValue::RuntimeContext && globals.runtime_context.size() >= 2) {
                thread_id = globals.runtime_context[0];
                line_number = globals.runtime_context[1];
            }
        },
        [this](int index) -> RobotInfo & { return frameTarget(index); },
        [this](int index, const detail::RobotFrame &block) {
            if (index < kRobotSlots) {
                settleModes(index, block.robot_mode, block.safety_mode);
            }
        });
    tickTrack();
}

void RealtimeRobotState::settleModes(int index, RobotModeType frame_robot_mode,
                                     SafetyModeType frame_safety_mode)
{
    if (!clientsConnected()) {
        frame_safety_mode = SafetyModeType::Undefined;
        frame_robot_mode = RobotModeType::NoController;
    }
    RobotInfo &info = robot_infos[index];
    if (frame_safety_mode != info.safety_mode) {
        info.safety_mode = frame_safety_mode;
        emit safetyModeChanged(index, frame_safety_mode);
    }
    const RobotModeType old_mode = info.robot_mode;
    if (old_mode == frame_robot_mode) {
        return;
    }
    refreshForTransition(index, old_mode, frame_robot_mode);
    info.robot_mode = frame_robot_mode;
    emit robotModeChanged(index, frame_robot_mode);
}

void RealtimeRobotState::refreshForTransition(int index, RobotModeType old_mode, RobotModeType new_mode)
{
    if (new_mode == RobotModeType::Running) {
        updateGravity(index);
        if (old_mode == RobotModeType::Disconnected) {
            updateRobotInformationOnLogin();
        }
    } else if (old_mode == RobotModeType::Disconnected) {
        updateRobotInformationOnLogin();
    } else if (old_mode == RobotModeType::PowerOn && new_mode == RobotModeType::Idle) {
        updateRobotInformationOnPoweron(index);
    }
}

void RealtimeRobotState::tickTrack()
{
    // Counting stops one past the period: without a callback the tick never fires, and the counter
    // cannot overflow.
    if (track_period <= 0 || track_counter > track_period) {
        return;
    }
    ++track_counter;
    if (track_counter != track_period || !track_callback) {
        return;
    }
    track_counter = 0;
    const int selected = selection->index();
    const RobotInfo &info =
        robot_infos[static_cast<unsigned>(selected) < static_cast<unsigned>(kRobotSlots) ? selected : 0];
    // A copy, because the callback may stop or replace the recording while it runs.
    const TrackCallback callback = track_callback;
    try {
        callback(info.joint_positions, info.tcp_pose);
    } catch (const std::exception &e) {
        RP_LOG_WARNING() << "Track record callback failed:" << e.what();
    } catch (...) {
        RP_LOG_WARNING() << "Track record callback failed";
    }
}

void RealtimeRobotState::handleElectricalFrame(InputParser &parser, int robot_count)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    detail::decodeFrame(
        detail::electricalChannel(), parser, robot_count, {},
        [](detail::GlobalValue, detail::FrameGlobals &) {},
        [this](int index) -> RobotInfo & { return frameTarget(index); },
        [](int, const detail::RobotFrame &) {});
}

void RealtimeRobotState::handleIoFrame(InputParser &parser, int robot_count)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    detail::decodeFrame(
        detail::ioChannel(), parser, robot_count, {},
        [this](detail::GlobalValue value, detail::FrameGlobals &globals) {
            if (value == detail::GlobalValue::ModbusSignalValues) {
                modbus_signal_values = std::move(globals.modbus_signal_values);
            } else if (value == detail::GlobalValue::ModbusSignalErrors) {
                modbus_signal_errors = std::move(globals.modbus_signal_errors);
            }
        },
        [this](int index) -> RobotInfo & { return frameTarget(index); },
        [](int, const detail::RobotFrame &) {});
}

void RealtimeRobotState::handleGripperFrame(InputParser &parser)
{
    Lock lock(state_mutex);
    if (closing) {
        return;
    }
    detail::decodeFrame(
        detail::gripperChannel(), parser, 0, {},
        [this](detail::GlobalValue, detail::FrameGlobals &globals) {
            gripper_statuses = std::move(globals.gripper_statuses);
        },
        [this](int index) -> RobotInfo & { return frameTarget(index); },
        [](int, const detail::RobotFrame &) {});
}

}  // namespace korvu_sdk
}  // namespace temla
