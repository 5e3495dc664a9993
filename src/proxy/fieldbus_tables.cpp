#include <QDebug>
#include <QString>

#include <thread>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "library_log.h"
#include "proxy_core.h"
#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk
{
namespace detail
{
namespace
{

constexpr int kPnReadyPolls = 101;
constexpr int kEipIndexCounts[] = {310, 216};

// Register values are bytes carried in 32-bit registers.
uint8_t lowByte(int value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

int readInt(RpcClient &rpc, const QString &name)
{
    return rpc.getRegisterControl()->getInt32(name.toStdString(), 0);
}

enum class PnWait { Ready, Exited, TimedOut };

void storeTable(std::shared_mutex &mutex, AddressTable &table, AddressTable rows)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    table.swap(rows);
}

AddressTable copyTable(std::shared_mutex &mutex, const AddressTable &table)
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    return table;
}

}  // namespace

void ProxyCore::buildPnTable(AddressTable &rows)
{
    const int slot_count = readInt(*rpc_client, QStringLiteral("__internal.pn_server.slot_number"));
    for (int slot = 1; slot <= slot_count && !isCancelled(); ++slot) {
        const int count =
            readInt(*rpc_client, QStringLiteral("__internal.pn_server.slot%1_index_number").arg(slot));
        std::vector<uint8_t> row;
        for (int i = 0; i < count && !isCancelled(); ++i) {
            row.push_back(lowByte(readInt(
                *rpc_client, QStringLiteral("__internal.pn_server.slot%1.index%2").arg(slot).arg(i))));
        }
        rows.push_back(std::move(row));
    }
}

void ProxyCore::buildEipTable(AddressTable &rows)
{
    for (int type = 0; type < 2 && !isCancelled(); ++type) {
        std::vector<uint8_t> row;
        for (int i = 0; i < kEipIndexCounts[type] && !isCancelled(); ++i) {
            row.push_back(lowByte(
                readInt(*rpc_client,
                        QStringLiteral("__internal.eip_slave.trans_type:%1.index:%2").arg(type).arg(i))));
        }
        rows.push_back(std::move(row));
    }
}

void ProxyCore::fillPnTable()
{
    auto disconnected_exit = [] {
        RP_LOG_DEBUG() << "Exit the ready pn address table: pn_server disconnected!";
    };
    if (!pn_connected) {
        disconnected_exit();
        return;
    }
    try {
        PnWait wait = PnWait::TimedOut;
        for (int poll = 0; poll < kPnReadyPolls && wait == PnWait::TimedOut; ++poll) {
            if (isCancelled()) {
                RP_LOG_DEBUG() << "The PN address table fill was cancelled.";
                wait = PnWait::Exited;
            } else if (!hasLogined()) {
                RP_LOG_DEBUG() << "Exit the ready pn address table: login out!";
                wait = PnWait::Exited;
            } else if (readInt(*rpc_client, QStringLiteral("__internal.pn_server.slots_ready")) == 1) {
                wait = PnWait::Ready;
            } else if (!sleepPoll()) {
                RP_LOG_DEBUG() << "The PN address table fill was cancelled.";
                wait = PnWait::Exited;
            } else if (!pn_connected) {
                disconnected_exit();
                wait = PnWait::Exited;
            }
        }
        if (wait == PnWait::TimedOut) {
            RP_LOG_WARNING() << "pn_server ready timeout!";
        }
        if (wait != PnWait::Ready) {
            return;
        }
        AddressTable rows;
        buildPnTable(rows);
        if (isCancelled()) {
            RP_LOG_DEBUG() << "The PN address table fill was cancelled.";
            return;
        }
        storeTable(pn_mutex, pn_table, std::move(rows));
        RP_LOG_DEBUG() << "The PN address table data is ready!";
    } catch (const std::exception &e) {
        if (isCancelled()) {
            RP_LOG_DEBUG() << "The PN address table fill was cancelled.";
        } else {
            RP_LOG_WARNING() << "initPNCacheData" << e.what();
        }
    }
}

void ProxyCore::fillEipTable()
{
    if (eip_status == 0) {
        RP_LOG_DEBUG() << "Exit the ready eip address table: pn_server disconnected!";
        return;
    }
    try {
        if (isCancelled()) {
            RP_LOG_DEBUG() << "The EIP address table fill was cancelled.";
            return;
        }
        if (!hasLogined()) {
            RP_LOG_DEBUG() << "Exit the ready eip address table: login out!";
            return;
        }
        AddressTable rows;
        buildEipTable(rows);
        if (isCancelled()) {
            RP_LOG_DEBUG() << "The EIP address table fill was cancelled.";
            return;
        }
        storeTable(eip_mutex, eip_table, std::move(rows));
        RP_LOG_DEBUG() << "The EIP address table data is ready!";
    } catch (const std::exception &e) {
        if (isCancelled()) {
            RP_LOG_DEBUG() << "The EIP address table fill was cancelled.";
        } else {
            RP_LOG_WARNING() << "initEIPCacheData" << e.what();
        }
    }
}

void ProxyCore::startPnFill()
{
    std::thread([shared = shared_from_this()] { shared->fillPnTable(); }).detach();
}

void ProxyCore::startEipFill()
{
    std::thread([shared = shared_from_this()] { shared->fillEipTable(); }).detach();
}

void ProxyCore::updatePnEntry(const std::vector<std::string> &args)
{
    TableUpdate update;
    if (parsePnUpdate(args, update)) {
        std::unique_lock<std::shared_mutex> lock(pn_mutex);
        applyUpdate(pn_table, update);
    }
}

void ProxyCore::updateEipEntry(const std::vector<std::string> &args)
{
    TableUpdate update;
    if (parseEipUpdate(args, update)) {
        std::unique_lock<std::shared_mutex> lock(eip_mutex);
        applyUpdate(eip_table, update);
    }
}

AddressTable ProxyCore::pnTable() const
{
    return copyTable(pn_mutex, pn_table);
}

AddressTable ProxyCore::eipTable() const
{
    return copyTable(eip_mutex, eip_table);
}

}  // namespace detail

void RobotProxy::initPNCacheData()
{
    core->fillPnTable();
}

void RobotProxy::initEIPCacheData()
{
    core->fillEipTable();
}

void RobotProxy::pnValueChanged(const std::vector<std::string> &args)
{
    core->updatePnEntry(args);
}

void RobotProxy::eipValueChanged(const std::vector<std::string> &args)
{
    core->updateEipEntry(args);
}

RobotProxy::AddressTable RobotProxy::getPnAddressData()
{
    return core->pnTable();
}

RobotProxy::AddressTable RobotProxy::getEipAddressData()
{
    return core->eipTable();
}

bool RobotProxy::icmIsConnected()
{
    return core->icmConnected();
}

int RobotProxy::getEipConnected()
{
    return core->eipStatus();
}

}  // namespace temla::korvu_sdk
