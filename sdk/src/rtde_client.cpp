#include "korvu_sdk/rtde_client.h"

#include <map>
#include <mutex>

#include "client_core.h"
#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

using common_interface::KorvuException;
namespace error_code = common_interface::error_code;
namespace wire = korvu_wire;

// Topics and subscriptions of one realtime connection; they end with it.
struct Channels {
    std::mutex mutex;
    std::map<int, std::vector<InputParser::Type>> types;
    std::map<int, std::shared_ptr<SubscribeCallback>> subscribers;

    void clear()
    {
        std::lock_guard<std::mutex> lock(mutex);
        types.clear();
        subscribers.clear();
    }
};

namespace
{

std::vector<InputParser::Type> asTypes(const Json &value)
{
    std::vector<InputParser::Type> types;
    for (const auto code : wire::asIntVector(value)) {
        if (!wire::isValueType(code)) {
            throw wire::WireError("unknown value type " + std::to_string(code));
        }
        types.push_back(static_cast<InputParser::Type>(code));
    }
    return types;
}

const Json &member(const Json &object, const char *name)
{
    if (!object.is_object() || !object.contains(name)) {
        throw wire::WireError(std::string("missing member \"") + name + "\"");
    }
    return object.at(name);
}

void deliverToSubscriber(const std::shared_ptr<Channels> &channels, int channel, InputParser &parser,
                         Handlers &handlers)
{
    std::shared_ptr<SubscribeCallback> callback;
    {
        std::lock_guard<std::mutex> lock(channels->mutex);
        const auto it = channels->subscribers.find(channel);
        if (it == channels->subscribers.end()) {
            return;
        }
        callback = it->second;
    }
    try {
        (*callback)(parser);
    } catch (const std::exception &e) {
        KORVU_LOG(handlers, kLogError,
                  "RTDE subscriber of channel " + std::to_string(channel) + " threw: " + e.what());
    } catch (...) {
        KORVU_LOG(handlers, kLogError, "RTDE subscriber of channel " + std::to_string(channel) + " threw");
    }
}

// Decodes a frame on the I/O thread, so a malformed one closes the connection before any of it
// reaches a subscriber.
void onFrame(const std::shared_ptr<Channels> &channels, Session &session, Json &params)
{
    const int channel = wire::asInt32(member(params, "channel"));
    const Json &values = member(params, "values");
    if (!values.is_array()) {
        throw wire::WireError("frame values are not an array");
    }
    std::vector<InputParser::Type> types;
    {
        std::lock_guard<std::mutex> lock(channels->mutex);
        const auto it = channels->types.find(channel);
        if (it == channels->types.end()) {
            KORVU_LOG(*session.handlers(), kLogDebug,
                      "RTDE frame for channel " + std::to_string(channel) + " without a topic ignored");
            return;
        }
        types = it->second;
    }
    if (values.size() != types.size()) {
        throw wire::WireError("frame of channel " + std::to_string(channel) + " holds " +
                              std::to_string(values.size()) + " values, its topic " +
                              std::to_string(types.size()));
    }
    std::vector<InputParser::Value> decoded;
    decoded.reserve(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        decoded.push_back(wire::decodeValue(values[i], types[i]));
    }
    auto parser = std::make_shared<InputParser>(std::move(decoded));
    session.deliver([channels, channel, parser, handlers = session.handlers()] {
        deliverToSubscriber(channels, channel, *parser, *handlers);
    });
}

}  // namespace

class RtdeCore : public ClientCore
{
public:
    RtdeCore() : ClientCore("RTDE", korvu_wire::Encoding::MsgPack) {}
    ~RtdeCore() override { disconnect(); }

    // The current session and its channels, or nulls when not connected.
    std::pair<std::shared_ptr<Session>, std::shared_ptr<Channels>> current() const
    {
        auto active = session();
        if (!active || !active->isOpen()) {
            return {};
        }
        return {active, std::static_pointer_cast<Channels>(active->state())};
    }

protected:
    Session::Hooks makeHooks() override
    {
        auto channels = std::make_shared<Channels>();
        Session::Hooks hooks;
        hooks.state = channels;
        hooks.on_lost = [channels] { channels->clear(); };
        hooks.on_notification = [channels](Session &session, const std::string &method, Json &params) {
            if (method == wire::kFrameNotification) {
                onFrame(channels, session, params);
            } else {
                KORVU_LOG(*session.handlers(), kLogDebug, "RTDE ignored notification " + method);
            }
        };
        return hooks;
    }
};

}  // namespace detail

