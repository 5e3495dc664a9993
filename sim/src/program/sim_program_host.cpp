#include "sim_program_host.h"

#include <Eigen/Geometry>
#include <cmath>

#include "motion.h"

namespace temla::korvu_sim::program
{
namespace
{

using common_interface::RobotModeType;
using common_interface::SafetyModeType;
using Vector6 = Eigen::Matrix<double, 6, 1>;

constexpr double kPi = 3.14159265358979323846;
// A cosine speed profile peaks at pi / 2 times the mean speed.
constexpr double kProfilePeak = kPi / 2.0;
constexpr double kShortestMove = 0.02;     // s
constexpr double kOrientationSpeed = 1.0;  // rad/s of the tool while moving linearly
constexpr int kIkIterations = 100;
constexpr double kIkTolerance = 1e-7;
constexpr double kIkDamping = 1e-3;
constexpr double kJacobianStep = 1e-7;

Eigen::Isometry3d frameOf(const std::vector<double> &pose)
{
    Eigen::Isometry3d frame = Eigen::Isometry3d::Identity();
    frame.translate(Eigen::Vector3d(pose[0], pose[1], pose[2]));
    frame.rotate(Eigen::AngleAxisd(pose[5], Eigen::Vector3d::UnitZ()) *
                 Eigen::AngleAxisd(pose[4], Eigen::Vector3d::UnitY()) *
                 Eigen::AngleAxisd(pose[3], Eigen::Vector3d::UnitX()));
    return frame;
}

std::vector<double> poseOf(const Eigen::Isometry3d &frame)
{
    const Eigen::Matrix3d r = frame.rotation();
    const Eigen::Vector3d p = frame.translation();
    return {p.x(),
            p.y(),
            p.z(),
            std::atan2(r(2, 1), r(2, 2)),
            std::atan2(-r(2, 0), std::hypot(r(0, 0), r(1, 0))),
            std::atan2(r(1, 0), r(0, 0))};
}

double profile(double elapsed, double duration)
{
    return elapsed >= duration ? 1.0 : 0.5 * (1.0 - std::cos(kPi * elapsed / duration));
}

bool isRunning(const RobotModel &robot)
{
    return robot.robot_mode == RobotModeType::Running;
}

bool isSafe(const RobotModel &robot)
{
    return robot.safety_mode == SafetyModeType::Normal || robot.safety_mode == SafetyModeType::ReducedMode;
}

std::optional<int> jointOutsideLimits(const RobotModel &robot, const std::vector<double> &q)
{
    for (size_t j = 0; j < q.size(); ++j)
        if ((j < robot.joint_min_positions.size() && q[j] < robot.joint_min_positions[j]) ||
            (j < robot.joint_max_positions.size() && q[j] > robot.joint_max_positions[j]))
            return static_cast<int>(j);
    return std::nullopt;
}

}  // namespace

// A move in progress: joint interpolation, or a Cartesian path whose joints are solved per tick.
struct SimProgramHost::Move {
    MotionKind kind = MotionKind::Joint;
    std::vector<double> start_q;
    std::vector<double> target_q;
    std::vector<double> q;  // last solution, the seed of the next
    Eigen::Vector3d start_position, end_position, center, e1, e2;
    Eigen::Quaterniond start_rotation, end_rotation;
    double radius = 0.0;
    double angle = 0.0;
    double duration = kShortestMove;
    double elapsed = 0.0;
};

SimProgramHost::SimProgramHost(SimulatorLinks l) : links(std::move(l)) {}

RobotModel &SimProgramHost::robot()
{
    return links.state.robots.front().model;
}

std::vector<double> SimProgramHost::currentJoints()
{
    const RobotRuntime &runtime = links.state.robots.front();
    return sampleMotion(runtime.model, runtime.motion_time, false).q;
}

std::optional<MotionStatus> SimProgramHost::safetyAbort()
{
    if (!isRunning(robot()))
        return MotionStatus{MotionProgress::Aborted, kMoveNotRunning, "the robot mode is not Running"};
    if (!isSafe(robot()))
        return MotionStatus{MotionProgress::Aborted, kMoveSafety,
                            "safety mode " + common_interface::toString(robot().safety_mode)};
    return std::nullopt;
}

namespace
{

Vector6 poseError(const Eigen::Isometry3d &current, const Eigen::Vector3d &position,
                  const Eigen::Quaterniond &rotation)
{
    Vector6 error;
    error.head<3>() = position - current.translation();
    const Eigen::AngleAxisd turn(rotation.toRotationMatrix() * current.rotation().transpose());
    error.tail<3>() = turn.angle() * turn.axis();
    return error;
}

Eigen::Isometry3d tcpFrame(const RobotModel &robot, const std::vector<double> &q,
                           const std::vector<double> &tcp)
{
    return frameOf(forwardKinematics(robot.real_kinematics, q)) * frameOf(tcp);
}

// Damped least squares from the seed; nullopt when it does not converge or leaves the limits.
std::optional<std::vector<double>> solveJoints(const RobotModel &robot, const std::vector<double> &tcp,
                                               std::vector<double> q, const Eigen::Vector3d &position,
                                               const Eigen::Quaterniond &rotation)
{
    const Eigen::Index n = static_cast<Eigen::Index>(q.size());
    for (int iteration = 0; iteration < kIkIterations; ++iteration) {
        const Vector6 error = poseError(tcpFrame(robot, q, tcp), position, rotation);
        if (error.norm() < kIkTolerance)
            return jointOutsideLimits(robot, q) ? std::nullopt : std::optional(q);
        Eigen::MatrixXd jacobian(6, n);
        for (Eigen::Index j = 0; j < n; ++j) {
            std::vector<double> shifted = q;
            shifted[static_cast<size_t>(j)] += kJacobianStep;
            jacobian.col(j) =
                (error - poseError(tcpFrame(robot, shifted, tcp), position, rotation)) / kJacobianStep;
        }
        const Eigen::MatrixXd damped =
            jacobian * jacobian.transpose() + kIkDamping * kIkDamping * Eigen::MatrixXd::Identity(6, 6);
        const Eigen::VectorXd step = jacobian.transpose() * damped.ldlt().solve(error);
        for (Eigen::Index j = 0; j < n; ++j)
            q[static_cast<size_t>(j)] += step(j);
    }
    return std::nullopt;
}

}  // namespace

MotionStatus SimProgramHost::startMotion(const MotionCommand &command)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (auto refused = safetyAbort())
        return *refused;
    RobotModel &model = robot();
    // The program takes the arm over where it stands.
    if (model.motion_amplitude != 0.0) {
        model.home_positions = currentJoints();
        model.motion_amplitude = 0.0;
    }
    auto next = std::make_shared<Move>();
    next->kind = command.kind;
    next->start_q = currentJoints();
    next->q = next->start_q;
    const double fraction = model.speed_fraction > 0.0 ? model.speed_fraction : 1.0;
    if (command.kind == MotionKind::Joint) {
        if (command.target.size() != next->start_q.size())
            return {MotionProgress::Aborted, kMoveOutOfLimits, "wrong number of joints"};
        if (auto joint = jointOutsideLimits(model, command.target))
            return {MotionProgress::Aborted, kMoveOutOfLimits,
                    "joint " + std::to_string(*joint + 1) + " target outside the joint limits"};
        next->target_q = command.target;
        double duration = kShortestMove;
        for (size_t j = 0; j < command.target.size(); ++j) {
            double speed = command.speed;
            if (j < model.joint_max_speeds.size() && model.joint_max_speeds[j] > 0.0)
                speed = std::min(speed, model.joint_max_speeds[j]);
            duration =
                std::max(duration, kProfilePeak * std::abs(command.target[j] - next->start_q[j]) / speed);
        }
        next->duration = duration / fraction;
    } else {
        const Eigen::Isometry3d start = tcpFrame(model, next->start_q, tcp_offset);
        const Eigen::Isometry3d end = frameOf(command.target);
        next->start_position = start.translation();
        next->end_position = end.translation();
        next->start_rotation = Eigen::Quaterniond(start.rotation());
        next->end_rotation = Eigen::Quaterniond(end.rotation());
        double length = (next->end_position - next->start_position).norm();
        if (command.kind == MotionKind::Circular) {
            const Eigen::Vector3d a = frameOf(command.via).translation() - next->start_position;
            const Eigen::Vector3d b = next->end_position - next->start_position;
            const Eigen::Vector3d normal = a.cross(b);
            if (normal.norm() < 1e-9)
                return {MotionProgress::Aborted, kMoveBadPath,
                        "the three points of the circle lie on a line"};
            next->center = next->start_position + (a.squaredNorm() * b - b.squaredNorm() * a).cross(normal) /
                                                      (2.0 * normal.squaredNorm());
            next->radius = (next->start_position - next->center).norm();
            next->e1 = (next->start_position - next->center) / next->radius;
            next->e2 = normal.normalized().cross(next->e1);
            const Eigen::Vector3d to_end = next->end_position - next->center;
            next->angle = std::atan2(to_end.dot(next->e2), to_end.dot(next->e1));
            if (next->angle <= 0.0)
                next->angle += 2.0 * kPi;
            length = next->radius * next->angle;
        }
        double speed = command.speed;
        if (!model.tcp_max_speeds.empty() && model.tcp_max_speeds[0] > 0.0)
            speed = std::min(speed, model.tcp_max_speeds[0]);
        const double turn = next->start_rotation.angularDistance(next->end_rotation);
        next->duration = std::max({kShortestMove, kProfilePeak * length / speed,
                                   kProfilePeak * turn / kOrientationSpeed}) /
                         fraction;
        if (!solveJoints(model, tcp_offset, next->start_q, next->end_position, next->end_rotation))
            return {MotionProgress::Aborted, kMoveUnreachable, "the target pose cannot be reached"};
    }
    move = std::move(next);
    held = false;
    last = {MotionProgress::Moving, 0, {}};
    return last;
}

