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

// Results of the command operations (the set*, move*, speed*, stop and power operations): 0 when the
// controller accepted the command, one of these negative codes when it refused it. A command is one
// request; like the getters it raises KorvuException when the request itself fails (not connected,
// not logged in, timeout, an error answer such as an unknown robot).
namespace command_result
{
constexpr int kAccepted = 0;
constexpr int kNotPowered = -1;          // the arm is powered off or powering on or off
constexpr int kBrakesHeld = -2;          // powered, but the brakes are held or still releasing
constexpr int kSafetyStop = -3;          // protective stop, safeguard stop, violation or fault
constexpr int kEmergencyStop = -4;       // a robot or system emergency stop is active
constexpr int kOutsideJointLimits = -5;  // a joint target (or a point of the path) outside the limits
constexpr int kUnreachable = -6;         // no joint solution for the pose or a point of the path
constexpr int kAutomaticMode = -7;       // jogging and freedrive need the Manual operational mode
constexpr int kInvalidArgument = -8;     // wrong count of values, index out of range, not finite
constexpr int kFreedriveActive = -9;     // motion commands are refused while freedrive is on
constexpr int kMoving = -10;             // a move is running: stop it or wait until the robot is steady
constexpr int kNothingToUnlock = -11;    // unlockProtectiveStop without a protective stop
}  // namespace command_result

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

    // Commands (results in command_result). The TCP offset is a pose [x, y, z, rx, ry, rz] in the
    // flange frame; the payload's centre of gravity is [x, y, z] in the flange frame.
    int setTcpOffset(const std::vector<double> &offset);
    int setPayload(double mass, const std::vector<double> &cog);
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

    // Commands (results in command_result).
    int poweron();
    int poweroff();
    // Releases the brakes of a powered (Idle) robot: BrakeReleasing, then Running.
    int startup();
    int setFreedrive(bool enable);
    int setOperationalMode(OperationalModeType mode);
    int unlockProtectiveStop();
    // The operator's speed slider, 0 to 1: scales every motion's speed limits.
    int setSpeedFraction(double fraction);
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

    // Commands (results in command_result); index is 0-based, analog values in volts.
    int setStandardDigitalOutput(int index, bool value);
    int setToolDigitalOutput(int index, bool value);
    int setConfigurableDigitalOutput(int index, bool value);
    int setStandardAnalogOutput(int index, double value);
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

    // Commands (results in command_result); a written register hides a built-in one of that name.
    int setBool(const std::string &name, bool value);
    int setInt32(const std::string &name, int value);
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

// Motion commands (results in command_result). Speeds and accelerations are upper bounds that the
// controller lowers to the robot's limits and scales by the speed fraction; joint values in rad,
// rad/s, rad/s²; poses [x, y, z, rx, ry, rz] of the TCP in the base frame (m, rad); Cartesian speeds
// in m/s and m/s². A move is refused while another one runs (kMoving); jogging renews itself.
class KORVU_SDK_EXPORT MotionControl : public ApiHandle
{
public:
    using ApiHandle::ApiHandle;
    int moveJoint(const std::vector<double> &q, double speed, double acceleration);
    int moveLine(const std::vector<double> &pose, double speed, double acceleration);
    // Along the circle through the current TCP position, via and end, ending at end's orientation.
    int moveCircle(const std::vector<double> &via, const std::vector<double> &end, double speed,
                   double acceleration);
    // Joint-speed jogging: the joints reach qd with the acceleration and keep it until the command
    // is renewed no later than watchdog seconds after, or they decelerate to a stop by themselves.
    int speedJoint(const std::vector<double> &qd, double acceleration, double watchdog);
    // Cartesian jogging of the TCP with the twist [vx, vy, vz, wx, wy, wz] in the base frame.
    int speedLine(const std::vector<double> &twist, double acceleration, double watchdog);
    // Ends any motion, decelerating every joint at (at most) the given rate.
    int stopMove(double deceleration);
    // True when no motion runs and every joint stands still.
    bool isSteady();
};

// Interfaces that are handed out but offer no operations yet.
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
