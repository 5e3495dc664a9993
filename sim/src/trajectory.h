#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace temla::korvu_sim
{

// Trapezoidal (or, when too short to reach the speed, triangular) profile of a distance covered
// from rest to rest with bounded speed and acceleration.
class Trapezoid
{
public:
    Trapezoid(double distance, double max_speed, double max_acceleration);
    double duration() const { return 2.0 * ramp_ + flat_; }
    // Distance covered and speed at time t, clamped to [0, duration()].
    double position(double t) const;
    double speed(double t) const;

private:
    double distance_, peak_, acceleration_, ramp_, flat_;
};

// Joint positions and speeds, one value per joint.
struct JointState {
    std::vector<double> q;
    std::vector<double> qd;
};

// One running motion of the arm. advance() moves time on by dt and updates the joint state; it
// returns false once the motion is over and the joints stand still.
class Motion
{
public:
    virtual ~Motion() = default;
    virtual bool advance(double dt, JointState &joints) = 0;
};

// Rest-to-rest joint move: every joint follows one shared trapezoid, so all arrive together and
// each stays within its own speed and acceleration bound.
std::unique_ptr<Motion> makeJointMove(const std::vector<double> &from, const std::vector<double> &to,
                                      const std::vector<double> &max_speeds,
                                      const std::vector<double> &max_accelerations);

// Rest-to-rest move along a path of the given length: joint positions at arc length s come from
// joints_at(s) (nullopt: the path cannot be followed there, and the motion stops).
using PathSolver =
    std::function<std::optional<std::vector<double>>(double s, const std::vector<double> &seed)>;
std::unique_ptr<Motion> makePathMove(double length, double max_speed, double max_acceleration,
                                     PathSolver joints_at);

// Every joint decelerates linearly to a stop, all at the same moment, no joint faster than its
// deceleration bound and none later than within_seconds when that is given.
std::unique_ptr<Motion> makeBraking(const JointState &joints, const std::vector<double> &max_decelerations,
                                    std::optional<double> within_seconds = std::nullopt);

// Jogging: the joint speeds follow a target that set() renews; when no renewal comes within the
// watchdog time the target becomes zero and the motion ends at standstill. speeds_for maps the
// jog target (joint speeds or a TCP twist) to joint speeds at the current joints.
class Jog : public Motion
{
public:
    using SpeedMap = std::function<std::optional<std::vector<double>>(const std::vector<double> &target,
                                                                      const std::vector<double> &q)>;
    Jog(SpeedMap speeds_for, std::vector<double> joint_max_speeds,
        std::vector<double> joint_max_accelerations, std::vector<double> q_min, std::vector<double> q_max);
    void set(std::vector<double> target, double acceleration, double watchdog);
    // The watchdog runs on real time, whatever pace the speed fraction gives the motion.
    void countDown(double seconds) { watchdog_left_ -= seconds; }
    bool advance(double dt, JointState &joints) override;

private:
    SpeedMap speeds_for_;
    std::vector<double> max_speeds_, max_accelerations_, q_min_, q_max_;
    std::vector<double> target_;
    double acceleration_ = 0.0;
    double watchdog_left_ = 0.0;
};

}  // namespace temla::korvu_sim
