#pragma once

// The library's log lines. Each is built with Qt's logger stream (single spaces between parts, strings
// quoted) and goes to the handler the application set with RobotProxy::setLogHandler, or, by default,
// to Qt's logger with the category "default".

#include <QDebug>
#include <QString>

#include <optional>

#include "robot_proxy/export.h"

namespace temla::korvu_sdk::detail
{

// Hands one finished line to the application's handler or to Qt's logger. Exported for the tests that
// drive the SDK log forwarding directly.
ROBOT_PROXY_EXPORT void deliverLog(QtMsgType type, const char *file, int line, const char *function,
                                   const QString &text);

// One line being written; delivered when the full expression that built it ends.
class LogLine
{
public:
    LogLine(QtMsgType type, const char *file, int line, const char *function)
        : type(type), file(file), line(line), function(function), debug(std::in_place, &text)
    {
    }
    ~LogLine();
    LogLine(const LogLine &) = delete;
    LogLine &operator=(const LogLine &) = delete;

    QDebug &stream() { return *debug; }

private:
    QtMsgType type;
    const char *file;
    int line;
    const char *function;
    QString text;
    std::optional<QDebug> debug;
};

}  // namespace temla::korvu_sdk::detail

#define RP_LOG(type)                                                                                      \
    ::temla::korvu_sdk::detail::LogLine(type, QT_MESSAGELOG_FILE, QT_MESSAGELOG_LINE, QT_MESSAGELOG_FUNC) \
        .stream()
#define RP_LOG_DEBUG() RP_LOG(QtDebugMsg)
#define RP_LOG_INFO() RP_LOG(QtInfoMsg)
#define RP_LOG_WARNING() RP_LOG(QtWarningMsg)
#define RP_LOG_CRITICAL() RP_LOG(QtCriticalMsg)
