#include "log_routing.h"

#include <mutex>

namespace monitor
{
namespace
{

std::mutex g_mutex;
MonitorOutput *g_output = nullptr;
bool g_verbose = false;

void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_output) {
        return;
    }
    if (!g_verbose && (type == QtDebugMsg || type == QtInfoMsg)) {
        return;
    }
    g_output->log(type, text);
}

}  // namespace

LogRouting::LogRouting(MonitorOutput &output, bool verbose)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_output = &output;
    g_verbose = verbose;
    qInstallMessageHandler(&handle);
}

LogRouting::~LogRouting()
{
    qInstallMessageHandler(nullptr);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_output = nullptr;
}

}  // namespace monitor
