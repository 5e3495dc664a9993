#include "library_log.h"

#include <QMessageLogger>

#include <exception>
#include <memory>
#include <mutex>

#include "robot_proxy/robot_proxy.h"

namespace temla::korvu_sdk
{
namespace
{

std::mutex &handlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const RobotProxy::LogHandler> &installedHandler()
{
    static std::shared_ptr<const RobotProxy::LogHandler> handler;
    return handler;
}

void writeToQt(QtMsgType type, const char *file, int line, const char *function, const QString &text)
{
    const QMessageLogger logger(file, line, function, "default");
    switch (type) {
        case QtDebugMsg:
            logger.debug().noquote() << text;
            break;
        case QtInfoMsg:
            logger.info().noquote() << text;
            break;
        case QtWarningMsg:
            logger.warning().noquote() << text;
            break;
        default:
            // Nothing of the library ends the host process: its most severe lines are critical.
            logger.critical().noquote() << text;
            break;
    }
}

}  // namespace

void RobotProxy::setLogHandler(LogHandler handler)
{
    auto installed = handler ? std::make_shared<const LogHandler>(std::move(handler)) : nullptr;
    std::lock_guard<std::mutex> lock(handlerMutex());
    installedHandler() = std::move(installed);
}

namespace detail
{

void deliverLog(QtMsgType type, const char *file, int line, const char *function, const QString &text)
{
    std::shared_ptr<const RobotProxy::LogHandler> handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex());
        handler = installedHandler();
    }
    if (!handler) {
        writeToQt(type, file, line, function, text);
        return;
    }
    try {
        const QMessageLogContext context(file, line, function, "default");
        (*handler)(type, context, text);
    } catch (const std::exception &e) {
        writeToQt(QtWarningMsg, file, line, function, QStringLiteral("Log handler failed: %1").arg(e.what()));
    } catch (...) {
        writeToQt(QtWarningMsg, file, line, function, QStringLiteral("Log handler failed"));
    }
}

LogLine::~LogLine()
{
    // Qt's logger drops the space the stream leaves after its last part; so does this line.
    const bool spaced = debug->autoInsertSpaces();
    debug.reset();
    if (spaced && text.endsWith(QLatin1Char(' '))) {
        text.chop(1);
    }
    deliverLog(type, file, line, function, text);
}

}  // namespace detail
}  // namespace temla::korvu_sdk
