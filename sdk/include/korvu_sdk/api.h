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

/// The controller API the SDK offers: interface objects, value types and result codes.
namespace common_interface
{

/// Results of the command operations (the set*, move*, speed*, stop and power operations): 0 when the
/// controller accepted the command, one of these negative codes when it refused it. A command is one
/// request; like the getters it raises KorvuException when the request itself fails (not connected,
/// not logged in, timeout, an error answer such as an unknown robot).
namespace command_result
{
/// The controller accepted the command.
constexpr int kAccepted = 0;
constexpr int kNotPowered = -1;          ///< the arm is powered off or powering on or off
constexpr int kBrakesHeld = -2;          ///< powered, but the brakes are held or still releasing
constexpr int kSafetyStop = -3;          ///< protective stop, safeguard stop, violation or fault
constexpr int kEmergencyStop = -4;       ///< a robot or system emergency stop is active
constexpr int kOutsideJointLimits = -5;  ///< a joint target (or a point of the path) outside the limits
constexpr int kUnreachable = -6;         ///< no joint solution for the pose or a point of the path
constexpr int kAutomaticMode = -7;       ///< jogging and freedrive need the Manual operational mode
constexpr int kInvalidArgument = -8;     ///< wrong count of values, index out of range, not finite
constexpr int kFreedriveActive = -9;     ///< motion commands are refused while freedrive is on
constexpr int kMoving = -10;             ///< a move is running: stop it or wait until the robot is steady
constexpr int kNothingToUnlock = -11;    ///< unlockProtectiveStop without a protective stop
}  // namespace command_result

/// Kinematic parameters by name ("a", "d", "alpha", "theta", "beta"), one value per joint.
using KinematicsParam = std::unordered_map<std::string, std::vector<double>>;

/// Base of every API interface object: a shared reference to the RPC client's connection and, for
/// the robot-scoped interfaces, the robot's name. Handles are cheap and made locally; each value
/// getter is one request to the controller and raises KorvuException when the client is not
/// connected or not logged in, on a timeout, or when the controller answers with an error.
class KORVU_SDK_EXPORT ApiHandle
{
public:
    /// A handle on core; robot_name is empty for controller-wide interfaces.
    ApiHandle(std::shared_ptr<korvu_sdk::detail::RpcCore> core, std::string robot_name);
    /// Name of the robot the handle is scoped to, empty for controller-wide ones.
    const std::string &robotName() const { return robot_name_; }

protected:
    std::shared_ptr<korvu_sdk::detail::RpcCore> core_;  ///< The RPC client's connection.
    std::string robot_name_;                            ///< The robot the handle is scoped to.
};

/// Configuration of one robot: joints, kinematics, limits, TCP and payload.
class KORVU_SDK_EXPORT RobotConfig : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// Number of joints.
    int getDof();
    /// Kinematic parameters: the calibrated ones when real, else the nominal ones.
    KinematicsParam getKinematicsParam(bool real);
    /// Robot type.
    std::string getRobotType();
    /// Robot sub-type.
    std::string getRobotSubType();
    /// Control box type.
    std::string getControlBoxType();
    /// TCP max speeds.
    std::vector<double> getTcpMaxSpeeds();
    /// TCP max accelerations.
    std::vector<double> getTcpMaxAccelerations();
    /// Joint max positions.
    std::vector<double> getJointMaxPositions();
    /// Joint min positions.
    std::vector<double> getJointMinPositions();
    /// Joint max speeds.
    std::vector<double> getJointMaxSpeeds();
    /// Joint max accelerations.
    std::vector<double> getJointMaxAccelerations();
    /// Gravity vector in the base frame.
    std::vector<double> getGravity();
    /// The robot's hardware parameter called key, as text.
    std::string getHardwareCustomParameters(const std::string &key);

