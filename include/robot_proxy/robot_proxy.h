#pragma once

// RobotProxy: the application's one object for a controller. It owns the controller clients and the
// realtime state cache, connects and logs in, selects a robot, hands out that robot's interfaces, sends
// scripts, keeps copies of the fieldbus address tables and turns the controller's robot messages into
// Qt signals.
//
// Threads. Public operations run on the caller's thread. Robot messages are dispatched on the realtime
// client's delivery thread, script callbacks on the script client's thread, connection events on the
// client's event thread; their signals are emitted there and reach receivers in other threads queued
// (all argument types are registered). nonblock_connect/nonblock_connect2 and the fieldbus table fills
// run on detached worker threads. The workers share ownership of the state they use; destroying the
// proxy cancels them (a waiting table fill stops at once) and never waits for them.

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

// Undoes the controller's escaping of script texts: "\n" and "\t" become a line feed and a tab, "\\" one
// backslash, a backslash before any other byte is dropped with that byte, a trailing backslash stays.
ROBOT_PROXY_EXPORT std::string unescape(const std::string &text);

class ROBOT_PROXY_EXPORT RobotProxy : public QObject
{
    Q_OBJECT

public:
    using RobotModeType = common_interface::RobotModeType;
    using SafetyModeType = common_interface::SafetyModeType;
    using OperationalModeType = common_interface::OperationalModeType;
    using RuntimeState = common_interface::RuntimeState;
    using RobotMsg = common_interface::RobotMsg;
    using AddressTable = std::vector<std::vector<uint8_t>>;

    // Why the last failing operation (connect, login, selectRobot, sendScript) failed. The operations
    // keep their return values; this tells the application what to do about a failure.
    enum class Failure : int {
        None = 0,
        NotConnected = 1,        // login before connect, or a client lost its connection
        ConnectFailed = 2,       // a server refused the connection or did not answer within its bound
        BadAddress = 3,          // the address or port cannot be used
        LoginRejected = 4,       // the controller refused the user name or password
        NoAnswer = 5,            // a request timed out or the connection broke while it waited
        NoMessageChannel = 6,    // the controller gave the robot messages no realtime channel
        RefreshFailed = 7,       // the robot list or the runtime state could not be read at login
        OutOfRange = 8,          // selectRobot with an index outside the robot names
        FieldbusUnreadable = 9,  // the robot is selected, its fieldbus registers could not be read
        ScriptNotSent = 10,      // the script client did not take the script
    };
    struct LastError {
        Failure failure = Failure::None;
        // The SDK's or the controller's own code where there is one (the result of the failing SDK
        // call, or the controller's error code such as -201 for a refused login), else 0.
        int code = 0;
        QString text;
    };

    explicit RobotProxy(QObject *parent = nullptr);
    ~RobotProxy() override;

    RobotProxy(const RobotProxy &) = delete;
    RobotProxy &operator=(const RobotProxy &) = delete;

    std::shared_ptr<RpcClient> getRpcClient();
    std::shared_ptr<RtdeClient> getRtdeClient();
    std::shared_ptr<ScriptClient> getScriptClient();
    std::shared_ptr<RealtimeRobotState> getRealTimeState();

    // ---- Connection and login ----

    // Connects whichever client is not connected yet (RPC at port + 4, realtime at port + 10, script at
    // port + 2). 0, or the failing client's result; `connected(ip, port)` when 0.
    int connect(const QString &ip, int port);
    // Runs connect on a detached worker and returns 0 at once; the callback runs on that worker.
    int nonblock_connect(const QString &ip, int port, std::function<void(bool)> callback);
    int nonblock_connect2(const QString &ip, int port, std::function<void(int)> callback);
    // 0; -1 not connected, RPC login failed or no robot-message channel; -2 realtime, -3 script login.
    int login(const QString &user, const QString &password);
    int disconnectFromServer();
    bool hasConnected();
    // All three clients logged in and a robot selected.
    bool hasLogined();
    // The disconnection report. The SDK's loss events run it once per lost connection, however many
    // clients report the loss; the next successful connect arms it again.
    void sendDisconnectedSignal();
    // Set by every failing operation; a successful one leaves it as it was.
    LastError lastError() const;

