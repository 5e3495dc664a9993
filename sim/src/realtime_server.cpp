#include "realtime_server.h"

#include <algorithm>
#include <utility>

#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"
#include "program/program_messages.h"
#include "rpc_methods.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{
namespace
{

using common_interface::RobotMsg;
using korvu_wire::Json;

// Messages kept per channel (and while no channel carries them) before the oldest are dropped.
constexpr size_t kMaxPendingMessages = 100000;
constexpr double kManualStepSeconds = 0.02;
constexpr std::chrono::milliseconds kClockTick{10};

void queueBounded(std::deque<RobotMsg> &queue, const RobotMsg &message)
{
    if (queue.size() >= kMaxPendingMessages)
        queue.pop_front();
    queue.push_back(message);
}

}  // namespace

Json RealtimeServer::handle(const std::shared_ptr<Session> &session, const std::string &method,
                            const Json &params)
{
    if (method == korvu_wire::kGetOutputMaps) {
        return sim_.locked([&] {
            Json maps = Json::object();
            for (const auto &[name, type] : outputMaps(sim_.state))
                maps[name] = type;
            return maps;
        });
    }
    if (method == korvu_wire::kSetTopic)
        return setTopic(session, params);
    throw RpcError(korvu_wire::kErrMethodNotFound, "no method " + method);
}

void RealtimeServer::closeChannels(Session &session)
{
    for (auto &entry : session.channels)
        entry.second.timer->cancel();
    session.channels.clear();
}

Json RealtimeServer::setTopic(const std::shared_ptr<Session> &session, const Json &params)
{
    if (!params.is_array() || params.size() != 4)
        throw RpcError(korvu_wire::kErrInvalidParams, "setTopic takes to_server, names, frequency, channel");
    if (korvu_wire::asBool(params[0]))
        throw RpcError(korvu_wire::kErrInvalidParams, "inputs to the server are not supported");
    std::vector<std::string> names = korvu_wire::asStringVector(params[1]);
    double frequency = korvu_wire::asDouble(params[2]);
    int wanted = korvu_wire::asInt32(params[3]);
    if (!(frequency >= korvu_wire::kMinFrequency) || frequency > korvu_wire::kMaxFrequency)
        throw RpcError(korvu_wire::kErrInvalidParams, "frequency out of range");
    Json types = sim_.locked([&] {
        Json found = Json::array();
        auto offered = outputMaps(sim_.state);
        for (const auto &name : names) {
            auto it = offered.find(name);
            if (it == offered.end())
                throw RpcError(korvu_wire::kErrUnknownOutput, "output " + name + " is not offered");
            found.push_back(it->second);
        }
        return found;
    });
    int id = -1;
    if (wanted >= 0 && wanted < korvu_wire::kMaxChannels && session->channels.count(wanted) == 0)
        id = wanted;
    for (int c = 0; c < korvu_wire::kMaxChannels && id < 0; ++c)
        if (session->channels.count(c) == 0)
            id = c;
    if (id < 0)
        throw RpcError(korvu_wire::kErrNoFreeChannel, "no free channel");

    Channel &channel = session->channels[id];
    channel.id = id;
    channel.topics = names;
    channel.carries_messages = std::find(names.begin(), names.end(), kMessageTopic) != names.end();
    channel.messages_only = channel.carries_messages && std::all_of(names.begin(), names.end(), [](auto &n) {
                                return n == kMessageTopic;
                            });
    if (channel.carries_messages) {
        channel.pending = std::move(backlog_);
        backlog_.clear();
    }
    channel.period =
        std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(1.0 / frequency));
    channel.timer = std::make_unique<asio::steady_timer>(sim_.io, channel.period);
    scheduleTick(session, id);
    return Json{{"channel", id}, {"types", types}};
}