    /// Commands (results in command_result). The TCP offset is a pose [x, y, z, rx, ry, rz] in the
    /// flange frame; the payload's centre of gravity is [x, y, z] in the flange frame.
    int setTcpOffset(const std::vector<double> &offset);
    /// Sets the payload: mass in kg and its centre of gravity.
    int setPayload(double mass, const std::vector<double> &cog);
};

/// Hardware identity and state of one robot.
class KORVU_SDK_EXPORT RobotState : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// Master board unique id.
    std::string getMasterBoardUniqueId();
    /// Slave board unique id.
    std::string getSlaveBoardUniqueId();
    /// Handle unique id.
    std::string getHandleUniqueId();
    /// Tool unique id.
    std::string getToolUniqueId();
    /// Pedestal unique id.
    std::string getPedestalUniqueId();
    /// Joint unique ids.
    std::vector<std::string> getJointUniqueIds();
    /// Master board firmware version.
    int getMasterBoardFirmwareVersion();
    /// Master board hardware version.
    int getMasterBoardHardwareVersion();
    /// Slave board firmware version.
    int getSlaveBoardFirmwareVersion();
    /// Slave board hardware version.
    int getSlaveBoardHardwareVersion();
    /// Handle firmware version.
    int getHandleFirmwareVersion();
    /// Handle hardware version.
    int getHandleHardwareVersion();
    /// Tool firmware version.
    int getToolFirmwareVersion();
    /// Tool hardware version.
    int getToolHardwareVersion();
    /// Pedestal firmware version.
    int getPedestalFirmwareVersion();
    /// Pedestal hardware version.
    int getPedestalHardwareVersion();
    /// Joint firmware versions.
    std::vector<int> getJointFirmwareVersions();
    /// Joint hardware versions.
    std::vector<int> getJointHardwareVersions();
    /// Slow-down level.
    int getSlowDownLevel();
    /// Robot mode.
    RobotModeType getRobotModeType();
    /// Safety mode.
    SafetyModeType getSafetyModeType();
    /// State of the handle.
    int getHandleState();
    /// Mode of the handle.
    int getHandleMode();
};

/// Power, modes and freedrive of one robot.
class KORVU_SDK_EXPORT RobotManage : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// Operational mode.
    OperationalModeType getOperationalMode();
    /// Whether link mode is on.
    bool isLinkModeEnabled();
    /// Whether freedrive (hand guiding) is on.
    bool isFreedriveEnabled();

    /// Commands (results in command_result). Powers the arm on.
    int poweron();
    /// Powers the arm off.
    int poweroff();
    /// Releases the brakes of a powered (Idle) robot: BrakeReleasing, then Running.
    int startup();
    /// Switches freedrive on or off.
    int setFreedrive(bool enable);
    /// Switches to operational mode mode.
    int setOperationalMode(OperationalModeType mode);
    /// Clears a protective stop.
    int unlockProtectiveStop();
    /// The operator's speed slider, 0 to 1: scales every motion's speed limits.
    int setSpeedFraction(double fraction);
};

/// Digital and analog I/O of one robot.
class KORVU_SDK_EXPORT IoControl : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// Standard digital input count.
    int getStandardDigitalInputNum();
    /// Tool digital input count.
    int getToolDigitalInputNum();
    /// Configurable digital input count.
    int getConfigurableDigitalInputNum();
    /// Standard digital output count.
    int getStandardDigitalOutputNum();
    /// Tool digital output count.
    int getToolDigitalOutputNum();
    /// Configurable digital output count.
    int getConfigurableDigitalOutputNum();
    /// Standard analog input count.
    int getStandardAnalogInputNum();
    /// Tool analog input count.
    int getToolAnalogInputNum();
    /// Standard analog output count.
    int getStandardAnalogOutputNum();
    /// Tool analog output count.
    int getToolAnalogOutputNum();
    /// Static link input count.
    int getStaticLinkInputNum();
    /// Static link output count.
    int getStaticLinkOutputNum();
    /// I/O status of the handle.
    int getHandleIoStatus();

    /// Commands (results in command_result); index is 0-based, analog values in volts.
    int setStandardDigitalOutput(int index, bool value);
    /// Sets tool digital output index.
    int setToolDigitalOutput(int index, bool value);
    /// Sets configurable digital output index.
    int setConfigurableDigitalOutput(int index, bool value);
    /// Sets standard analog output index to value volts.
    int setStandardAnalogOutput(int index, double value);
};

