#include "scenario_runner.h"

#include <chrono>

#include "korvu_wire/protocol.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{

using common_interface::RobotModeType;
using common_interface::SafetyModeType;
using korvu_wire::Json;

void ScenarioRunner::start()
{
    if (started_)
        return;
    started_ = true;
    for (const auto &event : sim_.options.events) {
        auto timer = std::make_unique<asio::steady_timer>(
            sim_.io,
            std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(event.at)));
        timer->async_wait([self = sim_.shared_from_this(), event](std::error_code ec) {
            if (!ec)
                self->scenario.run(event);
        });
        timers_.push_back(std::move(timer));
    }
}

void ScenarioRunner::cancel()
{
    for (auto &timer : timers_)
        timer->cancel();
}

void ScenarioRunner::clear()
{
    timers_.clear();
}

void ScenarioRunner::run(const ScenarioEvent &event)
{
    using Kind = ScenarioEvent::Kind;
    switch (event.kind) {
        case Kind::Message: {
            common_interface::RobotMsg message;
            message.timestamp = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
            message.code = event.code;
            message.level = event.level;
            message.source = sim_.locked([&] {
                return event.source.value_or(sim_.state.robots.empty() ? ""
                                                                       : sim_.state.robots[0].model.name);
            });
            message.args = event.args;
            sim_.realtime.distribute(message);
            break;
        }
        case Kind::RobotMode:
        case Kind::SafetyMode:
            sim_.locked([&] {
                if (event.robot < 0 || static_cast<size_t>(event.robot) >= sim_.state.robots.size())
                    return;
                auto &model = sim_.state.robots[static_cast<size_t>(event.robot)].model;
                if (event.kind == Kind::RobotMode)
                    model.robot_mode = static_cast<RobotModeType>(event.mode);
                else
                    model.safety_mode = static_cast<SafetyModeType>(event.mode);
            });
            break;
        case Kind::Register:
            sim_.locked([&] { sim_.state.registers[event.name] = event.register_value; });
            break;
        case Kind::ScriptError:
            sim_.script.push(korvu_wire::kScriptErrorNotification, Json::array({event.text}));
            break;
        case Kind::VariableUpdate:
            sim_.script.push(korvu_wire::kVariableUpdateNotification, Json::array({event.name, event.text}));
            break;
        case Kind::Drop:
            sim_.connections.drop(event.drop);
            break;
        case Kind::Program:
            sim_.script.runProgram(event.text);
            break;
        case Kind::Runtime:
            sim_.script.programCommand(event.command);
            break;
    }
    sim_.log("scenario event at " + std::to_string(event.at) + " s done");
    sim_.notifyChange();
}

SimulatorOptions applyScenario(SimulatorOptions options, const Scenario &scenario)
{
    if (!scenario.robots.empty()) {
        options.robots.clear();
        for (size_t i = 0; i < scenario.robots.size(); ++i) {
            const ScenarioRobot &r = scenario.robots[i];
            RobotModel model = makeDefaultRobot(static_cast<int>(i), r.dof.value_or(6), r.name);
            if (r.type)
                model.type = *r.type;
            if (r.robot_mode)
                model.robot_mode = static_cast<RobotModeType>(*r.robot_mode);
            if (r.safety_mode)
                model.safety_mode = static_cast<SafetyModeType>(*r.safety_mode);
            model.has_enc_tick_count = r.enc_tick_count;
            options.robots.push_back(std::move(model));
        }
        options.robot_count = static_cast<int>(options.robots.size());
    }
    if (scenario.user)
        options.user = *scenario.user;
    if (scenario.password)
        options.password = *scenario.password;
    options.events = scenario.events;
    return options;
}

}  // namespace temla::korvu_sim
