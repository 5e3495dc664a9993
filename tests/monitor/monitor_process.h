#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <nlohmann/json.hpp>
#include <vector>

namespace monitor_test
{

// One finished run of the program under test.
struct ProgramRun {
    int exit_code = -1;
    bool finished = false;
    QString out;
    QString err;
    std::chrono::milliseconds wall{0};
};

// Runs a program to its end (killed after the timeout: finished stays false).
ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      std::chrono::milliseconds timeout = std::chrono::seconds(60));

ProgramRun runMonitor(const QStringList &arguments,
                      std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Processes the child's output until condition(stdout so far) holds; false after the timeout.
bool waitForOutput(QProcess &process, QString &collected,
                   const std::function<bool(const QString &)> &condition, std::chrono::milliseconds timeout);

// Every stdout line parsed; a line that is not a JSON object fails the calling test.
std::vector<nlohmann::json> jsonLines(const QString &out);

// The "signal" lines only, in order.
std::vector<nlohmann::json> signalLines(const std::vector<nlohmann::json> &lines);

// A loopback base port with nothing listening on base + 2, + 4 and + 10 (at the time of the call).
int unusedBasePort();

QString monitorProgram();
QString simulatorProgram();
QString scenarioPath(const char *name);

}  // namespace monitor_test
