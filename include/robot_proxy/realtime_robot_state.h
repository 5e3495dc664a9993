#pragma once

/// @file
/// The library's image of the controller's robots: per robot the values the controller streams on the
/// realtime data channel and the slower information read over RPC. The application reads it through the
/// getters below instead of asking the controller.
///
/// Locking. One recursive mutex (state_mutex) guards every member of the cache. The realtime frame handlers
/// hold it for a whole frame, including the mode signals they emit, the refreshes a mode transition
/// triggers and the track callback. Every other operation that reads or writes the cache takes it as
/// well, so nothing here races with a frame:
///  - Because the mutex is recursive, a receiver connected directly (Qt::DirectConnection) to this
///    object's signals, and the track callback, may call any getter, refresh, selection or store
///    operation: they run on the thread that already holds the mutex.
///  - A receiver that blocks the emitting thread until another thread has called into this object
///    (Qt::BlockingQueuedConnection, or waiting on a future fed by another thread) deadlocks: that
///    other thread waits for the mutex the emitting thread holds. Receivers on other threads must use
///    the default (queued) delivery.
///  - The RPC refreshes hold the mutex across their requests, so a locking getter waits for a refresh
///    running on another thread (at most the request timeout per request).
///  - The robot-message dispatch and the disconnection report write the records only through the
///    library's internal store operations, which take the mutex and release it before they return; the
///    caller emits its signals afterwards.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <QObject>

#include <korvu_sdk/api.h>
#include <korvu_sdk/types.h>

#include "robot_proxy/export.h"

namespace temla
{
namespace korvu_sdk
{

class InputParser;
class RpcClient;
class RtdeClient;

namespace detail
{
class CacheWriter;
class RobotSelection;
struct RobotFrame;
}  // namespace detail

using common_interface::GripperStatus;
using common_interface::JointStateType;
using common_interface::OperationalModeType;
using common_interface::Payload;
using common_interface::RobotModeType;
using common_interface::RuntimeState;
using common_interface::SafetyModeType;
using common_interface::StandardOutputRunState;

/// Kinematic parameters by name ("a", "d", "alpha", "theta", "beta"), one value per joint.
using DhParamMap = common_interface::KinematicsParam;

/// Called every track period with the joint positions and the TCP pose of the selected robot.
using TrackCallback = std::function<void(const std::vector<double> &, const std::vector<double> &)>;

/// One robot's cached state. A plain record: the default values are those of a robot never heard of.
struct ROBOT_PROXY_EXPORT RobotInfo {
    /// A record with the default values.
    RobotInfo();

