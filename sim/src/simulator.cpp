#include "korvu_sim/simulator.h"

#include <algorithm>
#include <array>
#include <asio.hpp>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "controller_state.h"
#include "program/program_messages.h"
#include "program/program_runner.h"
#include "program/sim_program_host.h"
#include "rpc_methods.h"
#include "wire/codec.h"
#include "wire/framed_connection.h"
#include "wire/protocol.h"
#include "wire/values.h"

namespace temla::korvu_sim
{
namespace
{

using common_interface::RobotMsg;
using korvu_wire::Encoding;
using korvu_wire::Envelope;
using korvu_wire::FramedConnection;
using korvu_wire::Json;
using Clock = std::chrono::steady_clock;

constexpr int kPickAttempts = 64;
// Messages kept per channel (and while no channel carries them) before the oldest are dropped.
constexpr size_t kMaxPendingMessages = 100000;
constexpr double kManualStepSeconds = 0.02;
// Bounds on what peers can make the simulator remember.
constexpr size_t kMaxCountedMethods = 4096;
constexpr size_t kMaxRecordedScripts = 10000;

size_t slot(ServerKind kind)
{
    return static_cast<size_t>(kind);
}

const char *serverName(ServerKind kind)
{
    switch (kind) {
        case ServerKind::Rpc:
            return "rpc";
        case ServerKind::Realtime:
            return "realtime";
        case ServerKind::Script:
            return "script";
        default:
            return "all";
    }
}

struct Channel {
    int id = 0;
    std::vector<std::string> topics;
    bool carries_messages = false;
    bool messages_only = false;
    std::deque<RobotMsg> pending;
    std::unique_ptr<asio::steady_timer> timer;
    Clock::duration period{};
};

struct Session {
    ServerKind kind = ServerKind::Rpc;
    std::shared_ptr<FramedConnection> connection;
    std::string peer;
    bool logged_in = false;
    std::map<int, Channel> channels;  // realtime only
};

}  // namespace

struct Simulator::Impl : std::enable_shared_from_this<Simulator::Impl> {
    explicit Impl(SimulatorOptions opts);

    // Everything below the io objects is guarded by mutex unless it says "io thread".
    SimulatorOptions options;
    mutable std::mutex mutex;
    ControllerState state;
    bool refuse_logins = false;
    bool paused = false;
    bool manual = false;
    std::map<std::string, std::pair<int, std::string>> failures;
    std::map<std::string, std::chrono::milliseconds> stalls;
    std::map<std::string, int> call_counts;
    std::vector<std::string> scripts;
    std::array<int, 3> connections{};
    std::array<int, 3> logins{};
    std::uint64_t frames_sent = 0;
    Clock::time_point last_advance = Clock::now();
    std::atomic<int> base_port{0};

    mutable std::mutex change_mutex;
    mutable std::condition_variable change_cv;

    asio::io_context io;
    std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
    std::thread thread;
    std::array<std::unique_ptr<asio::ip::tcp::acceptor>, 3> acceptors;
    bool running = false;  // guarded by lifecycle_mutex
    std::mutex lifecycle_mutex;

    // io thread only
    std::set<std::shared_ptr<Session>> sessions;
    std::deque<RobotMsg> backlog;
    bool scenario_started = false;
    std::vector<std::unique_ptr<asio::steady_timer>> event_timers;
    std::set<std::shared_ptr<asio::steady_timer>> stall_timers;
    std::unique_ptr<program::SimProgramHost> program_host;
    std::unique_ptr<program::ProgramRunner> programs;
    std::unique_ptr<asio::steady_timer> program_timer;

    void notifyChange() const
    {
        std::lock_guard<std::mutex> lock(change_mutex);
        change_cv.notify_all();
    }
    void log(const std::string &line) const
    {
        if (options.log)
            options.log(line);
    }

