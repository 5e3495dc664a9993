#include "embedded_controller.h"

#include <QFile>

#include "korvu_sim/scenario.h"

// Resources of a static library are registered only when asked for; Q_INIT_RESOURCE must be called
// outside any namespace.
static void registerDemoScenario()
{
    Q_INIT_RESOURCE(demo_scenario);
}

namespace monitor
{

std::string demoScenarioText()
{
    registerDemoScenario();
    QFile file(":/scenarios/demo.json");
    if (!file.open(QIODevice::ReadOnly)) {
        throw temla::korvu_sim::ScenarioError("the demo scenario is missing from the program");
    }
    return file.readAll().toStdString();
}

std::unique_ptr<temla::korvu_sim::Simulator> startEmbeddedController(
    const QString &scenario_path, std::function<void(const std::string &)> log)
{
    temla::korvu_sim::SimulatorOptions options;
    options.host = "127.0.0.1";
    options.base_port = 0;
    options.log = std::move(log);
    const auto scenario = scenario_path.isEmpty()
                              ? temla::korvu_sim::parseScenario(demoScenarioText())
                              : temla::korvu_sim::loadScenario(scenario_path.toStdString());
    auto simulator = std::make_unique<temla::korvu_sim::Simulator>(applyScenario(options, scenario));
    simulator->start();
    return simulator;
}

}  // namespace monitor