    std::string robot_type;                   ///< Robot type name the controller reports.
    std::string robot_sub_type;               ///< Robot sub-type name.
    std::string control_box_type;             ///< Control box type name.
    int dof = 6;                              ///< Number of joints.
    Payload payload;                          ///< Mounted payload (mass, centre of gravity, inertia).
    std::vector<double> joint_positions;      ///< Joint positions, rad.
    std::vector<double> joint_speeds;         ///< Joint speeds, rad/s.
    std::vector<double> joint_currents;       ///< Joint currents, A.
    std::vector<double> tcp_pose;             ///< TCP pose [x, y, z, rx, ry, rz] in the base frame.
    std::vector<double> tcp_speed;            ///< TCP speed.
    std::vector<double> tool_pose;            ///< Tool pose.
    std::vector<double> tcp_force;            ///< Force and torque at the TCP.
    std::vector<double> tcp_force_sensor;     ///< Force and torque read by the TCP force sensor.
    std::vector<double> joint_voltages;       ///< Joint voltages, V.
    std::vector<double> joint_temperatures;   ///< Joint temperatures.
    std::vector<JointStateType> joint_state;  ///< State of each joint.
    RobotModeType robot_mode = RobotModeType::NoController;  ///< Robot mode.
    SafetyModeType safety_mode = SafetyModeType::Normal;     ///< Safety mode.
    int operational_mode = 0;                            ///< Operational mode (an OperationalModeType value).
    int handle_state = 0;                                ///< Handle state.
    int handle_mode = 0;                                 ///< Handle mode.
    bool link_mode_enabled = false;                      ///< Whether link mode is on.
    bool freedrive_enabled = false;                      ///< Whether freedrive (hand guiding) is on.
    double main_voltage = 0.0;                           ///< Main supply voltage, V.
    double robot_voltage = 0.0;                          ///< Robot supply voltage, V.
    double robot_current = 0.0;                          ///< Robot current, A.
    double control_box_temperature = 0.0;                ///< Control box temperature.
    double control_box_humidity = 0.0;                   ///< Control box humidity.
    int collision_level = 0;                             ///< Collision sensitivity level.
    int slow_down_level = 0;                             ///< Slow-down level.
    std::string tool_unique_id;                          ///< Unique id of the tool board.
    std::string master_board_unique_id;                  ///< Unique id of the master board.
    std::string slave_board_unique_id;                   ///< Unique id of the slave board.
    std::string pedestal_unique_id;                      ///< Unique id of the pedestal.
    std::vector<std::string> joint_unique_ids;           ///< Unique id of each joint.
    std::string handle_unique_id;                        ///< Unique id of the handle.
    std::string hardware_interface_version;              ///< Version of the hardware interface.
    std::vector<int> joint_firmware_versions;            ///< Firmware version of each joint.
    std::vector<int> joint_hardware_versions;            ///< Hardware version of each joint.
    int tool_firmware_version = 0;                       ///< Firmware version of the tool board.
    int tool_hardware_version = 0;                       ///< Hardware version of the tool board.
    int master_board_firmware_version = 0;               ///< Firmware version of the master board.
    int master_board_hardware_version = 0;               ///< Hardware version of the master board.
    int slave_board_firmware_version = 0;                ///< Firmware version of the slave board.
    int slave_board_hardware_version = 0;                ///< Hardware version of the slave board.
    int pedestal_firmware_version = 0;                   ///< Firmware version of the pedestal.
    int pedestal_hardware_version = 0;                   ///< Hardware version of the pedestal.
    int handle_firmware_version = 0;                     ///< Firmware version of the handle.
    int handle_hardware_version = 0;                     ///< Hardware version of the handle.
    int standard_digital_input_num = 0;                  ///< Number of standard digital inputs.
    int tool_digital_input_num = 0;                      ///< Number of tool digital inputs.
    int configurable_digital_input_num = 0;              ///< Number of configurable digital inputs.
    int standard_digital_output_num = 0;                 ///< Number of standard digital outputs.
    int tool_digital_output_num = 0;                     ///< Number of tool digital outputs.
    int configurable_digital_output_num = 0;             ///< Number of configurable digital outputs.
    int standard_analog_input_num = 0;                   ///< Number of standard analog inputs.
    int tool_analog_input_num = 0;                       ///< Number of tool analog inputs.
    int standard_analog_output_num = 0;                  ///< Number of standard analog outputs.
    int tool_analog_output_num = 0;                      ///< Number of tool analog outputs.
    int static_link_input_num = 0;                       ///< Number of static link inputs.
    int static_link_output_num = 0;                      ///< Number of static link outputs.
    DhParamMap real_dh_param;                            ///< Calibrated kinematic parameters.
    DhParamMap theory_dh_param;                          ///< Nominal kinematic parameters.
    std::vector<bool> standard_digital_input_bits;       ///< Standard digital input states.
    std::vector<bool> tool_digital_input_bits;           ///< Tool digital input states.
    std::vector<bool> configurable_digital_input_bits;   ///< Configurable digital input states.
    std::vector<bool> link_digital_input_bits;           ///< Link digital input states.
    std::vector<bool> standard_digital_output_bits;      ///< Standard digital output states.
    std::vector<bool> tool_digital_output_bits;          ///< Tool digital output states.
    std::vector<bool> configurable_digital_output_bits;  ///< Configurable digital output states.
    std::vector<bool> link_digital_output_bits;          ///< Link digital output states.
    std::vector<double> standard_analog_input_values;    ///< Values of the standard analog inputs.
    std::vector<double> tool_analog_input_values;        ///< Values of the tool analog inputs.
    std::vector<double> standard_analog_output_values;   ///< Values of the standard analog outputs.
    std::vector<double> tool_analog_output_values;       ///< Values of the tool analog outputs.
    std::vector<std::string> joints_model_type;          ///< Model type of each joint.
    std::vector<double> joint_max_positions;             ///< Upper joint position limits, rad.
    std::vector<double> joint_min_positions;             ///< Lower joint position limits, rad.
    std::vector<double> joint_max_speeds;                ///< Joint speed limits, rad/s.
    std::vector<double> joint_max_accelerations;         ///< Joint acceleration limits, rad/s^2.
    std::vector<double> tcp_max_speeds;                  ///< TCP speed limits.
    std::vector<double> tcp_max_accelerations;           ///< TCP acceleration limits.
    std::vector<double> gravity;                         ///< Gravity vector in the base frame.
    bool simulation_enabled = false;                     ///< Whether the robot runs in simulation.
    double speed_fraction = 0.0;                         ///< Speed fraction the controller applies.
    int handle_io_status = 0;                            ///< I/O status of the handle.
    std::vector<int> enc_tick_count;                     ///< Encoder tick count of each joint.
};

/// Parts of text between occurrences of delimiter, empty parts kept; the empty text gives one empty part.
/// An empty delimiter gives the whole text as the one part.
ROBOT_PROXY_EXPORT std::vector<std::string> split(const std::string &text, const std::string &delimiter);

/// @{
/// Bits of an I/O word, entry b being bit b (bit 0 the least significant): 32 entries for an int, 64 for a
/// long.
ROBOT_PROXY_EXPORT std::vector<bool> toVec(int word);
ROBOT_PROXY_EXPORT std::vector<bool> toVec(long word);
/// @}

/// The cache of the controller's robot states, fed by the realtime channels and RPC refreshes; see the
/// locking notes in this file's description.
class ROBOT_PROXY_EXPORT RealtimeRobotState : public QObject
{
    Q_OBJECT

public:
    /// Number of robot records the cache keeps.
    static constexpr int kRobotSlots = 4;

