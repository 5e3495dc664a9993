#include <QDebug>

#include <exception>
#include <thread>

#include "korvu_sdk/protocol.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "library_log.h"
#include "proxy_core.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"
#include "state/realtime_robot_state_p.h"

namespace temla::korvu_sdk
{
int RobotProxy::connect(const QString &ip, int port)
{
    return core->connect(ip, port);
}

int RobotProxy::nonblock_connect(const QString &ip, int port, std::function<void(bool)> callback)
{
    std::thread([shared = core, ip, port, callback = std::move(callback)] {
        const int result = shared->connect(ip, port);
        if (callback) {
            callback(result == 0);
        }
    }).detach();
    return 0;
}

int RobotProxy::nonblock_connect2(const QString &ip, int port, std::function<void(int)> callback)
{
    std::thread([shared = core, ip, port, callback = std::move(callback)] {
        const int result = shared->connect(ip, port);
        if (callback) {
            callback(result);
        }
    }).detach();
    return 0;
}

namespace
{

RobotProxy::Failure loginFailure(int result)
{
    switch (result) {
        case kLoginNotConnected:
            return RobotProxy::Failure::NotConnected;
        case kLoginRejected:
            return RobotProxy::Failure::LoginRejected;
        default:
            return RobotProxy::Failure::NoAnswer;
    }
}

}  // namespace

int RobotProxy::login(const QString &user, const QString &password)
{
    try {
        return loginSteps(user.toStdString(), password.toStdString());
    } catch (const std::exception &e) {
        RP_LOG_CRITICAL() << "Login FAILED:" << e.what();
        core->fail(Failure::NoAnswer, 0, QString::fromUtf8(e.what()));
        return -1;
    }
}

int RobotProxy::loginSteps(const std::string &name, const std::string &secret)
{
    if (!hasConnected()) {
        core->fail(Failure::NotConnected, 0, QStringLiteral("Not connected: connect first"));
        return -1;
    }
    int result = rpc_client->login(name, secret);
    if (result != 0) {
        RP_LOG_CRITICAL() << "Login to RPC Server FAILED";
        const LoginFailure reason = rpc_client->lastLoginFailure();
        core->fail(loginFailure(result), reason.code != 0 ? reason.code : result,
                   QStringLiteral("RPC login failed: %1").arg(QString::fromStdString(reason.message)));
        return -1;
    }
    // Channels of an earlier login on the same realtime connection would still deliver: start it
    // afresh so that every message and frame reaches one subscriber.
    if (core->realtimeSubscribed() && (result = core->reconnectRealtime()) != 0) {
        RP_LOG_CRITICAL() << "Login to RTDE Server FAILED";
        core->fail(Failure::ConnectFailed, result,
                   QStringLiteral("The realtime server cannot be reached again"));
        return -2;
    }
    result = rtde_client->login(name, secret);
    if (result != 0) {
        RP_LOG_CRITICAL() << "Login to RTDE Server FAILED";
        core->fail(loginFailure(result), result, QStringLiteral("Realtime login failed"));
        return -2;
    }
    result = script_client->login(name, secret);
    if (result != 0) {
        RP_LOG_CRITICAL() << "Login to Script Server FAILED";
        core->fail(loginFailure(result), result, QStringLiteral("Script login failed"));
        return -3;
    }
    std::string reason;
    const int refreshed = detail::writerOf(*realtime_state).loginRefresh(reason);
    if (refreshed != 0) {
        RP_LOG_CRITICAL() << "Login refresh FAILED:" << QString::fromStdString(reason);
        core->fail(
            Failure::RefreshFailed, refreshed,
            QStringLiteral("The robot list could not be read: %1").arg(QString::fromStdString(reason)));
        return -1;
    }
    const int channel = rtde_client->setTopic(false, {kRobotMessageTopic}, 200.0, 0);
    if (channel < 0) {
        RP_LOG_CRITICAL() << "Subscribe to robot message FAILED: channel not assigned.";
        core->fail(Failure::NoMessageChannel, channel,
                   QStringLiteral("No realtime channel for the robot messages"));
        return -1;
    }
    core->setRealtimeSubscribed(true);
    const std::weak_ptr<detail::ProxyCore> weak = core;
    const int subscribed = rtde_client->subscribe(channel, [weak](InputParser &parser) {
        auto shared = weak.lock();
        if (!shared) {
            return;
        }
        shared->withOwner([&](RobotProxy &proxy) {
            try {
                proxy.robotMessageCallback(parser);
            } catch (const std::exception &e) {
                RP_LOG_WARNING() << "Robot message batch:" << e.what();
            }
        });
    });
    if (subscribed != 0) {
        RP_LOG_CRITICAL() << "Subscribe to robot message FAILED";
    } else {
        RP_LOG_INFO().nospace().noquote() << "Subscribe " << kRobotMessageTopic << " channel: " << channel;
    }
    realtime_state->configSubscribe();
    emit logined(true);
    return 0;
}

int RobotProxy::disconnectFromServer()
{
    // A loss an SDK thread reports while this runs is this disconnection: it is reported once, here.
    core->suppressLossReport();
    core->setRealtimeSubscribed(false);
    rtde_client->disconnect();
    script_client->disconnect();
    const int result = rpc_client->disconnect();
    sendDisconnectedSignal();
    core->forgetSelection();
    return result;
}

}  // namespace temla::korvu_sdk
