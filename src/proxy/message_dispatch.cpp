#include <QDebug>

#include <stdexcept>

#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "message_text.h"
#include "proxy_core.h"
#include "robot_proxy/error_code.h"
#include "robot_proxy/mode_names.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk
{
namespace
{

using common_interface::RobotModeType;

bool isAxisErrorCode(int code)
{
    return code >= 11001 && code <= 11999;
}

bool hasRecord(int idx)
{
    return idx >= 0 && idx < RealtimeRobotState::kRobotSlots;
}

}  // namespace

void RobotProxy::robotMessageCallback(InputParser &parser)
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
                emit scriptError(line, unknown ? detail::unknownScriptErrorText(msg.code, msg.args)
                                               : detail::fillTemplate(tmpl, msg.args));
                continue;
            }
            const int idx = core->robotIndexFor(msg.source);
            const QString &source_name = source_parts.front();
            if (dispatchOwnCode(msg, idx, display_level, source_name) || dispatchFirst(msg)) {
                continue;
            }
            dispatchGeneral(msg, idx, display_level, source_name, unknown);
            dispatchSecond(msg, idx);
        } catch (const std::logic_error &e) {
            // A malformed number drops this message's remaining effect; the batch goes on.
            qWarning() << "Robot message" << msg.code << "has an invalid argument:" << e.what();
        }
    }
    if (batch_has_unknown) {
        throw common_interface::KorvuException(-8, error_stack::kMaxErrorCode);
    }
}

bool RobotProxy::dispatchOwnCode(const RobotMsg &msg, int idx, int display_level, const QString &source_name)
{
    const auto &args = msg.args;
    switch (msg.code) {
        case 1: {
            const QString text = detail::argOr(args, 1);
            emit popup(idx, display_level, detail::argOr(args, 0), text,
                       detail::argOr(args, 2).toInt(nullptr, 10));
            emit robotMessageRecieved(idx, source_name, display_level, 1, text);
            emit robotMessageRecieved(idx, source_name, display_level, msg);
            return true;
        }
        case 2:
            emit popupDismiss(detail::argOr(args, 0));
            return true;
        case 6: {
            if (args.empty()) {
                qWarning() << "Popup dismiss by id message has no id.";
                return true;
            }
            bool ok = false;
            const QString text = QString::fromStdString(args[0]);
            const int id = text.toInt(&ok, 10);
            if (ok) {
                emit popupDismissById(id);
            } else {
                qWarning() << "Invalid popup dismiss id:" << text;
            }
            return true;
        }
        case 3:
            emit systemHalt(detail::argOr(args, 0));
            return true;
        default:
            return false;
    }
}

bool RobotProxy::dispatchFirst(const RobotMsg &msg)
{
    const auto &args = msg.args;
    switch (msg.code) {
        case 10:
            emit modbusSignalCreated(detail::argOr(args, 0));
            if (!args.empty()) {
                realtime_state->addModbusSignalName(args[0]);
            }
            return true;
        case 11:
            emit modbusSignalRemoved(detail::argOr(args, 0));
            if (!args.empty()) {
                realtime_state->removeModbusSignalName(args[0]);
            }
            return true;
        case 12:
            return true;
        case 13:
        case 14:
            if (args.size() >= 4) {
                const int tid = detail::argOr(args, 0).toInt(nullptr, 10);
                const int lineno = detail::argOr(args, 1).toInt(nullptr, 10);
                const int index = detail::argOr(args, 2).toInt(nullptr, 10);
                if (msg.code == 13) {
                    emit runtimeContextUpdated(tid, lineno, index, detail::argOr(args, 3));
                } else {
                    emit interpContextUpdated(tid, lineno, index, detail::argOr(args, 3));
                }
            }
            return true;
        case 16:
            emit taskDeleted(detail::argOr(args, 0).toInt(nullptr, 10));
            return true;
        case 30:
            pnValueChanged(args);
            return true;
        case 31:
            if (!args.empty()) {
                const bool now_connected = args[0] == "true";
                core->pn_connected = now_connected;
                qDebug() << "pn_server connected changed:" << (now_connected ? "true" : "false");
                if (now_connected) {
                    startPnFill();
                }
            }
            return true;
        case 32:
            if (!args.empty()) {
                emit pnioDeviceChanged(detail::argOr(args, 0));
            }
            return true;
        case 33:
            if (args.size() >= 3) {
                emit pnioNetworkChanged(detail::argOr(args, 0), detail::argOr(args, 1),
                                        detail::argOr(args, 2));
            }
            return true;
        case 40:
            if (!args.empty()) {
                const bool status = args[0] == "Connected";
                core->icm_connected = status;
                emit icmStatusChanged(status);
            }
            return true;
        case 50:
            eipValueChanged(args);
            return true;
        case 51:
            if (!args.empty()) {
                const int status = std::stoi(args[0]);
                core->eip_status = status;
                emit sigEipConnectionStatusChanged(status);
                qDebug() << "eip_slave_server connected changed:" << status;
                if (status == 1) {
                    startEipFill();
                }
            }
            return true;
        case 60080:
            if (!args.empty()) {
                emit teachPendantEnabledChanged(args[0] == "true");
            }
            return true;
        default:
            return false;
    }
}

