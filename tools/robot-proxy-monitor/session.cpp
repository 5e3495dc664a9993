#include "session.h"

#include <algorithm>

#include "signal_relay.h"
#include "state_snapshot.h"

namespace monitor
{
namespace
{

constexpr std::chrono::milliseconds kFirstRetryDelay(500);
constexpr std::chrono::milliseconds kMaxRetryDelay(8000);
// The proxy's own request bound (100 ms) is made for a controller on the same cell network; the
// monitor also runs on busy machines and over slower links.
constexpr int kRequestTimeoutMs = 2000;

bool isConnectionFailure(temla::korvu_sdk::RobotProxy::Failure failure)
{
    using Failure = temla::korvu_sdk::RobotProxy::Failure;
    return failure == Failure::NotConnected || failure == Failure::NoAnswer ||
           failure == Failure::ConnectFailed;
}

}  // namespace

std::chrono::milliseconds retryDelay(int attempt)
{
    auto delay = kFirstRetryDelay;
    for (int i = 0; i < attempt && delay < kMaxRetryDelay; ++i) {
        delay *= 2;
    }
    return std::min(delay, kMaxRetryDelay);
}

Session::Session(const MonitorOptions &options, Target target, std::string script, MonitorOutput &output,
                 const Clock &clock)
    : options_(options),
      target_(std::move(target)),
      script_(std::move(script)),
      output_(output),
      clock_(clock)
{
    relayProxySignals(proxy_, this, [this](const char *name, const nlohmann::ordered_json &args) {
        output_.signal(elapsed(), name, args);
    });
    // A report queued before a reconnection is stale once the clients are connected again.
    connect(&proxy_, &temla::korvu_sdk::RobotProxy::disconnected, this, [this] {
        if (phase_ == Phase::Running && !proxy_.hasConnected()) {
            onConnectionLost();
        }
    });
    state_timer_.setInterval(output_.stateInterval());
    connect(&state_timer_, &QTimer::timeout, this, &Session::sampleState);
    retry_timer_.setSingleShot(true);
    connect(&retry_timer_, &QTimer::timeout, this, &Session::attempt);
    duration_timer_.setSingleShot(true);
    duration_timer_.setTimerType(Qt::PreciseTimer);
    connect(&duration_timer_, &QTimer::timeout, this, [this] { stop(kExitOk); });
}

Session::~Session() = default;

void Session::start()
{
    if (options_.duration) {
        duration_timer_.start(static_cast<int>(*options_.duration * 1000.0));
    }
    state_timer_.start();
    QTimer::singleShot(0, this, &Session::attempt);
}

void Session::stop(int exit_status)
{
    if (phase_ == Phase::Stopping) {
        return;
    }
    phase_ = Phase::Stopping;
    retry_timer_.stop();
    duration_timer_.stop();
    state_timer_.stop();
    if (proxy_.hasConnected() || proxy_.getRobotIndex() >= 0) {
        disconnectQuietly();
    }
    // The last reading shows the disconnected state.
    output_.state(elapsed(), readSnapshot(proxy_));
    // Signals already queued from the library's threads are delivered before the end.
    QTimer::singleShot(0, this, [this, exit_status] { emit finished(exit_status); });
}

double Session::elapsed() const
{
    return clock_.seconds();
}

void Session::attempt()
{
    if (phase_ == Phase::Stopping) {
        return;
    }
    try {
        if (!connectAndLogin()) {
            return;
        }
    } catch (const std::exception &e) {
        // The proxy reports failures by return value; anything thrown all the same is taken for a
        // broken link. Disconnecting clears a half-made selection, so that the next attempt selects again.
        disconnectQuietly();
        retryOrEnd(kExitConnectionFailed, QString("connection failed: %1").arg(e.what()));
        return;
    }
    phase_ = Phase::Running;
    failed_attempts_ = 0;
    sendScriptOnce();
}

bool Session::connectAndLogin()
{
    proxy_.setRequestTimeout(kRequestTimeoutMs);
    if (proxy_.connect(target_.host, target_.port) != 0) {
        retryOrEnd(kExitConnectionFailed, QString("cannot connect to %1 base port %2: %3")
                                              .arg(target_.host)
                                              .arg(target_.port)
                                              .arg(proxy_.lastError().text));
        return false;
    }
    if (proxy_.login(options_.user, options_.password) != 0) {
        const auto error = proxy_.lastError();
        // A connection that broke or went silent during the login is a connection failure.
        if (isConnectionFailure(error.failure)) {
            retryOrEnd(kExitConnectionFailed, "login: " + error.text);
        } else {
            output_.note(QString("login as %1 failed: %2").arg(options_.user, error.text));
            stop(kExitLoginFailed);
        }
        return false;
    }
    if (proxy_.selectRobot(options_.robot) != 0) {
        output_.note(QString("robot %1 does not exist; the controller has %2 robot(s)")
                         .arg(options_.robot)
                         .arg(proxy_.getRobotNames().size()));
        stop(kExitUsage);
        return false;
    }
    return true;
}

void Session::sendScriptOnce()
{
    if (script_.empty() || script_sent_) {
        return;
    }
    script_sent_ = true;
    if (proxy_.sendScript(script_) != 0) {
        output_.note("the controller did not take the script: " + proxy_.lastError().text);
    }
}

void Session::onConnectionLost()
{
    phase_ = Phase::WaitingToRetry;
    // Leaves every client closed so that the next attempt starts from scratch.
    disconnectQuietly();
    retryOrEnd(kExitConnectionFailed, "connection lost");
}

void Session::disconnectQuietly()
{
    try {
        proxy_.disconnectFromServer();
    } catch (const std::exception &e) {
        output_.note(QString("disconnect: %1").arg(e.what()));
    }
}

void Session::retryOrEnd(int exit_status, const QString &why)
{
    if (!options_.reconnect) {
        output_.note(why);
        stop(exit_status);
        return;
    }
    phase_ = Phase::WaitingToRetry;
    const auto delay = retryDelay(failed_attempts_++);
    output_.note(QString("%1; trying again in %2 s").arg(why).arg(delay.count() / 1000.0));
    retry_timer_.start(static_cast<int>(delay.count()));
}

void Session::sampleState()
{
    // A server that drops without an SDK event (the script channel has none) shows up here.
    if (phase_ == Phase::Running && !proxy_.hasConnected()) {
        onConnectionLost();
    }
    output_.state(elapsed(), readSnapshot(proxy_));
}

}  // namespace monitor
