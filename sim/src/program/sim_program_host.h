#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "controller_state.h"
#include "program_host.h"

namespace temla::korvu_sim::program
{

// Codes of moves the simulated robot refuses or abandons.
inline constexpr int kMoveNotRunning = -301;   // the robot mode is not Running
inline constexpr int kMoveSafety = -302;       // the safety mode is not Normal or Reduced
inline constexpr int kMoveOutOfLimits = -303;  // a joint target outside the joint limits
inline constexpr int kMoveUnreachable = -304;  // no joint solution for a pose of the path
inline constexpr int kMoveBadPath = -305;      // a circle through three points on a line

// What the simulator lends the program's robot: its state under its lock, and its outputs.
struct SimulatorLinks {
    std::mutex &mutex;
    ControllerState &state;
    std::function<void(const common_interface::RobotMsg &)> send_message;  // on the I/O thread
    std::function<void(const std::string &, const std::vector<std::string> &)> notify_script;
    std::function<void()> notify_change;
};

// The program's robot in the simulator's model: the first robot. While a program has moved it,
// the arm stands where the program left it (the built-in sine motion is switched off) and moves
// follow a cosine speed profile over time; linear and circular moves solve the joints on every
// tick. Call tick() before the runner's tick.
class SimProgramHost : public ProgramHost
{
public:
    explicit SimProgramHost(SimulatorLinks links);

    void tick(std::chrono::steady_clock::time_point now);

    std::string robotName() const override;
    int dof() const override;
    MotionStatus startMotion(const MotionCommand &command) override;
    MotionStatus motionStatus() override;
    void holdMotion(bool hold) override;
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
    struct Move;
    // Both need the lock held.
    RobotModel &robot();
    std::vector<double> currentJoints();
    std::optional<MotionStatus> safetyAbort();

    SimulatorLinks links;
    std::shared_ptr<Move> move;
    MotionStatus last;
    bool held = false;
    std::chrono::steady_clock::time_point last_tick{};
    std::vector<double> tcp_offset = std::vector<double>(6, 0.0);
    std::map<int, bool> digital_outputs;
    std::map<int, double> analog_outputs;
};

}  // namespace temla::korvu_sim::program
