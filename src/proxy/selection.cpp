#include <QDebug>

#include <exception>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "library_log.h"
#include "proxy_core.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk
{
namespace
{

constexpr char kPnConnectedRegister[] = "__internal.pn_server.connected";
constexpr char kEipStatusRegister[] = "__internal.eip_slave.connect_status";

common_interface::KinematicsParam zeroKinematics()
{
    const std::vector<double> zeros(6, 0.0);
    return {{"a", zeros}, {"d", zeros}, {"alpha", zeros}, {"theta", zeros}, {"beta", zeros}};
}

// The selection is made by the time the fieldbus registers are read: a register that cannot be read
// counts as its default, so the selection ends complete, with that fieldbus taken as disconnected.
template <typename Read, typename Value>
Value readRegisterOr(RpcClient &rpc, detail::ProxyCore &core, Read read, Value fallback)
{
    try {
        return read(*rpc.getRegisterControl());
    } catch (const std::exception &e) {
        RP_LOG_WARNING() << "Fieldbus register unreadable:" << e.what();
        const auto *korvu = dynamic_cast<const common_interface::KorvuException *>(&e);
        core.fail(RobotProxy::Failure::FieldbusUnreadable, korvu ? korvu->code() : 0,
                  QStringLiteral("Fieldbus register unreadable: %1").arg(QString::fromUtf8(e.what())));
        return fallback;
    }
}

}  // namespace

int RobotProxy::selectRobot(int index)
{
    if (index < 0) {
        realtime_state->reset();
        const int old_index = core->clearSelection();
        emit runtimeStateChanged(RuntimeState::Stopped);
        emit robotModeChanged(old_index, RobotModeType::Disconnected);
        emit safetyModeChanged(old_index, SafetyModeType::Undefined);
        return 0;
    }
    switch (core->select(index)) {
        case detail::RobotSelection::Outcome::OutOfRange:
            core->fail(Failure::OutOfRange, 0,
                       QStringLiteral("Robot index %1 is outside the %2 robot names")
                           .arg(index)
                           .arg(core->robotNames().size()));
            return -1;
        case detail::RobotSelection::Outcome::Unchanged:
            return 0;
        case detail::RobotSelection::Outcome::Changed:
            break;
    }
    realtime_state->selectRobot(index);
    emitSelectionSnapshot(index);
    readFieldbusRegisters();
    return 0;
}

void RobotProxy::emitSelectionSnapshot(int index)
{
    emit runtimeStateChanged(realtime_state->getRuntimeState());
    emit robotModeChanged(index, realtime_state->getRobotModeType());
    emit safetyModeChanged(index, realtime_state->getSafetyModeType());
    emit operationalModeChanged(index, realtime_state->getOperationalMode());
    emit linkModeChanged(index, realtime_state->isLinkModeEnabled());
    emit freedriveEnabled(index, realtime_state->isFreedriveEnabled());
    emit slowDownChanged(index, realtime_state->getSlowDownLevel());
}

void RobotProxy::readFieldbusRegisters()
{
    const bool pn_connected = readRegisterOr(
        *rpc_client, *core,
        [](common_interface::RegisterControl &registers) {
            return registers.getBool(kPnConnectedRegister, false);
        },
        false);
    core->setPnConnected(pn_connected);
    RP_LOG_DEBUG() << "pn_server connected:" << (pn_connected ? "true" : "false");
    if (pn_connected) {
        core->startPnFill();
    }
    const int status = readRegisterOr(
        *rpc_client, *core,
        [](common_interface::RegisterControl &registers) {
            return registers.getInt32(kEipStatusRegister, 0);
        },
        0);
    core->setEipStatus(status);
    emit sigEipConnectionStatusChanged(status);
    RP_LOG_DEBUG() << "eip_slave connect_status:" << status;
    if (status == 1) {
        core->startEipFill();
    }
}

std::vector<std::string> RobotProxy::getRobotNames()
{
    return core->robotNames();
}

QString RobotProxy::getRobotName() const
{
    return core->robotName();
}

int RobotProxy::getRobotIndex() const
{
    return core->robotIndex();
}

common_interface::RobotInterfacePtr RobotProxy::currentRobotRpcInterface()
{
    return rpc_client->getRobotInterface(core->robotName().toStdString());
}

common_interface::RobotConfigPtr RobotProxy::getRobotConfig()
{
    return currentRobotRpcInterface()->getRobotConfig();
}

common_interface::MotionControlPtr RobotProxy::getMotionControl()
{
    return currentRobotRpcInterface()->getMotionControl();
}

common_interface::ForceControlPtr RobotProxy::getForceControl()
{
    return currentRobotRpcInterface()->getForceControl();
}

common_interface::IoControlPtr RobotProxy::getIoControl()
{
    return currentRobotRpcInterface()->getIoControl();
}

common_interface::SyncMovePtr RobotProxy::getSyncMove()
{
    return currentRobotRpcInterface()->getSyncMove();
}

common_interface::RobotAlgorithmPtr RobotProxy::getRobotAlgorithm()
{
    return currentRobotRpcInterface()->getRobotAlgorithm();
}

common_interface::RobotManagePtr RobotProxy::getRobotManage()
{
    return currentRobotRpcInterface()->getRobotManage();
}

common_interface::RobotStatePtr RobotProxy::getRobotState()
{
    return currentRobotRpcInterface()->getRobotState();
}

common_interface::TracePtr RobotProxy::getTrace()
{
    return currentRobotRpcInterface()->getTrace();
}

common_interface::RobotInterfacePtr RobotProxy::getRobotInterface(const std::string &name)
{
    return rpc_client->getRobotInterface(name);
}

std::vector<std::string> RobotProxy::getAxisNames()
{
    try {
        return rpc_client->getAxisNames();
    } catch (const std::exception &e) {
        RP_LOG_WARNING() << "getAxisNames:" << e.what();
        return {};
    }
}

common_interface::AxisInterfacePtr RobotProxy::getAxisInterface(const std::string &name)
{
    return rpc_client->getAxisInterface(name);
}

common_interface::SystemInfoPtr RobotProxy::getSystemInfo()
{
    return rpc_client->getSystemInfo();
}

common_interface::RuntimeMachinePtr RobotProxy::getRuntimeMachine()
{
    return rpc_client->getRuntimeMachine();
}

common_interface::RegisterControlPtr RobotProxy::getRegisterControl()
{
    return rpc_client->getRegisterControl();
}

common_interface::GripperInterfacePtr RobotProxy::getGripperInterface()
{
    return rpc_client->getGripperInterface();
}

common_interface::KinematicsParam RobotProxy::getDH(bool real)
{
    try {
        return currentRobotRpcInterface()->getRobotConfig()->getKinematicsParam(real);
    } catch (const std::exception &e) {
        RP_LOG_CRITICAL() << e.what();
        return zeroKinematics();
    }
}

}  // namespace temla::korvu_sdk
