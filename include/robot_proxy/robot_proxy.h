#pragma once

/// @file
/// RobotProxy: the application's one object for a controller. It owns the controller clients and the
/// realtime state cache, connects and logs in, selects a robot, hands out that robot's interfaces, sends
/// scripts, keeps copies of the fieldbus address tables and turns the controller's robot messages into
/// Qt signals.
///
/// Threads. Public operations run on the caller's thread. Robot messages are dispatched on the realtime
/// client's delivery thread, script callbacks on the script client's thread, connection events on the
/// client's event thread; their signals are emitted there and reach receivers in other threads queued
/// (all argument types are registered). nonblock_connect/nonblock_connect2 and the fieldbus table fills
/// run on detached worker threads. The workers share ownership of the state they use; destroying the
/// proxy cancels them (a waiting table fill stops at once) and never waits for them.

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "korvu_sdk/api.h"
#include "korvu_sdk/types.h"
#include "robot_proxy/export.h"

/// The library (proxy, realtime state cache) and the controller SDK's clients.
namespace temla::korvu_sdk
{

class InputParser;
class RpcClient;
class RtdeClient;
class ScriptClient;
class RealtimeRobotState;

namespace detail
{
class ProxyCore;
class ProxyAccess;
}  // namespace detail

/// Undoes the controller's escaping of script texts: "\n" and "\t" become a line feed and a tab, "\\" one
/// backslash, a backslash before any other byte is dropped with that byte, a trailing backslash stays.
ROBOT_PROXY_EXPORT std::string unescape(const std::string &text);

/// The application's one object for a controller; see this file's description.
class ROBOT_PROXY_EXPORT RobotProxy : public QObject
{
    Q_OBJECT

public:
    /// Robot mode of one robot.
    using RobotModeType = common_interface::RobotModeType;
    /// Safety mode of one robot.
    using SafetyModeType = common_interface::SafetyModeType;
    /// Operational mode of one robot.
    using OperationalModeType = common_interface::OperationalModeType;
    /// State of the script runtime.
    using RuntimeState = common_interface::RuntimeState;
    /// One robot message of the controller.
    using RobotMsg = common_interface::RobotMsg;
    /// A fieldbus address table: one row of bytes per entry.
    using AddressTable = std::vector<std::vector<uint8_t>>;

    /// Why the last failing operation (connect, login, selectRobot, sendScript) failed. The operations
    /// keep their return values; this tells the application what to do about a failure.
    enum class Failure : int {
        /// no failure recorded
        None = 0,
        NotConnected = 1,        ///< login before connect, or a client lost its connection
        ConnectFailed = 2,       ///< a server refused the connection or did not answer within its bound
        BadAddress = 3,          ///< the address or port cannot be used
        LoginRejected = 4,       ///< the controller refused the user name or password
        NoAnswer = 5,            ///< a request timed out or the connection broke while it waited
        NoMessageChannel = 6,    ///< the controller gave the robot messages no realtime channel
        RefreshFailed = 7,       ///< the robot list or the runtime state could not be read at login
        OutOfRange = 8,          ///< selectRobot with an index outside the robot names
        FieldbusUnreadable = 9,  ///< the robot is selected, its fieldbus registers could not be read
        ScriptNotSent = 10,      ///< the script client did not take the script
    };
    /// The last failure: its kind, the underlying code and a text for the operator.
    struct LastError {
        /// Kind of the failure.
        Failure failure = Failure::None;
        /// The SDK's or the controller's own code where there is one (the result of the failing SDK
        /// call, or the controller's error code such as -201 for a refused login), else 0.
        int code = 0;
        /// Description of the failure.
        QString text;
    };

    /// Creates the clients and the state cache; connects nothing.
    explicit RobotProxy(QObject *parent = nullptr);
    /// Cancels the worker threads; never waits for them.
    ~RobotProxy() override;

    /// Not copyable.
    RobotProxy(const RobotProxy &) = delete;
    /// Not copyable.
    RobotProxy &operator=(const RobotProxy &) = delete;

    /// The RPC client.
    std::shared_ptr<RpcClient> getRpcClient();
    /// The realtime data client.
    std::shared_ptr<RtdeClient> getRtdeClient();
    /// The script client.
    std::shared_ptr<ScriptClient> getScriptClient();
    /// The realtime state cache.
    std::shared_ptr<RealtimeRobotState> getRealTimeState();

    // ---- Connection and login ----

