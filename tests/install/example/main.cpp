// Uses the installed library the way an application does: a proxy that has not connected yet,
// the catalogue lookup and the escape decoding.

#include <QCoreApplication>

#include <cstdio>

#include <robot_proxy/robot_proxy.h>
#include <robot_proxy/version.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    temla::korvu_sdk::RobotProxy proxy;
    const QString text = proxy.getErrorCodeMsg(10001);
    const bool ok = text == QStringLiteral("joint%1 error: over current") && !proxy.hasConnected() &&
                    proxy.getRobotIndex() == -1 && temla::korvu_sdk::unescape("a\\tb") == "a\tb";
    std::printf("robot_proxy example: %s\n", ok ? "ok" : "unexpected results");
    return ok ? 0 : 1;
}
