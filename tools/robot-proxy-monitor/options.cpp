#include "options.h"

#include <QCommandLineParser>

namespace monitor
{
namespace
{

constexpr int kMaxBasePort = 65535 - 10;  // the highest server sits at base + 10
constexpr double kMaxDurationSeconds = 7 * 24 * 3600.0;

ParsedOptions failure(const QString &text)
{
    return {std::nullopt, text + "\n(see robot-proxy-monitor --help)", kExitUsage};
}

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        "Watches one robot through librobot_proxy: connects, logs in, selects the robot and prints its "
        "state and every proxy signal. Without --host it starts a simulated controller in this process "
        "running the demo scenario (or --scenario).");
    parser.addHelpOption();
    parser.addOptions({
        {"host", "Controller address; without it the simulator runs in this process.", "address"},
        {"port", "Controller base port (RPC at +4, realtime at +10, script at +2).", "port", "30000"},
        {"scenario", "Scenario file for the embedded simulator (default: the demo scenario).", "file"},
        {"user", "Login user (default admin).", "name", "admin"},
        {"password", "Login password (default admin).", "password", "admin"},
        {"robot", "Index of the robot to select, from 0 (default 0).", "N", "0"},
        {"duration", "End normally after this many seconds.", "seconds"},
        {"script", "Script file sent once the robot is selected.", "file"},
        {"reconnect", "After a lost or failed connection, try again with a growing delay."},
        {"json", "One JSON object per line per proxy signal, plus periodic state lines."},
        {"verbose", "Also show the library's debug and info log lines (on stderr)."},
    });
}

}  // namespace

ParsedOptions parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments)) {
        return failure(parser.errorText());
    }
    if (parser.isSet("help")) {
        return {std::nullopt, parser.helpText(), kExitOk};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return failure("unexpected argument " + parser.positionalArguments().first());
    }

    MonitorOptions options;
    options.host = parser.value("host");
    bool ok = false;
    options.port = parser.value("port").toInt(&ok);
    if (!ok || options.port < 1 || options.port > kMaxBasePort) {
        return failure(QString("--port must be a number from 1 to %1").arg(kMaxBasePort));
    }
    if (parser.isSet("scenario") && parser.isSet("host")) {
        return failure("--scenario is for the embedded simulator and cannot be combined with --host");
    }
    options.scenario = parser.value("scenario");
    options.user = parser.value("user");
    options.password = parser.value("password");
    options.robot = parser.value("robot").toInt(&ok);
    if (!ok || options.robot < 0) {
        return failure("--robot must be a robot index from 0");
    }
    if (parser.isSet("duration")) {
        const double seconds = parser.value("duration").toDouble(&ok);
        if (!ok || !(seconds > 0.0) || seconds > kMaxDurationSeconds) {
            return failure("--duration must be a positive number of seconds");
        }
        options.duration = seconds;
    }
    options.script_file = parser.value("script");
    options.reconnect = parser.isSet("reconnect");
    options.json = parser.isSet("json");
    options.verbose = parser.isSet("verbose");
    return {options, {}, kExitOk};
}

}  // namespace monitor