    // Receives every log line of the library (its own and the SDK's it forwards) in place of Qt's
    // logger, with the context Qt's logger would have given it (category "default"), so that an
    // application can silence or route them without touching its own lines. An empty handler restores
    // the default: Qt's logger. Called on whichever thread logs, possibly with the cache's lock held, so
    // it must not wait for another thread that uses the proxy or the cache; an exception it throws is
    // caught and reported through Qt's logger.
    using LogHandler =
        std::function<void(QtMsgType type, const QMessageLogContext &context, const QString &message)>;
    static void setLogHandler(LogHandler handler);

    // Bound of every RPC request in milliseconds (100 until the application sets another). The
    // library's own slow request raises it for itself and puts this value back.
    void setRequestTimeout(int timeout_ms);
    int requestTimeout() const;

    // ---- Robot selection and interfaces ----

    // 0 selected (or cleared for a negative index); -1 index out of range.
    int selectRobot(int index);
    std::vector<std::string> getRobotNames();
    QString getRobotName() const;
    int getRobotIndex() const;

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

    common_interface::RobotInterfacePtr getRobotInterface(const std::string &name);
    std::vector<std::string> getAxisNames();
    common_interface::AxisInterfacePtr getAxisInterface(const std::string &name);
    common_interface::SystemInfoPtr getSystemInfo();
    common_interface::RuntimeMachinePtr getRuntimeMachine();
    common_interface::RegisterControlPtr getRegisterControl();
    common_interface::GripperInterfacePtr getGripperInterface();

    // Kinematic parameters of the selected robot; six zeros per parameter when the controller fails.
    common_interface::KinematicsParam getDH(bool real);

    // ---- Script channel ----

    // 1 for an empty text, otherwise the script client's result.
    int sendScript(const std::string &script);
    // The last script sent while the current robot index was selected.
    std::string getScript() const;

    // ---- Fieldbus address tables ----

    void initPNCacheData();
    void initEIPCacheData();
    // Single-entry changes from robot messages 30 and 50. Throw std::invalid_argument or
    // std::out_of_range when a used argument is not a decimal integer.
    void pnValueChanged(const std::vector<std::string> &args);
    void eipValueChanged(const std::vector<std::string> &args);
    AddressTable getPnAddressData();
    AddressTable getEipAddressData();
    bool icmIsConnected();
    int getEipConnected();

    // ---- Robot messages ----

    // Subscriber of "R1_message". Throws KorvuException(-8, "Max error code") after a batch that held
    // a code the catalogue does not list.
    void robotMessageCallback(InputParser &parser);
    // Template of the code, placeholders unfilled.
    QString getErrorCodeMsg(int code);

Q_SIGNALS:
    void connected(QString ip, int port);
    void disconnected();
    void logined(bool has_login);
    void popup(int robot_index, int level, QString title, QString msg, int mode);
    void popupAxisError(int robot_index, int level, QString title, QString msg, int mode, QString name);
    void popupDismiss(QString src);
    void popupDismissById(int id);
    void systemHalt(QString src);
    void scriptError(QString);
    void scriptError(int lineno, QString error);
    void scriptError2(QString, QString);
    void variableUpdate(QString, QString);
    void runtimeStateChanged(RuntimeState state);
    void freedriveEnabled(int robot_index, bool enabled);
    void robotMessageRecieved(int robot_index, QString src, int level, int code, QString msg);
    void robotMessageRecieved(int robot_index, QString src, int level, RobotMsg msg);
    void operationalModeChanged(int robot_index, OperationalModeType mode);
    void linkModeChanged(int robot_index, bool enable);
    void safetyModeChanged(int robot_index, SafetyModeType mode);
    void robotModeChanged(int robot_index, RobotModeType mode);
    void robotTypeChanged(QString type, QString subtype);
    void slowDownChanged(int robot_index, int level);
    void runtimeContextUpdated(int tid, int lineno, int index, QString comment);
    void interpContextUpdated(int tid, int lineno, int index, QString comment);
    void taskDeleted(int tid);
    void icmStatusChanged(bool status);
    void pnioDeviceChanged(QString name);
    void pnioNetworkChanged(QString ip, QString subnet_mask, QString gateway);
    void sigEipConnectionStatusChanged(int);
    void teachPendantEnabledChanged(bool status);
    void modbusSignalCreated(QString name);
    void modbusSignalRemoved(QString name);
    void jointMovedDuringPoweroff(int robot_index);
    void robotCollisionOccurred(int robot_index, QString msg);
    void robotToolSensorChanged(int robot_index, QString sensor_id);
    void robotToolSensorRemoved(int robot_index);
    void robotToolSensorStatusChanged(int robot_index, bool status);
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
