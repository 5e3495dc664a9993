#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "korvu_sdk/types.h"
#include "korvu_sim/robot_model.h"
#include "korvu_sim/scenario.h"

namespace temla::korvu_sim
{

// Bytes of unfinished incoming frames all connections together may hold (four of the largest
// frames); a connection that would go beyond it is closed.
inline constexpr std::size_t kMaxBufferedInput = 64u * 1024u * 1024u;

struct SimulatorOptions {
    std::string host = "127.0.0.1";
    int base_port = 0;  // 0: pick a free base port (RPC, realtime and script ports all free)
    std::string user = "admin";
    std::string password = "admin";
    std::vector<RobotModel> robots;  // empty: robot_count default robots
    int robot_count = 1;
    // No timer frames: realtime frames go out only on step().
    bool manual_stepping = false;
    // Events run relative to the first successful login.
    std::vector<ScenarioEvent> events;
    // Connections, logins and dropped peers, one line each; called on the simulator's thread.
    std::function<void(const std::string &)> log;
};

// Robots, credentials and events of a scenario applied over the given options.
SimulatorOptions applyScenario(SimulatorOptions options, const Scenario &scenario);

// A simulated controller: RPC at base + 4, realtime data at base + 10, script at base + 2.
// Every public member is thread-safe; none may be called from a log callback.
class Simulator
{
public:
    explicit Simulator(SimulatorOptions options = {});
    ~Simulator();  // stops
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Binds the three servers and starts the simulator's thread. Throws std::system_error when
    // the ports cannot be bound (after retrying other bases when the base port is picked).
    void start();
    // Closes every connection and server and joins the thread. Idempotent.
    void stop();

    const std::string &host() const;
    int basePort() const;
    int rpcPort() const;
    int realtimePort() const;
    int scriptPort() const;

    // --- model ---
    std::vector<std::string> robotNames() const;
    RobotModel robot(int index) const;
    // Runs change on the robot's model under the simulator's lock; an index out of range does nothing.
    void updateRobot(int index, const std::function<void(RobotModel &)> &change);
    void setRobotMode(int index, common_interface::RobotModeType mode);
    void setSafetyMode(int index, common_interface::SafetyModeType mode);
    void setRuntimeState(common_interface::RuntimeState state);
    void setRuntimeContext(int thread_id, int line_number);
    void setModbusSignals(std::vector<std::string> names, std::vector<int32_t> values,
                          std::vector<int32_t> errors);
    void setGripperStatuses(std::vector<common_interface::GripperStatus> statuses);
    // Named registers (bools are 0 and 1). A set register hides the built-in fieldbus tables.
    void setRegister(const std::string &name, std::int64_t value);
    void clearRegister(const std::string &name);
    // PROFINET slot tables (row 0 is slot 1) served as "__internal.pn_server.slot%1..." registers.
    void setPnSlots(std::vector<std::vector<std::uint8_t>> slots);
    std::vector<std::vector<std::uint8_t>> pnSlots() const;
    // EtherNet/IP tables: row 0 is transfer type 0 (310 entries), row 1 type 1 (216 entries).
    std::vector<std::vector<std::uint8_t>> eipTables() const;

    // --- controller ---
    // Runs an RPC command (docs/wire-protocol.md) as a client's request would, params a JSON array
    // in text; returns its result code. Throws std::invalid_argument for an unknown method, bad
    // parameters or an unknown robot.
    int command(const std::string &method, const std::string &params_json);
    std::vector<double> jointPositions(int index) const;
    // No motion runs and every joint stands still.
    bool isSteady(int index) const;
    bool waitForSteady(int index, std::chrono::milliseconds timeout) const;
    bool waitForRobotMode(int index, common_interface::RobotModeType mode,
                          std::chrono::milliseconds timeout) const;
    // The arm decelerates to standstill within the robot's stop time; safety mode ProtectiveStop,
    // message 30039 and the cause's message (30009 "Position deviates from path" by default).
    void protectiveStop(int index, int cause_code = 30009);
    // A protective stop for a collision detected by joint (1-based): message 30014.
    void collision(int index, int joint);
    // which: SystemEmergencyStop or RobotEmergencyStop. The arm stops and powers off.
    void emergencyStop(int index, common_interface::SafetyModeType which);
    void releaseEmergencyStop(int index);
    // Slow-down level and the percent of the commanded speeds it allows: message 30307.
    void setSlowDown(int index, int level, int percent);
    // Moves the joints from outside: in freedrive, or while powered off (message 30031). False when
    // the arm holds its position.
    bool pushJoints(int index, const std::vector<double> &q);

    // --- robot messages on "R1_message" ---
    // Each message reaches every realtime channel carrying "R1_message" once, in injection order;
    // messages injected while no such channel exists go to the next channel that asks for it.
    void injectMessage(const common_interface::RobotMsg &message);
    void injectMessages(const std::vector<common_interface::RobotMsg> &messages);

    // --- script server ---
    std::vector<std::string> receivedScripts() const;
    void sendScriptError(const std::string &text);
    void sendScriptError2(const std::string &first, const std::string &second);
    void sendVariableUpdate(const std::string &name, const std::string &value);

    // --- faults ---
    // Closes the current connections of one server or of all; the servers keep accepting.
    void dropConnections(ServerKind kind);
    void refuseLogins(bool refuse);
    // The named RPC method (as in docs/wire-protocol.md) answers with this error until cleared.
    void failMethod(const std::string &method, int code, const std::string &message);
    // The named RPC method answers only after the delay.
    void stallMethod(const std::string &method, std::chrono::milliseconds delay);
    void clearMethodFaults();

    // --- streaming ---
    void pauseStreaming();
    void resumeStreaming();
    void setManualStepping(bool manual);
    // Sends one frame on every channel of every realtime connection (also while paused or in
    // manual mode) and returns once they are queued for sending.
    void step();
    // Frames sent so far on all realtime connections.
    std::uint64_t framesSent() const;

    // --- observation ---
    // Bytes of incoming frames not yet complete, over all connections (at most kMaxBufferedInput).
    std::size_t bufferedInputBytes() const;
    int callCount(const std::string &method) const;
    void resetCallCounts();
    int connectionCount(ServerKind kind) const;  // All: the sum of the three
    int loginCount(ServerKind kind) const;       // logged-in connections
    // At least n connections on each of the three servers.
    bool waitForClients(int n, std::chrono::milliseconds timeout) const;
    // At least n logged-in connections on each of the three servers.
    bool waitForLogins(int n, std::chrono::milliseconds timeout) const;
    bool waitForScripts(size_t n, std::chrono::milliseconds timeout) const;
    bool waitForCallCount(const std::string &method, int n, std::chrono::milliseconds timeout) const;
    // condition is re-checked whenever the simulator's state changes (and at least every 20 ms);
    // it may call the members above.
    bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const;

    // --- programs (Lua, see docs/simulator.md) ---
    // Loads the program as if it came on the script channel and starts it; false on a syntax error.
    bool runProgram(const std::string &text);
    // The runtime machine's command: 0, or RuntimeMachine::kNotAllowed / kNoProgram.
    int programCommand(ProgramCommand command);
    common_interface::RuntimeState runtimeState() const;
    bool waitForRuntimeState(common_interface::RuntimeState state, std::chrono::milliseconds timeout) const;

    struct Impl;

private:
    std::shared_ptr<Impl> impl;
};

}  // namespace temla::korvu_sim
