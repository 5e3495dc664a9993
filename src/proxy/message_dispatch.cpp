#include <QDebug>

#include <stdexcept>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "library_log.h"
#include "message_codes.h"
#include "message_text.h"
#include "proxy_core.h"
#include "robot_proxy/error_code.h"
#include "robot_proxy/mode_names.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"
#include "state/realtime_robot_state_p.h"

namespace temla::korvu_sdk
{
namespace
{

using common_interface::OperationalModeType;
using common_interface::RobotModeType;
using common_interface::RobotMsg;
using common_interface::SafetyModeType;
using detail::MessageCode;

bool hasRecord(int idx)
{
    return idx >= 0 && idx < RealtimeRobotState::kRobotSlots;
}

// One batch of robot messages turned into the proxy's signals and the cache's record changes.
class MessageDispatch
{
public:
    MessageDispatch(RobotProxy &proxy, detail::ProxyCore &core)
        : proxy(proxy), core(core), state(*proxy.getRealTimeState()), writer(state)
    {
    }

    // Throws KorvuException(-8, "Max error code") after a batch that held an unknown code.
    void dispatchBatch(InputParser &parser);

private:
    // Codes 1, 2, 3 and 6: popups and their dismissal. True when the code is one of them.
    bool dispatchPopupControl(const RobotMsg &msg, int idx, int display_level, const QString &source_name);
    // Controller events that carry no text. True when the code is one of them.
    bool dispatchControllerEvent(const RobotMsg &msg);
    // The general path: the catalogue text, a popup or a signal of the code's own, the notifications.
    void dispatchTextMessage(const RobotMsg &msg, int idx, int display_level, const QString &source_name,
                             bool unknown);
    // Mode and state changes of a robot: stored into its record, then signalled.
    void applyRecordChange(const RobotMsg &msg, int idx);
    RobotModeType decodeRobotMode(const std::string &text, int idx);
    bool clientsConnected();

