#include "signal_relay.h"

#include <type_traits>

namespace monitor
{
namespace
{

using temla::korvu_sdk::RobotProxy;
using RobotMsg = temla::common_interface::RobotMsg;

nlohmann::ordered_json argument(const QString &text)
{
    return text.toStdString();
}

nlohmann::ordered_json argument(const RobotMsg &msg)
{
    return toJson(msg);
}

template <typename T>
nlohmann::ordered_json argument(T value)
{
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "no JSON form for this argument type");
    if constexpr (std::is_enum_v<T>) {
        return static_cast<std::underlying_type_t<T>>(value);
    } else {
        return value;
    }
}

// One connection per signal: the lambda's parameter list is the signal's, so the arguments come out
// in declared order.
template <typename... Args>
void relay(RobotProxy &proxy, QObject *context, const SignalSink &sink, const char *name,
           void (RobotProxy::*signal)(Args...))
{
    QObject::connect(&proxy, signal, context, [sink, name](Args... values) {
        nlohmann::ordered_json args = nlohmann::ordered_json::array();
        (args.push_back(argument(values)), ...);
        sink(name, args);
    });
}

}  // namespace

nlohmann::ordered_json toJson(const RobotMsg &msg)
{
    return {{"timestamp", msg.timestamp},
            {"level", msg.level},
            {"code", msg.code},
            {"source", msg.source},
            {"args", msg.args}};
}

void relayProxySignals(RobotProxy &proxy, QObject *context, SignalSink sink)
{
    using P = RobotProxy;
    using RuntimeState = P::RuntimeState;
    // In the order of the proxy's meta-object.
    relay(proxy, context, sink, "connected", &P::connected);
    relay(proxy, context, sink, "disconnected", &P::disconnected);
    relay(proxy, context, sink, "logined", &P::logined);
    relay(proxy, context, sink, "popup", &P::popup);
    relay(proxy, context, sink, "popupAxisError", &P::popupAxisError);
    relay(proxy, context, sink, "popupDismiss", &P::popupDismiss);
    relay(proxy, context, sink, "popupDismissById", &P::popupDismissById);
    relay(proxy, context, sink, "systemHalt", &P::systemHalt);
    relay(proxy, context, sink, "scriptError", QOverload<QString>::of(&P::scriptError));
    relay(proxy, context, sink, "scriptError", QOverload<int, QString>::of(&P::scriptError));
    relay(proxy, context, sink, "scriptError2", &P::scriptError2);
    relay(proxy, context, sink, "variableUpdate", &P::variableUpdate);
    relay(proxy, context, sink, "runtimeStateChanged", QOverload<RuntimeState>::of(&P::runtimeStateChanged));
    relay(proxy, context, sink, "freedriveEnabled", &P::freedriveEnabled);
    relay(proxy, context, sink, "robotMessageRecieved",
          QOverload<int, QString, int, int, QString>::of(&P::robotMessageRecieved));
    relay(proxy, context, sink, "robotMessageRecieved",
          QOverload<int, QString, int, RobotMsg>::of(&P::robotMessageRecieved));
    relay(proxy, context, sink, "operationalModeChanged", &P::operationalModeChanged);
    relay(proxy, context, sink, "linkModeChanged", &P::linkModeChanged);
    relay(proxy, context, sink, "safetyModeChanged", &P::safetyModeChanged);
    relay(proxy, context, sink, "robotModeChanged", &P::robotModeChanged);
    relay(proxy, context, sink, "robotTypeChanged", &P::robotTypeChanged);
    relay(proxy, context, sink, "slowDownChanged", &P::slowDownChanged);
    relay(proxy, context, sink, "runtimeContextUpdated", &P::runtimeContextUpdated);
    relay(proxy, context, sink, "interpContextUpdated", &P::interpContextUpdated);
    relay(proxy, context, sink, "taskDeleted", &P::taskDeleted);
    relay(proxy, context, sink, "icmStatusChanged", &P::icmStatusChanged);
    relay(proxy, context, sink, "pnioDeviceChanged", &P::pnioDeviceChanged);
    relay(proxy, context, sink, "pnioNetworkChanged", &P::pnioNetworkChanged);
    relay(proxy, context, sink, "sigEipConnectionStatusChanged", &P::sigEipConnectionStatusChanged);
    relay(proxy, context, sink, "teachPendantEnabledChanged", &P::teachPendantEnabledChanged);
    relay(proxy, context, sink, "modbusSignalCreated", &P::modbusSignalCreated);
    relay(proxy, context, sink, "modbusSignalRemoved", &P::modbusSignalRemoved);
    relay(proxy, context, sink, "jointMovedDuringPoweroff", &P::jointMovedDuringPoweroff);
    relay(proxy, context, sink, "robotCollisionOccurred", &P::robotCollisionOccurred);
    relay(proxy, context, sink, "robotToolSensorChanged", &P::robotToolSensorChanged);
    relay(proxy, context, sink, "robotToolSensorRemoved", &P::robotToolSensorRemoved);
    relay(proxy, context, sink, "robotToolSensorStatusChanged", &P::robotToolSensorStatusChanged);
    relay(proxy, context, sink, "programLoaded", &P::programLoaded);
}

}  // namespace monitor
