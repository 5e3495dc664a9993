// pendant: an operator window on librobot_proxy. Without --host it starts a simulated controller in
// its own process (when built with the simulator).
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include <iostream>
#include <memory>

#include "pendant_window.h"
#include "program_panel.h"
#include "robot_proxy/robot_proxy.h"

#ifdef PENDANT_WITH_SIMULATOR
#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"
#endif

namespace
{

struct Options {
    QString host;
    int port = 30000;
    QString user = "admin";
    QString password = "admin";
    int robot = 0;
    QString scenario;
    QString script;
    QString translations;
};

Options parse(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Operator window for one robot controller.");
    parser.addHelpOption();
    parser.addOptions({
        {"host", "Controller address; without it a simulated controller runs in this process.", "address"},
        {"port", "Controller base port (default 30000).", "port", "30000"},
        {"user", "Login user (default admin).", "name", "admin"},
        {"password", "Login password (default admin).", "password", "admin"},
        {"robot", "Index of the robot to select first (default 0).", "N", "0"},
        {"scenario", "Scenario file for the simulated controller.", "file"},
        {"script", "Program file to load into the program panel.", "file"},
        {"translations", "Folder with the catalogue translations (robot_proxy_<lang>.qm).", "folder"},
    });
    parser.process(app);
    Options options;
    options.host = parser.value("host");
    options.port = parser.value("port").toInt();
    options.user = parser.value("user");
    options.password = parser.value("password");
    options.robot = parser.value("robot").toInt();
    options.scenario = parser.value("scenario");
    options.script = parser.value("script");
    options.translations = parser.value("translations");
#ifdef PENDANT_TRANSLATIONS_DIR
    if (options.translations.isEmpty()) {
        options.translations = PENDANT_TRANSLATIONS_DIR;
    }
#endif
    return options;
}

// The catalogue texts are translated when the proxy is constructed, so this comes first.
void installTranslations(QApplication &app, QTranslator &catalogue, QTranslator &qt, const QString &folder)
{
    if (qt.load(QLocale(), "qtbase", "_", QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&qt);
    }
    if (!folder.isEmpty() && catalogue.load(QLocale(), "robot_proxy", "_", folder)) {
        app.installTranslator(&catalogue);
    }
}

#ifdef PENDANT_WITH_SIMULATOR
std::unique_ptr<temla::korvu_sim::Simulator> startSimulator(const QString &scenario)
{
    temla::korvu_sim::SimulatorOptions options;
    if (!scenario.isEmpty()) {
        options =
            temla::korvu_sim::applyScenario(options, temla::korvu_sim::loadScenario(scenario.toStdString()));
    }
    auto simulator = std::make_unique<temla::korvu_sim::Simulator>(options);
    simulator->start();
    return simulator;
}
#endif

// 0, or the exit status: 2 no connection, 3 login refused, 1 no such robot.
int connectProxy(temla::korvu_sdk::RobotProxy &proxy, const Options &options, const QString &host, int port)
{
    if (proxy.connect(host, port) != 0) {
        std::cerr << "pendant: cannot connect to " << host.toStdString() << " base port " << port
                  << std::endl;
        return 2;
    }
    if (proxy.login(options.user, options.password) != 0) {
        std::cerr << "pendant: login as " << options.user.toStdString() << " failed" << std::endl;
        return 3;
    }
    if (proxy.selectRobot(options.robot) != 0) {
        std::cerr << "pendant: robot " << options.robot << " does not exist" << std::endl;
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("pendant");
    const Options options = parse(app);
    QTranslator catalogue;
    QTranslator qt;
    installTranslations(app, catalogue, qt, options.translations);

    QString host = options.host;
    int port = options.port;
    try {
#ifdef PENDANT_WITH_SIMULATOR
        std::unique_ptr<temla::korvu_sim::Simulator> simulator;
        if (host.isEmpty()) {
            simulator = startSimulator(options.scenario);
            host = QString::fromStdString(simulator->host());
            port = simulator->basePort();
        }
#else
        if (host.isEmpty()) {
            std::cerr << "pendant: built without the simulator; give --host" << std::endl;
            return 1;
        }
#endif
        temla::korvu_sdk::RobotProxy proxy;
        if (const int status = connectProxy(proxy, options, host, port)) {
            return status;
        }
        pendant::PendantWindow window(proxy);
        if (!options.script.isEmpty()) {
            window.program()->loadFile(options.script);
        }
        window.show();
        const int status = app.exec();
        proxy.disconnectFromServer();
        return status;
    } catch (const std::exception &e) {
        std::cerr << "pendant: " << e.what() << std::endl;
        return 1;
    }
}