    void bind();
    void accept(ServerKind kind);
    void onMessage(const std::shared_ptr<Session> &session, const std::string &payload);
    void onClosed(const std::shared_ptr<Session> &session, const std::string &reason, bool local);
    void reply(const std::shared_ptr<Session> &session, const Json &message);
    void handleRequest(const std::shared_ptr<Session> &session, const Envelope &request);
    Json handleLogin(const std::shared_ptr<Session> &session, const Json &params);
    Json handleRealtime(const std::shared_ptr<Session> &session, const std::string &method,
                        const Json &params);
    Json handleScript(const std::string &method, const Json &params);
    Json setTopic(const std::shared_ptr<Session> &session, const Json &params);
    void scheduleTick(const std::weak_ptr<Session> &weak, int channel_id);
    // Sends the channel's frame; returns false when there was nothing to send.
    bool sendFrame(Session &session, Channel &channel);
    void distribute(const RobotMsg &message);
    void pushScript(const std::string &method, Json params);
    void drop(ServerKind kind);
    void startScenario();
    void runEvent(const ScenarioEvent &event);
    void makeProgramRunner();
    void scheduleProgramTick();
    bool runProgram(const std::string &text);
    // Runs task on the io thread and waits for it; runs it directly when the simulator is stopped.
    void runOnIo(const std::function<void()> &task);
};

Simulator::Impl::Impl(SimulatorOptions opts) : options(std::move(opts))
{
    std::vector<RobotModel> robots = options.robots;
    if (robots.empty())
        for (int i = 0; i < std::max(1, options.robot_count); ++i)
            robots.push_back(makeDefaultRobot(i));
    state = makeControllerState(std::move(robots));
    manual = options.manual_stepping;
    makeProgramRunner();
}

void Simulator::Impl::makeProgramRunner()
{
    program::SimulatorLinks links{
        mutex, state, [this](const RobotMsg &message) { distribute(message); },
        [this](const std::string &method, const std::vector<std::string> &params) {
            pushScript(method, Json(params));
        },
        [this] { notifyChange(); }};
    program_host = std::make_unique<program::SimProgramHost>(std::move(links));
    programs = std::make_unique<program::ProgramRunner>(*program_host);
}

void Simulator::Impl::scheduleProgramTick()
{
    program_timer->expires_after(program::kTickPeriod);
    program_timer->async_wait([self = shared_from_this()](std::error_code ec) {
        if (ec)
            return;
        const auto now = Clock::now();
        self->program_host->tick(now);
        self->programs->tick(now);
        self->scheduleProgramTick();
    });
}

bool Simulator::Impl::runProgram(const std::string &text)
{
    const auto now = Clock::now();
    if (!programs->load(text, now))
        return false;
    programs->start(now);
    return true;
}

void Simulator::Impl::bind()
{
    const auto address = asio::ip::make_address(options.host);
    const std::array<int, 3> offsets{korvu_wire::kRpcPortOffset, korvu_wire::kRealtimePortOffset,
                                     korvu_wire::kScriptPortOffset};
    const int attempts = options.base_port == 0 ? kPickAttempts : 1;
    std::error_code last_error;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        int base = options.base_port;
        std::array<std::unique_ptr<asio::ip::tcp::acceptor>, 3> bound;
        std::error_code ec;
        for (size_t k = 0; k < 3 && !ec; ++k) {
            auto acceptor = std::make_unique<asio::ip::tcp::acceptor>(io);
            acceptor->open(address.is_v6() ? asio::ip::tcp::v6() : asio::ip::tcp::v4(), ec);
            if (!ec)
                acceptor->set_option(asio::socket_base::reuse_address(true), ec);
            // A picked base comes from the ephemeral port the RPC server was given.
            int port = (base == 0) ? 0 : base + offsets[k];
            if (!ec && port > 65535)
                ec = asio::error::address_in_use;
            if (!ec)
                acceptor->bind({address, static_cast<unsigned short>(port)}, ec);
            if (!ec)
                acceptor->listen(asio::socket_base::max_listen_connections, ec);
            if (!ec && base == 0) {
                base = acceptor->local_endpoint().port() - offsets[k];
                if (base <= 0)
                    ec = asio::error::address_in_use;
            }
            bound[k] = std::move(acceptor);
        }
        if (!ec) {
            acceptors = std::move(bound);
            base_port = base;
            return;
        }
        last_error = ec;
    }
    throw std::system_error(last_error, "korvu_sim: cannot bind the servers on " + options.host);
}

