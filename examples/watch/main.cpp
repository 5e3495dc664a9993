// connect-and-watch: connects, logs in, selects the first robot, and prints its modes, its joint
// positions from the realtime state cache and every popup for a bounded time. Against the
// in-process simulator it also powers the arm on and injects a protective stop, and checks that
// the mode changes and the popup arrived.
#include <QCoreApplication>

#include <cstdio>

#include <korvu_sdk/rpc_client.h>
#include <robot_proxy/realtime_robot_state.h>  // getRealTimeState()'s type is only declared in robot_proxy.h
#include <robot_proxy/robot_proxy.h>

#include <korvu_sdk/api.h>
#include <korvu_sdk/korvu_exception.h>

#include "example_target.h"

using temla::korvu_sdk::RobotProxy;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    example::Target target = example::parseTarget(app, "Watches a robot's modes, joints and popups.", 2);

    RobotProxy proxy;
    proxy.setRequestTimeout(2000);  // generous for a loaded machine
    int robot_modes = 0;
    int popups = 0;
    // The signals are emitted on the library's threads and queued to this (the main) thread.
    QObject::connect(&proxy, &RobotProxy::robotModeChanged, [&](int robot, RobotProxy::RobotModeType mode) {
        std::printf("robot %d: robot mode %d\n", robot, static_cast<int>(mode));
        ++robot_modes;
    });
    QObject::connect(&proxy, &RobotProxy::safetyModeChanged, [](int robot, RobotProxy::SafetyModeType mode) {
        std::printf("robot %d: safety mode %d\n", robot, static_cast<int>(mode));
    });
    QObject::connect(&proxy, &RobotProxy::popup, [&](int robot, int level, QString title, QString msg, int) {
        std::printf("robot %d: popup level %d \"%s\": %s\n", robot, level, qPrintable(title),
                    qPrintable(msg));
        ++popups;
    });

    if (proxy.connect(target.host, target.port) != 0 || proxy.login("admin", "admin") != 0 ||
        proxy.selectRobot(0) != 0) {
        const RobotProxy::LastError error = proxy.lastError();
        std::fprintf(stderr, "cannot reach the controller: %s (code %d)\n", qPrintable(error.text),
                     error.code);
        return 1;
    }
    std::printf("watching %s\n", qPrintable(proxy.getRobotName()));

    // Powering on changes the robot mode; the simulator's protective stop brings popups.
    // The interfaces are the SDK's: a failed request raises KorvuException.
    try {
        std::printf("poweron: %d\n", proxy.getRobotManage()->poweron());
    } catch (const temla::common_interface::KorvuException &e) {
        std::printf("poweron failed: %s (code %d)\n", e.what(), e.code());
    }
    if (target.simulator)
        target.simulator->protectiveStop(0);
    const int run_ms = target.seconds * 1000;
    example::waitFor(run_ms, [] { return false; });
    const std::vector<double> joints = proxy.getRealTimeState()->getJointPositions();
    std::printf("joints:");
    for (double q : joints)
        std::printf(" %.4f", q);
    std::printf("\n");
    proxy.disconnectFromServer();

    // With the simulator, the injected events must have come through.
    const bool ok = !target.simulator || (robot_modes > 0 && popups > 0 && !joints.empty());
    std::printf("connect-and-watch: %s\n", ok ? "ok" : "missing events");
    return ok ? 0 : 1;
}