    /// Shares both clients; makes no call on them.
    RealtimeRobotState(std::shared_ptr<RpcClient> rpc, std::shared_ptr<RtdeClient> rtde);
    /// Logs out of and disconnects the realtime client, then the RPC client. No frame handler runs
    /// once destruction has begun: the realtime client's disconnect() returns only after its
    /// subscribers have stopped, and a handler that was waiting for the mutex returns untouched.
    ~RealtimeRobotState() override;

    /// Not copyable.
    RealtimeRobotState(const RealtimeRobotState &) = delete;
    /// Not copyable.
    RealtimeRobotState &operator=(const RealtimeRobotState &) = delete;

    /// @name Realtime subscriptions
    /// @{

    /// Subscribes the four realtime channels for the robots known now; always 0.
    int configSubscribe();
    /// @}

    /// @name RPC refreshes (always 0)
    /// Each reads values from the controller into the records. index -1 means the selected robot; an index
    /// that selects no robot name or record does nothing.
    /// @{

    /// Reads the robot names, the runtime state and each robot's configuration after a login; powered
    /// robots get the power-on refresh too.
    int updateRobotInformationOnLogin();
    /// Reads the information a powered-on robot offers.
    int updateRobotInformationOnPoweron(int index);
    /// Reads the operational mode.
    int updateOperationMode(int index);
    /// Reads whether link mode is on.
    int updateIsLinkModeEnabled(int index);
    /// Reads the gravity vector.
    int updateGravity(int index);
    /// Reads the joint count and the kinematic parameters after the robot type changed.
    int updateHDParamOnRobotTypeChanged(int index);
    /// Reads the names of the Modbus signals.
    void updateModbusSignalNames();
    /// @}

    /// @name Selection and track recording
    /// @{

    /// Selects robot index: 0, or -1 for an index outside the robot names.
    int selectRobot(int index);
    /// Clears the selection and sets the runtime state to Stopped (runtimeStateChanged when it changes).
    void reset();
    /// Calls callback every period with the selected robot's joint positions and TCP pose; 0.
    /// period in seconds; below one channel-0 frame (0.02 s) the recording is off.
    int startTrackRecord(const TrackCallback &callback, double period);
    /// Stops the track recording; 0.
    int stopTrackRecord();
    /// @}