void Simulator::Impl::accept(ServerKind kind)
{
    auto &acceptor = *acceptors[slot(kind)];
    acceptor.async_accept(
        [self = shared_from_this(), kind](std::error_code ec, asio::ip::tcp::socket socket) {
            if (ec == asio::error::operation_aborted || !self->acceptors[slot(kind)]->is_open())
                return;
            if (!ec) {
                auto session = std::make_shared<Session>();
                session->kind = kind;
                session->connection = std::make_shared<FramedConnection>(std::move(socket));
                auto remote = session->connection->remoteEndpoint();
                session->peer = remote.address().to_string() + ":" + std::to_string(remote.port());
                self->sessions.insert(session);
                {
                    std::lock_guard<std::mutex> lock(self->mutex);
                    ++self->connections[slot(kind)];
                }
                self->log(std::string(serverName(kind)) + " connection from " + session->peer);
                std::weak_ptr<Session> weak = session;
                session->connection->start(
                    [self, weak](std::string payload) {
                        if (auto s = weak.lock())
                            self->onMessage(s, payload);
                    },
                    [self, session](const std::string &reason, bool local) {
                        self->onClosed(session, reason, local);
                    });
                self->notifyChange();
            }
            self->accept(kind);
        });
}

void Simulator::Impl::onClosed(const std::shared_ptr<Session> &session, const std::string &reason, bool local)
{
    // The close handler may run inside FramedConnection's strand work; finish on a fresh handler.
    asio::post(io, [self = shared_from_this(), session, reason, local] {
        if (self->sessions.erase(session) == 0)
            return;
        for (auto &entry : session->channels)
            entry.second.timer->cancel();
        session->channels.clear();
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            --self->connections[slot(session->kind)];
            if (session->logged_in)
                --self->logins[slot(session->kind)];
        }
        self->log(std::string(serverName(session->kind)) + " connection " + session->peer + " closed (" +
                  (local ? "by the simulator" : reason) + ")");
        self->notifyChange();
    });
}

void Simulator::Impl::reply(const std::shared_ptr<Session> &session, const Json &message)
{
    Encoding encoding = session->kind == ServerKind::Realtime ? Encoding::MsgPack : Encoding::Json;
    session->connection->send(korvu_wire::serialize(message, encoding));
}

void Simulator::Impl::onMessage(const std::shared_ptr<Session> &session, const std::string &payload)
{
    Encoding encoding = session->kind == ServerKind::Realtime ? Encoding::MsgPack : Encoding::Json;
    Json message;
    Envelope envelope;
    std::string why;
    if (!korvu_wire::deserialize(payload, encoding, message)) {
        why = "unreadable message";
    } else if (!korvu_wire::parseEnvelope(message, envelope, why)) {
        why = "not a JSON-RPC message: " + why;
    } else if (envelope.kind != Envelope::Kind::Request) {
        why = "not a request";
    }
    if (!why.empty()) {
        log(std::string(serverName(session->kind)) + " peer " + session->peer + " dropped: " + why);
        session->connection->abort(why);
        return;
    }
    handleRequest(session, envelope);
}

void Simulator::Impl::handleRequest(const std::shared_ptr<Session> &session, const Envelope &request)
{
    std::optional<std::pair<int, std::string>> failure;
    std::chrono::milliseconds stall{0};
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (call_counts.size() < kMaxCountedMethods || call_counts.count(request.method))
            ++call_counts[request.method];
        auto f = failures.find(request.method);
        if (f != failures.end())
            failure = f->second;
        auto s = stalls.find(request.method);
        if (s != stalls.end())
            stall = s->second;
    }
    notifyChange();

    Json response;
    if (failure) {
        response = korvu_wire::makeError(request.id, failure->first, failure->second);
    } else {
        try {
            Json result;
            if (request.method == korvu_wire::kLogin) {
                result = handleLogin(session, request.params);
            } else if (request.method == korvu_wire::kLogout) {
                if (session->logged_in) {
                    session->logged_in = false;
                    std::lock_guard<std::mutex> lock(mutex);
                    --logins[slot(session->kind)];
                }
                result = true;
            } else if (!session->logged_in) {
                throw RpcError(korvu_wire::kErrNotLoggedIn, "not logged in");
            } else if (auto command = session->kind == ServerKind::Rpc ? program::programCommandOf(request.method)
                                                                        : std::nullopt) {
                result = programs->apply(*command, Clock::now());
            } else if (session->kind == ServerKind::Rpc) {
                std::lock_guard<std::mutex> lock(mutex);
                result = callApi(state, request.method, request.params);
            } else if (session->kind == ServerKind::Realtime) {
                result = handleRealtime(session, request.method, request.params);
            } else {
                result = handleScript(request.method, request.params);
            }
            response = korvu_wire::makeResult(request.id, std::move(result));
        } catch (const RpcError &e) {
            response = korvu_wire::makeError(request.id, e.code, e.what());
        } catch (const korvu_wire::WireError &e) {
            response = korvu_wire::makeError(request.id, korvu_wire::kErrInvalidParams, e.what());
        } catch (const std::exception &e) {
            response = korvu_wire::makeError(request.id, korvu_wire::kErrInternal, e.what());
        }
    }
    notifyChange();
    if (stall.count() <= 0) {
        reply(session, response);
        return;
    }
    auto timer = std::make_shared<asio::steady_timer>(io, stall);
    stall_timers.insert(timer);
    timer->async_wait([self = shared_from_this(), session, response, timer](std::error_code ec) {
        self->stall_timers.erase(timer);
        if (!ec)
            self->reply(session, response);
    });
}

