#pragma once

#include <QObject>

#include <functional>
#include <nlohmann/json.hpp>

#include "robot_proxy/robot_proxy.h"

namespace monitor
{

// Receives one proxy signal: its name and its arguments in declared order (enumerations as
// integers, RobotMsg as an object with its five fields).
using SignalSink = std::function<void(const char *name, const nlohmann::ordered_json &args)>;

// Connects every signal of the proxy to sink. The connections carry context as their receiver, so
// signals emitted on the library's threads reach sink queued on context's thread.
void relayProxySignals(temla::korvu_sdk::RobotProxy &proxy, QObject *context, SignalSink sink);

nlohmann::ordered_json toJson(const temla::common_interface::RobotMsg &msg);

}  // namespace monitor