    /// @name Snapshots (copies taken under the mutex)
    /// @{

    /// Copy of the record of robot index; a default record for an index outside 0..3.
    RobotInfo getRobotInfo(int index) const;
    /// Index of the selected robot, -1 when none.
    int getRobotIndex() const;
    /// Name of the selected robot, empty when none.
    std::string getRobotName() const;
    /// @}

    /// @name Selected-robot values
    /// @{

    /// The cached value of the selected robot, or the record's default when no robot is selected.
    int getDof();
    bool isSimulationEnabled();
    double getSpeedFraction();
    std::string getRobotType() const;
    std::string getRobotSubType() const;
    std::string getControlBoxType() const;
    OperationalModeType getOperationalMode() const;
    bool isLinkModeEnabled() const;
    bool isFreedriveEnabled() const;
    int getSlowDownLevel() const;
    RobotModeType getRobotModeType();
    SafetyModeType getSafetyModeType();
    int getHandleModeType();
    int getHandleStateType();
    std::string getToolUniqueId();
    std::string getMasterBoardUniqueId();
    std::string getSlaveBoardUniqueId();
    std::string getPedestalUniqueId();
    std::string getHandleUniqueId();
    std::vector<std::string> getJointUniqueIds();
    std::vector<std::string> getJointsModelType();
    std::string getHardwareInterfaceVersion();
    int getMasterBoardFirmwareVersion();
    int getMasterBoardHardwareVersion();
    int getSlaveBoardFirmwareVersion();
    int getSlaveBoardHardwareVersion();
    int getToolFirmwareVersion();
    int getToolHardwareVersion();
    int getPedestalFirmwareVersion();
    int getPedestalHardwareVersion();
    int getHandleFirmwareVersion();
    int getHandleHardwareVersion();
    std::vector<int> getJointFirmwareVersions();
    std::vector<int> getJointHardwareVersions();
    double getControlBoxTemperature();
    double getControlBoxHumidity();
    double getMainVoltage();
    /// The controller streams no separate main current: this is the robot current.
    double getMainCurrent();
    double getRobotVoltage();
    double getRobotCurrent();
    int getCollisionLevel();
    int getHandleIoStatus();
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
    std::vector<double> getTcpPose();
    std::vector<double> getToolPose();
    std::vector<double> getTcpSpeed();
    std::vector<double> getTcpForce();
    /// The TCP force with its components rotated into frame (a pose); empty when no robot is selected.
    std::vector<double> getTcpForce(const std::vector<double> &frame);
    std::vector<double> getTcpForceSensor();
    Payload getPayload();
    std::vector<double> getJointPositions();
    std::vector<double> getJointSpeeds();
    std::vector<double> getJointCurrents();
    std::vector<double> getJointVoltages();
    std::vector<double> getJointTemperatures();
    std::vector<JointStateType> getJointState();
    std::vector<double> getJointMaxPositions();
    std::vector<double> getJointMinPositions();
    std::vector<double> getJointMaxSpeeds();
    std::vector<double> getJointMaxAccelerations();
    std::vector<double> getTcpMaxSpeeds();
    std::vector<double> getTcpMaxAccelerations();
    std::vector<double> getGravity();
    DhParamMap getRealDHParam();
    DhParamMap getTheoryDHParam();
    /// @}

    /// @name Selected-robot I/O entries
    /// @{

    /// Entry i of an I/O vector of the selected robot; false / 0 for a bad index or no robot.
    bool getStandardDigitalInput(int index);
    bool getToolDigitalInput(int index);
    bool getConfigurableDigitalInput(int index);
    bool getStaticLinkInput(int index);
    bool getStandardDigitalOutput(int index);
    bool getToolDigitalOutput(int index);
    bool getConfigurableDigitalOutput(int index);
    bool getStaticLinkOutput(int index);
    double getStandardAnalogInput(int index);
    double getToolAnalogInput(int index);
    double getStandardAnalogOutput(int index);
    double getToolAnalogOutput(int index);
    int getEncTickCount(int index);
    /// @}