Json Simulator::Impl::handleLogin(const std::shared_ptr<Session> &session, const Json &params)
{
    if (!params.is_array() || params.size() != 2)
        throw RpcError(korvu_wire::kErrInvalidParams, "login takes a user name and a password");
    std::string user = korvu_wire::asString(params[0]);
    std::string password = korvu_wire::asString(params[1]);
    bool accepted;
    {
        std::lock_guard<std::mutex> lock(mutex);
        accepted = !refuse_logins && user == options.user && password == options.password;
        if (accepted && !session->logged_in)
            ++logins[slot(session->kind)];
    }
    log(std::string(serverName(session->kind)) + " login of \"" + user + "\" from " + session->peer +
        (accepted ? " accepted" : " refused"));
    if (!accepted)
        throw RpcError(korvu_wire::kErrLoginRejected, "login refused");
    session->logged_in = true;
    startScenario();
    return true;
}

Json Simulator::Impl::handleRealtime(const std::shared_ptr<Session> &session, const std::string &method,
                                     const Json &params)
{
    if (method == korvu_wire::kGetOutputMaps) {
        std::lock_guard<std::mutex> lock(mutex);
        Json maps = Json::object();
        for (const auto &[name, type] : outputMaps(state))
            maps[name] = type;
        return maps;
    }
    if (method == korvu_wire::kSetTopic)
        return setTopic(session, params);
    throw RpcError(korvu_wire::kErrMethodNotFound, "no method " + method);
}

Json Simulator::Impl::setTopic(const std::shared_ptr<Session> &session, const Json &params)
{
    if (!params.is_array() || params.size() != 4)
        throw RpcError(korvu_wire::kErrInvalidParams, "setTopic takes to_server, names, frequency, channel");
    if (korvu_wire::asBool(params[0]))
        throw RpcError(korvu_wire::kErrInvalidParams, "inputs to the server are not supported");
    std::vector<std::string> names = korvu_wire::asStringVector(params[1]);
    double frequency = korvu_wire::asDouble(params[2]);
    int wanted = korvu_wire::asInt32(params[3]);
    if (!(frequency > 0.0) || frequency > korvu_wire::kMaxFrequency)
        throw RpcError(korvu_wire::kErrInvalidParams, "frequency out of range");
    Json types = Json::array();
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto offered = outputMaps(state);
        for (const auto &name : names) {
            auto it = offered.find(name);
            if (it == offered.end())
                throw RpcError(korvu_wire::kErrUnknownOutput, "output " + name + " is not offered");
            types.push_back(it->second);
        }
    }
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
        channel.pending = std::move(backlog);
        backlog.clear();
    }
    channel.period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / frequency));
    channel.timer = std::make_unique<asio::steady_timer>(io, channel.period);
    scheduleTick(session, id);
    return Json{{"channel", id}, {"types", types}};
}

