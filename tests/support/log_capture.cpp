#include "test_support/log_capture.h"

#include <QMessageLogContext>
#include <QString>

#include <mutex>

namespace test_support
{
namespace
{

std::mutex &linesMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<LogCapture::Line> &lines()
{
    static std::vector<LogCapture::Line> captured;
    return captured;
}

void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    std::lock_guard<std::mutex> lock(linesMutex());
    lines().push_back(LogCapture::Line{type, message.toStdString(), context.file ? context.file : "",
                                       context.line, context.category ? context.category : ""});
}

template <typename Match>
int countMatching(Match match)
{
    std::lock_guard<std::mutex> lock(linesMutex());
    int n = 0;
    for (const auto &line : lines()) {
        n += match(line.text) ? 1 : 0;
    }
    return n;
}

}  // namespace

void LogCapture::install()
{
    qInstallMessageHandler(&handle);
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> lock(linesMutex());
    lines().clear();
}

std::vector<LogCapture::Line> LogCapture::snapshot()
{
    std::lock_guard<std::mutex> lock(linesMutex());
    return lines();
}

int LogCapture::count(const std::string &text)
{
    return countMatching([&](const std::string &line) { return line == text; });
}

int LogCapture::countContaining(const std::string &part)
{
    return countMatching([&](const std::string &line) { return line.find(part) != std::string::npos; });
}

}  // namespace test_support
