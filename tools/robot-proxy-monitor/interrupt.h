#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace monitor
{

// Turns SIGINT and SIGTERM into a Qt signal on the thread that owns this object: the handler only
// writes the signal number into a socket pair, whose read end a QSocketNotifier watches. One
// instance per process.
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

Q_SIGNALS:
    void interrupted(int signal_number);

private:
    void readPending();

    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace monitor
