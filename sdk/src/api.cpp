#include "korvu_sdk/api.h"

#include "korvu_wire/values.h"
#include "rpc_core.h"

namespace temla
{
namespace common_interface
{

using korvu_sdk::detail::RpcCore;
using korvu_wire::Json;
namespace wire = korvu_wire;

namespace
{

// One request; a result of the wrong shape is a protocol fault of the server: the connection is
// closed as broken and the caller gets kProtocol.
template <typename Decode>
auto invoke(RpcCore &core, const std::string &method, Json params, Decode decode) -> decltype(decode(Json()))
{
    const Json result = core.call(method, std::move(params));
    try {
        return decode(result);
    } catch (const std::exception &e) {
        const std::string reason = method + " returned an ill-typed result: " + e.what();
        core.failConnection(reason);
        throw KorvuException(error_code::kProtocol, reason);
    }
}

template <typename Decode>
auto robotCall(RpcCore &core, const std::string &robot, const char *method, Decode decode)
{
    return invoke(core, method, Json::array({robot}), decode);
}

// A command's result: 0 or a command_result code.
int command(RpcCore &core, const char *method, Json params)
{
    return invoke(core, method, std::move(params), wire::asInt32);
}

std::vector<int> asInts(const Json &value)
{
    const auto values = wire::asIntVector(value);
    return std::vector<int>(values.begin(), values.end());
}

}  // namespace

ApiHandle::ApiHandle(std::shared_ptr<korvu_sdk::detail::RpcCore> core, std::string robot_name)
    : core_(std::move(core)), robot_name_(std::move(robot_name))
{
}

#define KORVU_ROBOT_GETTER(Class, Type, name, decode)                    \
    Type Class::name()                                                   \
    {                                                                    \
        return robotCall(*core_, robot_name_, #Class "." #name, decode); \
    }

KORVU_ROBOT_GETTER(RobotConfig, int, getDof, wire::asInt32)
KORVU_ROBOT_GETTER(RobotConfig, std::string, getRobotType, wire::asString)
KORVU_ROBOT_GETTER(RobotConfig, std::string, getRobotSubType, wire::asString)
KORVU_ROBOT_GETTER(RobotConfig, std::string, getControlBoxType, wire::asString)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getTcpMaxSpeeds, wire::asDoubleVector)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getTcpMaxAccelerations, wire::asDoubleVector)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getJointMaxPositions, wire::asDoubleVector)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getJointMinPositions, wire::asDoubleVector)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getJointMaxSpeeds, wire::asDoubleVector)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getJointMaxAccelerations, wire::asDoubleVector)
KORVU_ROBOT_GETTER(RobotConfig, std::vector<double>, getGravity, wire::asDoubleVector)

KinematicsParam RobotConfig::getKinematicsParam(bool real)
{
    return invoke(*core_, "RobotConfig.getKinematicsParam", Json::array({robot_name_, real}),
                  wire::asKinematicsParam);
}

std::string RobotConfig::getHardwareCustomParameters(const std::string &key)
{
    return invoke(*core_, "RobotConfig.getHardwareCustomParameters", Json::array({robot_name_, key}),
                  wire::asString);
}

int RobotConfig::setTcpOffset(const std::vector<double> &offset)
{
    return command(*core_, "RobotConfig.setTcpOffset", Json::array({robot_name_, offset}));
}

int RobotConfig::setPayload(double mass, const std::vector<double> &cog)
{
    return command(*core_, "RobotConfig.setPayload", Json::array({robot_name_, mass, cog}));
}

KORVU_ROBOT_GETTER(RobotState, std::string, getMasterBoardUniqueId, wire::asString)
KORVU_ROBOT_GETTER(RobotState, std::string, getSlaveBoardUniqueId, wire::asString)
KORVU_ROBOT_GETTER(RobotState, std::string, getHandleUniqueId, wire::asString)
KORVU_ROBOT_GETTER(RobotState, std::string, getToolUniqueId, wire::asString)
KORVU_ROBOT_GETTER(RobotState, std::string, getPedestalUniqueId, wire::asString)
KORVU_ROBOT_GETTER(RobotState, std::vector<std::string>, getJointUniqueIds, wire::asStringVector)
KORVU_ROBOT_GETTER(RobotState, int, getMasterBoardFirmwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getMasterBoardHardwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getSlaveBoardFirmwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getSlaveBoardHardwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getHandleFirmwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getHandleHardwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getToolFirmwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getToolHardwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getPedestalFirmwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getPedestalHardwareVersion, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, std::vector<int>, getJointFirmwareVersions, asInts)
KORVU_ROBOT_GETTER(RobotState, std::vector<int>, getJointHardwareVersions, asInts)
KORVU_ROBOT_GETTER(RobotState, int, getSlowDownLevel, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, RobotModeType, getRobotModeType, wire::asEnum<RobotModeType>)
KORVU_ROBOT_GETTER(RobotState, SafetyModeType, getSafetyModeType, wire::asEnum<SafetyModeType>)
KORVU_ROBOT_GETTER(RobotState, int, getHandleState, wire::asInt32)
KORVU_ROBOT_GETTER(RobotState, int, getHandleMode, wire::asInt32)

