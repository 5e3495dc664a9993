#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "korvu_sim/simulator.h"

namespace monitor
{

// The demo scenario shipped with the program (share/scenarios/demo.json, compiled in).
std::string demoScenarioText();

// Starts the simulator in this process on free loopback ports with the scenario file, or the demo
// scenario when scenario_path is empty. Throws korvu_sim::ScenarioError for a bad scenario and
// std::system_error when no ports can be bound.
std::unique_ptr<temla::korvu_sim::Simulator> startEmbeddedController(
    const QString &scenario_path, std::function<void(const std::string &)> log);

}  // namespace monitor