void Simulator::Impl::scheduleTick(const std::weak_ptr<Session> &weak, int channel_id)
{
    auto session = weak.lock();
    if (!session)
        return;
    auto it = session->channels.find(channel_id);
    if (it == session->channels.end())
        return;
    it->second.timer->async_wait([self = shared_from_this(), weak, channel_id](std::error_code ec) {
        if (ec)
            return;
        auto s = weak.lock();
        if (!s)
            return;
        auto channel = s->channels.find(channel_id);
        if (channel == s->channels.end())
            return;
        bool send;
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            send = !self->paused && !self->manual;
        }
        if (send)
            self->sendFrame(*s, channel->second);
        auto &timer = *channel->second.timer;
        auto next = timer.expiry() + channel->second.period;
        // A simulator that fell behind skips the missed ticks instead of sending a burst.
        timer.expires_at(next < Clock::now() ? Clock::now() + channel->second.period : next);
        self->scheduleTick(weak, channel_id);
    });
}

bool Simulator::Impl::sendFrame(Session &session, Channel &channel)
{
    if (channel.messages_only && channel.pending.empty())
        return false;
    Json values = Json::array();
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!manual) {
            auto now = Clock::now();
            state.advance(std::chrono::duration<double>(now - last_advance).count());
            last_advance = now;
        }
        for (const auto &name : channel.topics) {
            if (name == kMessageTopic) {
                auto end = std::find_if(channel.pending.begin(), channel.pending.end(), program::endsBatch);
                if (end != channel.pending.end())
                    ++end;
                std::vector<RobotMsg> batch(channel.pending.begin(), end);
                channel.pending.erase(channel.pending.begin(), end);
                values.push_back(korvu_wire::encodeValue(korvu_sdk::InputParser::Value(std::move(batch))));
            } else {
                auto value = topicValue(state, name);
                values.push_back(value ? korvu_wire::encodeValue(*value) : Json());
            }
        }
        ++frames_sent;
    }
    Json frame = korvu_wire::makeNotification(korvu_wire::kFrameNotification,
                                              Json{{"channel", channel.id}, {"values", std::move(values)}});
    session.connection->send(korvu_wire::serialize(frame, Encoding::MsgPack));
    notifyChange();
    return true;
}

void Simulator::Impl::distribute(const RobotMsg &message)
{
    bool delivered = false;
    for (const auto &session : sessions)
        for (auto &entry : session->channels)
            if (entry.second.carries_messages) {
                if (entry.second.pending.size() >= kMaxPendingMessages)
                    entry.second.pending.pop_front();
                entry.second.pending.push_back(message);
                delivered = true;
            }
    if (!delivered) {
        if (backlog.size() >= kMaxPendingMessages)
            backlog.pop_front();
        backlog.push_back(message);
    }
}

void Simulator::Impl::pushScript(const std::string &method, Json params)
{
    Json note = korvu_wire::makeNotification(method, std::move(params));
    for (const auto &session : sessions)
        if (session->kind == ServerKind::Script && session->logged_in)
            reply(session, note);
}

Json Simulator::Impl::handleScript(const std::string &method, const Json &params)
{
    if (method != korvu_wire::kSendString)
        throw RpcError(korvu_wire::kErrMethodNotFound, "no method " + method);
    if (!params.is_array() || params.size() != 1)
        throw RpcError(korvu_wire::kErrInvalidParams, "sendString takes one text");
    std::string text = korvu_wire::asString(params[0]);
    if (text.empty())
        throw RpcError(korvu_wire::kErrScriptRejected, "empty script");
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (scripts.size() >= kMaxRecordedScripts)
            scripts.erase(scripts.begin());
        scripts.push_back(text);
    }
    log("script received (" + std::to_string(text.size()) + " bytes)");
    runProgram(text);
    return 0;
}

void Simulator::Impl::drop(ServerKind kind)
{
    for (const auto &session : sessions)
        if (kind == ServerKind::All || session->kind == kind)
            session->connection->close();
}

void Simulator::Impl::startScenario()
{
    if (scenario_started)
        return;
    scenario_started = true;
    for (const auto &event : options.events) {
        auto timer = std::make_unique<asio::steady_timer>(
            io, std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(event.at)));
        timer->async_wait([self = shared_from_this(), event](std::error_code ec) {
            if (!ec)
                self->runEvent(event);
        });
        event_timers.push_back(std::move(timer));
    }
}

