#include "interrupt.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace monitor
{
namespace
{

// [0] written by the handler, [1] read by the notifier.
int g_pipe[2] = {-1, -1};

void onSignal(int signal_number)
{
    const int saved_errno = errno;
    const auto byte = static_cast<unsigned char>(signal_number);
    // Nothing else is async-signal-safe enough to do here.
    [[maybe_unused]] const auto written = ::write(g_pipe[0], &byte, 1);
    errno = saved_errno;
}

void install(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

InterruptWatcher::InterruptWatcher(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        qWarning("robot-proxy-monitor: no socket pair; Ctrl-C ends the program without a clean disconnect");
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &InterruptWatcher::readPending);
    install(&onSignal);
}

InterruptWatcher::~InterruptWatcher()
{
    if (!notifier_) {
        return;
    }
    install(SIG_DFL);
    notifier_.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void InterruptWatcher::readPending()
{
    unsigned char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1) {
        emit interrupted(byte);
    }
}

}  // namespace monitor