/// Controller-wide named registers.
class KORVU_SDK_EXPORT RegisterControl : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// The register's value, or default_value when the controller has no register of that name.
    bool getBool(const std::string &name, bool default_value);
    /// As getBool, for an integer register.
    int getInt32(const std::string &name, int default_value);
    /// Names of the Modbus signals.
    std::vector<std::string> modbusGetSignalNames();

    /// Commands (results in command_result); a written register hides a built-in one of that name.
    int setBool(const std::string &name, bool value);
    /// As setBool, for an integer register.
    int setInt32(const std::string &name, int value);
};

/// The controller's script runtime.
class KORVU_SDK_EXPORT RuntimeMachine : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// State of the script runtime.
    RuntimeState getStatus();

    /// Program control of the loaded program: 0 when the controller accepted, else one of these.
    static constexpr int kNotAllowed = -1;  ///< the runtime state does not allow it now
    static constexpr int kNoProgram = -2;   ///< no program is loaded
    int start();                            ///< Stopped: runs the loaded program from its first line
    int pause();                            ///< Running: Pausing, then Paused with the arm held
    int resume();                           ///< Paused: Running again, the interrupted move continues
    int step();                             ///< Paused: runs to the next line, then Paused again
    int stop();                             ///< any state but Stopped: Stopping, then Stopped (task deleted)
};

/// Motion commands (results in command_result). Speeds and accelerations are upper bounds that the
/// controller lowers to the robot's limits and scales by the speed fraction; joint values in rad,
/// rad/s, rad/s²; poses [x, y, z, rx, ry, rz] of the TCP in the base frame (m, rad); Cartesian speeds
/// in m/s and m/s². A move is refused while another one runs (kMoving); jogging renews itself.
class KORVU_SDK_EXPORT MotionControl : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// Moves the joints to q.
    int moveJoint(const std::vector<double> &q, double speed, double acceleration);
    /// Moves the TCP along a straight line to pose.
    int moveLine(const std::vector<double> &pose, double speed, double acceleration);
    /// Along the circle through the current TCP position, via and end, ending at end's orientation.
    int moveCircle(const std::vector<double> &via, const std::vector<double> &end, double speed,
                   double acceleration);
    /// Joint-speed jogging: the joints reach qd with the acceleration and keep it until the command
    /// is renewed no later than watchdog seconds after, or they decelerate to a stop by themselves.
    int speedJoint(const std::vector<double> &qd, double acceleration, double watchdog);
    /// Cartesian jogging of the TCP with the twist [vx, vy, vz, wx, wy, wz] in the base frame.
    int speedLine(const std::vector<double> &twist, double acceleration, double watchdog);
    /// Ends any motion, decelerating every joint at (at most) the given rate.
    int stopMove(double deceleration);
    /// True when no motion runs and every joint stands still.
    bool isSteady();
};

/// Interfaces that are handed out but offer no operations yet.
class KORVU_SDK_EXPORT ForceControl : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};
/// Synchronised motion (no operations yet).
class KORVU_SDK_EXPORT SyncMove : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};
/// Robot algorithms (no operations yet).
class KORVU_SDK_EXPORT RobotAlgorithm : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};
/// Tracing (no operations yet).
class KORVU_SDK_EXPORT Trace : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};
/// One external axis (no operations yet).
class KORVU_SDK_EXPORT AxisInterface : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};
/// Controller system information (no operations yet).
class KORVU_SDK_EXPORT SystemInfo : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};
/// The grippers (no operations yet).
class KORVU_SDK_EXPORT GripperInterface : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
};

