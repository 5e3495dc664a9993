// korvu-sim: a simulated controller for HMI work and end-to-end tests without a robot.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <asio.hpp>
#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <system_error>

#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"
#include "korvu_wire/protocol.h"
#include "robot_proxy/version.h"

namespace
{

using temla::korvu_sim::SimulatorOptions;

constexpr int kDefaultBasePort = 30000;
constexpr int kMaxRobots = 16;

struct Arguments {
    SimulatorOptions options;
    std::optional<std::string> scenario_path;
};

[[noreturn]] void usageError(const QString &text)
{
    std::cerr << "korvu-sim: " << text.toStdString() << "\n(see korvu-sim --help)\n";
    std::exit(2);
}

// The servers bind to a numeric address; a name would otherwise fail later as "Invalid argument".
void checkHost(const std::string &host)
{
    std::error_code ec;
    asio::ip::make_address(host, ec);
    if (ec)
        usageError(QString::fromStdString(
            "--host " + host + " is not an IP address (give a numeric address such as 127.0.0.1)"));
}

// Names the ports a failed bind was about, so that the user sees which one is taken.
std::string bindFailure(const SimulatorOptions &options, const std::system_error &e)
{
    std::string text = "cannot listen on " + options.host;
    if (options.base_port != 0) {
        const int base = options.base_port;
        text += " base port " + std::to_string(base) + " (rpc " +
                std::to_string(base + temla::korvu_wire::kRpcPortOffset) + ", realtime " +
                std::to_string(base + temla::korvu_wire::kRealtimePortOffset) + ", script " +
                std::to_string(base + temla::korvu_wire::kScriptPortOffset) + ")";
    }
    return text + ": " + e.code().message();
}

int intOption(const QCommandLineParser &parser, const QString &name, int low, int high)
{
    bool ok = false;
    int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high)
        usageError(QString("--%1 must be a number from %2 to %3").arg(name).arg(low).arg(high));
    return value;
}

Arguments parseArguments(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Simulated robot controller: RPC on <port>+4, realtime data on <port>+10, script on <port>+2.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOptions({
        {"host", "Address to listen on (default 127.0.0.1).", "address", "127.0.0.1"},
        {"port", "Base port; 0 picks free ports (default 30000).", "port", QString::number(kDefaultBasePort)},
        {"user", "User name accepted at login (default admin).", "name"},
        {"password", "Password accepted at login (default admin).", "password"},
        {"robots", "Number of simulated robots (default 1).", "N"},
        {"scenario", "Scenario file (JSON): robots, credentials and timed events.", "file"},
    });
    // parse() rather than process(): a bad command line exits with 2, not Qt's 1.
    if (!parser.parse(app.arguments()))
        usageError(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        usageError("unexpected argument " + parser.positionalArguments().first());

    Arguments args;
    SimulatorOptions &options = args.options;
    options.host = parser.value("host").toStdString();
    checkHost(options.host);
    options.base_port = intOption(parser, "port", 0, 65535 - 10);
    if (parser.isSet("robots"))
        options.robot_count = intOption(parser, "robots", 1, kMaxRobots);
    if (parser.isSet("scenario")) {
        args.scenario_path = parser.value("scenario").toStdString();
        auto scenario =
            temla::korvu_sim::loadScenario(*args.scenario_path, static_cast<size_t>(options.robot_count));
        if (parser.isSet("robots") && !scenario.robots.empty())
            usageError("--robots cannot be combined with a scenario that lists its robots");
        options = temla::korvu_sim::applyScenario(options, scenario);
    }
    if (parser.isSet("user"))
        options.user = parser.value("user").toStdString();
    if (parser.isSet("password"))
        options.password = parser.value("password").toStdString();
    options.log = [](const std::string &line) { std::cerr << "korvu-sim: " << line << std::endl; };
    return args;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("korvu-sim");
    QCoreApplication::setApplicationVersion(ROBOT_PROXY_VERSION);
    try {
        // Installed first so that a signal arriving during start-up also ends the program cleanly.
        asio::io_context signals_context;
        asio::signal_set termination(signals_context, SIGINT, SIGTERM);
        Arguments args = parseArguments(app);
        temla::korvu_sim::Simulator simulator(args.options);
        try {
            simulator.start();
        } catch (const std::system_error &e) {
            std::cerr << "korvu-sim: " << bindFailure(args.options, e) << std::endl;
            return 1;
        }
        std::cerr << "korvu-sim: serving " << simulator.robotNames().size() << " robot(s) on "
                  << simulator.host() << " base port " << simulator.basePort() << " (rpc "
                  << simulator.rpcPort() << ", realtime " << simulator.realtimePort() << ", script "
                  << simulator.scriptPort() << ")" << std::endl;
        termination.async_wait([](const std::error_code &, int signal_number) {
            std::cerr << "korvu-sim: signal " << signal_number << ", stopping" << std::endl;
        });
        signals_context.run();
        simulator.stop();
        return 0;
    } catch (const temla::korvu_sim::ScenarioError &e) {
        std::cerr << "korvu-sim: " << e.what() << std::endl;
        return 3;
    } catch (const std::exception &e) {
        std::cerr << "korvu-sim: " << e.what() << std::endl;
        return 1;
    }
}
