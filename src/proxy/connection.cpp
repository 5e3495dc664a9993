#include <QDebug>

#include <thread>

#include "korvu_sdk/protocol.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "proxy_core.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

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

int RobotProxy::login(const QString &user, const QString &password)
{
    if (!hasConnected()) {
        return -1;
    }
    const std::string name = user.toStdString();
    const std::string secret = password.toStdString();
    if (rpc_client->login(name, secret) != 0) {
        qCritical() << "Login to RPC Server FAILED";
        return -1;
    }
    if (rtde_client->login(name, secret) != 0) {
        qCritical() << "Login to RTDE Server FAILED";
        return -2;
    }
    if (script_client->login(name, secret) != 0) {
        qCritical() << "Login to Script Server FAILED";
        return -3;
    }
    realtime_state->updateRobotInformationOnLogin();
    const int channel = rtde_client->setTopic(false, {kRobotMessageTopic}, 200.0, 0);
    if (channel < 0) {
        qCritical() << "Subscribe to robot message FAILED: channel not assigned.";
        return -1;
    }
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
                qWarning() << "Robot message batch:" << e.what();
            }
        });
    });
    if (subscribed != 0) {
        qCritical() << "Subscribe to robot message FAILED";
    } else {
        qInfo().nospace().noquote() << "Subscribe " << kRobotMessageTopic << " channel: " << channel;
    }
    realtime_state->configSubscribe();
    emit logined(true);
    return 0;
}

int RobotProxy::disconnectFromServer()
{
    rtde_client->disconnect();
    script_client->disconnect();
    const int result = rpc_client->disconnect();
    sendDisconnectedSignal();
    core->forgetSelection();
    return result;
}

}  // namespace temla::korvu_sdk
