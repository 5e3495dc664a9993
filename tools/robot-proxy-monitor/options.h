#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace monitor
{

// Exit statuses of the program; each has one meaning.
enum ExitStatus : int {
    kExitOk = 0,
    kExitUsage = 1,  // bad command line, unreadable scenario or script, robot index out of range
    kExitConnectionFailed = 2,
    kExitLoginFailed = 3,
    kExitInterrupted = 130,  // SIGINT, after a clean disconnect
    kExitTerminated = 143,   // SIGTERM, after a clean disconnect
};

struct MonitorOptions {
    // Empty: start the simulator in this process.
    QString host;
    int port = 0;
    // Embedded simulator only: the scenario file; empty selects the demo scenario.
    QString scenario;
    QString user = "admin";
    QString password = "admin";
    int robot = 0;
    // Seconds until a normal end; none runs until interrupted.
    std::optional<double> duration;
    QString script_file;
    bool reconnect = false;
    bool json = false;
    bool verbose = false;
};

struct ParsedOptions {
    std::optional<MonitorOptions> options;
    // What went wrong when options is empty (for stderr), or the help/version text to print.
    QString message;
    int exit_status = kExitOk;
};

// Parses the program's command line (arguments()[0] is the program name).
ParsedOptions parseOptions(const QStringList &arguments);

}  // namespace monitor
