#include "motion.h"

#include <cmath>

#include "kinematics.h"

namespace temla::korvu_sim
{
namespace
{

constexpr double kTicksPerRadian = 131072.0 / (2.0 * 3.14159265358979323846);
constexpr double kGravity = 9.81;
// A joint's current: standstill holding current, a share per rad/s, and the shoulder's load.
constexpr double kHoldingCurrent = 0.4;
constexpr double kCurrentPerSpeed = 0.8;
constexpr double kShoulderCurrent = 1.5;

}  // namespace

double motionScale(const RobotModel &robot)
{
    return robot.speed_fraction * robot.slow_down_percent / 100.0;
}

std::vector<double> streamedSpeeds(const RobotRuntime &robot)
{
    std::vector<double> qd = robot.joints.qd;
    if (robot.motion && !robot.motion_is_stop)
        for (double &v : qd)
            v *= motionScale(robot.model);
    return qd;
}

MotionSample sampleMotion(const RobotRuntime &robot)
{
    MotionSample s;
    s.q = robot.joints.q;
    s.qd = streamedSpeeds(robot);
    const size_t n = s.q.size();
    s.current.resize(n);
    s.enc_ticks.resize(n);
    for (size_t j = 0; j < n; ++j) {
        s.current[j] =
            kHoldingCurrent + kCurrentPerSpeed * std::abs(s.qd[j]) + (j == 1 ? kShoulderCurrent : 0.0);
        s.enc_ticks[j] = static_cast<int>(std::lround(s.q[j] * kTicksPerRadian));
    }
    s.tcp_pose = tcpPose(robot.model, s.q);
    s.tcp_speed = tcpTwist(robot.model, s.q, s.qd);
    s.tool_pose = tcpPose(robot.model, s.q, false);
    s.tcp_force = {0.0, 0.0, -robot.model.payload.mass * kGravity, 0.0, 0.0, 0.0};
    return s;
}

}  // namespace temla::korvu_sim