    /// @name Global values (of the controller rather than of one robot)
    /// @{

    /// Names of the controller's robots.
    std::vector<std::string> getRobotNames() const;
    /// Id of the script thread the runtime context reports.
    int getThreadID();
    /// Script line the runtime context reports.
    int getLineNumber();
    /// State of the script runtime.
    RuntimeState getRuntimeState();
    /// Names of the Modbus signals, sorted.
    std::vector<std::string> getModbusSignalNames() const;
    /// Values of the Modbus signals.
    std::vector<int> getModbusSignalValues() const;
    /// Error flags of the Modbus signals.
    std::vector<int> getModbusSignalErrors() const;
    /// Status of every gripper.
    std::vector<GripperStatus> getAllGripperStatusData();
    /// First gripper whose name equals name; a record with an empty name and zeros when none does.
    GripperStatus getGripperStatusDataByName(const std::string &name);
    /// Appends and sorts the list again; duplicates are kept.
    void addModbusSignalName(const std::string &name);
    /// Erases the first entry equal to name.
    void removeModbusSignalName(const std::string &name);
    /// @}

    /// @name Not implemented
    /// @{

    /// Not implemented: logs a warning and returns a constant.
    std::vector<double> getElbowPosistion();
    std::vector<double> getElbowVelocity();
    std::vector<double> getBaseForce();
    std::vector<double> getTcpTargetPose();
    std::vector<double> getTcpTargetSpeed();
    std::vector<double> getTcpTargetForce();
    std::vector<double> getJointAccelerations();
    std::vector<double> getJointTorqueSensors();
    std::vector<double> getBaseForceSensor();
    std::vector<double> getTcpForceSensors();
    std::vector<double> getJointTargetPositions();
    std::vector<double> getJointTargetSpeeds();
    std::vector<double> getJointTargetAccelerations();
    std::vector<double> getJointTargetTorques();
    std::vector<double> getJointTargetCurrents();
    std::vector<int> getJointServoMode();
    int getConfigurableInputAction(int index);
    int getStandardDigitalInputAction(int index);
    int getToolDigitalInputAction(int index);
    int getConfigurableDigitalInputAction(int index);
    StandardOutputRunState getConfigurableOutputRunstate(int index);
    StandardOutputRunState getStandardDigitalOutputRunstate(int index);
    StandardOutputRunState getToolDigitalOutputRunstate(int index);
    StandardOutputRunState getConfigurableDigitalOutputRunstate(int index);
    StandardOutputRunState getStandardAnalogOutputRunstate(int index);
    StandardOutputRunState getToolAnalogOutputRunstate(int index);
    int setToolDigitalOutputRunstate(int index, StandardOutputRunState state);
    int setConfigurableDigitalOutputRunstate(int index, StandardOutputRunState state);
    int setToolAnalogOutputRunstate(int index, StandardOutputRunState state);
    int setToolAnalogInputDomain(int index, int domain);
    int setToolAnalogOutputDomain(int index, int domain);
    int getStandardAnalogInputDomain(int index);
    int getToolAnalogInputDomain(int index);
    int getStandardAnalogOutputDomain(int index);
    int getToolAnalogOutputDomain(int index);
    int setToolDigitalOutput(int index, bool value);
    int setConfigurableDigitalOutput(int index, bool value);
    int setToolAnalogOutput(int index, double value);
    /// @}

Q_SIGNALS:
    /// The interface board versions of robot robot_index were read.
    void interfaceBoardVersionInfoUpdated(int robot_index);
    /// The joint versions of robot robot_index were read.
    void jointVersionInfoUpdated(int robot_index);
    /// The script runtime changed state.
    void runtimeStateChanged(RuntimeState state);
    /// Robot robot_index entered safety mode mode.
    void safetyModeChanged(int robot_index, SafetyModeType mode);
    /// Robot robot_index entered robot mode mode.
    void robotModeChanged(int robot_index, RobotModeType mode);

private:
    // The frame handlers, the record writes of the message dispatch and the disconnection report are the
    // library's own; its collaborators and tests reach them through detail::CacheWriter.
    friend class detail::CacheWriter;

