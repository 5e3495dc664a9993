// Uses the installed library the way an application does: a proxy that has not connected yet,
// the catalogue lookup, the escape decoding, the catalogue translated by the shipped German
// translation and by the application's own one (compiled with robot_proxy_add_translation), and a
// connection and login to the installed simulator library on a loopback port.

#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>

#include <korvu_sdk/rpc_client.h>
#include <korvu_sim/simulator.h>
#include <robot_proxy/robot_proxy.h>
#include <robot_proxy/version.h>

namespace
{

bool check(bool ok, const char *what)
{
    if (!ok)
        std::printf("robot_proxy example: unexpected %s\n", what);
    return ok;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bool ok = true;
    {
        temla::korvu_sdk::RobotProxy proxy;
        ok &= check(proxy.getErrorCodeMsg(10001) == QStringLiteral("joint%1 error: over current"),
                    "English text");
        ok &= check(!proxy.hasConnected() && proxy.getRobotIndex() == -1, "initial state");
        ok &= check(temla::korvu_sdk::unescape("a\\tb") == "a\tb", "unescape");
    }

    // Texts are translated when a proxy is constructed, so the translators go in first.
    QTranslator shipped;
    QTranslator own;
    ok &= check(shipped.load(QStringLiteral(SHIPPED_QM)) && own.load(QStringLiteral(EXAMPLE_QM)),
                "translation files");
    QCoreApplication::installTranslator(&shipped);
    QCoreApplication::installTranslator(&own);
    temla::korvu_sdk::RobotProxy translated;
    ok &= check(translated.getErrorCodeMsg(10001) == QString::fromUtf8("Gelenk%1 Fehler: \u00dcberstrom"),
                "shipped German text");
    ok &= check(translated.getErrorCodeMsg(30044) == QStringLiteral("NOT-HALT"), "application's own text");

    temla::korvu_sim::Simulator sim;
    sim.start();
    // Generous: the test machine may be loaded or sanitized.
    translated.getRpcClient()->setRequestTimeout(5000);
    ok &= check(translated.connect(QString::fromStdString(sim.host()), sim.basePort()) == 0, "connect");
    ok &= check(translated.login("admin", "admin") == 0 && translated.selectRobot(0) == 0, "login");
    ok &= check(translated.hasLogined(), "login state");
    translated.disconnectFromServer();
    sim.stop();

    std::printf("robot_proxy example %s: %s\n", ROBOT_PROXY_VERSION, ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
