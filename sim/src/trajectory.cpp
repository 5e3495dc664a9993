#include "trajectory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace temla::korvu_sim
{
namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Joint movements below this count as none.
constexpr double kNegligible = 1e-12;

class JointMove : public Motion
{
public:
    JointMove(std::vector<double> from, std::vector<double> to, double speed, double acceleration)
        : from_(std::move(from)), to_(std::move(to)), profile_(1.0, speed, acceleration)
    {
    }
    bool advance(double dt, JointState &joints) override
    {
        t_ = std::min(t_ + dt, profile_.duration());
        const double s = profile_.position(t_), sd = profile_.speed(t_);
        for (size_t j = 0; j < from_.size(); ++j) {
            joints.q[j] = from_[j] + (to_[j] - from_[j]) * s;
            joints.qd[j] = (to_[j] - from_[j]) * sd;
        }
        if (t_ < profile_.duration())
            return true;
        joints.q = to_;
        return false;
    }

private:
    std::vector<double> from_, to_;
    Trapezoid profile_;  // of the share of the way covered, 0 to 1
    double t_ = 0.0;
};

class PathMove : public Motion
{
public:
    PathMove(double length, double speed, double acceleration, PathSolver solver)
        : profile_(length, speed, acceleration), solver_(std::move(solver))
    {
    }
    bool advance(double dt, JointState &joints) override
    {
        if (dt <= 0.0)
            return true;
        t_ = std::min(t_ + dt, profile_.duration());
        auto q = solver_(profile_.position(t_), joints.q);
        if (!q) {
            std::fill(joints.qd.begin(), joints.qd.end(), 0.0);
            return false;
        }
        const bool last = t_ >= profile_.duration();
        for (size_t j = 0; j < q->size(); ++j)
            joints.qd[j] = last ? 0.0 : ((*q)[j] - joints.q[j]) / dt;
        joints.q = *q;
        return !last;
    }

private:
    Trapezoid profile_;  // of the arc length
    PathSolver solver_;
    double t_ = 0.0;
};

class Braking : public Motion
{
public:
    Braking(std::vector<double> qd, double duration) : qd0_(std::move(qd)), duration_(duration) {}
    bool advance(double dt, JointState &joints) override
    {
        const double t0 = t_;
        t_ = std::min(t_ + dt, duration_);
        // Exact integral of the linear ramp between t0 and t_.
        auto factor = [this](double t) { return duration_ > 0.0 ? 1.0 - t / duration_ : 0.0; };
        for (size_t j = 0; j < qd0_.size(); ++j) {
            joints.q[j] += qd0_[j] * (t_ - t0) * 0.5 * (factor(t0) + factor(t_));
            joints.qd[j] = qd0_[j] * factor(t_);
        }
        return t_ < duration_;
    }

private:
    std::vector<double> qd0_;
    double duration_;
    double t_ = 0.0;
};

}  // namespace

Trapezoid::Trapezoid(double distance, double max_speed, double max_acceleration)
    : distance_(std::max(0.0, distance)),
      peak_(max_speed),
      acceleration_(max_acceleration),
      ramp_(0.0),
      flat_(0.0)
{
    if (distance_ <= 0.0 || !(max_speed > 0.0) || !(max_acceleration > 0.0)) {
        distance_ = 0.0;
        return;
    }
    ramp_ = peak_ / acceleration_;
    if (peak_ * ramp_ >= distance_) {
        peak_ = std::sqrt(distance_ * acceleration_);
        ramp_ = peak_ / acceleration_;
    } else {
        flat_ = (distance_ - peak_ * ramp_) / peak_;
    }
}

double Trapezoid::position(double t) const
{
    if (distance_ <= 0.0)
        return 0.0;
    t = std::clamp(t, 0.0, duration());
    if (t < ramp_)
        return 0.5 * acceleration_ * t * t;
    if (t < ramp_ + flat_)
        return 0.5 * peak_ * ramp_ + peak_ * (t - ramp_);
    const double left = duration() - t;
    return distance_ - 0.5 * acceleration_ * left * left;
}