    // The frame handlers the subscriptions run, one per channel. robot_count is the number of robots
    // the channel's topic list was built for; enc_tick_offered[i] tells whether robot index i's
    // encoder-tick topic is part of channel 0's list.
    void handleStateFrame(InputParser &parser, int robot_count, const std::vector<bool> &enc_tick_offered);
    void handleElectricalFrame(InputParser &parser, int robot_count);
    void handleIoFrame(InputParser &parser, int robot_count);
    void handleGripperFrame(InputParser &parser);

    // Each stores into the record of robot index (0..3) under the mutex and does nothing for any other
    // index. None emits: the caller emits after the call has returned and the mutex is released.
    void storeRobotMode(int index, RobotModeType mode);
    void storeSafetyMode(int index, SafetyModeType mode);
    void storeOperationalMode(int index, OperationalModeType mode);
    void storeLinkModeEnabled(int index, bool enabled);
    void storeFreedriveEnabled(int index, bool enabled);
    void storeSlowDownLevel(int index, int level);
    void storeRobotType(int index, std::string type, std::string sub_type);
    // Robot mode -1 and safety mode 0 for the robot, as after a lost connection. False (nothing stored)
    // for an index outside 0..3.
    bool storeDisconnectedModes(int index);
    // Stored robot mode of robot index; NoController for an index outside 0..3.
    RobotModeType storedRobotMode(int index) const;
    // The login refresh; 0, or the SDK's code when the robot list or the runtime state cannot be
    // read (reason then holds the SDK's text and the records are untouched).
    int loginRefresh(std::string &reason);

    template <typename T>
    T readSelected(T RobotInfo::*field, T fallback) const;
    template <typename T>
    typename T::value_type readSelectedEntry(T RobotInfo::*field, int index,
                                             typename T::value_type fallback) const;
    // Stores value into field of the record of robot index under the mutex; nothing for any other index.
    template <typename T>
    void storeField(int index, T RobotInfo::*field, T value);
    RobotInfo *record(int index);
    RobotInfo &frameTarget(int index);

    void settleModes(int index, RobotModeType frame_robot_mode, SafetyModeType frame_safety_mode);
    void refreshForTransition(int index, RobotModeType old_mode, RobotModeType new_mode);
    void tickTrack();
    void refreshOnLogin(RobotInfo &info, const std::string &name);
    void refreshOnPoweron(RobotInfo &info, const std::string &name);
    // One RPC value of robot index: fetch_handle picks the interface from the robot, store writes the
    // value into the record. An index outside the records does nothing; one outside the robot names
    // throws std::out_of_range. A missing client, robot or interface leaves the record alone, and an
    // SDK error is logged after error_text.
    template <typename FetchHandle, typename Store>
    void refreshRecordValue(int index, FetchHandle fetch_handle, Store store, const char *error_text);
    bool clientsConnected() const;

    std::shared_ptr<RpcClient> rpc_client;
    std::shared_ptr<RtdeClient> rtde_client;
    // Recursive so that the refreshes, stores and getters can take it both on their own and from inside a
    // frame handler, a directly connected receiver or the track callback (see the note at the top).
    mutable std::recursive_mutex state_mutex;
    std::vector<std::string> robot_names;
    // The selected robot's name and index (-1 when none).
    std::unique_ptr<detail::RobotSelection> selection;
    int thread_id = -1;
    int line_number = -1;
    RuntimeState runtime_state;
    std::vector<int> modbus_signal_values;
    std::vector<int> modbus_signal_errors;
    std::vector<std::string> modbus_signal_names;
    RobotInfo robot_infos[kRobotSlots];
    std::vector<GripperStatus> gripper_statuses;
    TrackCallback track_callback;
    int track_period = 0;
    int track_counter = 0;
    // Receives the values of robots beyond the four slots: they must be read from a frame, then dropped.
    RobotInfo overflow_record;
    // Set when destruction begins; a handler that still gets the mutex afterwards returns at once.
    std::atomic<bool> closing{false};
};

}  // namespace korvu_sdk
}  // namespace temla
