#include "rpc_methods.h"

#include <functional>
#include <limits>
#include <map>

#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"

namespace temla::korvu_sim
{
namespace
{

using korvu_wire::Json;

using RobotGetter = std::function<Json(const RobotModel &)>;

RobotModel &robotOf(ControllerState &state, const Json &params)
{
    std::string name = korvu_wire::asString(param(params, 0));
    for (auto &robot : state.robots)
        if (robot.model.name == name)
            return robot.model;
    throw RpcError(korvu_wire::kErrUnknownRobot, "no robot named \"" + name + "\"");
}

Json kinematics(const KinematicsParams &params)
{
    return korvu_wire::toJson(common_interface::KinematicsParam(params.begin(), params.end()));
}

// Getters whose only parameter is the robot's name.
const std::map<std::string, RobotGetter> &robotGetters()
{
    static const std::map<std::string, RobotGetter> getters = {
        {"RobotConfig.getDof", [](auto &r) { return Json(r.dof); }},
        {"RobotConfig.getRobotType", [](auto &r) { return Json(r.type); }},
        {"RobotConfig.getRobotSubType", [](auto &r) { return Json(r.sub_type); }},
        {"RobotConfig.getControlBoxType", [](auto &r) { return Json(r.control_box_type); }},
        {"RobotConfig.getTcpMaxSpeeds", [](auto &r) { return Json(r.tcp_max_speeds); }},
        {"RobotConfig.getTcpMaxAccelerations", [](auto &r) { return Json(r.tcp_max_accelerations); }},
        {"RobotConfig.getJointMaxPositions", [](auto &r) { return Json(r.joint_max_positions); }},
        {"RobotConfig.getJointMinPositions", [](auto &r) { return Json(r.joint_min_positions); }},
        {"RobotConfig.getJointMaxSpeeds", [](auto &r) { return Json(r.joint_max_speeds); }},
        {"RobotConfig.getJointMaxAccelerations", [](auto &r) { return Json(r.joint_max_accelerations); }},
        {"RobotConfig.getGravity", [](auto &r) { return Json(r.gravity); }},
        {"RobotState.getMasterBoardUniqueId", [](auto &r) { return Json(r.master_board.unique_id); }},
        {"RobotState.getSlaveBoardUniqueId", [](auto &r) { return Json(r.slave_board.unique_id); }},
        {"RobotState.getHandleUniqueId", [](auto &r) { return Json(r.handle.unique_id); }},
        {"RobotState.getToolUniqueId", [](auto &r) { return Json(r.tool.unique_id); }},
        {"RobotState.getPedestalUniqueId", [](auto &r) { return Json(r.pedestal.unique_id); }},
        {"RobotState.getJointUniqueIds", [](auto &r) { return Json(r.joint_unique_ids); }},
        {"RobotState.getMasterBoardFirmwareVersion",
         [](auto &r) { return Json(r.master_board.firmware_version); }},
        {"RobotState.getMasterBoardHardwareVersion",
         [](auto &r) { return Json(r.master_board.hardware_version); }},
        {"RobotState.getSlaveBoardFirmwareVersion",
         [](auto &r) { return Json(r.slave_board.firmware_version); }},
        {"RobotState.getSlaveBoardHardwareVersion",
         [](auto &r) { return Json(r.slave_board.hardware_version); }},
        {"RobotState.getHandleFirmwareVersion", [](auto &r) { return Json(r.handle.firmware_version); }},
        {"RobotState.getHandleHardwareVersion", [](auto &r) { return Json(r.handle.hardware_version); }},
        {"RobotState.getToolFirmwareVersion", [](auto &r) { return Json(r.tool.firmware_version); }},
        {"RobotState.getToolHardwareVersion", [](auto &r) { return Json(r.tool.hardware_version); }},
        {"RobotState.getPedestalFirmwareVersion", [](auto &r) { return Json(r.pedestal.firmware_version); }},
        {"RobotState.getPedestalHardwareVersion", [](auto &r) { return Json(r.pedestal.hardware_version); }},
        {"RobotState.getJointFirmwareVersions", [](auto &r) { return Json(r.joint_firmware_versions); }},
        {"RobotState.getJointHardwareVersions", [](auto &r) { return Json(r.joint_hardware_versions); }},
        {"RobotState.getSlowDownLevel", [](auto &r) { return Json(r.slow_down_level); }},
        {"RobotState.getRobotModeType", [](auto &r) { return Json(static_cast<int>(r.robot_mode)); }},
        {"RobotState.getSafetyModeType", [](auto &r) { return Json(static_cast<int>(r.safety_mode)); }},
        {"RobotState.getHandleState", [](auto &r) { return Json(r.handle_state); }},
        {"RobotState.getHandleMode", [](auto &r) { return Json(r.handle_mode); }},
        {"RobotManage.getOperationalMode",
         [](auto &r) { return Json(static_cast<int>(r.operational_mode)); }},
        {"RobotManage.isLinkModeEnabled", [](auto &r) { return Json(r.link_mode_enabled); }},
        {"RobotManage.isFreedriveEnabled", [](auto &r) { return Json(r.freedrive_enabled); }},
        {"IoControl.getStandardDigitalInputNum", [](auto &r) { return Json(r.io.standard_digital_input); }},
        {"IoControl.getToolDigitalInputNum", [](auto &r) { return Json(r.io.tool_digital_input); }},
        {"IoControl.getConfigurableDigitalInputNum",
         [](auto &r) { return Json(r.io.configurable_digital_input); }},
        {"IoControl.getStandardDigitalOutputNum", [](auto &r) { return Json(r.io.standard_digital_output); }},
        {"IoControl.getToolDigitalOutputNum", [](auto &r) { return Json(r.io.tool_digital_output); }},
        {"IoControl.getConfigurableDigitalOutputNum",
         [](auto &r) { return Json(r.io.configurable_digital_output); }},
        {"IoControl.getStandardAnalogInputNum", [](auto &r) { return Json(r.io.standard_analog_input); }},
        {"IoControl.getToolAnalogInputNum", [](auto &r) { return Json(r.io.tool_analog_input); }},
        {"IoControl.getStandardAnalogOutputNum", [](auto &r) { return Json(r.io.standard_analog_output); }},
        {"IoControl.getToolAnalogOutputNum", [](auto &r) { return Json(r.io.tool_analog_output); }},
        {"IoControl.getStaticLinkInputNum", [](auto &r) { return Json(r.io.static_link_input); }},
        {"IoControl.getStaticLinkOutputNum", [](auto &r) { return Json(r.io.static_link_output); }},
        {"IoControl.getHandleIoStatus", [](auto &r) { return Json(r.handle_io_status); }},
    };
    return getters;
}

Json registerRead(const ControllerState &state, const Json &params, bool as_bool)
{
    std::string name = korvu_wire::asString(param(params, 0));
    const Json &fallback = param(params, 1);
    auto value = state.registerValue(name);
    if (as_bool)
        return value ? Json(*value != 0) : Json(korvu_wire::asBool(fallback));
    if (!value)
        return korvu_wire::asInt32(fallback);
    // Registers hold 64-bit values; an int32 read keeps the low 32 bits as the controller does.
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

}  // namespace

const Json &param(const Json &params, size_t index)
{
    if (!params.is_array() || index >= params.size())
        throw RpcError(korvu_wire::kErrInvalidParams, "missing parameter " + std::to_string(index + 1));
    return params[index];
}

Json callApi(ControllerState &state, const std::string &method, const Json &params)
{
    if (auto answer = callCommand(state, method, params))
        return *answer;
    auto getter = robotGetters().find(method);
    if (getter != robotGetters().end())
        return getter->second(robotOf(state, params));
    if (method == "RobotConfig.getKinematicsParam") {
        const RobotModel &robot = robotOf(state, params);
        return kinematics(korvu_wire::asBool(param(params, 1)) ? robot.real_kinematics
                                                               : robot.theory_kinematics);
    }
    if (method == "RobotConfig.getHardwareCustomParameters") {
        const RobotModel &robot = robotOf(state, params);
        auto it = robot.hardware_custom_parameters.find(korvu_wire::asString(param(params, 1)));
        return it == robot.hardware_custom_parameters.end() ? std::string() : it->second;
    }
    if (method == "getRobotNames") {
        Json names = Json::array();
        for (const auto &robot : state.robots)
            names.push_back(robot.model.name);
        return names;
    }
    if (method == "getAxisNames")
        return Json::array();
    if (method == "RuntimeMachine.getStatus")
        return static_cast<int>(state.runtime_state);
    if (method == "RegisterControl.getBool")
        return registerRead(state, params, true);
    if (method == "RegisterControl.getInt32")
        return registerRead(state, params, false);
    if (method == "RegisterControl.modbusGetSignalNames")
        return state.modbus_names;
    throw RpcError(korvu_wire::kErrMethodNotFound, "no method " + method);
}

}  // namespace temla::korvu_sim