void Simulator::Impl::runEvent(const ScenarioEvent &event)
{
    using Kind = ScenarioEvent::Kind;
    switch (event.kind) {
        case Kind::Message: {
            RobotMsg message;
            message.timestamp = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
            message.code = event.code;
            message.level = event.level;
            {
                std::lock_guard<std::mutex> lock(mutex);
                message.source =
                    event.source.value_or(state.robots.empty() ? "" : state.robots[0].model.name);
            }
            message.args = event.args;
            distribute(message);
            break;
        }
        case Kind::RobotMode:
        case Kind::SafetyMode: {
            std::lock_guard<std::mutex> lock(mutex);
            if (event.robot >= 0 && static_cast<size_t>(event.robot) < state.robots.size()) {
                auto &model = state.robots[static_cast<size_t>(event.robot)].model;
                (event.kind == Kind::RobotMode ? model.robot_mode : model.safety_mode) = event.mode;
            }
            break;
        }
        case Kind::Register: {
            std::lock_guard<std::mutex> lock(mutex);
            state.registers[event.name] = event.register_value;
            break;
        }
        case Kind::ScriptError:
            pushScript(korvu_wire::kScriptErrorNotification, Json::array({event.text}));
            break;
        case Kind::VariableUpdate:
            pushScript(korvu_wire::kVariableUpdateNotification, Json::array({event.name, event.text}));
            break;
        case Kind::Drop:
            drop(event.drop);
            break;
        case Kind::Program:
            runProgram(event.text);
            break;
        case Kind::Runtime:
            programs->apply(event.command, Clock::now());
            break;
    }
    log("scenario event at " + std::to_string(event.at) + " s done");
    notifyChange();
}

void Simulator::Impl::runOnIo(const std::function<void()> &task)
{
    {
        std::lock_guard<std::mutex> lock(lifecycle_mutex);
        if (!running) {
            task();
            return;
        }
        if (thread.get_id() == std::this_thread::get_id()) {
            task();
            return;
        }
    }
    std::promise<void> done;
    auto future = done.get_future();
    asio::post(io, [&task, &done] {
        task();
        done.set_value();
    });
    future.wait();
}

// ---------------------------------------------------------------------------------------------

SimulatorOptions applyScenario(SimulatorOptions options, const Scenario &scenario)
{
    if (!scenario.robots.empty()) {
        options.robots.clear();
        for (size_t i = 0; i < scenario.robots.size(); ++i) {
            const ScenarioRobot &r = scenario.robots[i];
            RobotModel model = makeDefaultRobot(static_cast<int>(i), r.dof.value_or(6), r.name);
            if (r.type)
                model.type = *r.type;
            if (r.robot_mode)
                model.robot_mode = *r.robot_mode;
            if (r.safety_mode)
                model.safety_mode = *r.safety_mode;
            model.has_enc_tick_count = r.enc_tick_count;
            options.robots.push_back(std::move(model));
        }
        options.robot_count = static_cast<int>(options.robots.size());
    }
    if (scenario.user)
        options.user = *scenario.user;
    if (scenario.password)
        options.password = *scenario.password;
    options.events = scenario.events;
    return options;
}

Simulator::Simulator(SimulatorOptions options) : impl(std::make_shared<Impl>(std::move(options))) {}

Simulator::~Simulator()
{
    stop();
}

void Simulator::start()
{
    std::lock_guard<std::mutex> lock(impl->lifecycle_mutex);
    if (impl->running)
        return;
    impl->io.restart();
    impl->bind();
    for (auto kind : {ServerKind::Rpc, ServerKind::Realtime, ServerKind::Script})
        impl->accept(kind);
    impl->program_timer = std::make_unique<asio::steady_timer>(impl->io);
    impl->scheduleProgramTick();
    impl->work.emplace(impl->io.get_executor());
    impl->thread = std::thread([impl = impl] { impl->io.run(); });
    impl->running = true;
}

