#include "korvu_sdk/script_client.h"

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

namespace wire = korvu_wire;

// The script callbacks; they are the client's, not a connection's, and survive reconnects.
struct ScriptCallbacks {
    std::mutex mutex;
    ScriptErrorCallback error;
    ScriptPairCallback error2;
    ScriptPairCallback variable_update;
};

namespace
{

std::vector<std::string> stringParams(const Json &params, std::size_t count)
{
    auto texts = wire::asStringVector(params);
    if (texts.size() != count) {
        throw wire::WireError("expected " + std::to_string(count) + " texts");
    }
    return texts;
}

template <typename Callback, typename... Args>
void invokeCallback(const std::shared_ptr<ScriptCallbacks> &callbacks, Callback ScriptCallbacks::*slot,
                    Handlers &handlers, const Args &...args)
{
    Callback callback;
    {
        std::lock_guard<std::mutex> lock(callbacks->mutex);
        callback = (*callbacks).*slot;
    }
    if (!callback) {
        return;
    }
    try {
        callback(args...);
    } catch (const std::exception &e) {
        KORVU_LOG(handlers, kLogError, std::string("SCRIPT callback threw: ") + e.what());
    } catch (...) {
        KORVU_LOG(handlers, kLogError, "SCRIPT callback threw");
    }
}

}  // namespace

class ScriptCore : public ClientCore
{
public:
    ScriptCore() : ClientCore("SCRIPT", korvu_wire::Encoding::Json) {}
    ~ScriptCore() override { disconnect(); }

    const std::shared_ptr<ScriptCallbacks> callbacks = std::make_shared<ScriptCallbacks>();

protected:
    Session::Hooks makeHooks() override
    {
        Session::Hooks hooks;
        hooks.on_notification = [callbacks = callbacks](Session &session, const std::string &method,
                                                        Json &params) {
            auto handlers = session.handlers();
            if (method == wire::kScriptErrorNotification) {
                const auto texts = stringParams(params, 1);
                session.deliver([callbacks, handlers, texts] {
                    invokeCallback(callbacks, &ScriptCallbacks::error, *handlers, texts[0]);
                });
            } else if (method == wire::kScriptError2Notification ||
                       method == wire::kVariableUpdateNotification) {
                const auto texts = stringParams(params, 2);
                const auto slot = method == wire::kScriptError2Notification
                                      ? &ScriptCallbacks::error2
                                      : &ScriptCallbacks::variable_update;
                session.deliver([callbacks, handlers, texts, slot] {
                    invokeCallback(callbacks, slot, *handlers, texts[0], texts[1]);
                });
            } else {
                KORVU_LOG(*handlers, kLogDebug, "SCRIPT ignored notification " + method);
            }
        };
        return hooks;
    }
};

}  // namespace detail

ScriptClient::ScriptClient(int /*mode*/) : core_(std::make_shared<detail::ScriptCore>()) {}
ScriptClient::~ScriptClient()
{
    core_->disconnect();
}

int ScriptClient::connect(const std::string &ip, int port)
{
    return core_->connect(ip, port);
}
int ScriptClient::login(const std::string &user, const std::string &password)
{
    return core_->login(user, password);
}
int ScriptClient::logout()
{
    return core_->logout();
}
int ScriptClient::disconnect()
{
    return core_->disconnect();
}
bool ScriptClient::hasConnected() const
{
    return core_->hasConnected();
}
bool ScriptClient::hasLogined() const
{
    return core_->hasLogined();
}
void ScriptClient::setLogHandler(LogHandler handler)
{
    core_->setLogHandler(std::move(handler));
}
void ScriptClient::setEventHandler(EventHandler handler)
{
    core_->setEventHandler(std::move(handler));
}
int ScriptClient::setLivenessTimeout(int timeout_ms)
{
    core_->setLivenessTimeout(timeout_ms);
    return 0;
}

int ScriptClient::sendString(const std::string &text)
{
    namespace error_code = common_interface::error_code;
    try {
        core_->call(korvu_wire::kSendString, korvu_wire::Json::array({text}));
        return 0;
    } catch (const common_interface::KorvuException &e) {
        KORVU_LOG(core_->handlers(), kLogWarning, std::string("SCRIPT sendString failed: ") + e.what());
        switch (e.code()) {
            case error_code::kNotConnected:
            case error_code::kNotLoggedIn:
                return kScriptNotConnected;
            case error_code::kTimeout:
            case error_code::kConnectionLost:
            case error_code::kProtocol:
                return kScriptNoAnswer;
            default:
                return kScriptRejected;
        }
    }
}

void ScriptClient::subscribeScriptError(ScriptErrorCallback callback)
{
    std::lock_guard<std::mutex> lock(core_->callbacks->mutex);
    core_->callbacks->error = std::move(callback);
}

void ScriptClient::subscribeScriptError2(ScriptPairCallback callback)
{
    std::lock_guard<std::mutex> lock(core_->callbacks->mutex);
    core_->callbacks->error2 = std::move(callback);
}

void ScriptClient::subscribeVariableUpdate(ScriptPairCallback callback)
{
    std::lock_guard<std::mutex> lock(core_->callbacks->mutex);
    core_->callbacks->variable_update = std::move(callback);
}

}  // namespace korvu_sdk
}  // namespace temla
