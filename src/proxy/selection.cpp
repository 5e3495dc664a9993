#include <QDebug>

#include <exception>

#include "korvu_sdk/rpc_client.h"
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
    const bool pn_connected = rpc_client->getRegisterControl()->getBool(kPnConnectedRegister, false);
    core->setPnConnected(pn_connected);
    qDebug() << "pn_server connected:" << (pn_connected ? "true" : "false");
    if (pn_connected) {
        core->startPnFill();
    }
    const int status = rpc_client->getRegisterControl()->getInt32(kEipStatusRegister, 0);
    core->setEipStatus(status);
    emit sigEipConnectionStatusChanged(status);
    qDebug() << "eip_slave connect_status:" << status;
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
    return rpc_client->getAxisNames();
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
        qCritical() << e.what();
        return zeroKinematics();
    }
}

}  // namespace temla::korvu_sdk
