#pragma once

#include <deque>
#include <memory>
#include <string>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"
#include "session.h"

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
    // Moves the model's time on to now (not in manual stepping) and queues what it raised.
    void advanceModel();
    // Queues the robot messages the model raised on the channels that carry messages.
    void flushOutbox();
    // The model clock: in timer mode the model advances every tick even while no frame goes out,
    // so that transitions happen and their messages queue on time.
    void startClock();
    void stopClock();
    static void closeChannels(Session &session);

private:
    korvu_wire::Json setTopic(const std::shared_ptr<Session> &session, const korvu_wire::Json &params);
    void scheduleTick(const std::weak_ptr<Session> &weak, int channel_id);
    // Sends the channel's frame; returns false when there was nothing to send.
    bool sendFrame(Session &session, Channel &channel);

    Simulator::Impl &sim_;
    void scheduleClock();

    std::deque<common_interface::RobotMsg> backlog_;
    std::unique_ptr<asio::steady_timer> clock_;
    bool clock_running_ = false;
};

}  // namespace temla::korvu_sim
