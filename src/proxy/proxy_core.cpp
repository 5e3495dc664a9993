#include "proxy_core.h"

#include <QDebug>

#include "korvu_sdk/protocol.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "library_log.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk::detail
{

ProxyCore::ProxyCore(std::shared_ptr<RpcClient> rpc, std::shared_ptr<RtdeClient> rtde,
                     std::shared_ptr<ScriptClient> script)
    : rpc_client(std::move(rpc)), rtde_client(std::move(rtde)), script_client(std::move(script))
{
}

void ProxyCore::attach(RobotProxy &proxy, const std::shared_ptr<RealtimeRobotState> &state)
{
    std::unique_lock<std::shared_mutex> lock(owner_mutex);
    owner = &proxy;
    realtime_state = state;
}

QString ProxyCore::robotName() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return QString::fromStdString(selection.name());
}

int ProxyCore::robotIndex() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return selection.index();
}

bool ProxyCore::robotSelected() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return robot_selected;
}

std::vector<std::string> ProxyCore::robotNames() const
{
    const auto state = cache();
    return state ? state->getRobotNames() : std::vector<std::string>{};
}

int ProxyCore::robotIndexFor(const std::string &source) const
{
    const auto names = robotNames();
    std::lock_guard<std::mutex> lock(selection_mutex);
    return indexOfName(names, source, selection.index());
}

RobotSelection::Outcome ProxyCore::select(int index)
{
    const auto names = robotNames();
    std::lock_guard<std::mutex> lock(selection_mutex);
    const auto outcome = selection.select(names, index);
    if (outcome == RobotSelection::Outcome::Changed) {
        robot_selected = true;
    }
    return outcome;
}

int ProxyCore::clearSelection()
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    const int previous = selection.index();
    selection.clear();
    return previous;
}

void ProxyCore::forgetSelection()
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    selection.clear();
    robot_selected = false;
    scripts.clear();
}

void ProxyCore::recordScript(const std::string &script)
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    scripts.insert(selection.index(), QString::fromStdString(script));
}

std::string ProxyCore::script() const
{
    std::lock_guard<std::mutex> lock(selection_mutex);
    return scripts.value(selection.index()).toStdString();
}

bool ProxyCore::loggedIn() const
{
    return rpc_client->hasLogined() && script_client->hasLogined() && rtde_client->hasLogined();
}

bool ProxyCore::hasLogined() const
{
    return loggedIn() && robotSelected();
}

namespace
{

RobotProxy::Failure connectFailure(int result)
{
    return result == kConnectBadAddress ? RobotProxy::Failure::BadAddress
                                        : RobotProxy::Failure::ConnectFailed;
}

}  // namespace

void ProxyCore::fail(RobotProxy::Failure failure, int code, const QString &text)
{
    std::lock_guard<std::mutex> lock(error_mutex);
    last_error = RobotProxy::LastError{failure, code, text};
}

RobotProxy::LastError ProxyCore::lastError() const
{
    std::lock_guard<std::mutex> lock(error_mutex);
    return last_error;
}

int ProxyCore::reconnectRealtime()
{
    QString ip;
    int port = 0;
    {
        std::lock_guard<std::mutex> lock(endpoint_mutex);
        ip = endpoint_ip;
        port = endpoint_port;
    }
    rtde_client->disconnect();
    realtime_subscribed = false;
    return rtde_client->connect(ip.toStdString(), port + kRealtimePortOffset);
}

int ProxyCore::connect(const QString &ip, int port)
{
    const std::string address = ip.toStdString();
    {
        std::lock_guard<std::mutex> lock(endpoint_mutex);
        endpoint_ip = ip;
        endpoint_port = port;
    }
    int result = 0;
    if (!rpc_client->hasConnected()) {
        prepareConnection();
        result = rpc_client->connect(address, port + kRpcPortOffset);
        if (result < 0) {
            RP_LOG_CRITICAL().nospace()
                << "Connected to RPC Server " << ip << ":" << port + kRpcPortOffset << " FAILED";
            fail(connectFailure(result), result,
                 QStringLiteral("The RPC server at %1:%2 cannot be reached")
                     .arg(ip)
                     .arg(port + kRpcPortOffset));
            return result;
        }
        RP_LOG_INFO().nospace() << "Connected to RPC Server " << ip << ":" << port + kRpcPortOffset;
    }
    if (!rtde_client->hasConnected()) {
        prepareConnection();
        result = rtde_client->connect(address, port + kRealtimePortOffset);
        if (result != 0) {
            RP_LOG_CRITICAL().nospace().noquote()
                << "Connected to RTDE Server " << ip << ":" << port + kRealtimePortOffset << " FAILED";
            fail(connectFailure(result), result,
                 QStringLiteral("The realtime server at %1:%2 cannot be reached")
                     .arg(ip)
                     .arg(port + kRealtimePortOffset));
            return result;
        }
        // A new realtime connection carries no channel yet.
        realtime_subscribed = false;
        RP_LOG_INFO().nospace().noquote()
            << "Connected to RTDE Server " << ip << ":" << port + kRealtimePortOffset;
    }
    if (!script_client->hasConnected()) {
        prepareConnection();
        result = script_client->connect(address, port + kScriptPortOffset);
        if (result != 0) {
            RP_LOG_CRITICAL().nospace().noquote()
                << "Connected to SCRIPT Server " << ip << ":" << port + kScriptPortOffset << " FAILED";
            fail(connectFailure(result), result,
                 QStringLiteral("The script server at %1:%2 cannot be reached")
                     .arg(ip)
                     .arg(port + kScriptPortOffset));
            return result;
        }
        RP_LOG_INFO().nospace().noquote()
            << "Connected to SCRIPT Server " << ip << ":" << port + kScriptPortOffset;
    }
    if (result == 0) {
        loss_reported = false;
        withOwner([&](RobotProxy &proxy) { emit proxy.connected(ip, port); });
    }
    return result;
}

void ProxyCore::prepareConnection()
{
    if (auto state = cache()) {
        state->reset();
    }
    // A fresh connection starts with no robot selected: hasLogined() waits for the next selection.
    std::lock_guard<std::mutex> lock(selection_mutex);
    selection.clear();
    robot_selected = false;
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