KORVU_ROBOT_GETTER(RobotManage, OperationalModeType, getOperationalMode, wire::asEnum<OperationalModeType>)
KORVU_ROBOT_GETTER(RobotManage, bool, isLinkModeEnabled, wire::asBool)
KORVU_ROBOT_GETTER(RobotManage, bool, isFreedriveEnabled, wire::asBool)

#define KORVU_ROBOT_COMMAND(Class, name)                                      \
    int Class::name()                                                         \
    {                                                                         \
        return command(*core_, #Class "." #name, Json::array({robot_name_})); \
    }

KORVU_ROBOT_COMMAND(RobotManage, poweron)
KORVU_ROBOT_COMMAND(RobotManage, poweroff)
KORVU_ROBOT_COMMAND(RobotManage, startup)
KORVU_ROBOT_COMMAND(RobotManage, unlockProtectiveStop)

#undef KORVU_ROBOT_COMMAND

int RobotManage::setFreedrive(bool enable)
{
    return command(*core_, "RobotManage.setFreedrive", Json::array({robot_name_, enable}));
}

int RobotManage::setOperationalMode(OperationalModeType mode)
{
    return command(*core_, "RobotManage.setOperationalMode",
                   Json::array({robot_name_, static_cast<int>(mode)}));
}

int RobotManage::setSpeedFraction(double fraction)
{
    return command(*core_, "RobotManage.setSpeedFraction", Json::array({robot_name_, fraction}));
}

int MotionControl::moveJoint(const std::vector<double> &q, double speed, double acceleration)
{
    return command(*core_, "MotionControl.moveJoint", Json::array({robot_name_, q, speed, acceleration}));
}

int MotionControl::moveLine(const std::vector<double> &pose, double speed, double acceleration)
{
    return command(*core_, "MotionControl.moveLine", Json::array({robot_name_, pose, speed, acceleration}));
}

int MotionControl::moveCircle(const std::vector<double> &via, const std::vector<double> &end, double speed,
                              double acceleration)
{
    return command(*core_, "MotionControl.moveCircle",
                   Json::array({robot_name_, via, end, speed, acceleration}));
}

int MotionControl::speedJoint(const std::vector<double> &qd, double acceleration, double watchdog)
{
    return command(*core_, "MotionControl.speedJoint",
                   Json::array({robot_name_, qd, acceleration, watchdog}));
}

int MotionControl::speedLine(const std::vector<double> &twist, double acceleration, double watchdog)
{
    return command(*core_, "MotionControl.speedLine",
                   Json::array({robot_name_, twist, acceleration, watchdog}));
}

int MotionControl::stopMove(double deceleration)
{
    return command(*core_, "MotionControl.stopMove", Json::array({robot_name_, deceleration}));
}

bool MotionControl::isSteady()
{
    return robotCall(*core_, robot_name_, "MotionControl.isSteady", wire::asBool);
}

int IoControl::setStandardDigitalOutput(int index, bool value)
{
    return command(*core_, "IoControl.setStandardDigitalOutput", Json::array({robot_name_, index, value}));
}

int IoControl::setToolDigitalOutput(int index, bool value)
{
    return command(*core_, "IoControl.setToolDigitalOutput", Json::array({robot_name_, index, value}));
}

int IoControl::setConfigurableDigitalOutput(int index, bool value)
{
    return command(*core_, "IoControl.setConfigurableDigitalOutput",
                   Json::array({robot_name_, index, value}));
}

int IoControl::setStandardAnalogOutput(int index, double value)
{
    return command(*core_, "IoControl.setStandardAnalogOutput", Json::array({robot_name_, index, value}));
}

KORVU_ROBOT_GETTER(IoControl, int, getStandardDigitalInputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getToolDigitalInputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getConfigurableDigitalInputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getStandardDigitalOutputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getToolDigitalOutputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getConfigurableDigitalOutputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getStandardAnalogInputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getToolAnalogInputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getStandardAnalogOutputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getToolAnalogOutputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getStaticLinkInputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getStaticLinkOutputNum, wire::asInt32)
KORVU_ROBOT_GETTER(IoControl, int, getHandleIoStatus, wire::asInt32)

#undef KORVU_ROBOT_GETTER

bool RegisterControl::getBool(const std::string &name, bool default_value)
{
    return invoke(*core_, "RegisterControl.getBool", Json::array({name, default_value}), wire::asBool);
}

int RegisterControl::getInt32(const std::string &name, int default_value)
{
    return invoke(*core_, "RegisterControl.getInt32", Json::array({name, default_value}), wire::asInt32);
}

std::vector<std::string> RegisterControl::modbusGetSignalNames()
{
    return invoke(*core_, "RegisterControl.modbusGetSignalNames", Json::array(), wire::asStringVector);
}

int RegisterControl::setBool(const std::string &name, bool value)
{
    return command(*core_, "RegisterControl.setBool", Json::array({name, value}));
}

int RegisterControl::setInt32(const std::string &name, int value)
{
    return command(*core_, "RegisterControl.setInt32", Json::array({name, value}));
}

RuntimeState RuntimeMachine::getStatus()
{
    return invoke(*core_, "RuntimeMachine.getStatus", Json::array(), wire::asEnum<RuntimeState>);
}

int RuntimeMachine::start()
{
    return invoke(*core_, "RuntimeMachine.start", Json::array(), wire::asInt32);
}

int RuntimeMachine::pause()
{
    return invoke(*core_, "RuntimeMachine.pause", Json::array(), wire::asInt32);
}

int RuntimeMachine::resume()
{
    return invoke(*core_, "RuntimeMachine.resume", Json::array(), wire::asInt32);
}

int RuntimeMachine::step()
{
    return invoke(*core_, "RuntimeMachine.step", Json::array(), wire::asInt32);
}

int RuntimeMachine::stop()
{
    return invoke(*core_, "RuntimeMachine.stop", Json::array(), wire::asInt32);
}

template <typename Handle>
static std::shared_ptr<Handle> makeHandle(const std::shared_ptr<RpcCore> &core, const std::string &robot)
{
    return std::make_shared<Handle>(core, robot);
}

RobotConfigPtr RobotInterface::getRobotConfig()
{
    return makeHandle<RobotConfig>(core_, robot_name_);
}
RobotStatePtr RobotInterface::getRobotState()
{
    return makeHandle<RobotState>(core_, robot_name_);
}
RobotManagePtr RobotInterface::getRobotManage()
{
    return makeHandle<RobotManage>(core_, robot_name_);
}
IoControlPtr RobotInterface::getIoControl()
{
    return makeHandle<IoControl>(core_, robot_name_);
}
MotionControlPtr RobotInterface::getMotionControl()
{
    return makeHandle<MotionControl>(core_, robot_name_);
}
ForceControlPtr RobotInterface::getForceControl()
{
    return makeHandle<ForceControl>(core_, robot_name_);
}
SyncMovePtr RobotInterface::getSyncMove()
{
    return makeHandle<SyncMove>(core_, robot_name_);
}
RobotAlgorithmPtr RobotInterface::getRobotAlgorithm()
{
    return makeHandle<RobotAlgorithm>(core_, robot_name_);
}
TracePtr RobotInterface::getTrace()
{
    return makeHandle<Trace>(core_, robot_name_);
}

KorvuApi::KorvuApi(std::shared_ptr<korvu_sdk::detail::RpcCore> core) : core_(std::move(core)) {}
KorvuApi::~KorvuApi() = default;

std::vector<std::string> KorvuApi::getRobotNames()
{
    return invoke(*core_, "getRobotNames", Json::array(), wire::asStringVector);
}

std::vector<std::string> KorvuApi::getAxisNames()
{
    return invoke(*core_, "getAxisNames", Json::array(), wire::asStringVector);
}

RobotInterfacePtr KorvuApi::getRobotInterface(const std::string &name)
{
    return makeHandle<RobotInterface>(core_, name);
}
AxisInterfacePtr KorvuApi::getAxisInterface(const std::string &name)
{
    return makeHandle<AxisInterface>(core_, name);
}
SystemInfoPtr KorvuApi::getSystemInfo()
{
    return makeHandle<SystemInfo>(core_, "");
}
RuntimeMachinePtr KorvuApi::getRuntimeMachine()
{
    return makeHandle<RuntimeMachine>(core_, "");
}
RegisterControlPtr KorvuApi::getRegisterControl()
{
    return makeHandle<RegisterControl>(core_, "");
}
GripperInterfacePtr KorvuApi::getGripperInterface()
{
    return makeHandle<GripperInterface>(core_, "");
}

}  // namespace common_interface
}  // namespace temla
