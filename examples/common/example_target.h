#pragma once
// What the examples share: the command line (--host/--port for a controller, else an in-process
// simulator on free loopback ports) and a bounded wait that keeps the Qt event loop running, so
// that signals queued to the main thread are delivered.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>
#include <optional>

#include <korvu_sim/simulator.h>

namespace example
{

struct Target {
    QString host;
    int port = 0;
    int seconds = 0;
    // Set when no --host was given: the controller the example talks to.
    std::unique_ptr<temla::korvu_sim::Simulator> simulator;
};

// Parses --host, --port and --seconds; without --host starts a simulator. Exits 2 on a bad line.
inline Target parseTarget(const QCoreApplication &app, const char *description, int default_seconds)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description));
    parser.addHelpOption();
    parser.addOptions({
        {"host", "Controller address; without it an in-process simulator is used.", "address"},
        {"port", "Controller base port (default 30000).", "port", "30000"},
        {"seconds", "How long to run.", "seconds", QString::number(default_seconds)},
    });
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        std::exit(2);
    }
    if (parser.isSet("help"))
        parser.showHelp(0);
    Target target;
    bool port_ok = false;
    bool seconds_ok = false;
    target.port = parser.value("port").toInt(&port_ok);
    target.seconds = parser.value("seconds").toInt(&seconds_ok);
    if (!port_ok || !seconds_ok || target.seconds < 0) {
        std::fprintf(stderr, "--port and --seconds take numbers\n");
        std::exit(2);
    }
    if (parser.isSet("host")) {
        target.host = parser.value("host");
        return target;
    }
    target.simulator = std::make_unique<temla::korvu_sim::Simulator>();
    target.simulator->start();
    target.host = QString::fromStdString(target.simulator->host());
    target.port = target.simulator->basePort();
    return target;
}

// Runs the event loop until done() is true or the time is up; true when done() became true.
template <typename Done>
bool waitFor(int milliseconds, Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace example
