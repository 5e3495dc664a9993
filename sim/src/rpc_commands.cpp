#include <functional>
#include <map>

#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"
#include "robot_controller.h"
#include "rpc_methods.h"

namespace temla::korvu_sim
{
namespace
{

using korvu_wire::asBool;
using korvu_wire::asDouble;
using korvu_wire::asDoubleVector;
using korvu_wire::asInt32;
using korvu_wire::Json;

using RobotCommand = std::function<Json(RobotController &, const Json &)>;

double number(const Json &params, size_t index)
{
    return asDouble(param(params, index));
}

std::vector<double> values(const Json &params, size_t index)
{
    return asDoubleVector(param(params, index));
}

// Commands whose first parameter is the robot's name; the others follow it.
const std::map<std::string, RobotCommand> &robotCommands()
{
    static const std::map<std::string, RobotCommand> commands = {
        {"RobotManage.poweron", [](auto &c, auto &) { return Json(c.powerOn()); }},
        {"RobotManage.poweroff", [](auto &c, auto &) { return Json(c.powerOff()); }},
        {"RobotManage.startup", [](auto &c, auto &) { return Json(c.startup()); }},
        {"RobotManage.unlockProtectiveStop", [](auto &c, auto &) { return Json(c.unlockProtectiveStop()); }},
        {"RobotManage.setFreedrive",
         [](auto &c, auto &p) { return Json(c.setFreedrive(asBool(param(p, 1)))); }},
        {"RobotManage.setOperationalMode",
         [](auto &c, auto &p) {
             return Json(c.setOperationalMode(
                 static_cast<common_interface::OperationalModeType>(asInt32(param(p, 1)))));
         }},
        {"RobotManage.setSpeedFraction",
         [](auto &c, auto &p) { return Json(c.setSpeedFraction(number(p, 1))); }},
        {"MotionControl.moveJoint",
         [](auto &c, auto &p) { return Json(c.moveJoint(values(p, 1), number(p, 2), number(p, 3))); }},
        {"MotionControl.moveLine",
         [](auto &c, auto &p) { return Json(c.moveLine(values(p, 1), number(p, 2), number(p, 3))); }},
        {"MotionControl.moveCircle",
         [](auto &c, auto &p) {
             return Json(c.moveCircle(values(p, 1), values(p, 2), number(p, 3), number(p, 4)));
         }},
        {"MotionControl.speedJoint",
         [](auto &c, auto &p) { return Json(c.speedJoint(values(p, 1), number(p, 2), number(p, 3))); }},
        {"MotionControl.speedLine",
         [](auto &c, auto &p) { return Json(c.speedLine(values(p, 1), number(p, 2), number(p, 3))); }},
        {"MotionControl.stopMove", [](auto &c, auto &p) { return Json(c.stopMove(number(p, 1))); }},
        {"MotionControl.isSteady", [](auto &c, auto &) { return Json(c.isSteady()); }},
        {"IoControl.setStandardDigitalOutput",
         [](auto &c, auto &p) {
             return Json(
                 c.setDigitalOutput(DigitalBank::Standard, asInt32(param(p, 1)), asBool(param(p, 2))));
         }},
        {"IoControl.setToolDigitalOutput",
         [](auto &c, auto &p) {
             return Json(c.setDigitalOutput(DigitalBank::Tool, asInt32(param(p, 1)), asBool(param(p, 2))));
         }},
        {"IoControl.setConfigurableDigitalOutput",
         [](auto &c, auto &p) {
             return Json(
                 c.setDigitalOutput(DigitalBank::Configurable, asInt32(param(p, 1)), asBool(param(p, 2))));
         }},
        {"IoControl.setStandardAnalogOutput",
         [](auto &c, auto &p) { return Json(c.setAnalogOutput(asInt32(param(p, 1)), number(p, 2))); }},
        {"RobotConfig.setTcpOffset", [](auto &c, auto &p) { return Json(c.setTcpOffset(values(p, 1))); }},
        {"RobotConfig.setPayload",
         [](auto &c, auto &p) { return Json(c.setPayload(number(p, 1), values(p, 2))); }},
    };
    return commands;
}

}  // namespace

std::optional<Json> callCommand(ControllerState &state, const std::string &method, const Json &params)
{
    auto command = robotCommands().find(method);
    if (command != robotCommands().end()) {
        std::string name = korvu_wire::asString(param(params, 0));
        RobotRuntime *robot = findRobot(state, name);
        if (!robot)
            throw RpcError(korvu_wire::kErrUnknownRobot, "no robot named \"" + name + "\"");
        RobotController controller(state, *robot);
        return command->second(controller, params);
    }
    if (method == "RegisterControl.setBool") {
        state.registers[korvu_wire::asString(param(params, 0))] = asBool(param(params, 1)) ? 1 : 0;
        return Json(common_interface::command_result::kAccepted);
    }
    if (method == "RegisterControl.setInt32") {
        state.registers[korvu_wire::asString(param(params, 0))] = asInt32(param(params, 1));
        return Json(common_interface::command_result::kAccepted);
    }
    return std::nullopt;
}

}  // namespace temla::korvu_sim