void Simulator::stop()
{
    std::lock_guard<std::mutex> lock(impl->lifecycle_mutex);
    if (!impl->running)
        return;
    asio::post(impl->io, [impl = impl] {
        for (auto &acceptor : impl->acceptors) {
            std::error_code ignored;
            acceptor->close(ignored);
        }
        for (auto &timer : impl->event_timers)
            timer->cancel();
        for (const auto &timer : impl->stall_timers)
            timer->cancel();
        impl->program_timer->cancel();
        for (const auto &session : impl->sessions) {
            for (auto &entry : session->channels)
                entry.second.timer->cancel();
            session->connection->close();
        }
        impl->work.reset();
    });
    impl->thread.join();
    impl->io.stop();
    impl->sessions.clear();
    impl->event_timers.clear();
    impl->running = false;
    {
        std::lock_guard<std::mutex> state_lock(impl->mutex);
        impl->connections = {};
        impl->logins = {};
    }
    impl->notifyChange();
}

const std::string &Simulator::host() const
{
    return impl->options.host;
}
int Simulator::basePort() const
{
    return impl->base_port;
}
int Simulator::rpcPort() const
{
    return impl->base_port + korvu_wire::kRpcPortOffset;
}
int Simulator::realtimePort() const
{
    return impl->base_port + korvu_wire::kRealtimePortOffset;
}
int Simulator::scriptPort() const
{
    return impl->base_port + korvu_wire::kScriptPortOffset;
}

std::vector<std::string> Simulator::robotNames() const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    std::vector<std::string> names;
    for (const auto &robot : impl->state.robots)
        names.push_back(robot.model.name);
    return names;
}

RobotModel Simulator::robot(int index) const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->state.robots.at(static_cast<size_t>(index)).model;
}

void Simulator::updateRobot(int index, const std::function<void(RobotModel &)> &change)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        if (index < 0 || static_cast<size_t>(index) >= impl->state.robots.size())
            return;
        change(impl->state.robots[static_cast<size_t>(index)].model);
    }
    impl->notifyChange();
}

void Simulator::setRobotMode(int index, common_interface::RobotModeType mode)
{
    updateRobot(index, [mode](RobotModel &r) { r.robot_mode = static_cast<int>(mode); });
}

void Simulator::setSafetyMode(int index, common_interface::SafetyModeType mode)
{
    updateRobot(index, [mode](RobotModel &r) { r.safety_mode = static_cast<int>(mode); });
}

void Simulator::setRuntimeState(common_interface::RuntimeState state)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.runtime_state = state;
    }
    impl->notifyChange();
}

void Simulator::setRuntimeContext(int thread_id, int line_number)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.runtime_context = {thread_id, line_number};
    }
    impl->notifyChange();
}

void Simulator::setModbusSignals(std::vector<std::string> names, std::vector<int32_t> values,
                                 std::vector<int32_t> errors)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.modbus_names = std::move(names);
        impl->state.modbus_values = std::move(values);
        impl->state.modbus_errors = std::move(errors);
    }
    impl->notifyChange();
}

void Simulator::setGripperStatuses(std::vector<common_interface::GripperStatus> statuses)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.grippers = std::move(statuses);
    }
    impl->notifyChange();
}

void Simulator::setRegister(const std::string &name, std::int64_t value)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.registers[name] = value;
    }
    impl->notifyChange();
}

void Simulator::clearRegister(const std::string &name)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.registers.erase(name);
    }
    impl->notifyChange();
}

void Simulator::setPnSlots(std::vector<std::vector<std::uint8_t>> slots)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->state.pn_slots = std::move(slots);
    }
    impl->notifyChange();
}

std::vector<std::vector<std::uint8_t>> Simulator::pnSlots() const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->state.pn_slots;
}

std::vector<std::vector<std::uint8_t>> Simulator::eipTables() const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->state.eip_tables;
}

void Simulator::injectMessage(const common_interface::RobotMsg &message)
{
    injectMessages({message});
}

void Simulator::injectMessages(const std::vector<common_interface::RobotMsg> &messages)
{
    impl->runOnIo([&] {
        for (const auto &m : messages)
            impl->distribute(m);
    });
}

std::vector<std::string> Simulator::receivedScripts() const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->scripts;
}

void Simulator::sendScriptError(const std::string &text)
{
    impl->runOnIo([&] { impl->pushScript(korvu_wire::kScriptErrorNotification, Json::array({text})); });
}

void Simulator::sendScriptError2(const std::string &first, const std::string &second)
{
    impl->runOnIo([&] {
        impl->pushScript(korvu_wire::kScriptError2Notification, Json::array({first, second}));
    });
}

