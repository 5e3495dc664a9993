#pragma once

#include <functional>
#include <mutex>
#include <optional>

#include "controller_state.h"
#include "program_host.h"

namespace temla::korvu_sim::program
{

// What the simulator lends the program's robot: its state under its lock, and its outputs.
struct SimulatorLinks {
    std::mutex &mutex;
    ControllerState &state;
    std::function<void(const common_interface::RobotMsg &)> send_message;  // on the I/O thread
    std::function<void(const std::string &, const std::vector<std::string> &)> notify_script;
    std::function<void()> notify_change;
    // Moves the model to the present before a command; sends what the model raised after it.
    std::function<void()> advance_model;
    std::function<void()> flush_outbox;
};

// The program's robot: the first robot of the simulator, driven through its RobotController.
// Refusals and abandoned moves carry the controller's command_result codes. Pausing stops the
// move with its own acceleration; resuming commands the same target again.
class SimProgramHost : public ProgramHost
{
public:
    explicit SimProgramHost(SimulatorLinks links) : links(std::move(links)) {}

    std::string robotName() const override;
    int dof() const override;
    MotionStatus startMotion(const MotionCommand &command) override;
    MotionStatus motionStatus() override;
    void holdMotion(bool hold) override;
    bool steady() override;
    void stopMotion() override;
    std::vector<double> jointPositions() override;
    std::vector<double> tcpPose() override;
    bool setDigitalOutput(int index, bool value) override;
    std::optional<bool> digitalOutput(int index) override;
    std::optional<bool> digitalInput(int index) override;
    bool setAnalogOutput(int index, double value) override;
    std::optional<double> analogOutput(int index) override;
    std::optional<double> analogInput(int index) override;
    void setTcp(const std::vector<double> &offset) override;
    void setPayload(double mass, const std::vector<double> &cog) override;
    void sendMessage(const common_interface::RobotMsg &message) override;
    void notifyScript(const std::string &method, const std::vector<std::string> &params) override;
    void setRuntimeState(common_interface::RuntimeState state) override;
    void setRuntimeContext(int task, int line) override;

private:
    // Runs a controller command on the first robot, the model brought up to date before and its
    // messages sent after.
    template <typename Command>
    auto command(Command &&run);
    int issue(const MotionCommand &command);
    bool braking();

    SimulatorLinks links;
    std::optional<MotionCommand> current;  // the move in progress, for resuming it
    std::optional<MotionStatus> refused;   // a resumed move the controller refused
    bool held = false;
    bool deferred = false;  // current waits for a stop ramp to end
};

}  // namespace temla::korvu_sim::program