/// Shared handle on a RobotConfig.
using RobotConfigPtr = std::shared_ptr<RobotConfig>;
/// Shared handle on a RobotState.
using RobotStatePtr = std::shared_ptr<RobotState>;
/// Shared handle on a RobotManage.
using RobotManagePtr = std::shared_ptr<RobotManage>;
/// Shared handle on a IoControl.
using IoControlPtr = std::shared_ptr<IoControl>;
/// Shared handle on a RegisterControl.
using RegisterControlPtr = std::shared_ptr<RegisterControl>;
/// Shared handle on a RuntimeMachine.
using RuntimeMachinePtr = std::shared_ptr<RuntimeMachine>;
/// Shared handle on a MotionControl.
using MotionControlPtr = std::shared_ptr<MotionControl>;
/// Shared handle on a ForceControl.
using ForceControlPtr = std::shared_ptr<ForceControl>;
/// Shared handle on a SyncMove.
using SyncMovePtr = std::shared_ptr<SyncMove>;
/// Shared handle on a RobotAlgorithm.
using RobotAlgorithmPtr = std::shared_ptr<RobotAlgorithm>;
/// Shared handle on a Trace.
using TracePtr = std::shared_ptr<Trace>;
/// Shared handle on a AxisInterface.
using AxisInterfacePtr = std::shared_ptr<AxisInterface>;
/// Shared handle on a SystemInfo.
using SystemInfoPtr = std::shared_ptr<SystemInfo>;
/// Shared handle on a GripperInterface.
using GripperInterfacePtr = std::shared_ptr<GripperInterface>;

/// The interfaces of one robot, by name.
class KORVU_SDK_EXPORT RobotInterface : public ApiHandle
{
public:
    /// Inherits the ApiHandle constructor.
    using ApiHandle::ApiHandle;
    /// The robot's robot config interface.
    RobotConfigPtr getRobotConfig();
    /// The robot's robot state interface.
    RobotStatePtr getRobotState();
    /// The robot's robot manage interface.
    RobotManagePtr getRobotManage();
    /// The robot's I/O control interface.
    IoControlPtr getIoControl();
    /// The robot's motion control interface.
    MotionControlPtr getMotionControl();
    /// The robot's force control interface.
    ForceControlPtr getForceControl();
    /// The robot's sync move interface.
    SyncMovePtr getSyncMove();
    /// The robot's robot algorithm interface.
    RobotAlgorithmPtr getRobotAlgorithm();
    /// The robot's trace interface.
    TracePtr getTrace();
};

/// Shared handle on a RobotInterface.
using RobotInterfacePtr = std::shared_ptr<RobotInterface>;

/// The controller's API as the RPC client offers it.
class KORVU_SDK_EXPORT KorvuApi
{
public:
    /// The API over the connection core.
    explicit KorvuApi(std::shared_ptr<korvu_sdk::detail::RpcCore> core);
    /// Releases the connection reference.
    virtual ~KorvuApi();

    /// Names of the controller's robots (one request).
    std::vector<std::string> getRobotNames();
    /// The interfaces of the robot called name.
    RobotInterfacePtr getRobotInterface(const std::string &name);
    /// Names of the controller's external axes (one request).
    std::vector<std::string> getAxisNames();
    /// The interface of the external axis called name.
    AxisInterfacePtr getAxisInterface(const std::string &name);
    /// Controller system information.
    SystemInfoPtr getSystemInfo();
    /// The script runtime.
    RuntimeMachinePtr getRuntimeMachine();
    /// The named registers.
    RegisterControlPtr getRegisterControl();
    /// The grippers.
    GripperInterfacePtr getGripperInterface();

protected:
    std::shared_ptr<korvu_sdk::detail::RpcCore> core_;  ///< The RPC client's connection.
};

}  // namespace common_interface
}  // namespace temla
