#include "scenario_runner.h"

#include <algorithm>
#include <chrono>
#include <numeric>

#include "korvu_wire/protocol.h"
#include "rpc_methods.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{

using common_interface::RobotModeType;
using common_interface::SafetyModeType;
using korvu_wire::Json;

namespace
{
// Due events run per turn of the io thread before other work gets its turn.
constexpr size_t kEventsPerTurn = 256;

bool earlier(const ScenarioEvent &a, const ScenarioEvent &b)
{
    return a.at < b.at;
}
}  // namespace

void ScenarioRunner::start()
{
    if (started_)
        return;
    started_ = true;
    origin_ = SteadyClock::now();
    const auto &events = sim_.options.events;
    if (!std::is_sorted(events.begin(), events.end(), earlier)) {
        order_.resize(events.size());
        std::iota(order_.begin(), order_.end(), size_t{0});
        std::stable_sort(order_.begin(), order_.end(),
                         [&events](size_t a, size_t b) { return earlier(events[a], events[b]); });
    }
    timer_ = std::make_unique<asio::steady_timer>(sim_.io);
    armNext();
}

void ScenarioRunner::cancel()
{
    cancelled_ = true;
    if (timer_)
        timer_->cancel();
}

void ScenarioRunner::clear()
{
    timer_.reset();
}

const ScenarioEvent &ScenarioRunner::event(size_t position) const
{
    return sim_.options.events[order_.empty() ? position : order_[position]];
}

// Times are clamped to [0, kMaxEventSeconds] before conversion: a larger double would overflow the
// clock's integer count and come out in the past.
SteadyClock::time_point ScenarioRunner::dueTime(size_t position) const
{
    const double at = event(position).at;
    const double seconds = at > 0.0 ? std::min(at, kMaxEventSeconds) : 0.0;
    return origin_ +
           std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(seconds));
}

void ScenarioRunner::armNext()
{
    if (cancelled_ || next_ >= sim_.options.events.size())
        return;
    timer_->expires_at(dueTime(next_));
    timer_->async_wait([self = sim_.shared_from_this()](std::error_code ec) {
        if (!ec)
            self->scenario.runDue();
    });
}

void ScenarioRunner::runDue()
{
    const auto now = SteadyClock::now();
    for (size_t ran = 0; ran < kEventsPerTurn && next_ < sim_.options.events.size() && dueTime(next_) <= now;
         ++ran)
        run(event(next_++));
    if (cancelled_)
        return;
    if (next_ < sim_.options.events.size() && dueTime(next_) <= now) {
        asio::post(sim_.io, [self = sim_.shared_from_this()] { self->scenario.runDue(); });
        return;
    }
    armNext();
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
            sim_.control(event.robot, [&event](RobotController &c) {
                c.forceRobotMode(static_cast<RobotModeType>(event.mode));
            });
            break;
        case Kind::SafetyMode:
            sim_.locked([&] {
                if (event.robot >= 0 && static_cast<size_t>(event.robot) < sim_.state.robots.size())
                    sim_.state.robots[static_cast<size_t>(event.robot)].model.safety_mode =
                        static_cast<SafetyModeType>(event.mode);
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
        default:
            runControllerEvent(event);
            break;
    }
    sim_.log("scenario event at " + std::to_string(event.at) + " s done");
    sim_.notifyChange();
}

void ScenarioRunner::runControllerEvent(const ScenarioEvent &event)
{
    using Kind = ScenarioEvent::Kind;
    if (event.kind == Kind::Command) {
        const Json params = Json::parse(event.text);
        try {
            sim_.realtime.advanceModel();
            Json answer =
                sim_.locked([&] { return callCommand(sim_.state, event.name, params); }).value_or(Json());
            sim_.log("scenario command " + event.name + " answered " + answer.dump());
        } catch (const std::exception &e) {
            sim_.log("scenario command " + event.name + " failed: " + e.what());
        }
        sim_.realtime.flushOutbox();
        return;
    }
    sim_.control(event.robot, [&event](RobotController &c) {
        switch (event.kind) {
            case Kind::ProtectiveStop:
                c.protectiveStop(event.code);
                break;
            case Kind::Collision:
                c.collision(event.code);
                break;
            case Kind::EmergencyStop:
                if (event.mode == static_cast<int>(SafetyModeType::Normal))
                    c.releaseEmergencyStop();
                else
                    c.emergencyStop(static_cast<SafetyModeType>(event.mode));
                break;
            case Kind::Input:
                if (event.name == "analog")
                    c.setAnalogInput(event.code, event.value);
                else
                    c.setDigitalInput(event.name == "standard" ? DigitalBank::Standard
                                      : event.name == "tool"   ? DigitalBank::Tool
                                                               : DigitalBank::Configurable,
                                      event.code, event.value != 0.0);
                break;
            default:
                c.pushJoints(event.joints);
                break;
        }
    });
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