void RealtimeServer::scheduleTick(const std::weak_ptr<Session> &weak, int channel_id)
{
    auto session = weak.lock();
    if (!session)
        return;
    auto it = session->channels.find(channel_id);
    if (it == session->channels.end())
        return;
    it->second.timer->async_wait([self = sim_.shared_from_this(), weak, channel_id](std::error_code ec) {
        if (ec)
            return;
        auto s = weak.lock();
        if (!s)
            return;
        auto channel = s->channels.find(channel_id);
        if (channel == s->channels.end())
            return;
        RealtimeServer &server = self->realtime;
        if (self->locked([&] { return !self->paused && !self->manual; }))
            server.sendFrame(*s, channel->second);
        auto &timer = *channel->second.timer;
        auto next = timer.expiry() + channel->second.period;
        // A simulator that fell behind skips the missed ticks instead of sending a burst.
        timer.expires_at(next < SteadyClock::now() ? SteadyClock::now() + channel->second.period : next);
        server.scheduleTick(weak, channel_id);
    });
}

bool RealtimeServer::sendFrame(Session &session, Channel &channel)
{
    advanceModel();
    if (channel.messages_only && channel.pending.empty())
        return false;
    Json values = sim_.locked([&] {
        Json encoded = Json::array();
        for (const auto &name : channel.topics) {
            if (name == kMessageTopic) {
                auto end = std::find_if(channel.pending.begin(), channel.pending.end(), program::endsBatch);
                if (end != channel.pending.end())
                    ++end;
                std::vector<RobotMsg> batch(channel.pending.begin(), end);
                channel.pending.erase(channel.pending.begin(), end);
                encoded.push_back(korvu_wire::encodeValue(korvu_sdk::InputParser::Value(std::move(batch))));
            } else {
                auto value = topicValue(sim_.state, name);
                encoded.push_back(value ? korvu_wire::encodeValue(*value) : Json());
            }
        }
        ++sim_.frames_sent;
        return encoded;
    });
    Json frame = korvu_wire::makeNotification(korvu_wire::kFrameNotification,
                                              Json{{"channel", channel.id}, {"values", std::move(values)}});
    session.connection->send(korvu_wire::serialize(frame, korvu_wire::Encoding::MsgPack));
    sim_.notifyChange();
    return true;
}

void RealtimeServer::distribute(const RobotMsg &message)
{
    bool delivered = false;
    for (const auto &session : sim_.sessions)
        for (auto &entry : session->channels)
            if (entry.second.carries_messages) {
                queueBounded(entry.second.pending, message);
                delivered = true;
            }
    if (!delivered)
        queueBounded(backlog_, message);
}

void RealtimeServer::advanceModel()
{
    sim_.locked([&] {
        if (sim_.manual)
            return;
        auto now = SteadyClock::now();
        sim_.state.advance(std::chrono::duration<double>(now - sim_.last_advance).count());
        sim_.last_advance = now;
    });
    flushOutbox();
}

void RealtimeServer::flushOutbox()
{
    auto messages = sim_.locked([&] { return std::exchange(sim_.state.outbox, {}); });
    for (const auto &message : messages)
        distribute(message);
}

void RealtimeServer::startClock()
{
    clock_running_ = true;
    clock_ = std::make_unique<asio::steady_timer>(sim_.io, kClockTick);
    scheduleClock();
}

void RealtimeServer::stopClock()
{
    // A tick already queued must not arm the next one.
    clock_running_ = false;
    if (clock_)
        clock_->cancel();
}

void RealtimeServer::scheduleClock()
{
    clock_->async_wait([self = sim_.shared_from_this()](std::error_code ec) {
        RealtimeServer &server = self->realtime;
        if (ec || !server.clock_running_)
            return;
        server.advanceModel();
        self->notifyChange();
        server.clock_->expires_at(SteadyClock::now() + kClockTick);
        server.scheduleClock();
    });
}

void RealtimeServer::step()
{
    sim_.locked([&] {
        if (sim_.manual)
            sim_.state.advance(kManualStepSeconds);
    });
    flushOutbox();
    for (const auto &session : sim_.sessions)
        for (auto &entry : session->channels)
            sendFrame(*session, entry.second);
}

}  // namespace temla::korvu_sim