double Trapezoid::speed(double t) const
{
    if (distance_ <= 0.0 || t <= 0.0 || t >= duration())
        return 0.0;
    if (t < ramp_)
        return acceleration_ * t;
    if (t < ramp_ + flat_)
        return peak_;
    return acceleration_ * (duration() - t);
}

std::unique_ptr<Motion> makeJointMove(const std::vector<double> &from, const std::vector<double> &to,
                                      const std::vector<double> &max_speeds,
                                      const std::vector<double> &max_accelerations)
{
    // The shared profile covers the share s of the way; joint j moves by delta_j * s, so the
    // profile's bounds are the tightest of max_j / |delta_j|.
    double speed = kInfinity, acceleration = kInfinity;
    for (size_t j = 0; j < from.size(); ++j) {
        const double delta = std::abs(to[j] - from[j]);
        if (delta < kNegligible)
            continue;
        speed = std::min(speed, max_speeds[j] / delta);
        acceleration = std::min(acceleration, max_accelerations[j] / delta);
    }
    if (speed == kInfinity)
        speed = acceleration = 1.0;
    return std::make_unique<JointMove>(from, to, speed, acceleration);
}

std::unique_ptr<Motion> makePathMove(double length, double max_speed, double max_acceleration,
                                     PathSolver joints_at)
{
    return std::make_unique<PathMove>(length, max_speed, max_acceleration, std::move(joints_at));
}

std::unique_ptr<Motion> makeBraking(const JointState &joints, const std::vector<double> &max_decelerations,
                                    std::optional<double> within_seconds)
{
    double duration = 0.0;
    for (size_t j = 0; j < joints.qd.size(); ++j)
        if (max_decelerations[j] > 0.0)
            duration = std::max(duration, std::abs(joints.qd[j]) / max_decelerations[j]);
    if (within_seconds)
        duration = std::min(duration, *within_seconds);
    return std::make_unique<Braking>(joints.qd, duration);
}

Jog::Jog(SpeedMap speeds_for, std::vector<double> joint_max_speeds,
         std::vector<double> joint_max_accelerations, std::vector<double> q_min, std::vector<double> q_max)
    : speeds_for_(std::move(speeds_for)),
      max_speeds_(std::move(joint_max_speeds)),
      max_accelerations_(std::move(joint_max_accelerations)),
      q_min_(std::move(q_min)),
      q_max_(std::move(q_max))
{
}

void Jog::set(std::vector<double> target, double acceleration, double watchdog)
{
    target_ = std::move(target);
    acceleration_ = acceleration;
    watchdog_left_ = watchdog;
}

bool Jog::advance(double dt, JointState &joints)
{
    std::vector<double> wanted(joints.qd.size(), 0.0);
    if (watchdog_left_ > 0.0) {
        auto speeds = speeds_for_(target_, joints.q);
        if (speeds)
            wanted = *speeds;
    }
    // Joint speeds above a joint's limit scale the whole wanted motion down, keeping its direction.
    double scale = 1.0;
    for (size_t j = 0; j < wanted.size(); ++j)
        if (std::abs(wanted[j]) > max_speeds_[j])
            scale = std::min(scale, max_speeds_[j] / std::abs(wanted[j]));
    bool moving = false;
    for (size_t j = 0; j < wanted.size(); ++j) {
        const double step = std::min(acceleration_, max_accelerations_[j]) * dt;
        const double qd = joints.qd[j] + std::clamp(wanted[j] * scale - joints.qd[j], -step, step);
        double q = joints.q[j] + 0.5 * (joints.qd[j] + qd) * dt;
        joints.qd[j] = qd;
        // A joint that reaches its limit stops there.
        if (q < q_min_[j] || q > q_max_[j]) {
            q = std::clamp(q, q_min_[j], q_max_[j]);
            joints.qd[j] = 0.0;
        }
        joints.q[j] = q;
        moving = moving || joints.qd[j] != 0.0;
    }
    return moving || watchdog_left_ > 0.0;
}

}  // namespace temla::korvu_sim
