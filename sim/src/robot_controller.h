#pragma once

#include <string>
#include <vector>

#include "controller_state.h"
#include "korvu_sdk/api.h"

namespace temla::korvu_sim
{

enum class DigitalBank { Standard, Tool, Configurable };

// The controller of one robot: its mode state machine, safety, motion and I/O. Every command
// returns a common_interface::command_result code and, where a controller tells the operator,
// queues the robot message in the state's outbox. Not synchronised: the simulator's lock guards it.
class RobotController
{
public:
    RobotController(ControllerState &state, RobotRuntime &robot) : state_(state), robot_(robot) {}

    int powerOn();
    int powerOff();
    int startup();
    int setFreedrive(bool enable);
    int setOperationalMode(common_interface::OperationalModeType mode);
    int unlockProtectiveStop();
    int setSpeedFraction(double fraction);

    int moveJoint(const std::vector<double> &q, double speed, double acceleration);
    int moveLine(const std::vector<double> &pose, double speed, double acceleration);
    int moveCircle(const std::vector<double> &via, const std::vector<double> &end, double speed,
                   double acceleration);
    int speedJoint(const std::vector<double> &qd, double acceleration, double watchdog);
    int speedLine(const std::vector<double> &twist, double acceleration, double watchdog);
    int stopMove(double deceleration);
    bool isSteady() const;

    int setDigitalOutput(DigitalBank bank, int index, bool value);
    int setAnalogOutput(int index, double value);
    // Inputs, driven from outside; false for a channel the robot does not have.
    bool setDigitalInput(DigitalBank bank, int index, bool value);
    bool setAnalogInput(int index, double value);
    int setTcpOffset(const std::vector<double> &offset);
    int setPayload(double mass, const std::vector<double> &cog);

    // Raised by the scenario or the test API.
    void protectiveStop(int cause_code);
    void collision(int joint);
    void emergencyStop(common_interface::SafetyModeType which);
    void releaseEmergencyStop();
    void setSlowDown(int level, int percent);
    // Moves the joints from outside (a hand in freedrive, a push while powered off); false when the
    // arm holds its position (powered, brakes released, no freedrive).
    bool pushJoints(const std::vector<double> &q);
    // Forces a robot mode, as the old scenario events did: streamed, no message, motion stops.
    void forceRobotMode(common_interface::RobotModeType mode);

    void advance(double seconds);

private:
    void send(int code, int level, std::vector<std::string> args = {});
    void enterMode(common_interface::RobotModeType mode);
    void enterSafetyMode(common_interface::SafetyModeType mode);
    void schedule(common_interface::RobotModeType to, double seconds);
    // 0 when the robot can take a motion command now, else the refusal (its message sent).
    int motionRefusal(bool jogging);
    int refuseWrongMode();
    void brake(std::optional<double> within_seconds, std::optional<double> deceleration);
    void start(std::unique_ptr<Motion> motion);
    int jog(const std::vector<double> &target, double acceleration, double watchdog, bool cartesian);
    bool validJoints(const std::vector<double> &values) const;
    std::vector<double> limited(const std::vector<double> &joint_limits, double requested) const;
    std::vector<double> currentPose() const;

    ControllerState &state_;
    RobotRuntime &robot_;
};

// The robot of that name, or nullptr.
RobotRuntime *findRobot(ControllerState &state, const std::string &name);

}  // namespace temla::korvu_sim
