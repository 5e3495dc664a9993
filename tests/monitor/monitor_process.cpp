#include "monitor_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace monitor_test
{

QString monitorProgram()
{
    return MONITOR_PROGRAM;
}

QString simulatorProgram()
{
    return SIMULATOR_PROGRAM;
}

QString scenarioPath(const char *name)
{
    return QString(MONITOR_TEST_SCENARIOS) + "/" + name;
}

ProgramRun runProgram(const QString &program, const QStringList &arguments, std::chrono::milliseconds timeout)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted()) {
        return run;
    }
    run.finished = process.waitForFinished(static_cast<int>(timeout.count()));
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.wall = std::chrono::milliseconds(clock.elapsed());
    run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ProgramRun runMonitor(const QStringList &arguments, std::chrono::milliseconds timeout)
{
    return runProgram(monitorProgram(), arguments, timeout);
}

bool waitForOutput(QProcess &process, QString &collected,
                   const std::function<bool(const QString &)> &condition, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition(collected)) {
        if (clock.elapsed() > timeout.count() || process.state() == QProcess::NotRunning) {
            collected += QString::fromUtf8(process.readAllStandardOutput());
            return condition(collected);
        }
        process.waitForReadyRead(50);
        collected += QString::fromUtf8(process.readAllStandardOutput());
    }
    return true;
}

std::vector<nlohmann::json> jsonLines(const QString &out)
{
    std::vector<nlohmann::json> lines;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        auto parsed = nlohmann::json::parse(line.toStdString(), nullptr, false);
        EXPECT_TRUE(parsed.is_object()) << "not a JSON object: " << line.toStdString();
        if (parsed.is_object()) {
            lines.push_back(std::move(parsed));
        }
    }
    return lines;
}

std::vector<nlohmann::json> signalLines(const std::vector<nlohmann::json> &lines)
{
    std::vector<nlohmann::json> emitted;
    for (const auto &line : lines) {
        if (line.contains("signal")) {
            emitted.push_back(line);
        }
    }
    return emitted;
}

int unusedBasePort()
{
    for (int tries = 0; tries < 50; ++tries) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            continue;
        }
        const int base = probe.serverPort() - 4;
        probe.close();
        bool free = base > 1024;
        for (int offset : {2, 10}) {
            QTcpServer other;
            free = free && other.listen(QHostAddress::LocalHost, static_cast<quint16>(base + offset));
        }
        if (free) {
            return base;
        }
    }
    return 0;
}

}  // namespace monitor_test
