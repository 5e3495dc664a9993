#pragma once

#include <deque>
#include <memory>
#include <string>

#include "korvu_sim/simulator.h"
#include "session.h"
#include "wire/codec.h"

namespace temla::korvu_sim
{

// The realtime server: output maps, channels opened by setTopic, their frame timers, and the
// robot messages queued for the channels that carry "R1_message". Runs on the io thread.
class RealtimeServer
{
public:
    explicit RealtimeServer(Simulator::Impl &sim) : sim_(sim) {}

    korvu_wire::Json handle(const std::shared_ptr<Session> &session, const std::string &method,
                            const korvu_wire::Json &params);
    // Queues the message once on every channel carrying messages, or for the next such channel.
    void distribute(const common_interface::RobotMsg &message);
    // Advances manual time by one step and sends one frame on every channel.
    void step();
    static void closeChannels(Session &session);

private:
    korvu_wire::Json setTopic(const std::shared_ptr<Session> &session, const korvu_wire::Json &params);
    void scheduleTick(const std::weak_ptr<Session> &weak, int channel_id);
    // Sends the channel's frame; returns false when there was nothing to send.
    bool sendFrame(Session &session, Channel &channel);

    Simulator::Impl &sim_;
    std::deque<common_interface::RobotMsg> backlog_;
};

}  // namespace temla::korvu_sim
