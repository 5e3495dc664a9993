#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "korvu_sdk/export.h"
#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/types.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{
class RpcCore;
}  // namespace detail
}  // namespace korvu_sdk

namespace common_interface
{

// Kinematic parameters by name ("a", "d", "alpha", "theta", "beta"), one value per joint.
using KinematicsParam = std::unordered_map<std::string, std::vector<double>>;

// Base of every API interface object: a shared reference to the RPC client's connection and, for
// the robot-scoped interfaces, the robot's name. Handles are cheap and made locally; each value
// getter is one request to the controller and raises KorvuException when the client is not
// connected or not logged in, on a timeout, or when the controller answers with an error.
class KORVU_SDK_EXPORT ApiHandle
{
public:
    ApiHandle(std::shared_ptr<korvu_sdk::detail::RpcCore> core, std::string robot_name);
    const std::string &robotName() const { return robot_name_; }

protected:
    std::shared_ptr<korvu_sdk::detail::RpcCore> core_;
    std::string robot_name_;
};

class KORVU_SDK_EXPORT RobotConfig : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    int getDof();
    KinematicsParam getKinematicsParam(bool real);
    std::string getRobotType();
    std::string getRobotSubType();
    std::string getControlBoxType();
    std::vector<double> getTcpMaxSpeeds();
    std::vector<double> getTcpMaxAccelerations();
    std::vector<double> getJointMaxPositions();
    std::vector<double> getJointMinPositions();
    std::vector<double> getJointMaxSpeeds();
    std::vector<double> getJointMaxAccelerations();
    std::vector<double> getGravity();
    std::string getHardwareCustomParameters(const std::string &key);
};

class KORVU_SDK_EXPORT RobotState : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    std::string getMasterBoardUniqueId();
    std::string getSlaveBoardUniqueId();
    std::string getHandleUniqueId();
    std::string getToolUniqueId();
    std::string getPedestalUniqueId();
    std::vector<std::string> getJointUniqueIds();
    int getMasterBoardFirmwareVersion();
    int getMasterBoardHardwareVersion();
    int getSlaveBoardFirmwareVersion();
    int getSlaveBoardHardwareVersion();
    int getHandleFirmwareVersion();
    int getHandleHardwareVersion();
    int getToolFirmwareVersion();
    int getToolHardwareVersion();
    int getPedestalFirmwareVersion();
    int getPedestalHardwareVersion();
    std::vector<int> getJointFirmwareVersions();
    std::vector<int> getJointHardwareVersions();
    int getSlowDownLevel();
    RobotModeType getRobotModeType();
    SafetyModeType getSafetyModeType();
    int getHandleState();
    int getHandleMode();
};

class KORVU_SDK_EXPORT RobotManage : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    OperationalModeType getOperationalMode();
    bool isLinkModeEnabled();
    bool isFreedriveEnabled();
};

class KORVU_SDK_EXPORT IoControl : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    int getStandardDigitalInputNum();
    int getToolDigitalInputNum();
    int getConfigurableDigitalInputNum();
    int getStandardDigitalOutputNum();
    int getToolDigitalOutputNum();
    int getConfigurableDigitalOutputNum();
    int getStandardAnalogInputNum();
    int getToolAnalogInputNum();
    int getStandardAnalogOutputNum();
    int getToolAnalogOutputNum();
    int getStaticLinkInputNum();
    int getStaticLinkOutputNum();
    int getHandleIoStatus();
};

// Controller-wide named registers.
class KORVU_SDK_EXPORT RegisterControl : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    // The register's value, or default_value when the controller has no register of that name.
    bool getBool(const std::string &name, bool default_value);
    int getInt32(const std::string &name, int default_value);
    std::vector<std::string> modbusGetSignalNames();
};

class KORVU_SDK_EXPORT RuntimeMachine : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    RuntimeState getStatus();

    // Program control of the loaded program: 0 when the controller accepted, else one of these.
    static constexpr int kNotAllowed = -1;  // the runtime state does not allow it now
    static constexpr int kNoProgram = -2;   // no program is loaded
    int start();                            // Stopped: runs the loaded program from its first line
    int pause();                            // Running: Pausing, then Paused with the arm held
    int resume();                           // Paused: Running again, the interrupted move continues
    int step();                             // Paused: runs to the next line, then Paused again
    int stop();                             // any state but Stopped: Stopping, then Stopped (task deleted)
};

// Interfaces that are handed out but offer no operations yet.
class KORVU_SDK_EXPORT MotionControl : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT ForceControl : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT SyncMove : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT RobotAlgorithm : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT Trace : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT AxisInterface : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT SystemInfo : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};
class KORVU_SDK_EXPORT GripperInterface : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
};

using RobotConfigPtr = std::shared_ptr<RobotConfig>;
using RobotStatePtr = std::shared_ptr<RobotState>;
using RobotManagePtr = std::shared_ptr<RobotManage>;
using IoControlPtr = std::shared_ptr<IoControl>;
using RegisterControlPtr = std::shared_ptr<RegisterControl>;
using RuntimeMachinePtr = std::shared_ptr<RuntimeMachine>;
using MotionControlPtr = std::shared_ptr<MotionControl>;
using ForceControlPtr = std::shared_ptr<ForceControl>;
using SyncMovePtr = std::shared_ptr<SyncMove>;
using RobotAlgorithmPtr = std::shared_ptr<RobotAlgorithm>;
using TracePtr = std::shared_ptr<Trace>;
using AxisInterfacePtr = std::shared_ptr<AxisInterface>;
using SystemInfoPtr = std::shared_ptr<SystemInfo>;
using GripperInterfacePtr = std::shared_ptr<GripperInterface>;

// The interfaces of one robot, by name.
class KORVU_SDK_EXPORT RobotInterface : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    RobotConfigPtr getRobotConfig();
    RobotStatePtr getRobotState();
    RobotManagePtr getRobotManage();
    IoControlPtr getIoControl();
    MotionControlPtr getMotionControl();
    ForceControlPtr getForceControl();
    SyncMovePtr getSyncMove();
    RobotAlgorithmPtr getRobotAlgorithm();
    TracePtr getTrace();
};

using RobotInterfacePtr = std::shared_ptr<RobotInterface>;

// The controller's API as the RPC client offers it.
class KORVU_SDK_EXPORT KorvuApi
{
public:
    explicit KorvuApi(std::shared_ptr<korvu_sdk::detail::RpcCore> core);
    virtual ~KorvuApi();

    std::vector<std::string> getRobotNames();
    RobotInterfacePtr getRobotInterface(const std::string &name);
    std::vector<std::string> getAxisNames();
    AxisInterfacePtr getAxisInterface(const std::string &name);
    SystemInfoPtr getSystemInfo();
    RuntimeMachinePtr getRuntimeMachine();
    RegisterControlPtr getRegisterControl();
    GripperInterfacePtr getGripperInterface();

protected:
    std::shared_ptr<korvu_sdk::detail::RpcCore> core_;
};

}  // namespace common_interface
}  // namespace temla
