#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <string>

#include "options.h"
#include "output.h"
#include "robot_proxy/robot_proxy.h"

namespace monitor
{

// Capped exponential back-off between reconnection attempts: first, first × 2, ... up to cap.
std::chrono::milliseconds retryDelay(int attempt);

// One controller session as an operator application runs it: connect, log in, select the robot,
// send the script, then watch the proxy's signals (queued to this object's thread) and read the
// cache periodically. A lost connection ends the session (status 2) or, with reconnect, is retried
// with a growing delay, logging in and selecting again. finished() is emitted once, after a clean
// disconnect.
class Session : public QObject
{
    Q_OBJECT

public:
    struct Target {
        QString host;
        int port = 0;
    };

    Session(const MonitorOptions &options, Target target, std::string script, MonitorOutput &output,
            const Clock &clock);
    ~Session() override;

    // Starts the first connection attempt and the duration timer.
    void start();
    // Disconnects cleanly and ends with the status; later calls are ignored.
    void stop(int exit_status);

    temla::korvu_sdk::RobotProxy &proxy() { return proxy_; }

Q_SIGNALS:
    void finished(int exit_status);

private:
    enum class Phase { Idle, Running, WaitingToRetry, Stopping };

    double elapsed() const;
    void attempt();
    // Connection, login and selection; a failure ends or schedules a retry and returns false.
    bool connectAndLogin();
    void sendScriptOnce();
    void onConnectionLost();
    void disconnectQuietly();
    void retryOrEnd(int exit_status, const QString &why);
    void sampleState();

    MonitorOptions options_;
    Target target_;
    std::string script_;
    bool script_sent_ = false;
    MonitorOutput &output_;
    const Clock &clock_;
    temla::korvu_sdk::RobotProxy proxy_;
    QTimer state_timer_;
    QTimer retry_timer_;
    QTimer duration_timer_;
    Phase phase_ = Phase::Idle;
    int failed_attempts_ = 0;
};

}  // namespace monitor