    /// Connects whichever client is not connected yet (RPC at port + 4, realtime at port + 10, script at
    /// port + 2). 0, or the failing client's result; `connected(ip, port)` when 0.
    int connect(const QString &ip, int port);
    /// Runs connect on a detached worker and returns 0 at once; the callback runs on that worker.
    int nonblock_connect(const QString &ip, int port, std::function<void(bool)> callback);
    /// As nonblock_connect; the callback receives connect's result.
    int nonblock_connect2(const QString &ip, int port, std::function<void(int)> callback);
    /// 0; -1 not connected, RPC login failed or no robot-message channel; -2 realtime, -3 script login.
    int login(const QString &user, const QString &password);
    /// Disconnects the three clients.
    int disconnectFromServer();
    /// Whether the clients are connected.
    bool hasConnected();
    /// All three clients logged in and a robot selected.
    bool hasLogined();
    /// The disconnection report. The SDK's loss events run it once per lost connection, however many
    /// clients report the loss; the next successful connect arms it again.
    void sendDisconnectedSignal();
    /// Set by every failing operation; a successful one leaves it as it was.
    LastError lastError() const;

    /// Receives every log line of the library (its own and the SDK's it forwards) in place of Qt's
    /// logger, with the context Qt's logger would have given it (category "default"), so that an
    /// application can silence or route them without touching its own lines. An empty handler restores
    /// the default: Qt's logger. Called on whichever thread logs, possibly with the cache's lock held, so
    /// it must not wait for another thread that uses the proxy or the cache; an exception it throws is
    /// caught and reported through Qt's logger.
    using LogHandler =
        std::function<void(QtMsgType type, const QMessageLogContext &context, const QString &message)>;
    /// Installs handler for every log line of the library (an empty one restores Qt's logger).
    static void setLogHandler(LogHandler handler);

    /// Bound of every RPC request in milliseconds (100 until the application sets another). The
    /// library's own slow request raises it for itself and puts this value back.
    void setRequestTimeout(int timeout_ms);
    /// The bound of every RPC request in milliseconds.
    int requestTimeout() const;

    // ---- Robot selection and interfaces ----

    /// 0 selected (or cleared for a negative index); -1 index out of range.
    int selectRobot(int index);
    /// Names of the controller's robots.
    std::vector<std::string> getRobotNames();
    /// Name of the selected robot, empty when none.
    QString getRobotName() const;
    /// Index of the selected robot, -1 when none.
    int getRobotIndex() const;

    /// @name Interfaces of the selected robot
    /// @{

    /// An interface of the selected robot, as the RPC client gives it for the selected robot name.
    common_interface::RobotInterfacePtr currentRobotRpcInterface();
    common_interface::RobotConfigPtr getRobotConfig();
    common_interface::MotionControlPtr getMotionControl();
    common_interface::ForceControlPtr getForceControl();
    common_interface::IoControlPtr getIoControl();
    common_interface::SyncMovePtr getSyncMove();
    common_interface::RobotAlgorithmPtr getRobotAlgorithm();
    common_interface::RobotManagePtr getRobotManage();
    common_interface::RobotStatePtr getRobotState();
    common_interface::TracePtr getTrace();
    /// @}

    /// The interface of the robot called name.
    common_interface::RobotInterfacePtr getRobotInterface(const std::string &name);
    /// Names of the controller's external axes.
    std::vector<std::string> getAxisNames();
    /// The interface of the external axis called name.
    common_interface::AxisInterfacePtr getAxisInterface(const std::string &name);

    /// @name Controller interfaces
    /// @{

    /// An interface of the controller itself, as the RPC client gives it.
    common_interface::SystemInfoPtr getSystemInfo();
    common_interface::RuntimeMachinePtr getRuntimeMachine();
    common_interface::RegisterControlPtr getRegisterControl();
    common_interface::GripperInterfacePtr getGripperInterface();
    /// @}

    /// Kinematic parameters of the selected robot; six zeros per parameter when the controller fails.
    common_interface::KinematicsParam getDH(bool real);

    // ---- Script channel ----

    /// 1 for an empty text, otherwise the script client's result.
    int sendScript(const std::string &script);
    /// The last script sent while the current robot index was selected.
    std::string getScript() const;

    // ---- Fieldbus address tables ----

    /// Fills the PROFINET address table from the controller on a worker thread.
    void initPNCacheData();
    /// Fills the EtherNet/IP address table from the controller on a worker thread.
    void initEIPCacheData();
    /// Single-entry changes from robot messages 30 and 50. Throw std::invalid_argument or
    /// std::out_of_range when a used argument is not a decimal integer.
    void pnValueChanged(const std::vector<std::string> &args);
    /// As pnValueChanged, for the EtherNet/IP table.
    void eipValueChanged(const std::vector<std::string> &args);
    /// Copy of the PROFINET address table.
    AddressTable getPnAddressData();
    /// Copy of the EtherNet/IP address table.
    AddressTable getEipAddressData();
    /// Whether the industrial communication module is connected.
    bool icmIsConnected();
    /// EtherNet/IP connection status.
    int getEipConnected();

    // ---- Robot messages ----

