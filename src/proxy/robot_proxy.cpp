#include "robot_proxy/robot_proxy.h"

#include <QDebug>

#include <exception>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/protocol.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "proxy_core.h"
#include "request_timeouts.h"
#include "robot_proxy/error_code.h"
#include "robot_proxy/realtime_robot_state.h"
#include "sdk_handlers.h"
#include "state/realtime_robot_state_p.h"
#include "text_codec.h"

namespace temla::korvu_sdk
{
namespace
{

void registerMetaTypes()
{
    qRegisterMetaType<common_interface::OperationalModeType>("OperationalModeType");
    qRegisterMetaType<common_interface::RobotModeType>("RobotModeType");
    qRegisterMetaType<common_interface::SafetyModeType>("SafetyModeType");
    qRegisterMetaType<common_interface::RuntimeState>("RuntimeState");
    qRegisterMetaType<common_interface::RobotMsg>("RobotMsg");
    qRegisterMetaType<common_interface::OperationalModeType>("temla::common_interface::OperationalModeType");
    qRegisterMetaType<common_interface::RobotModeType>("temla::common_interface::RobotModeType");
    qRegisterMetaType<common_interface::SafetyModeType>("temla::common_interface::SafetyModeType");
    qRegisterMetaType<common_interface::RuntimeState>("temla::common_interface::RuntimeState");
}

}  // namespace

RobotProxy::RobotProxy(QObject *parent) : QObject(parent)
{
    ErrorCode::buildTransMap();
    registerMetaTypes();
    rpc_client = std::make_shared<RpcClient>(0);
    rtde_client = std::make_shared<RtdeClient>(0);
    script_client = std::make_shared<ScriptClient>(0);
    core = std::make_shared<detail::ProxyCore>(rpc_client, rtde_client, script_client);
    rpc_client->setRequestTimeout(detail::kRpcRequestTimeoutMs);
    installClientHandlers();
    realtime_state = std::make_shared<RealtimeRobotState>(rpc_client, rtde_client);
    core->attach(*this, realtime_state);
    QObject::connect(realtime_state.get(), &RealtimeRobotState::runtimeStateChanged, this,
                     &RobotProxy::runtimeStateChanged);
    QObject::connect(realtime_state.get(), &RealtimeRobotState::safetyModeChanged, this,
                     &RobotProxy::safetyModeChanged);
    QObject::connect(realtime_state.get(), &RealtimeRobotState::robotModeChanged, this,
                     &RobotProxy::robotModeChanged);
}

RobotProxy::~RobotProxy()
{
    // From here on no worker or SDK callback reaches this object: waiting fills wake and end, and an
    // emission running right now is waited for.
    core->cancel();
    // The cache emits its mode signals under its own lock; once a locked read has returned after the
    // disconnect, no forwarded emission into this object is still running.
    QObject::disconnect(realtime_state.get(), nullptr, this, nullptr);
    realtime_state->getRobotIndex();
    rtde_client.reset();
    script_client.reset();
    rpc_client.reset();
    realtime_state.reset();
}

void RobotProxy::installClientHandlers()
{
    const std::weak_ptr<detail::ProxyCore> weak = core;
    rpc_client->setLogHandler(detail::forwardSdkLog);
    rtde_client->setLogHandler(detail::forwardSdkLog);
    script_client->setLogHandler(detail::forwardSdkLog);

    auto on_event = [weak](int event) {
        if (event != kEventConnectionLost) {
            return;
        }
        // The RPC and the realtime client both report one loss; the application hears it once.
        if (auto shared = weak.lock(); shared && shared->claimLossReport()) {
            shared->withOwner([](RobotProxy &proxy) { proxy.sendDisconnectedSignal(); });
        }
    };
    rpc_client->setEventHandler(on_event);
    rtde_client->setEventHandler(on_event);

    script_client->subscribeScriptError([weak](const std::string &text) {
        if (auto shared = weak.lock()) {
            const QString error = detail::decodeScriptErrorText(text);
            shared->withOwner([&](RobotProxy &proxy) { emit proxy.scriptError(error); });
        }
    });
    script_client->subscribeScriptError2([weak](const std::string &first, const std::string &second) {
        if (auto shared = weak.lock()) {
            const QString a = detail::decodeScriptErrorText(first);
            const QString b = detail::decodeScriptErrorText(second);
            shared->withOwner([&](RobotProxy &proxy) { emit proxy.scriptError2(a, b); });
        }
    });
    script_client->subscribeVariableUpdate([weak](const std::string &first, const std::string &second) {
        if (auto shared = weak.lock()) {
            const QString a = QString::fromStdString(first);
            const QString b = QString::fromStdString(second);
            shared->withOwner([&](RobotProxy &proxy) { emit proxy.variableUpdate(a, b); });
        }
    });
}

std::shared_ptr<RpcClient> RobotProxy::getRpcClient()
{
    return rpc_client;
}

std::shared_ptr<RtdeClient> RobotProxy::getRtdeClient()
{
    return rtde_client;
}

std::shared_ptr<ScriptClient> RobotProxy::getScriptClient()
{
    return script_client;
}

std::shared_ptr<RealtimeRobotState> RobotProxy::getRealTimeState()
{
    return realtime_state;
}

bool RobotProxy::hasConnected()
{
    const bool rpc = rpc_client->hasConnected();
    const bool script = script_client->hasConnected();
    const bool rtde = rtde_client->hasConnected();
    return rpc && script && rtde;
}

bool RobotProxy::hasLogined()
{
    return core->hasLogined();
}

void RobotProxy::sendDisconnectedSignal()
{
    const int index = core->robotIndex();
    if (realtime_state && detail::writerOf(*realtime_state).storeDisconnectedModes(index)) {
        emit robotModeChanged(index, RobotModeType::NoController);
        emit safetyModeChanged(index, SafetyModeType::Undefined);
    }
    emit logined(false);
    emit disconnected();
}

RobotProxy::LastError RobotProxy::lastError() const
{
    return core->lastError();
}

void RobotProxy::setRequestTimeout(int timeout_ms)
{
    rpc_client->setRequestTimeout(timeout_ms);
}

int RobotProxy::requestTimeout() const
{
    return rpc_client->requestTimeout();
}

QString RobotProxy::getErrorCodeMsg(int code)
{
    return ErrorCode::lookup(code);
}

// ---- Script channel ----

int RobotProxy::sendScript(const std::string &script)
{
    if (script.empty()) {
        return 1;
    }
    core->recordScript(script);
    const int result = script_client->sendString(script);
    if (result != 0) {
        core->fail(Failure::ScriptNotSent, result,
                   QStringLiteral("The script client did not take the script"));
    }
    return result;
}

std::string RobotProxy::getScript() const
{
    return core->script();
}

}  // namespace temla::korvu_sdk