void SimProgramHost::tick(std::chrono::steady_clock::time_point now)
{
    const double dt = last_tick == std::chrono::steady_clock::time_point{}
                          ? 0.0
                          : std::chrono::duration<double>(now - last_tick).count();
    last_tick = now;
    if (!move)
        return;
    {
        std::lock_guard<std::mutex> lock(links.mutex);
        if (auto aborted = safetyAbort()) {
            last = *aborted;
            move.reset();
            return;
        }
        if (held)
            return;
        Move &m = *move;
        m.elapsed = std::min(m.duration, m.elapsed + dt);
        const double s = profile(m.elapsed, m.duration);
        if (m.kind == MotionKind::Joint) {
            for (size_t j = 0; j < m.q.size(); ++j)
                m.q[j] = m.start_q[j] + s * (m.target_q[j] - m.start_q[j]);
        } else {
            const Eigen::Vector3d position =
                m.kind == MotionKind::Linear
                    ? Eigen::Vector3d(m.start_position + s * (m.end_position - m.start_position))
                    : Eigen::Vector3d(m.center + m.radius * (std::cos(s * m.angle) * m.e1 +
                                                             std::sin(s * m.angle) * m.e2));
            auto q =
                solveJoints(robot(), tcp_offset, m.q, position, m.start_rotation.slerp(s, m.end_rotation));
            if (!q) {
                last = {MotionProgress::Aborted, kMoveUnreachable, "a pose on the path cannot be reached"};
                move.reset();
                return;
            }
            m.q = std::move(*q);
        }
        robot().home_positions = m.q;
        if (m.elapsed >= m.duration) {
            last = {MotionProgress::Done, 0, {}};
            move.reset();
        }
    }
    links.notify_change();
}