    /// Subscriber of "R1_message". Throws KorvuException(-8, "Max error code") after a batch that held
    /// a code the catalogue does not list.
    void robotMessageCallback(InputParser &parser);
    /// Template of the code, placeholders unfilled.
    QString getErrorCodeMsg(int code);

Q_SIGNALS:
    /// The clients connected to ip and port.
    void connected(QString ip, int port);
    /// The connection to the controller was lost or closed.
    void disconnected();
    /// A login finished; has_login tells whether it succeeded.
    void logined(bool has_login);
    /// A message for the operator of robot robot_index: level, title, text and display mode.
    void popup(int robot_index, int level, QString title, QString msg, int mode);
    /// As popup, for a fault of the joint or axis called name.
    void popupAxisError(int robot_index, int level, QString title, QString msg, int mode, QString name);
    /// The popups of source src are to be closed.
    void popupDismiss(QString src);
    /// The popup id is to be closed.
    void popupDismissById(int id);
    /// The controller halted the system; src names the source.
    void systemHalt(QString src);
    /// The script client reported an error.
    void scriptError(QString);
    /// A script error at line lineno.
    void scriptError(int lineno, QString error);
    /// The script client reported an error in two parts.
    void scriptError2(QString, QString);
    /// A script variable (name, value) changed.
    void variableUpdate(QString, QString);
    /// The script runtime changed state.
    void runtimeStateChanged(RuntimeState state);
    /// Freedrive of robot robot_index was switched on or off.
    void freedriveEnabled(int robot_index, bool enabled);
    /// A robot message: source, level, code and filled text.
    void robotMessageRecieved(int robot_index, QString src, int level, int code, QString msg);
    /// A robot message as the controller sent it.
    void robotMessageRecieved(int robot_index, QString src, int level, RobotMsg msg);
    /// Robot robot_index entered operational mode mode.
    void operationalModeChanged(int robot_index, OperationalModeType mode);
    /// Link mode of robot robot_index was switched on or off.
    void linkModeChanged(int robot_index, bool enable);
    /// Robot robot_index entered safety mode mode.
    void safetyModeChanged(int robot_index, SafetyModeType mode);
    /// Robot robot_index entered robot mode mode.
    void robotModeChanged(int robot_index, RobotModeType mode);
    /// The selected robot's type and sub-type.
    void robotTypeChanged(QString type, QString subtype);
    /// The slow-down level of robot robot_index changed.
    void slowDownChanged(int robot_index, int level);
    /// The runtime reached a new line of script thread tid.
    void runtimeContextUpdated(int tid, int lineno, int index, QString comment);
    /// The interpreter reached a new line of script thread tid.
    void interpContextUpdated(int tid, int lineno, int index, QString comment);
    /// Script thread tid ended.
    void taskDeleted(int tid);
    /// The industrial communication module connected or disconnected.
    void icmStatusChanged(bool status);
    /// The PROFINET device name changed.
    void pnioDeviceChanged(QString name);
    /// The PROFINET network settings changed.
    void pnioNetworkChanged(QString ip, QString subnet_mask, QString gateway);
    /// The EtherNet/IP connection status changed.
    void sigEipConnectionStatusChanged(int);
    /// The teach pendant was enabled or disabled.
    void teachPendantEnabledChanged(bool status);
    /// A Modbus signal was added.
    void modbusSignalCreated(QString name);
    /// A Modbus signal was removed.
    void modbusSignalRemoved(QString name);
    /// A joint of robot robot_index moved while it was powered off.
    void jointMovedDuringPoweroff(int robot_index);
    /// Robot robot_index detected a collision.
    void robotCollisionOccurred(int robot_index, QString msg);
    /// A tool sensor was attached to robot robot_index.
    void robotToolSensorChanged(int robot_index, QString sensor_id);
    /// The tool sensor of robot robot_index was removed.
    void robotToolSensorRemoved(int robot_index);
    /// The tool sensor status of robot robot_index changed.
    void robotToolSensorStatusChanged(int robot_index, bool status);
    /// Robot robot_index loaded program.
    void programLoaded(int robot_index, QString program);

private:
    // The library's collaborators and tests reach the core through detail::ProxyAccess.
    friend class detail::ProxyAccess;

    void installClientHandlers();
    int loginSteps(const std::string &name, const std::string &secret);
    void emitSelectionSnapshot(int index);
    void readFieldbusRegisters();

    std::shared_ptr<RpcClient> rpc_client;
    std::shared_ptr<RtdeClient> rtde_client;
    std::shared_ptr<ScriptClient> script_client;
    std::shared_ptr<RealtimeRobotState> realtime_state;
    // What the worker threads and SDK callbacks share with the proxy; outlives it while they run.
    std::shared_ptr<detail::ProxyCore> core;
};

}  // namespace temla::korvu_sdk

Q_DECLARE_METATYPE(temla::common_interface::RobotMsg)
Q_DECLARE_METATYPE(temla::common_interface::RobotModeType)
Q_DECLARE_METATYPE(temla::common_interface::SafetyModeType)
Q_DECLARE_METATYPE(temla::common_interface::OperationalModeType)
Q_DECLARE_METATYPE(temla::common_interface::RuntimeState)