void Simulator::sendVariableUpdate(const std::string &name, const std::string &value)
{
    impl->runOnIo([&] {
        impl->pushScript(korvu_wire::kVariableUpdateNotification, Json::array({name, value}));
    });
}

void Simulator::dropConnections(ServerKind kind)
{
    impl->runOnIo([&] { impl->drop(kind); });
}

void Simulator::refuseLogins(bool refuse)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->refuse_logins = refuse;
    }
    impl->notifyChange();
}

void Simulator::failMethod(const std::string &method, int code, const std::string &message)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->failures[method] = {code, message};
    }
    impl->notifyChange();
}

void Simulator::stallMethod(const std::string &method, std::chrono::milliseconds delay)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->stalls[method] = delay;
    }
    impl->notifyChange();
}

void Simulator::clearMethodFaults()
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->failures.clear();
        impl->stalls.clear();
    }
    impl->notifyChange();
}

void Simulator::pauseStreaming()
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->paused = true;
    }
    impl->notifyChange();
}

void Simulator::resumeStreaming()
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->paused = false;
    }
    impl->notifyChange();
}

void Simulator::setManualStepping(bool manual)
{
    {
        std::lock_guard<std::mutex> lock(impl->mutex);
        impl->manual = manual;
        impl->last_advance = Clock::now();
    }
    impl->notifyChange();
}

void Simulator::step()
{
    impl->runOnIo([&] {
        {
            std::lock_guard<std::mutex> lock(impl->mutex);
            if (impl->manual)
                impl->state.advance(kManualStepSeconds);
        }
        for (const auto &session : impl->sessions)
            for (auto &entry : session->channels)
                impl->sendFrame(*session, entry.second);
    });
}

std::uint64_t Simulator::framesSent() const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->frames_sent;
}

int Simulator::callCount(const std::string &method) const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    auto it = impl->call_counts.find(method);
    return it == impl->call_counts.end() ? 0 : it->second;
}

void Simulator::resetCallCounts()
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    impl->call_counts.clear();
}

int Simulator::connectionCount(ServerKind kind) const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    if (kind == ServerKind::All)
        return impl->connections[0] + impl->connections[1] + impl->connections[2];
    return impl->connections[slot(kind)];
}

int Simulator::loginCount(ServerKind kind) const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    if (kind == ServerKind::All)
        return impl->logins[0] + impl->logins[1] + impl->logins[2];
    return impl->logins[slot(kind)];
}

bool Simulator::waitForClients(int n, std::chrono::milliseconds timeout) const
{
    return waitFor(
        [&] {
            std::lock_guard<std::mutex> lock(impl->mutex);
            const auto &c = impl->connections;
            return c[0] >= n && c[1] >= n && c[2] >= n;
        },
        timeout);
}

bool Simulator::waitForLogins(int n, std::chrono::milliseconds timeout) const
{
    return waitFor(
        [&] {
            std::lock_guard<std::mutex> lock(impl->mutex);
            const auto &l = impl->logins;
            return l[0] >= n && l[1] >= n && l[2] >= n;
        },
        timeout);
}

bool Simulator::waitForScripts(size_t n, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return receivedScripts().size() >= n; }, timeout);
}

bool Simulator::waitForCallCount(const std::string &method, int n, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return callCount(method) >= n; }, timeout);
}

bool Simulator::waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    std::unique_lock<std::mutex> lock(impl->change_mutex);
    while (true) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        impl->change_cv.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(20)));
    }
}

bool Simulator::runProgram(const std::string &text)
{
    bool compiled = false;
    impl->runOnIo([&] { compiled = impl->runProgram(text); });
    return compiled;
}

int Simulator::programCommand(ProgramCommand command)
{
    int result = 0;
    impl->runOnIo([&] { result = impl->programs->apply(command, Clock::now()); });
    return result;
}

common_interface::RuntimeState Simulator::runtimeState() const
{
    std::lock_guard<std::mutex> lock(impl->mutex);
    return impl->state.runtime_state;
}

bool Simulator::waitForRuntimeState(common_interface::RuntimeState state, std::chrono::milliseconds timeout) const
{
    return waitFor([&] { return runtimeState() == state; }, timeout);
}

}  // namespace temla::korvu_sim
