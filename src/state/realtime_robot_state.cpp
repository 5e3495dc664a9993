// Construction, destruction, selection, track recording, the writes of the message dispatch and the
// getters of the realtime state cache.
#include "robot_proxy/realtime_robot_state.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include <QDebug>
#include <QMetaType>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "library_log.h"
#include "realtime_channels.h"
#include "request_timeouts.h"
#include "robot_proxy/robot_math.h"
#include "robot_selection.h"

namespace temla
{
namespace korvu_sdk
{

using Lock = std::lock_guard<std::recursive_mutex>;

namespace
{

bool selectsRecord(int index)
{
    return static_cast<unsigned>(index) < static_cast<unsigned>(RealtimeRobotState::kRobotSlots);
}

DhParamMap defaultDhParam()
{
    const std::vector<double> zeros(6, 0.0);
    return {{"a", zeros}, {"d", zeros}, {"alpha", zeros}, {"theta", zeros}, {"beta", zeros}};
}

int framesOfPeriod(double period)
{
    const double frames = std::trunc(period * detail::stateChannel().rate_hz);
    if (!std::isfinite(frames) || frames <= 0.0) {
        return 0;
    }
    return frames >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(frames);
}

}  // namespace

RobotInfo::RobotInfo()
    : payload(0.0, std::vector<double>(3, 0.0), std::vector<double>(3, 0.0), std::vector<double>(9, 0.0)),
      joint_positions(6, 0.0),
      joint_speeds(6, 0.0),
      joint_currents(6, 0.0),
      tcp_pose(6, 0.0),
      tcp_speed(6, 0.0),
      tool_pose(6, 0.0),
      tcp_force(6, 0.0),
      tcp_force_sensor(6, 0.0),
      joint_voltages(6, 0.0),
      joint_temperatures(6, 0.0),
      joint_state(6, JointStateType::Idle),
      standard_digital_input_bits(64, false),
      tool_digital_input_bits(64, false),
      configurable_digital_input_bits(64, false),
      link_digital_input_bits(64, false),
      standard_digital_output_bits(64, false),
      tool_digital_output_bits(64, false),
      configurable_digital_output_bits(64, false),
      link_digital_output_bits(64, false),
      joint_max_positions(6, 0.0),
      joint_min_positions(6, 0.0),
      joint_max_speeds(6, 0.0),
      joint_max_accelerations(6, 0.0),
      tcp_max_speeds(6, 0.0),
      tcp_max_accelerations(6, 0.0),
      gravity{0.0, 0.0, -9.81}
{
}

std::vector<std::string> split(const std::string &text, const std::string &delimiter)
{
    if (delimiter.empty()) {
        return {text};
    }
    std::vector<std::string> parts;
    std::string::size_type position = 0;
    for (;;) {
        const auto found = text.find(delimiter, position);
        if (found == std::string::npos) {
            parts.push_back(text.substr(position));
            return parts;
        }
        parts.push_back(text.substr(position, found - position));
        position = found + delimiter.size();
    }
}

namespace
{

template <typename Word>
std::vector<bool> bitsOf(Word word)
{
    using Bits = std::make_unsigned_t<Word>;
    constexpr int count = sizeof(Word) * CHAR_BIT;
    const auto bits = static_cast<Bits>(word);
    std::vector<bool> entries(count);
    for (int bit = 0; bit < count; ++bit) {
        entries[bit] = ((bits >> bit) & Bits{1}) != 0;
    }
    return entries;
}

}  // namespace

std::vector<bool> toVec(int word)
{
    return bitsOf(word);
}

std::vector<bool> toVec(long word)
{
    return bitsOf(word);
}

RealtimeRobotState::RealtimeRobotState(std::shared_ptr<RpcClient> rpc, std::shared_ptr<RtdeClient> rtde)
    : QObject(nullptr),
      rpc_client(std::move(rpc)),
      rtde_client(std::move(rtde)),
      selection(std::make_unique<detail::RobotSelection>()),
      runtime_state(RuntimeState::Stopped)
{
    qRegisterMetaType<RuntimeState>("RuntimeState");
}

RealtimeRobotState::~RealtimeRobotState()
{
    // The realtime client is disconnected without the mutex: disconnect() waits until no subscriber
    // runs, and a handler may be waiting for the mutex. Once it returns no handler runs again; the
    // flag covers a handler that took the mutex in between.
    closing = true;
    if (rtde_client) {
        rtde_client->logout(detail::kTeardownRequestTimeoutMs);
        rtde_client->disconnect();
    }
    Lock lock(state_mutex);
    if (rpc_client) {
        rpc_client->logout(detail::kTeardownRequestTimeoutMs);
        rpc_client->disconnect();
    }
    RP_LOG_DEBUG() << "~RealtimeRobotState()";
}

RobotInfo *RealtimeRobotState::record(int index)
{
    return selectsRecord(index) ? &robot_infos[index] : nullptr;
}

int RealtimeRobotState::selectRobot(int index)
{
    Lock lock(state_mutex);
    const int old_index = selection->index();
    const auto outcome = selection->select(robot_names, index);
    if (outcome == detail::RobotSelection::Outcome::OutOfRange) {
        return -1;
    }
    if (outcome == detail::RobotSelection::Outcome::Changed && index != old_index) {
        RP_LOG_DEBUG() << "Robot index changed from " << old_index << " to " << index;
    }
    return 0;
}

void RealtimeRobotState::reset()
{
    bool state_reset = false;
    {
        Lock lock(state_mutex);
        if (selection->index() != -1) {
            RP_LOG_DEBUG() << "Reset robot index.";
        }
        selection->clear();
        if (runtime_state != RuntimeState::Stopped) {
            runtime_state = RuntimeState::Stopped;
            state_reset = true;
        }
    }
    if (state_reset) {
        emit runtimeStateChanged(RuntimeState::Stopped);
    }
}

int RealtimeRobotState::startTrackRecord(const TrackCallback &callback, double period)
{
    TrackCallback replaced = callback;
    {
        Lock lock(state_mutex);
        track_counter = 0;
        track_period = framesOfPeriod(period);
        std::swap(track_callback, replaced);
    }
    return 0;
}

int RealtimeRobotState::stopTrackRecord()
{
    TrackCallback stopped;
    {
        Lock lock(state_mutex);
        track_period = 0;
        track_counter = 0;
        std::swap(track_callback, stopped);
    }
    return 0;
}

template <typename T>
void RealtimeRobotState::storeField(int index, T RobotInfo::*field, T value)
{
    Lock lock(state_mutex);
    if (RobotInfo *info = record(index)) {
        info->*field = std::move(value);
    }
}

void RealtimeRobotState::storeRobotMode(int index, RobotModeType mode)
{
    storeField(index, &RobotInfo::robot_mode, mode);
}

void RealtimeRobotState::storeSafetyMode(int index, SafetyModeType mode)
{
    storeField(index, &RobotInfo::safety_mode, mode);
}

void RealtimeRobotState::storeOperationalMode(int index, OperationalModeType mode)
{
    storeField(index, &RobotInfo::operational_mode, static_cast<int>(mode));
}

void RealtimeRobotState::storeLinkModeEnabled(int index, bool enabled)
{
    storeField(index, &RobotInfo::link_mode_enabled, enabled);
}

void RealtimeRobotState::storeFreedriveEnabled(int index, bool enabled)
{
    storeField(index, &RobotInfo::freedrive_enabled, enabled);
}

void RealtimeRobotState::storeSlowDownLevel(int index, int level)
{
    storeField(index, &RobotInfo::slow_down_level, level);
}

void RealtimeRobotState::storeRobotType(int index, std::string type, std::string sub_type)
{
    Lock lock(state_mutex);
    if (RobotInfo *info = record(index)) {
        info->robot_type = std::move(type);
        info->robot_sub_type = std::move(sub_type);
    }
}

bool RealtimeRobotState::storeDisconnectedModes(int index)
{
    Lock lock(state_mutex);
    RobotInfo *info = record(index);
    if (!info) {
        return false;
    }
    info->robot_mode = RobotModeType::NoController;
    info->safety_mode = SafetyModeType::Undefined;
    return true;
}

RobotModeType RealtimeRobotState::storedRobotMode(int index) const
{
    Lock lock(state_mutex);
    return selectsRecord(index) ? robot_infos[index].robot_mode : RobotModeType::NoController;
}

RobotInfo RealtimeRobotState::getRobotInfo(int index) const
{
    Lock lock(state_mutex);
    return selectsRecord(index) ? robot_infos[index] : RobotInfo{};
}

int RealtimeRobotState::getRobotIndex() const
{
    Lock lock(state_mutex);
    return selection->index();
}

std::string RealtimeRobotState::getRobotName() const
{
    Lock lock(state_mutex);
    return selection->name();
}

template <typename T>
T RealtimeRobotState::readSelected(T RobotInfo::*field, T fallback) const
{
    Lock lock(state_mutex);
    const int index = selection->index();
    return selectsRecord(index) ? robot_infos[index].*field : fallback;
}

template <typename T>
typename T::value_type RealtimeRobotState::readSelectedEntry(T RobotInfo::*field, int index,
                                                             typename T::value_type fallback) const
{
    Lock lock(state_mutex);
    const int selected = selection->index();
    if (!selectsRecord(selected)) {
        return fallback;
    }
    const T &values = robot_infos[selected].*field;
    return static_cast<unsigned>(index) < values.size() ? values[index] : fallback;
}

namespace
{
const std::string kUnknownType = "unkown";
}  // namespace

// clang-format off
int RealtimeRobotState::getDof() { return readSelected(&RobotInfo::dof, 6); }
bool RealtimeRobotState::isSimulationEnabled() { return readSelected(&RobotInfo::simulation_enabled, false); }
double RealtimeRobotState::getSpeedFraction() { return readSelected(&RobotInfo::speed_fraction, 0.0); }
std::string RealtimeRobotState::getRobotType() const { return readSelected(&RobotInfo::robot_type, kUnknownType); }
std::string RealtimeRobotState::getRobotSubType() const { return readSelected(&RobotInfo::robot_sub_type, kUnknownType); }
std::string RealtimeRobotState::getControlBoxType() const { return readSelected(&RobotInfo::control_box_type, kUnknownType); }
OperationalModeType RealtimeRobotState::getOperationalMode() const { return static_cast<OperationalModeType>(readSelected(&RobotInfo::operational_mode, 0)); }
bool RealtimeRobotState::isLinkModeEnabled() const { return readSelected(&RobotInfo::link_mode_enabled, false); }
bool RealtimeRobotState::isFreedriveEnabled() const { return readSelected(&RobotInfo::freedrive_enabled, false); }
int RealtimeRobotState::getSlowDownLevel() const { return readSelected(&RobotInfo::slow_down_level, 0); }
RobotModeType RealtimeRobotState::getRobotModeType() { return readSelected(&RobotInfo::robot_mode, RobotModeType::Disconnected); }
SafetyModeType RealtimeRobotState::getSafetyModeType() { return readSelected(&RobotInfo::safety_mode, SafetyModeType::Undefined); }
int RealtimeRobotState::getHandleModeType() { return readSelected(&RobotInfo::handle_mode, 0); }
int RealtimeRobotState::getHandleStateType() { return readSelected(&RobotInfo::handle_state, 0); }
std::string RealtimeRobotState::getToolUniqueId() { return readSelected(&RobotInfo::tool_unique_id, std::string()); }
std::string RealtimeRobotState::getMasterBoardUniqueId() { return readSelected(&RobotInfo::master_board_unique_id, std::string()); }
std::string RealtimeRobotState::getSlaveBoardUniqueId() { return readSelected(&RobotInfo::slave_board_unique_id, std::string()); }
std::string RealtimeRobotState::getPedestalUniqueId() { return readSelected(&RobotInfo::pedestal_unique_id, std::string()); }
std::string RealtimeRobotState::getHandleUniqueId() { return readSelected(&RobotInfo::handle_unique_id, std::string()); }
std::vector<std::string> RealtimeRobotState::getJointUniqueIds() { return readSelected(&RobotInfo::joint_unique_ids, {}); }
std::vector<std::string> RealtimeRobotState::getJointsModelType() { return readSelected(&RobotInfo::joints_model_type, {}); }
std::string RealtimeRobotState::getHardwareInterfaceVersion() { return readSelected(&RobotInfo::hardware_interface_version, std::string()); }
int RealtimeRobotState::getMasterBoardFirmwareVersion() { return readSelected(&RobotInfo::master_board_firmware_version, 0); }
int RealtimeRobotState::getMasterBoardHardwareVersion() { return readSelected(&RobotInfo::master_board_hardware_version, 0); }
int RealtimeRobotState::getSlaveBoardFirmwareVersion() { return readSelected(&RobotInfo::slave_board_firmware_version, 0); }
int RealtimeRobotState::getSlaveBoardHardwareVersion() { return readSelected(&RobotInfo::slave_board_hardware_version, 0); }
int RealtimeRobotState::getToolFirmwareVersion() { return readSelected(&RobotInfo::tool_firmware_version, 0); }
int RealtimeRobotState::getToolHardwareVersion() { return readSelected(&RobotInfo::tool_hardware_version, 0); }
int RealtimeRobotState::getPedestalFirmwareVersion() { return readSelected(&RobotInfo::pedestal_firmware_version, 0); }
int RealtimeRobotState::getPedestalHardwareVersion() { return readSelected(&RobotInfo::pedestal_hardware_version, 0); }
int RealtimeRobotState::getHandleFirmwareVersion() { return readSelected(&RobotInfo::handle_firmware_version, 0); }
int RealtimeRobotState::getHandleHardwareVersion() { return readSelected(&RobotInfo::handle_hardware_version, 0); }
std::vector<int> RealtimeRobotState::getJointFirmwareVersions() { return readSelected(&RobotInfo::joint_firmware_versions, {}); }
std::vector<int> RealtimeRobotState::getJointHardwareVersions() { return readSelected(&RobotInfo::joint_hardware_versions, {}); }
double RealtimeRobotState::getControlBoxTemperature() { return readSelected(&RobotInfo::control_box_temperature, 0.0); }
double RealtimeRobotState::getControlBoxHumidity() { return readSelected(&RobotInfo::control_box_humidity, 0.0); }
double RealtimeRobotState::getMainVoltage() { return readSelected(&RobotInfo::main_voltage, 0.0); }
double RealtimeRobotState::getMainCurrent() { return readSelected(&RobotInfo::robot_current, 0.0); }
double RealtimeRobotState::getRobotVoltage() { return readSelected(&RobotInfo::robot_voltage, 0.0); }
double RealtimeRobotState::getRobotCurrent() { return readSelected(&RobotInfo::robot_current, 0.0); }
int RealtimeRobotState::getCollisionLevel() { return readSelected(&RobotInfo::collision_level, 0); }
int RealtimeRobotState::getHandleIoStatus() { return readSelected(&RobotInfo::handle_io_status, 0); }
int RealtimeRobotState::getStandardDigitalInputNum() { return readSelected(&RobotInfo::standard_digital_input_num, 0); }
int RealtimeRobotState::getToolDigitalInputNum() { return readSelected(&RobotInfo::tool_digital_input_num, 0); }
int RealtimeRobotState::getConfigurableDigitalInputNum() { return readSelected(&RobotInfo::configurable_digital_input_num, 0); }
int RealtimeRobotState::getStandardDigitalOutputNum() { return readSelected(&RobotInfo::standard_digital_output_num, 0); }
int RealtimeRobotState::getToolDigitalOutputNum() { return readSelected(&RobotInfo::tool_digital_output_num, 0); }
int RealtimeRobotState::getConfigurableDigitalOutputNum() { return readSelected(&RobotInfo::configurable_digital_output_num, 0); }
int RealtimeRobotState::getStandardAnalogInputNum() { return readSelected(&RobotInfo::standard_analog_input_num, 0); }
int RealtimeRobotState::getToolAnalogInputNum() { return readSelected(&RobotInfo::tool_analog_input_num, 0); }
int RealtimeRobotState::getStandardAnalogOutputNum() { return readSelected(&RobotInfo::standard_analog_output_num, 0); }
int RealtimeRobotState::getToolAnalogOutputNum() { return readSelected(&RobotInfo::tool_analog_output_num, 0); }
int RealtimeRobotState::getStaticLinkInputNum() { return readSelected(&RobotInfo::static_link_input_num, 0); }
int RealtimeRobotState::getStaticLinkOutputNum() { return readSelected(&RobotInfo::static_link_output_num, 0); }
std::vector<double> RealtimeRobotState::getTcpPose() { return readSelected(&RobotInfo::tcp_pose, {}); }
std::vector<double> RealtimeRobotState::getToolPose() { return readSelected(&RobotInfo::tool_pose, {}); }
std::vector<double> RealtimeRobotState::getTcpSpeed() { return readSelected(&RobotInfo::tcp_speed, {}); }
std::vector<double> RealtimeRobotState::getTcpForce() { return readSelected(&RobotInfo::tcp_force, {}); }
std::vector<double> RealtimeRobotState::getTcpForceSensor() { return readSelected(&RobotInfo::tcp_force_sensor, {}); }
Payload RealtimeRobotState::getPayload() { return readSelected(&RobotInfo::payload, Payload{0.0, {}, {}, {}}); }
std::vector<double> RealtimeRobotState::getJointPositions() { return readSelected(&RobotInfo::joint_positions, {}); }
std::vector<double> RealtimeRobotState::getJointSpeeds() { return readSelected(&RobotInfo::joint_speeds, {}); }
std::vector<double> RealtimeRobotState::getJointCurrents() { return readSelected(&RobotInfo::joint_currents, {}); }
std::vector<double> RealtimeRobotState::getJointVoltages() { return readSelected(&RobotInfo::joint_voltages, {}); }
std::vector<double> RealtimeRobotState::getJointTemperatures() { return readSelected(&RobotInfo::joint_temperatures, {}); }
std::vector<JointStateType> RealtimeRobotState::getJointState() { return readSelected(&RobotInfo::joint_state, {}); }
std::vector<double> RealtimeRobotState::getJointMaxPositions() { return readSelected(&RobotInfo::joint_max_positions, {}); }
std::vector<double> RealtimeRobotState::getJointMinPositions() { return readSelected(&RobotInfo::joint_min_positions, {}); }
std::vector<double> RealtimeRobotState::getJointMaxSpeeds() { return readSelected(&RobotInfo::joint_max_speeds, {}); }
std::vector<double> RealtimeRobotState::getJointMaxAccelerations() { return readSelected(&RobotInfo::joint_max_accelerations, {}); }
std::vector<double> RealtimeRobotState::getTcpMaxSpeeds() { return readSelected(&RobotInfo::tcp_max_speeds, {}); }
std::vector<double> RealtimeRobotState::getTcpMaxAccelerations() { return readSelected(&RobotInfo::tcp_max_accelerations, {}); }
std::vector<double> RealtimeRobotState::getGravity() { return readSelected(&RobotInfo::gravity, {0.0, 0.0, -9.81}); }
DhParamMap RealtimeRobotState::getRealDHParam() { return readSelected(&RobotInfo::real_dh_param, defaultDhParam()); }
DhParamMap RealtimeRobotState::getTheoryDHParam() { return readSelected(&RobotInfo::theory_dh_param, defaultDhParam()); }

bool RealtimeRobotState::getStandardDigitalInput(int index) { return readSelectedEntry(&RobotInfo::standard_digital_input_bits, index, false); }
bool RealtimeRobotState::getToolDigitalInput(int index) { return readSelectedEntry(&RobotInfo::tool_digital_input_bits, index, false); }
bool RealtimeRobotState::getConfigurableDigitalInput(int index) { return readSelectedEntry(&RobotInfo::configurable_digital_input_bits, index, false); }
bool RealtimeRobotState::getStaticLinkInput(int index) { return readSelectedEntry(&RobotInfo::link_digital_input_bits, index, false); }
bool RealtimeRobotState::getStandardDigitalOutput(int index) { return readSelectedEntry(&RobotInfo::standard_digital_output_bits, index, false); }
bool RealtimeRobotState::getToolDigitalOutput(int index) { return readSelectedEntry(&RobotInfo::tool_digital_output_bits, index, false); }
bool RealtimeRobotState::getConfigurableDigitalOutput(int index) { return readSelectedEntry(&RobotInfo::configurable_digital_output_bits, index, false); }
bool RealtimeRobotState::getStaticLinkOutput(int index) { return readSelectedEntry(&RobotInfo::link_digital_output_bits, index, false); }
double RealtimeRobotState::getStandardAnalogInput(int index) { return readSelectedEntry(&RobotInfo::standard_analog_input_values, index, 0.0); }
double RealtimeRobotState::getToolAnalogInput(int index) { return readSelectedEntry(&RobotInfo::tool_analog_input_values, index, 0.0); }
double RealtimeRobotState::getStandardAnalogOutput(int index) { return readSelectedEntry(&RobotInfo::standard_analog_output_values, index, 0.0); }
double RealtimeRobotState::getToolAnalogOutput(int index) { return readSelectedEntry(&RobotInfo::tool_analog_output_values, index, 0.0); }
int RealtimeRobotState::getEncTickCount(int index) { return readSelectedEntry(&RobotInfo::enc_tick_count, index, 0); }
// clang-format on

std::vector<double> RealtimeRobotState::getTcpForce(const std::vector<double> &frame)
{
    std::vector<double> force;
    {
        Lock lock(state_mutex);
        const int selected = selection->index();
        if (!selectsRecord(selected)) {
            return {};
        }
        force = robot_infos[selected].tcp_force;
    }
    try {
        return robot_math::changeFTBase(robot_math::pose_inverse(frame), force);
    } catch (const std::exception &e) {
        RP_LOG_WARNING() << "getTcpForce throws an exception:" << e.what();
        return std::vector<double>(6, 0.0);
    }
}

std::vector<std::string> RealtimeRobotState::getRobotNames() const
{
    Lock lock(state_mutex);
    return robot_names;
}

int RealtimeRobotState::getThreadID()
{
    Lock lock(state_mutex);
    return thread_id;
}

int RealtimeRobotState::getLineNumber()
{
    Lock lock(state_mutex);
    return line_number;
}

RuntimeState RealtimeRobotState::getRuntimeState()
{
    Lock lock(state_mutex);
    return runtime_state;
}

std::vector<std::string> RealtimeRobotState::getModbusSignalNames() const
{
    Lock lock(state_mutex);
    return modbus_signal_names;
}

std::vector<int> RealtimeRobotState::getModbusSignalValues() const
{
    Lock lock(state_mutex);
    return modbus_signal_values;
}

std::vector<int> RealtimeRobotState::getModbusSignalErrors() const
{
    Lock lock(state_mutex);
    return modbus_signal_errors;
}

std::vector<GripperStatus> RealtimeRobotState::getAllGripperStatusData()
{
    Lock lock(state_mutex);
    return gripper_statuses;
}

GripperStatus RealtimeRobotState::getGripperStatusDataByName(const std::string &name)
{
    Lock lock(state_mutex);
    const auto found = std::find_if(gripper_statuses.begin(), gripper_statuses.end(),
                                    [&name](const GripperStatus &status) { return status.name == name; });
    return found != gripper_statuses.end() ? *found : GripperStatus{};
}

void RealtimeRobotState::addModbusSignalName(const std::string &name)
{
    Lock lock(state_mutex);
    modbus_signal_names.push_back(name);
    std::sort(modbus_signal_names.begin(), modbus_signal_names.end());
}

void RealtimeRobotState::removeModbusSignalName(const std::string &name)
{
    Lock lock(state_mutex);
    const auto found = std::find(modbus_signal_names.begin(), modbus_signal_names.end(), name);
    if (found != modbus_signal_names.end()) {
        modbus_signal_names.erase(found);
    }
}

}  // namespace korvu_sdk
}  // namespace temla
