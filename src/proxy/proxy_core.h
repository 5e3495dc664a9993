#pragma once

#include <QMap>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "address_table.h"
#include "robot_proxy/robot_proxy.h"
#include "state/robot_selection.h"

namespace temla::korvu_sdk
{

class RobotProxy;
class RpcClient;
class RtdeClient;
class ScriptClient;
class RealtimeRobotState;

namespace detail
{

// State shared by the proxy, its worker threads and the SDK callbacks, with the operations the proxy
// performs on it. The proxy holds it by a shared pointer and hands copies to every worker, so a worker
// still running after the proxy is gone touches only this object. The proxy's destructor cancels it:
// waiting fills stop at once and nothing is emitted any more.
class ProxyCore : public std::enable_shared_from_this<ProxyCore>
{
public:
    ProxyCore(std::shared_ptr<RpcClient> rpc, std::shared_ptr<RtdeClient> rtde,
              std::shared_ptr<ScriptClient> script);

    // Binds the proxy that receives the emissions and the cache that holds the robot names.
    void attach(RobotProxy &proxy, const std::shared_ptr<RealtimeRobotState> &state);

    // ---- Selection (read on SDK threads and workers, written on the caller's thread) ----
    QString robotName() const;
    int robotIndex() const;
    bool robotSelected() const;
    // The controller's robot names, as the cache keeps them.
    std::vector<std::string> robotNames() const;
    // Position of the first robot name equal to `source`, else the selected index.
    int robotIndexFor(const std::string &source) const;
    // Selects robot index among the robot names; Changed also marks a robot as selected.
    RobotSelection::Outcome select(int index);
    // Name empty and index -1; returns the index selected before. The selected mark stays.
    int clearSelection();
    // As after a disconnection: no robot, not selected, no scripts recorded.
    void forgetSelection();
    // The last script sent per robot index, keyed by the index selected when it was sent.
    void recordScript(const std::string &script);
    std::string script() const;

    bool hasLogined() const;

    // ---- Connection (runs on the caller's thread or a connect worker) ----
    int connect(const QString &ip, int port);
    // Ends the realtime connection and opens a new one to the endpoint of the last connect, so that
    // no channel of an earlier login survives. The realtime client's connect result.
    int reconnectRealtime();
    // Whether the current realtime connection carries the subscriptions of an earlier login.
    bool realtimeSubscribed() const { return realtime_subscribed.load(); }
    void setRealtimeSubscribed(bool subscribed) { realtime_subscribed = subscribed; }
    // True for the first report of a lost connection since the last successful connect.
    bool claimLossReport() { return !loss_reported.exchange(true); }
    void suppressLossReport() { loss_reported = true; }

    // ---- Failures ----
    void fail(RobotProxy::Failure failure, int code, const QString &text);
    RobotProxy::LastError lastError() const;

    // ---- Fieldbus states and address tables ----
    bool pnConnected() const { return pn_connected.load(); }
    void setPnConnected(bool connected) { pn_connected = connected; }
    int eipStatus() const { return eip_status.load(); }
    void setEipStatus(int status) { eip_status = status; }
    bool icmConnected() const { return icm_connected.load(); }
    void setIcmConnected(bool connected) { icm_connected = connected; }
    // The fills run on detached workers that share this object.
    void startPnFill();
    void startEipFill();
    void fillPnTable();
    void fillEipTable();
    void updatePnEntry(const std::vector<std::string> &args);
    void updateEipEntry(const std::vector<std::string> &args);
    AddressTable pnTable() const;
    AddressTable eipTable() const;
    void setPollInterval(std::chrono::milliseconds interval) { poll_interval_ms = interval.count(); }

    // ---- Lifetime ----
    bool isCancelled() const { return cancelled.load(); }
    // Stops every worker at its next check and detaches the proxy; waits only for an emission that is
    // running right now.
    void cancel();
    // Runs f(proxy) while the proxy is alive; the proxy's destructor waits for a running f.
    template <typename F>
    void withOwner(F &&f)
    {
        std::shared_lock<std::shared_mutex> lock(owner_mutex);
        if (owner != nullptr) {
            f(*owner);
        }
    }

private:
    bool loggedIn() const;
    std::shared_ptr<RealtimeRobotState> cache() const { return realtime_state.lock(); }
    void prepareConnection();
    // Sleeps one poll interval; false when cancelled (at once, not after the interval).
    bool sleepPoll();
    void buildPnTable(AddressTable &rows);
    void buildEipTable(AddressTable &rows);

    const std::shared_ptr<RpcClient> rpc_client;
    const std::shared_ptr<RtdeClient> rtde_client;
    const std::shared_ptr<ScriptClient> script_client;
    // The proxy owns the cache; a worker only borrows it while the proxy lives.
    std::weak_ptr<RealtimeRobotState> realtime_state;

    // Guards selection, robot_selected and scripts.
    mutable std::mutex selection_mutex;
    RobotSelection selection;
    bool robot_selected = false;
    QMap<int, QString> scripts;

    // The endpoint of the last connect, for reconnectRealtime.
    mutable std::mutex endpoint_mutex;
    QString endpoint_ip;
    int endpoint_port = 0;
    std::atomic<bool> realtime_subscribed{false};
    // Starts set: nothing is connected, so there is no connection to lose.
    std::atomic<bool> loss_reported{true};

    mutable std::mutex error_mutex;
    RobotProxy::LastError last_error;

    std::atomic<bool> icm_connected{false};
    std::atomic<bool> pn_connected{false};
    std::atomic<int> eip_status{0};

    mutable std::shared_mutex pn_mutex;
    AddressTable pn_table;
    mutable std::shared_mutex eip_mutex;
    AddressTable eip_table;

    std::atomic<std::chrono::milliseconds::rep> poll_interval_ms{100};

    std::mutex cancel_mutex;
    std::condition_variable cancel_cv;
    std::atomic<bool> cancelled{false};

    std::shared_mutex owner_mutex;
    RobotProxy *owner = nullptr;
};

}  // namespace detail
}  // namespace temla::korvu_sdk
