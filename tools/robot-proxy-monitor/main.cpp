// robot-proxy-monitor: watches one robot through librobot_proxy, as an operator application does,
// against a controller or a simulator started in this process.
#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "embedded_controller.h"
#include "interrupt.h"
#include "json_output.h"
#include "log_routing.h"
#include "options.h"
#include "session.h"
#include "terminal_output.h"

namespace
{

using namespace monitor;

std::unique_ptr<MonitorOutput> makeOutput(const MonitorOptions &options, const Clock &clock)
{
    if (options.json) {
        return std::make_unique<JsonOutput>(std::cout, std::cerr);
    }
    TerminalOutput::Style style;
    style.in_place = ::isatty(STDOUT_FILENO) == 1;
    style.colour = style.in_place && std::getenv("NO_COLOR") == nullptr;
    return std::make_unique<TerminalOutput>(std::cout, std::cerr, style, clock);
}

bool readScript(const QString &path, std::string &text)
{
    if (path.isEmpty()) {
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::cerr << "robot-proxy-monitor: cannot read script " << path.toStdString() << ": "
                  << file.errorString().toStdString() << std::endl;
        return false;
    }
    text = file.readAll().toStdString();
    return true;
}

int exitStatusOf(int signal_number)
{
    return signal_number == SIGTERM ? kExitTerminated : kExitInterrupted;
}

int run(QCoreApplication &app, const MonitorOptions &options)
{
    std::string script;
    if (!readScript(options.script_file, script)) {
        return kExitUsage;
    }
    InterruptWatcher interrupts;
    const Clock clock;
    auto output = makeOutput(options, clock);
    LogRouting logs(*output, options.verbose);

    std::unique_ptr<temla::korvu_sim::Simulator> simulator;
    Session::Target target{options.host, options.port};
    if (options.host.isEmpty()) {
        auto log = [&output, verbose = options.verbose](const std::string &line) {
            if (verbose) {
                output->log(QtInfoMsg, QString::fromStdString("simulator: " + line));
            }
        };
        simulator = startEmbeddedController(options.scenario, log);
        target = {QString::fromStdString(simulator->host()), simulator->basePort()};
        output->note(QString("simulated controller on %1 base port %2").arg(target.host).arg(target.port));
    }

    Session session(options, target, script, *output, clock);
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &session,
                     [&session](int signal_number) { session.stop(exitStatusOf(signal_number)); });
    QObject::connect(&session, &Session::finished, &app, [&app](int status) { app.exit(status); });
    session.start();
    const int status = app.exec();
    output->finish();
    return status;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("robot-proxy-monitor");
    const ParsedOptions parsed = parseOptions(QCoreApplication::arguments());
    if (!parsed.options) {
        (parsed.exit_status == kExitOk ? std::cout : std::cerr) << parsed.message.toStdString() << std::endl;
        return parsed.exit_status;
    }
    try {
        return run(app, *parsed.options);
    } catch (const temla::korvu_sim::ScenarioError &e) {
        std::cerr << "robot-proxy-monitor: " << e.what() << std::endl;
        return kExitUsage;
    } catch (const std::exception &e) {
        std::cerr << "robot-proxy-monitor: " << e.what() << std::endl;
        return kExitUsage;
    }
}
