// The RPC refreshes of the robot records.
#include <algorithm>

#include <QDebug>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "library_log.h"
#include "request_timeouts.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_selection.h"

namespace temla
{
namespace korvu_sdk
{

using common_interface::KorvuException;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace
{

constexpr int kMissingInterface = -1;

bool selectsRecord(int index)
{
    return static_cast<unsigned>(index) < static_cast<unsigned>(RealtimeRobotState::kRobotSlots);
}

// A missing interface ends a robot's refresh the way an SDK error does.
template <typename Handle>
const Handle &require(const Handle &handle, const char *what)
{
    if (!handle) {
        throw KorvuException(kMissingInterface, std::string(what) + " interface is not available");
    }
    return handle;
}

bool isPowered(RobotModeType mode)
{
    switch (mode) {
        case RobotModeType::PowerOn:
        case RobotModeType::Idle:
        case RobotModeType::BrakeReleasing:
        case RobotModeType::Running:
        case RobotModeType::Maintaince:
            return true;
        default:
            return false;
    }
}

}  // namespace

int RealtimeRobotState::updateRobotInformationOnLogin()
{
    std::string reason;
    loginRefresh(reason);
    return 0;
}

int RealtimeRobotState::loginRefresh(std::string &reason)
{
    Lock lock(state_mutex);
    if (!rpc_client) {
        return 0;
    }
    // The robot list and the runtime state come first; without them there is nothing to refresh.
    try {
        robot_names = rpc_client->getRobotNames();
        runtime_state = require(rpc_client->getRuntimeMachine(), "runtime machine")->getStatus();
    } catch (const KorvuException &e) {
        reason = e.what();
        RP_LOG_WARNING() << "Login refresh failed:" << e.what();
        return e.code() != 0 ? e.code() : kMissingInterface;
    } catch (const std::exception &e) {
        reason = e.what();
        RP_LOG_WARNING() << "Login refresh failed:" << e.what();
        return kMissingInterface;
    }
    const int count = std::min(static_cast<int>(robot_names.size()), static_cast<int>(kRobotSlots));
    for (int index = 0; index < count; ++index) {
        try {
            refreshOnLogin(robot_infos[index], robot_names[index]);
        } catch (const KorvuException &e) {
            RP_LOG_DEBUG() << e.what();
        } catch (...) {
        }
        if (isPowered(robot_infos[index].robot_mode)) {
            updateRobotInformationOnPoweron(index);
        }
    }
    return 0;
}

void RealtimeRobotState::refreshOnLogin(RobotInfo &info, const std::string &name)
{
    const auto robot = require(rpc_client->getRobotInterface(name), "robot");
    const auto state = require(robot->getRobotState(), "robot state");
    const auto config = require(robot->getRobotConfig(), "robot config");
    const auto manage = require(robot->getRobotManage(), "robot manage");
    const auto io = require(robot->getIoControl(), "io control");

    info.dof = config->getDof();
    info.real_dh_param = config->getKinematicsParam(true);
    info.theory_dh_param = config->getKinematicsParam(false);
    info.operational_mode = static_cast<int>(manage->getOperationalMode());
    info.link_mode_enabled = manage->isLinkModeEnabled();
    info.freedrive_enabled = manage->isFreedriveEnabled();
    info.robot_type = config->getRobotType();
    info.robot_sub_type = config->getRobotSubType();
    info.control_box_type = config->getControlBoxType();
    info.master_board_unique_id = state->getMasterBoardUniqueId();
    info.slave_board_unique_id = state->getSlaveBoardUniqueId();
    info.handle_unique_id = state->getHandleUniqueId();
    info.master_board_firmware_version = state->getMasterBoardFirmwareVersion();
    info.master_board_hardware_version = state->getMasterBoardHardwareVersion();
    info.slave_board_firmware_version = state->getSlaveBoardFirmwareVersion();
    info.slave_board_hardware_version = state->getSlaveBoardHardwareVersion();
    info.handle_firmware_version = state->getHandleFirmwareVersion();
    info.handle_hardware_version = state->getHandleHardwareVersion();
    info.slow_down_level = state->getSlowDownLevel();
    info.standard_digital_input_num = io->getStandardDigitalInputNum();
    info.configurable_digital_input_num = io->getConfigurableDigitalInputNum();
    info.standard_digital_output_num = io->getStandardDigitalOutputNum();
    info.configurable_digital_output_num = io->getConfigurableDigitalOutputNum();
    info.standard_analog_input_num = io->getStandardAnalogInputNum();
    info.standard_analog_output_num = io->getStandardAnalogOutputNum();
    info.static_link_input_num = io->getStaticLinkInputNum();
    info.static_link_output_num = io->getStaticLinkOutputNum();
    info.tcp_max_speeds = config->getTcpMaxSpeeds();
    info.tcp_max_accelerations = config->getTcpMaxAccelerations();
    info.tool_digital_output_num = io->getToolDigitalOutputNum();
    info.tool_digital_input_num = io->getToolDigitalInputNum();
    info.tool_analog_input_num = io->getToolAnalogInputNum();
    info.tool_analog_output_num = io->getToolAnalogOutputNum();
    info.robot_mode = state->getRobotModeType();
    info.safety_mode = state->getSafetyModeType();
    info.handle_state = state->getHandleState();
    info.handle_mode = state->getHandleMode();
    info.hardware_interface_version = config->getHardwareCustomParameters("hardware_interface_version");
    info.handle_io_status = io->getHandleIoStatus();
}

int RealtimeRobotState::updateRobotInformationOnPoweron(int index)
{
    Lock lock(state_mutex);
    if (index == -1) {
        index = selection->index();
    }
    if (!rpc_client || !selectsRecord(index) || static_cast<std::size_t>(index) >= robot_names.size()) {
        return 0;
    }
    try {
        refreshOnPoweron(robot_infos[index], robot_names[index]);
    } catch (const KorvuException &e) {
        RP_LOG_DEBUG() << e.what();
    } catch (...) {
    }
    return 0;
}

void RealtimeRobotState::refreshOnPoweron(RobotInfo &info, const std::string &name)
{
    const auto robot = require(rpc_client->getRobotInterface(name), "robot");
    const auto state = require(robot->getRobotState(), "robot state");
    const auto config = require(robot->getRobotConfig(), "robot config");

    info.dof = config->getDof();
    info.theory_dh_param = config->getKinematicsParam(false);
    info.real_dh_param = config->getKinematicsParam(true);
    info.joint_unique_ids = state->getJointUniqueIds();
    info.tool_unique_id = state->getToolUniqueId();
    info.joint_firmware_versions = state->getJointFirmwareVersions();
    info.joint_hardware_versions = state->getJointHardwareVersions();
    info.joint_max_positions = config->getJointMaxPositions();
    info.joint_min_positions = config->getJointMinPositions();
    info.joint_max_speeds = config->getJointMaxSpeeds();
    info.joint_max_accelerations = config->getJointMaxAccelerations();
    info.tool_firmware_version = state->getToolFirmwareVersion();
    info.tool_hardware_version = state->getToolHardwareVersion();
    info.pedestal_unique_id = state->getPedestalUniqueId();
    info.pedestal_firmware_version = state->getPedestalFirmwareVersion();
    info.pedestal_hardware_version = state->getPedestalHardwareVersion();
    info.handle_unique_id = state->getHandleUniqueId();
    info.handle_state = state->getHandleState();
    info.handle_mode = state->getHandleMode();
    info.gravity = config->getGravity();

    // Controllers with the legacy hardware interface do not report their joints' model types.
    if (!info.hardware_interface_version.empty() && info.hardware_interface_version != "LEGACY") {
        const std::string text = config->getHardwareCustomParameters("joints_model_type_str");
        if (text.empty()) {
            info.joints_model_type.clear();
        } else {
            info.joints_model_type = split(text, ",");
        }
    }
}

template <typename FetchHandle, typename Store>
void RealtimeRobotState::refreshRecordValue(int index, FetchHandle fetch_handle, Store store,
                                            const char *error_text)
{
    if (!selectsRecord(index)) {
        return;
    }
    Lock lock(state_mutex);
    const std::string name = robot_names.at(index);
    if (!rpc_client) {
        return;
    }
    try {
        const auto robot = rpc_client->getRobotInterface(name);
        if (!robot) {
            return;
        }
        const auto handle = fetch_handle(robot);
        if (!handle) {
            return;
        }
        store(robot_infos[index], handle);
    } catch (const KorvuException &e) {
        RP_LOG_DEBUG() << error_text << e.what();
    }
}

int RealtimeRobotState::updateOperationMode(int index)
{
    refreshRecordValue(
        index, [](const auto &robot) { return robot->getRobotManage(); },
        [](RobotInfo &info, const auto &manage) {
            const int mode = static_cast<int>(manage->getOperationalMode());
            if (info.operational_mode != mode) {
                info.operational_mode = mode;
            }
        },
        "get operation mode error:");
    return 0;
}

int RealtimeRobotState::updateIsLinkModeEnabled(int index)
{
    refreshRecordValue(
        index, [](const auto &robot) { return robot->getRobotManage(); },
        [](RobotInfo &info, const auto &manage) { info.link_mode_enabled = manage->isLinkModeEnabled(); },
        "get link mode error:");
    return 0;
}

int RealtimeRobotState::updateGravity(int index)
{
    refreshRecordValue(
        index, [](const auto &robot) { return robot->getRobotConfig(); },
        [](RobotInfo &info, const auto &config) { info.gravity = config->getGravity(); },
        "get gravity error: ");
    return 0;
}

int RealtimeRobotState::updateHDParamOnRobotTypeChanged(int index)
{
    Lock lock(state_mutex);
    if (index == -1) {
        index = selection->index();
    }
    if (!rpc_client || !selectsRecord(index) || static_cast<std::size_t>(index) >= robot_names.size()) {
        return 0;
    }
    try {
        const auto config =
            require(require(rpc_client->getRobotInterface(robot_names[index]), "robot")->getRobotConfig(),
                    "robot config");
        RobotInfo &info = robot_infos[index];
        info.dof = config->getDof();
        info.real_dh_param = config->getKinematicsParam(true);
        info.theory_dh_param = config->getKinematicsParam(false);
    } catch (...) {
    }
    return 0;
}

void RealtimeRobotState::updateModbusSignalNames()
{
    Lock lock(state_mutex);
    if (!rpc_client || !rpc_client->hasLogined()) {
        return;
    }
    // The bound in force is the application's choice (100 ms unless it set another); it is raised for
    // this one request and put back, after a failure too.
    const int in_force = rpc_client->requestTimeout();
    rpc_client->setRequestTimeout(std::max(in_force, detail::kSlowRequestTimeoutMs));
    try {
        modbus_signal_names =
            require(rpc_client->getRegisterControl(), "register control")->modbusGetSignalNames();
    } catch (const KorvuException &e) {
        RP_LOG_DEBUG() << e.what();
    }
    rpc_client->setRequestTimeout(in_force);
}

}  // namespace korvu_sdk
}  // namespace temla