RtdeClient::RtdeClient(int /*mode*/) : core_(std::make_shared<detail::RtdeCore>()) {}
RtdeClient::~RtdeClient()
{
    disconnect();
}

int RtdeClient::connect(const std::string &ip, int port)
{
    return core_->connect(ip, port);
}
int RtdeClient::login(const std::string &user, const std::string &password)
{
    return core_->login(user, password);
}
int RtdeClient::logout()
{
    return core_->logout();
}
int RtdeClient::logout(int timeout_ms)
{
    return core_->logout(timeout_ms);
}
int RtdeClient::disconnect()
{
    const auto channels = core_->current().second;
    const int result = core_->disconnect();
    // Subscribers may hold their owners; release them now, not when the last frame task is gone.
    if (channels) {
        channels->clear();
    }
    return result;
}
bool RtdeClient::hasConnected() const
{
    return core_->hasConnected();
}
bool RtdeClient::hasLogined() const
{
    return core_->hasLogined();
}
void RtdeClient::setLogHandler(LogHandler handler)
{
    core_->setLogHandler(std::move(handler));
}
void RtdeClient::setEventHandler(EventHandler handler)
{
    core_->setEventHandler(std::move(handler));
}
int RtdeClient::setLivenessTimeout(int timeout_ms)
{
    core_->setLivenessTimeout(timeout_ms);
    return 0;
}

std::map<std::string, int> RtdeClient::getOutputMaps()
{
    try {
        const auto result = core_->call(korvu_wire::kGetOutputMaps, korvu_wire::Json::array());
        try {
            return korvu_wire::asOutputMap(result);
        } catch (const std::exception &e) {
            core_->failConnection(std::string("ill-typed output map: ") + e.what());
        }
    } catch (const common_interface::KorvuException &e) {
        KORVU_LOG(core_->handlers(), kLogWarning, std::string("RTDE getOutputMaps failed: ") + e.what());
    }
    return {};
}

int RtdeClient::setTopic(bool to_server, const std::vector<std::string> &names, double frequency, int channel)
{
    namespace error_code = common_interface::error_code;
    if (to_server) {
        KORVU_LOG(core_->handlers(), kLogWarning, "RTDE setTopic: inputs to the server are not supported");
        return kTopicRejected;
    }
    const auto active = core_->current();
    if (!active.first || !active.first->isLoggedIn()) {
        return kTopicNotConnected;
    }
    const auto channels = active.second;
    const auto count = names.size();
    // Stored on the I/O thread together with the reply, so that no frame of the new channel can
    // arrive before its types are known.
    auto record = [channels, count](const korvu_wire::Json &result) {
        const int assigned = korvu_wire::asInt32(detail::member(result, "channel"));
        auto types = detail::asTypes(detail::member(result, "types"));
        if (assigned < 0 || types.size() != count) {
            throw korvu_wire::WireError("setTopic reply does not match the request");
        }
        std::lock_guard<std::mutex> lock(channels->mutex);
        channels->types[assigned] = std::move(types);
    };
    try {
        const auto result = active.first->request(korvu_wire::kSetTopic,
                                                  korvu_wire::Json::array({false, names, frequency, channel}),
                                                  core_->requestTimeout(), record);
        return korvu_wire::asInt32(result.at("channel"));
    } catch (const common_interface::KorvuException &e) {
        KORVU_LOG(core_->handlers(), kLogWarning, std::string("RTDE setTopic failed: ") + e.what());
        switch (e.code()) {
            case error_code::kNotConnected:
            case error_code::kNotLoggedIn:
                return kTopicNotConnected;
            case error_code::kTimeout:
            case error_code::kConnectionLost:
            case error_code::kProtocol:
                return kTopicNoAnswer;
            default:
                return kTopicRejected;
        }
    }
}

int RtdeClient::subscribe(int channel, SubscribeCallback callback)
{
    const auto active = core_->current();
    if (!active.first) {
        return kSubscribeNotConnected;
    }
    std::lock_guard<std::mutex> lock(active.second->mutex);
    if (active.second->types.count(channel) == 0) {
        return kSubscribeNoTopic;
    }
    if (callback) {
        active.second->subscribers[channel] = std::make_shared<SubscribeCallback>(std::move(callback));
    } else {
        active.second->subscribers.erase(channel);
    }
    return 0;
}

}  // namespace korvu_sdk
}  // namespace temla