    RobotProxy &proxy;
    detail::ProxyCore &core;
    RealtimeRobotState &state;
    detail::CacheWriter writer;
};

}  // namespace

void RobotProxy::robotMessageCallback(InputParser &parser)
{
    MessageDispatch(*this, *core).dispatchBatch(parser);
}

void MessageDispatch::dispatchBatch(InputParser &parser)
{
    const auto batch = parser.popRobotMsgVector();
    bool batch_has_unknown = false;
    for (const auto &msg : batch) {
        const QString tmpl = ErrorCode::lookup(msg.code);
        // Each message is formatted by its own code; the batch only remembers that one was unknown.
        const bool unknown = tmpl == QLatin1String(error_stack::kMaxErrorCode);
        batch_has_unknown = batch_has_unknown || unknown;
        const int display_level = detail::displayLevel(msg.level);
        const QStringList source_parts = detail::splitSource(msg.source);
        try {
            if (source_parts.size() > 1) {
                const int line = source_parts[1].toInt(nullptr, 10);
                emit proxy.scriptError(line, unknown ? detail::unknownScriptErrorText(msg.code, msg.args)
                                                     : detail::fillTemplate(tmpl, msg.args));
                continue;
            }
            const int idx = core.robotIndexFor(msg.source);
            const QString &source_name = source_parts.front();
            if (dispatchPopupControl(msg, idx, display_level, source_name) || dispatchControllerEvent(msg)) {
                continue;
            }
            dispatchTextMessage(msg, idx, display_level, source_name, unknown);
            applyRecordChange(msg, idx);
        } catch (const std::logic_error &e) {
            // A malformed number drops this message's remaining effect; the batch goes on.
            RP_LOG_WARNING() << "Robot message" << msg.code << "has an invalid argument:" << e.what();
        }
    }
    if (batch_has_unknown) {
        throw common_interface::KorvuException(-8, error_stack::kMaxErrorCode);
    }
}

bool MessageDispatch::dispatchPopupControl(const RobotMsg &msg, int idx, int display_level,
                                           const QString &source_name)
{
    const auto &args = msg.args;
    switch (detail::messageCode(msg.code)) {
        case MessageCode::Popup: {
            const QString text = detail::argOr(args, 1);
            emit proxy.popup(idx, display_level, detail::argOr(args, 0), text,
                             detail::argOr(args, 2).toInt(nullptr, 10));
            emit proxy.robotMessageRecieved(idx, source_name, display_level, msg.code, text);
            emit proxy.robotMessageRecieved(idx, source_name, display_level, msg);
            return true;
        }
        case MessageCode::PopupDismiss:
            emit proxy.popupDismiss(detail::argOr(args, 0));
            return true;
        case MessageCode::PopupDismissById: {
            if (args.empty()) {
                RP_LOG_WARNING() << "Popup dismiss by id message has no id.";
                return true;
            }
            bool ok = false;
            const QString text = QString::fromStdString(args[0]);
            const int id = text.toInt(&ok, 10);
            if (ok) {
                emit proxy.popupDismissById(id);
            } else {
                RP_LOG_WARNING() << "Invalid popup dismiss id:" << text;
            }
            return true;
        }
        case MessageCode::SystemHalt:
            emit proxy.systemHalt(detail::argOr(args, 0));
            return true;
        default:
            return false;
    }
}

bool MessageDispatch::dispatchControllerEvent(const RobotMsg &msg)
{
    const auto &args = msg.args;
    switch (detail::messageCode(msg.code)) {
        case MessageCode::ModbusSignalCreated:
            emit proxy.modbusSignalCreated(detail::argOr(args, 0));
            if (!args.empty()) {
                state.addModbusSignalName(args[0]);
            }
            return true;
        case MessageCode::ModbusSignalRemoved:
            emit proxy.modbusSignalRemoved(detail::argOr(args, 0));
            if (!args.empty()) {
                state.removeModbusSignalName(args[0]);
            }
            return true;
        case MessageCode::Silent:
            return true;
        case MessageCode::RuntimeContext:
        case MessageCode::InterpreterContext:
            if (args.size() >= 4) {
                const int tid = detail::argOr(args, 0).toInt(nullptr, 10);
                const int lineno = detail::argOr(args, 1).toInt(nullptr, 10);
                const int index = detail::argOr(args, 2).toInt(nullptr, 10);
                if (detail::messageCode(msg.code) == MessageCode::RuntimeContext) {
                    emit proxy.runtimeContextUpdated(tid, lineno, index, detail::argOr(args, 3));
                } else {
                    emit proxy.interpContextUpdated(tid, lineno, index, detail::argOr(args, 3));
                }
            }
            return true;
        case MessageCode::TaskDeleted:
            emit proxy.taskDeleted(detail::argOr(args, 0).toInt(nullptr, 10));
            return true;
        case MessageCode::PnValueChanged:
            proxy.pnValueChanged(args);
            return true;
        case MessageCode::PnConnectionChanged:
            if (!args.empty()) {
                const bool now_connected = args[0] == "true";
                core.setPnConnected(now_connected);
                RP_LOG_DEBUG() << "pn_server connected changed:" << (now_connected ? "true" : "false");
                if (now_connected) {
                    core.startPnFill();
                }
            }
            return true;
        case MessageCode::PnioDeviceChanged:
            if (!args.empty()) {
                emit proxy.pnioDeviceChanged(detail::argOr(args, 0));
            }
            return true;
        case MessageCode::PnioNetworkChanged:
            if (args.size() >= 3) {
                emit proxy.pnioNetworkChanged(detail::argOr(args, 0), detail::argOr(args, 1),
                                              detail::argOr(args, 2));
            }
            return true;
        case MessageCode::IcmStatusChanged:
            if (!args.empty()) {
                const bool status = args[0] == "Connected";
                core.setIcmConnected(status);
                emit proxy.icmStatusChanged(status);
            }
            return true;
        case MessageCode::EipValueChanged:
            proxy.eipValueChanged(args);
            return true;
        case MessageCode::EipConnectionChanged:
            if (!args.empty()) {
                const int status = std::stoi(args[0]);
                core.setEipStatus(status);
                emit proxy.sigEipConnectionStatusChanged(status);
                RP_LOG_DEBUG() << "eip_slave_server connected changed:" << status;
                if (status == 1) {
                    core.startEipFill();
                }
            }
            return true;
        case MessageCode::TeachPendantEnabled:
            if (!args.empty()) {
                emit proxy.teachPendantEnabledChanged(args[0] == "true");
            }
            return true;
        default:
            return false;
    }
}

void MessageDispatch::dispatchTextMessage(const RobotMsg &msg, int idx, int display_level,
                                          const QString &source_name, bool unknown)
{
    const auto &args = msg.args;
    const QString body = unknown ? detail::unknownMessageText(msg.code, args)
                                 : detail::fillTemplate(ErrorCode::lookup(msg.code), args);
    const QString text = detail::frameText(msg.code, body);
    switch (detail::messageCode(msg.code)) {
        case MessageCode::JointMovedDuringPoweroff:
            emit proxy.jointMovedDuringPoweroff(idx);
            break;
        case MessageCode::ToolSensorChanged:
            emit proxy.robotToolSensorChanged(idx, detail::argOr(args, 0));
            break;
        case MessageCode::ToolSensorRemoved:
            emit proxy.robotToolSensorRemoved(idx);
            break;
        case MessageCode::ToolSensorStatus:
            if (!args.empty()) {
                emit proxy.robotToolSensorStatusChanged(idx, args[0] == "true");
            }
            break;
        case MessageCode::RobotCollision:
            emit proxy.robotCollisionOccurred(idx, detail::argOr(args, 0, QStringLiteral("0")));
            break;
        case MessageCode::ProgramLoaded:
            emit proxy.programLoaded(idx, detail::argOr(args, 0));
            break;
        default:
            if (detail::isAxisError(msg.code)) {
                emit proxy.popupAxisError(idx, display_level, source_name, text, 0, detail::argOr(args, 0));
            } else if (msg.level <= 2) {
                emit proxy.popup(idx, display_level, source_name, text, 0);
            }
            break;
    }
    emit proxy.robotMessageRecieved(idx, source_name, display_level, msg.code, text);
    emit proxy.robotMessageRecieved(idx, source_name, display_level, msg);
}

bool MessageDispatch::clientsConnected()
{
    return proxy.getRtdeClient()->hasConnected() && proxy.getRpcClient()->hasConnected();
}

RobotModeType MessageDispatch::decodeRobotMode(const std::string &text, int idx)
{
    const RobotModeType previous = writer.storedRobotMode(idx);
    const RobotModeType mode =
        common_interface::robotModeFromText(text).value_or(RobotModeType::NoController);
    const bool refresh = hasRecord(idx);
    const bool after_disconnected = refresh && previous == RobotModeType::Disconnected;
    switch (mode) {
        case RobotModeType::Disconnected:
            break;
        case RobotModeType::Idle:
            if (after_disconnected) {
                state.updateRobotInformationOnLogin();
            } else if (refresh && previous == RobotModeType::PowerOn) {
                state.updateRobotInformationOnPoweron(idx);
            }
            break;
        case RobotModeType::Running:
            if (refresh) {
                state.updateGravity(idx);
            }
            if (after_disconnected) {
                state.updateRobotInformationOnLogin();
            }
            break;
        default:
            if (after_disconnected) {
                state.updateRobotInformationOnLogin();
            }
            break;
    }
    return clientsConnected() ? mode : RobotModeType::NoController;
}

void MessageDispatch::applyRecordChange(const RobotMsg &msg, int idx)
{
    const auto &args = msg.args;
    if (args.empty()) {
        return;
    }
    const std::string &first = args[0];
    switch (detail::messageCode(msg.code)) {
        case MessageCode::OperationalModeChanged: {
            const auto mode =
                common_interface::operationalModeFromText(first).value_or(OperationalModeType::Disabled);
            writer.storeOperationalMode(idx, mode);
            emit proxy.operationalModeChanged(idx, mode);
            break;
        }
        case MessageCode::SafetyModeChanged: {
            auto mode = common_interface::safetyModeFromText(first).value_or(SafetyModeType::Undefined);
            if (!clientsConnected()) {
                mode = SafetyModeType::Undefined;
            }
            writer.storeSafetyMode(idx, mode);
            emit proxy.safetyModeChanged(idx, mode);
            break;
        }
        case MessageCode::RobotModeChanged: {
            const RobotModeType mode = decodeRobotMode(first, idx);
            writer.storeRobotMode(idx, mode);
            emit proxy.robotModeChanged(idx, mode);
            break;
        }
        case MessageCode::FreedriveChanged: {
            const bool enabled = first == "true";
            writer.storeFreedriveEnabled(idx, enabled);
            emit proxy.freedriveEnabled(idx, enabled);
            break;
        }
        case MessageCode::RobotTypeChanged:
            if (args.size() >= 2) {
                writer.storeRobotType(idx, args[0], args[1]);
                if (hasRecord(idx)) {
                    state.updateHDParamOnRobotTypeChanged(idx);
                }
                emit proxy.robotTypeChanged(QString::fromStdString(args[0]), QString::fromStdString(args[1]));
            }
            break;
        case MessageCode::LinkModeChanged:
            if (first == "true" || first == "false") {
                const bool enabled = first == "true";
                writer.storeLinkModeEnabled(idx, enabled);
                emit proxy.linkModeChanged(idx, enabled);
            }
            break;
        case MessageCode::SlowDownChanged: {
            const int level = std::stoi(first);
            writer.storeSlowDownLevel(idx, level);
            emit proxy.slowDownChanged(idx, level);
            break;
        }
        default:
            break;
    }
}

}  // namespace temla::korvu_sdk
