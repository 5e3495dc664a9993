#include "proxy_core.h"

#include <QDebug>

#include "korvu_sdk/protocol.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk::detail
{

ProxyCore::ProxyCore(std::shared_ptr<RpcClient> rpc, std::shared_ptr<RtdeClient> rtde,
                     std::shared_ptr<ScriptClient> script)
    : rpc_client(std::move(rpc)), rtde_client(std::move(rtde)), script_client(std::move(script))
{
}

QString ProxyCore::robotName() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return robot_name;
}

int ProxyCore::robotIndex() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return robot_index;
}

std::vector<std::string> ProxyCore::robotNames() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return robot_names;
}

bool ProxyCore::robotSelected() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return robot_selected;
}

void ProxyCore::clearSelection()
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    robot_name.clear();
    robot_index = -1;
}

int ProxyCore::robotIndexFor(const std::string &source) const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    for (std::size_t i = 0; i < robot_names.size(); ++i) {
        if (robot_names[i] == source) {
            return static_cast<int>(i);
        }
    }
    return robot_index;
}

bool ProxyCore::loggedIn() const
{
    return rpc_client->hasLogined() && script_client->hasLogined() && rtde_client->hasLogined();
}

bool ProxyCore::hasLogined() const
{
    return loggedIn() && robotSelected();
}

int ProxyCore::connect(const QString &ip, int port)
{
    const std::string address = ip.toStdString();
    auto prepare = [this] {
        if (auto state = realtime_state.lock()) {
            state->reset();
        }
        clearSelection();
    };
    int result = 0;
    if (!rpc_client->hasConnected()) {
        prepare();
        result = rpc_client->connect(address, port + kRpcPortOffset);
        if (result < 0) {
            qCritical().nospace() << "Connected to RPC Server " << ip << ":" << port + kRpcPortOffset
                                  << " FAILED";
            return result;
        }
        qInfo().nospace() << "Connected to RPC Server " << ip << ":" << port + kRpcPortOffset;
    }
    if (!rtde_client->hasConnected()) {
        prepare();
        result = rtde_client->connect(address, port + kRealtimePortOffset);
        if (result != 0) {
            qCritical().nospace().noquote()
                << "Connected to RTDE Server " << ip << ":" << port + kRealtimePortOffset << " FAILED";
            return result;
        }
        qInfo().nospace().noquote() << "Connected to RTDE Server " << ip << ":" << port + kRealtimePortOffset;
    }
    if (!script_client->hasConnected()) {
        prepare();
        result = script_client->connect(address, port + kScriptPortOffset);
        if (result != 0) {
            qCritical().nospace().noquote()
                << "Connected to SCRIPT Server " << ip << ":" << port + kScriptPortOffset << " FAILED";
            return result;
        }
        qInfo().nospace().noquote() << "Connected to SCRIPT Server " << ip << ":" << port + kScriptPortOffset;
    }
    if (result == 0) {
        withOwner([&](RobotProxy &proxy) { emit proxy.connected(ip, port); });
    }
    return result;
}

bool ProxyCore::sleepPoll()
{
    const auto interval = std::chrono::milliseconds(poll_interval_ms.load());
    std::unique_lock<std::mutex> lock(cancel_mutex);
    return !cancel_cv.wait_for(lock, interval, [this] { return cancelled.load(); });
}

void ProxyCore::cancel()
{
    {
        std::lock_guard<std::mutex> lock(cancel_mutex);
        cancelled = true;
    }
    cancel_cv.notify_all();
    std::unique_lock<std::shared_mutex> lock(owner_mutex);
    owner = nullptr;
}

}  // namespace temla::korvu_sdk::detail
