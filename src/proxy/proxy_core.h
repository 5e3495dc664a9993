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

namespace temla::korvu_sdk
{

class RobotProxy;
class RpcClient;
class RtdeClient;
class ScriptClient;
class RealtimeRobotState;

namespace detail
{

// State shared by the proxy, its worker threads and the SDK callbacks. The proxy holds it by a shared
// pointer and hands copies to every worker, so a worker still running after the proxy is gone touches
// only this object. The proxy's destructor cancels it: waiting fills stop at once and nothing is
// emitted any more.
struct ProxyCore {
    ProxyCore(std::shared_ptr<RpcClient> rpc, std::shared_ptr<RtdeClient> rtde,
              std::shared_ptr<ScriptClient> script);

    // ---- Selection: read on SDK threads and workers, written on the caller's thread ----
    QString robotName() const;
    int robotIndex() const;
    std::vector<std::string> robotNames() const;
    bool robotSelected() const;
    void clearSelection();  // name empty, index -1
    // Position of the first robot name equal to `source`, else the selected index.
    int robotIndexFor(const std::string &source) const;

    bool hasLogined() const;

    // ---- Connection (runs on the caller's thread or a connect worker) ----
    int connect(const QString &ip, int port);

    // ---- Fieldbus table fills (run on detached workers) ----
    void fillPnTable();
    void fillEipTable();
    void storeTable(std::shared_mutex &mutex, AddressTable &table, AddressTable rows);
    AddressTable copyTable(std::shared_mutex &mutex, const AddressTable &table) const;

    // ---- Lifetime ----
    // Sleeps one poll interval; false when cancelled (at once, not after the interval).
    bool sleepPoll();
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

    const std::shared_ptr<RpcClient> rpc_client;
    const std::shared_ptr<RtdeClient> rtde_client;
    const std::shared_ptr<ScriptClient> script_client;
    // The proxy owns the cache; a worker only borrows it while the proxy lives.
    std::weak_ptr<RealtimeRobotState> realtime_state;

    mutable std::mutex selection_mutex;
    QString robot_name;
    int robot_index = -1;
    std::vector<std::string> robot_names;
    bool robot_selected = false;
    QMap<int, QString> scripts;

    std::atomic<bool> icm_connected{false};
    std::atomic<bool> pn_connected{false};
    std::atomic<int> eip_status{0};

    mutable std::shared_mutex pn_mutex;
    AddressTable pn_table;
    mutable std::shared_mutex eip_mutex;
    AddressTable eip_table;

    std::atomic<std::chrono::milliseconds::rep> poll_interval_ms{100};

private:
    bool loggedIn() const;
    void buildPnTable(AddressTable &rows);
    void buildEipTable(AddressTable &rows);

    std::mutex cancel_mutex;
    std::condition_variable cancel_cv;
    std::atomic<bool> cancelled{false};

    std::shared_mutex owner_mutex;
    RobotProxy *owner = nullptr;

    friend class temla::korvu_sdk::RobotProxy;
};

}  // namespace detail
}  // namespace temla::korvu_sdk