MotionStatus SimProgramHost::motionStatus()
{
    return move ? MotionStatus{MotionProgress::Moving, 0, {}} : last;
}

void SimProgramHost::holdMotion(bool hold)
{
    held = hold;
}

void SimProgramHost::stopMotion()
{
    move.reset();
    held = false;
    last = {};
}

std::string SimProgramHost::robotName() const
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return links.state.robots.front().model.name;
}

int SimProgramHost::dof() const
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return static_cast<int>(links.state.robots.front().model.home_positions.size());
}

std::vector<double> SimProgramHost::jointPositions()
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return currentJoints();
}

std::vector<double> SimProgramHost::tcpPose()
{
    std::lock_guard<std::mutex> lock(links.mutex);
    return poseOf(tcpFrame(robot(), currentJoints(), tcp_offset));
}

bool SimProgramHost::setDigitalOutput(int index, bool value)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (index >= robot().io.standard_digital_output)
        return false;
    digital_outputs[index] = value;
    return true;
}

std::optional<bool> SimProgramHost::digitalOutput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (index >= robot().io.standard_digital_output)
        return std::nullopt;
    return digital_outputs[index];
}

std::optional<bool> SimProgramHost::digitalInput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (index >= robot().io.standard_digital_input)
        return std::nullopt;
    return false;
}

bool SimProgramHost::setAnalogOutput(int index, double value)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (index >= robot().io.standard_analog_output)
        return false;
    analog_outputs[index] = value;
    return true;
}

std::optional<double> SimProgramHost::analogOutput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (index >= robot().io.standard_analog_output)
        return std::nullopt;
    return analog_outputs[index];
}

std::optional<double> SimProgramHost::analogInput(int index)
{
    std::lock_guard<std::mutex> lock(links.mutex);
    if (index >= robot().io.standard_analog_input)
        return std::nullopt;
    return 0.0;
}

void SimProgramHost::setTcp(const std::vector<double> &offset)
{
    tcp_offset = offset;
}

void SimProgramHost::setPayload(double mass, const std::vector<double> &cog)
{
    {
        std::lock_guard<std::mutex> lock(links.mutex);
        robot().payload.mass = mass;
        robot().payload.cog = cog;
    }
    links.notify_change();
}

void SimProgramHost::sendMessage(const common_interface::RobotMsg &message)
{
    links.send_message(message);
    links.notify_change();
}

void SimProgramHost::notifyScript(const std::string &method, const std::vector<std::string> &params)
{
    links.notify_script(method, params);
}

void SimProgramHost::setRuntimeState(common_interface::RuntimeState state)
{
    {
        std::lock_guard<std::mutex> lock(links.mutex);
        links.state.runtime_state = state;
    }
    links.notify_change();
}

void SimProgramHost::setRuntimeContext(int task, int line)
{
    {
        std::lock_guard<std::mutex> lock(links.mutex);
        links.state.runtime_context = {task, line};
    }
    links.notify_change();
}

}  // namespace temla::korvu_sim::program