void RobotProxy::dispatchGeneral(const RobotMsg &msg, int idx, int display_level, const QString &source_name,
                                 bool unknown)
{
    const auto &args = msg.args;
    const QString body = unknown ? detail::unknownMessageText(msg.code, args)
                                 : detail::fillTemplate(ErrorCode::lookup(msg.code), args);
    const QString text = detail::frameText(msg.code, body);
    switch (msg.code) {
        case 30031:
            emit jointMovedDuringPoweroff(idx);
            break;
        case 30419:
            emit robotToolSensorChanged(idx, detail::argOr(args, 0));
            break;
        case 30420:
            emit robotToolSensorRemoved(idx);
            break;
        case 30432:
            if (!args.empty()) {
                emit robotToolSensorStatusChanged(idx, args[0] == "true");
            }
            break;
        case 30014:
            emit robotCollisionOccurred(idx, detail::argOr(args, 0, QStringLiteral("0")));
            break;
        case 15:
            emit programLoaded(idx, detail::argOr(args, 0));
            break;
        default:
            if (isAxisErrorCode(msg.code)) {
                emit popupAxisError(idx, display_level, source_name, text, 0, detail::argOr(args, 0));
            } else if (msg.level <= 2) {
                emit popup(idx, display_level, source_name, text, 0);
            }
            break;
    }
    emit robotMessageRecieved(idx, source_name, display_level, msg.code, text);
    emit robotMessageRecieved(idx, source_name, display_level, msg);
}

bool RobotProxy::clientsConnected()
{
    return rtde_client->hasConnected() && rpc_client->hasConnected();
}

RobotProxy::RobotModeType RobotProxy::decodeRobotMode(const std::string &text, int idx)
{
    const RobotModeType previous = realtime_state->storedRobotMode(idx);
    const RobotModeType mode =
        common_interface::robotModeFromText(text).value_or(RobotModeType::NoController);
    const bool refresh = hasRecord(idx);
    const bool after_disconnected = refresh && previous == RobotModeType::Disconnected;
    switch (mode) {
        case RobotModeType::Disconnected:
            break;
        case RobotModeType::Idle:
            if (after_disconnected) {
                realtime_state->updateRobotInformationOnLogin();
            } else if (refresh && previous == RobotModeType::PowerOn) {
                realtime_state->updateRobotInformationOnPoweron(idx);
            }
            break;
        case RobotModeType::Running:
            if (refresh) {
                realtime_state->updateGravity(idx);
            }
            if (after_disconnected) {
                realtime_state->updateRobotInformationOnLogin();
            }
            break;
        default:
            if (after_disconnected) {
                realtime_state->updateRobotInformationOnLogin();
            }
            break;
    }
    return clientsConnected() ? mode : RobotModeType::NoController;
}

void RobotProxy::dispatchSecond(const RobotMsg &msg, int idx)
{
    const auto &args = msg.args;
    if (args.empty()) {
        return;
    }
    const std::string &first = args[0];
    switch (msg.code) {
        case 30027: {
            const auto mode =
                common_interface::operationalModeFromText(first).value_or(OperationalModeType::Disabled);
            realtime_state->storeOperationalMode(idx, mode);
            emit operationalModeChanged(idx, mode);
            break;
        }
        case 30039: {
            auto mode = common_interface::safetyModeFromText(first).value_or(SafetyModeType::Undefined);
            if (!clientsConnected()) {
                mode = SafetyModeType::Undefined;
            }
            realtime_state->storeSafetyMode(idx, mode);
            emit safetyModeChanged(idx, mode);
            break;
        }
        case 30045: {
            const RobotModeType mode = decodeRobotMode(first, idx);
            realtime_state->storeRobotMode(idx, mode);
            emit robotModeChanged(idx, mode);
            break;
        }
        case 30083: {
            const bool enabled = first == "true";
            realtime_state->storeFreedriveEnabled(idx, enabled);
            emit freedriveEnabled(idx, enabled);
            break;
        }
        case 30200:
            if (args.size() >= 2) {
                realtime_state->storeRobotType(idx, args[0], args[1]);
                if (hasRecord(idx)) {
                    realtime_state->updateHDParamOnRobotTypeChanged(idx);
                }
                emit robotTypeChanged(QString::fromStdString(args[0]), QString::fromStdString(args[1]));
            }
            break;
        case 30201:
            if (first == "true" || first == "false") {
                const bool enabled = first == "true";
                realtime_state->storeLinkModeEnabled(idx, enabled);
                emit linkModeChanged(idx, enabled);
            }
            break;
        case 30307: {
            const int level = std::stoi(first);
            realtime_state->storeSlowDownLevel(idx, level);
            emit slowDownChanged(idx, level);
            break;
        }
        default:
            break;
    }
}

}  // namespace temla::korvu_sdk
