// Numerical inverse kinematics of the modified Denavit-Hartenberg chain: Levenberg-Marquardt on the
// geometric Jacobian, projected onto the joint limits.

#include <Eigen/Cholesky>

#include <algorithm>
#include <cmath>

#include "math/dh_chain.h"
#include "math/rotation.h"
#include "math/vector3.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

namespace
{

constexpr int kNoConvergence = -5;
constexpr int kBadLimits = -6;
constexpr int kBadPose = -7;

// The damping adapts between these: a rejected step multiplies it, an accepted one divides it. Past the
// upper bound no step reduces the error any more: the descent has reached a minimum that misses the target.
constexpr double kDampingFactor = 10.0;
constexpr double kMinDamping = 1e-12;
constexpr double kMaxDamping = 1e8;

using Vector6d = Eigen::Matrix<double, 6, 1>;

struct Target {
    Eigen::Vector3d position;
    Eigen::Matrix3d rotation;
};

// [target position - p; rotation vector of R_target·Rᵀ], both in the base frame like the Jacobian's rows.
Vector6d poseError(Target const &target, dh::Frame const &frame)
{
    Vector6d error;
    error.head<3>() = target.position - frame.translation;
    Eigen::Quaterniond turn(target.rotation * frame.rotation.transpose());
    if (turn.w() < 0) {
        turn.coeffs() = -turn.coeffs();
    }
    double const sine = turn.vec().norm();
    // 2·atan2(|v|, w) stays accurate for small turns; the direction is v itself.
    error.tail<3>() = sine > 0 ? Eigen::Vector3d(turn.vec() * (2.0 * std::atan2(sine, turn.w()) / sine))
                               : Eigen::Vector3d::Zero();
    return error;
}

bool limitsFit(std::vector<double> const &q_min, std::vector<double> const &q_max, std::size_t n)
{
    if (q_min.size() != n || q_max.size() != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!(q_min[i] <= q_max[i])) {
            return false;
        }
    }
    return true;
}

class Solver
{
public:
    Solver(dh::Chain const &chain, Target const &target, Eigen::VectorXd const &lower,
           Eigen::VectorXd const &upper, InverseKinematicsOptions const &options)
        : chain_(chain), target_(target), lower_(lower), upper_(upper), options_(options)
    {
        // Every buffer is sized once here; the iterations allocate nothing.
        auto const n = lower.size();
        jac_.resize(6, n);
        trial_jac_.resize(6, n);
        normal_.resize(n, n);
        ldlt_ = Eigen::LDLT<Eigen::MatrixXd>(n);
        step_.resize(n);
        candidate_.resize(n);
    }

    // True when q (a start inside the limits) was moved onto the target.
    bool solve(Eigen::VectorXd &q)
    {
        dh::Frame frame;
        dh::frameAndJacobian(chain_, q.data(), frame, jac_);
        error_ = poseError(target_, frame);
        double damping = options_.damping;
        for (int iteration = 0; iteration < options_.max_iterations && !converged(); ++iteration) {
            normal_.noalias() = jac_.transpose() * jac_;
            normal_.diagonal().array() += damping;
            ldlt_.compute(normal_);
            step_.noalias() = jac_.transpose() * error_;
            ldlt_.solveInPlace(step_);
            candidate_ = (q + step_).cwiseMax(lower_).cwiseMin(upper_);
            dh::frameAndJacobian(chain_, candidate_.data(), frame, trial_jac_);
            Vector6d const error = poseError(target_, frame);
            if (error.squaredNorm() < error_.squaredNorm()) {
                q.swap(candidate_);
                jac_.swap(trial_jac_);
                error_ = error;
                damping = std::max(damping / kDampingFactor, kMinDamping);
            } else {
                damping *= kDampingFactor;
                if (damping > kMaxDamping) {
                    break;
                }
            }
        }
        return converged();
    }

private:
    bool converged() const
    {
        return error_.head<3>().norm() <= options_.position_tolerance &&
               error_.tail<3>().norm() <= options_.orientation_tolerance;
    }

    dh::Chain const &chain_;
    Target const &target_;
    Eigen::VectorXd const &lower_;
    Eigen::VectorXd const &upper_;
    InverseKinematicsOptions const &options_;
    dh::Jacobian jac_;
    dh::Jacobian trial_jac_;
    Eigen::MatrixXd normal_;
    Eigen::LDLT<Eigen::MatrixXd> ldlt_;
    Eigen::VectorXd step_;
    Eigen::VectorXd candidate_;
    Vector6d error_;
};

}  // namespace

int inverseKinematics(std::vector<double> &q, std::vector<double> const &pose,
                      std::vector<double> const &seed, std::vector<double> const &tool,
                      std::vector<std::vector<double>> const &dh,
                      std::vector<std::vector<double>> const &compensation, std::vector<double> const &q_min,
                      std::vector<double> const &q_max, InverseKinematicsOptions const &options)
{
    dh::Chain chain;
    if (int const status = dh::makeChain(chain, seed.size(), tool, dh, compensation); status != 0) {
        return status;
    }
    if (!limitsFit(q_min, q_max, seed.size())) {
        return kBadLimits;
    }
    if (pose.size() != 6 || !allFinite(pose) || !allFinite(seed)) {
        return kBadPose;
    }
    auto const n = static_cast<Eigen::Index>(seed.size());
    Eigen::VectorXd const lower = Eigen::Map<Eigen::VectorXd const>(q_min.data(), n);
    Eigen::VectorXd const upper = Eigen::Map<Eigen::VectorXd const>(q_max.data(), n);
    Eigen::VectorXd solution =
        Eigen::Map<Eigen::VectorXd const>(seed.data(), n).cwiseMax(lower).cwiseMin(upper);
    Target const target{{pose[0], pose[1], pose[2]}, rpyRotation(pose[3], pose[4], pose[5])};
    if (!Solver(chain, target, lower, upper, options).solve(solution)) {
        return kNoConvergence;
    }
    q.assign(solution.data(), solution.data() + n);
    return 0;
}

}  // namespace robot_math
}  // namespace temla
