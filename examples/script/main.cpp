// send-script: sends a script on the script channel and prints the errors the controller reports
// for it, through scriptError(QString) from the script server and scriptError(int, QString) for a
// robot message whose source names a script line ("R1:<line>"). Against the in-process simulator
// it plays the controller's part and checks that the script arrived and both errors came through.
#include <QCoreApplication>

#include <cstdio>

#include <robot_proxy/robot_proxy.h>

#include "example_target.h"

using temla::korvu_sdk::RobotProxy;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    example::Target target = example::parseTarget(app, "Sends a script and follows its errors.", 1);

    RobotProxy proxy;
    proxy.setRequestTimeout(2000);
    int script_errors = 0;
    int line_errors = 0;
    // Two overloads: name the one meant with qOverload.
    QObject::connect(&proxy, qOverload<QString>(&RobotProxy::scriptError), [&](QString error) {
        std::printf("script error: %s\n", qPrintable(error));
        ++script_errors;
    });
    QObject::connect(&proxy, qOverload<int, QString>(&RobotProxy::scriptError), [&](int line, QString error) {
        std::printf("script error at line %d: %s\n", line, qPrintable(error));
        ++line_errors;
    });

    if (proxy.connect(target.host, target.port) != 0 || proxy.login("admin", "admin") != 0 ||
        proxy.selectRobot(0) != 0) {
        const RobotProxy::LastError error = proxy.lastError();
        std::fprintf(stderr, "cannot reach the controller: %s (code %d)\n", qPrintable(error.text),
                     error.code);
        return 1;
    }
    const std::string script = "def example()\n  movej(get_target_pose(), 1.0, 1.0)\nend\n";
    const int sent = proxy.sendScript(script);
    std::printf("sendScript: %d\n", sent);
    if (sent != 0) {
        std::fprintf(stderr, "script not sent: %s\n", qPrintable(proxy.lastError().text));
        return 1;
    }

    bool arrived = true;
    if (target.simulator) {
        arrived = example::waitFor(5000, [&] { return !target.simulator->receivedScripts().empty(); });
        target.simulator->sendScriptError("get_target_pose is not defined");
        temla::common_interface::RobotMsg line_message;
        line_message.level = 2;
        line_message.code = 10001;  // any catalogue code: its text is filled with the arguments
        line_message.source = "R1:2";
        line_message.args = {"2"};
        target.simulator->injectMessage(line_message);
        example::waitFor(5000, [&] { return script_errors > 0 && line_errors > 0; });
    }
    example::waitFor(target.seconds * 1000, [] { return false; });
    proxy.disconnectFromServer();

    const bool ok = !target.simulator || (arrived && script_errors > 0 && line_errors > 0);
    std::printf("send-script: %s\n", ok ? "ok" : "missing errors");
    return ok ? 0 : 1;
}
