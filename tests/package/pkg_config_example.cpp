// Built with nothing but `pkg-config --cflags --libs robot_proxy` against the unpacked packages:
// a proxy that has not connected yet, and the catalogue in English and in the shipped German.

#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>

#include <robot_proxy/robot_proxy.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::printf("usage: %s <robot_proxy_de.qm>\n", argv[0]);
        return 2;
    }
    bool ok = false;
    {
        temla::korvu_sdk::RobotProxy proxy;
        ok = !proxy.hasConnected() && proxy.getErrorCodeMsg(30044) == QStringLiteral("Robot emergency stop");
    }
    QTranslator german;
    ok = ok && german.load(QString::fromLocal8Bit(argv[1])) && QCoreApplication::installTranslator(&german);
    temla::korvu_sdk::RobotProxy translated;
    ok = ok && translated.getErrorCodeMsg(30044) == QString::fromUtf8("Not-Halt des Roboters");
    std::printf("pkg-config example: %s\n", ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
