// Tool and frame calibration from taught poses: tool points from a touched point or plane, user frames
// from three points, tool axes from two pose sets, tool orientations and straight-line fits.

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <ceres/ceres.h>
#include <ceres/rotation.h>
#include <Eigen/Cholesky>
#include <Eigen/Core>
#include <Eigen/Eigenvalues>
#include <Eigen/Geometry>
#include <Eigen/SVD>

#include "math/rotation.h"
#include "math/vector3.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{
namespace
{

constexpr double kMaxDouble = std::numeric_limits<double>::max();

using Matrix6d = Eigen::Matrix<double, 6, 6>;
using Vector6d = Eigen::Matrix<double, 6, 1>;

// The normal equations of the stacked system [Ri, -I]·(tcp, point) = -ti: the 6×6 Gram matrix
// [N·I, -ΣRiᵀ; -ΣRi, N·I] and the right-hand side (-ΣRiᵀ·ti, Σti).
struct TcpNormalEquations {
    Matrix6d gram;
    Vector6d rhs;
};

TcpNormalEquations tcpNormalEquations(std::vector<Eigen::Matrix3d> const &rotations,
                                      FlangePoses const &flange_poses)
{
    Eigen::Matrix3d sum = Eigen::Matrix3d::Zero();
    Vector6d rhs = Vector6d::Zero();
    for (std::size_t i = 0; i < rotations.size(); ++i) {
        sum += rotations[i];
        rhs.head<3>() -= rotations[i].transpose() * flange_poses[i].translation();
        rhs.tail<3>() += flange_poses[i].translation();
    }
    double const n = static_cast<double>(rotations.size());
    TcpNormalEquations equations;
    equations.gram << n * Eigen::Matrix3d::Identity(), -sum.transpose(), -sum,
        n * Eigen::Matrix3d::Identity();
    equations.rhs = rhs;
    return equations;
}

// Smallest over largest singular value of the stacked system, from the eigenvalues of its Gram matrix. Near
// 0 when the rotations leave a direction (c, p) with Ri·c = p for every i: all rotations about one axis, or
// fewer than two distinct orientations.
double tcpConditioning(Matrix6d const &gram)
{
    Eigen::SelfAdjointEigenSolver<Matrix6d> const solver(gram, Eigen::EigenvaluesOnly);
    double const largest = solver.eigenvalues()(5);
    double const smallest = std::max(solver.eigenvalues()(0), 0.0);
    return largest > 0 ? std::sqrt(smallest / largest) : 0.0;
}

// Residuals point - (Ri·tcp + ti) of every flange pose in one block; the problem is linear, so the Jacobians
// are the constant blocks -Ri and I.
class ToolPointResiduals final : public ceres::CostFunction
{
public:
    ToolPointResiduals(std::vector<Eigen::Matrix3d> const &rotations, FlangePoses const &flange_poses)
        : rotations_(rotations), flange_poses_(flange_poses)
    {
        set_num_residuals(static_cast<int>(3 * rotations.size()));
        mutable_parameter_block_sizes()->assign({3, 3});
    }

    bool Evaluate(double const *const *parameters, double *residuals, double **jacobians) const override
    {
        Eigen::Map<Eigen::Vector3d const> const tcp(parameters[0]), point(parameters[1]);
        auto const rows = static_cast<Eigen::Index>(num_residuals());
        Eigen::Map<Eigen::VectorXd> residual(residuals, rows);
        for (std::size_t i = 0; i < rotations_.size(); ++i) {
            residual.segment<3>(3 * static_cast<Eigen::Index>(i)) =
                point - (rotations_[i] * tcp + flange_poses_[i].translation());
        }
        using RowMajorBlock = Eigen::Matrix<double, Eigen::Dynamic, 3, Eigen::RowMajor>;
        if (jacobians != nullptr && jacobians[0] != nullptr) {
            Eigen::Map<RowMajorBlock> d_tcp(jacobians[0], rows, 3);
            for (std::size_t i = 0; i < rotations_.size(); ++i) {
                d_tcp.middleRows<3>(3 * static_cast<Eigen::Index>(i)) = -rotations_[i];
            }
        }
        if (jacobians != nullptr && jacobians[1] != nullptr) {
            Eigen::Map<RowMajorBlock> d_point(jacobians[1], rows, 3);
            for (std::size_t i = 0; i < rotations_.size(); ++i) {
                d_point.middleRows<3>(3 * static_cast<Eigen::Index>(i)).setIdentity();
            }
        }
        return true;
    }

private:
    std::vector<Eigen::Matrix3d> const &rotations_;
    FlangePoses const &flange_poses_;
};

bool allFinite(Eigen::Affine3d const &t)
{
    return t.matrix().allFinite();
}

// The point of the line through the midpoints of pose pairs 0-1 and 2-3 that comes nearest the line
// through the midpoints of pairs 4-5 and 6-7; empty unless there are eight six-element poses.
std::vector<double> circle8PointsLineIntersect(std::vector<std::vector<double>> const &poses)
{
    if (poses.size() != 8) {
        return {};
    }
    for (auto const &p : poses) {
        if (p.size() != 6) {
            return {};
        }
    }
    auto midpoint = [&](int i) {
        return Eigen::Vector3d((toVector3(poses[i]) + toVector3(poses[i + 1])) / 2);
    };
    auto direction = [](Eigen::Vector3d const &d) {
        return d.norm() < 1e-10 ? Eigen::Vector3d::Zero().eval() : d.normalized().eval();
    };
    Eigen::Vector3d const m01 = midpoint(0), m23 = midpoint(2), m45 = midpoint(4), m67 = midpoint(6);
    Eigen::Vector3d const u = direction(m23 - m01);
    Eigen::Vector3d const w = direction(m67 - m45);
    Eigen::Matrix<double, 3, 2> a;
    a << u, -w;
    Eigen::Vector2d const sr = (a.transpose() * a).ldlt().solve(a.transpose() * (m45 - m01));
    return toStdVector(m01 + sr(0) * u);
}

}  // namespace

TcpCalibrationResult calibrateTcp(FlangePoses const &flange_poses, Eigen::Vector3d const &tcp_guess,
                                  Eigen::Vector3d const &point_guess)
{
    TcpCalibrationResult result{tcp_guess, point_guess, 0.0, false};
    if (flange_poses.empty() || !std::all_of(flange_poses.begin(), flange_poses.end(),
                                             [](Eigen::Affine3d const &t) { return allFinite(t); })) {
        return result;
    }

    std::vector<Eigen::Matrix3d> rotations;
    rotations.reserve(flange_poses.size());
    for (auto const &pose : flange_poses) {
        rotations.push_back(orthonormalRotation(pose));
        // Values so large that the starting residual overflows leave nothing to solve.
        if (!(point_guess - (rotations.back() * tcp_guess + pose.translation())).allFinite()) {
            return result;
        }
    }
    TcpNormalEquations const equations = tcpNormalEquations(rotations, flange_poses);
    bool const determined = tcpConditioning(equations.gram) >= kTcpConditionThreshold;
    // A determined problem starts Ceres at the least-squares solution of the normal equations, where it
    // confirms convergence at once; an undetermined one starts from the guesses, as it has no unique answer.
    Vector6d start;
    start << tcp_guess, point_guess;
    if (determined) {
        Vector6d const closed_form = equations.gram.ldlt().solve(equations.rhs);
        if (closed_form.allFinite()) {
            start = closed_form;
        }
    }
    double tcp[3] = {start[0], start[1], start[2]};
    double point[3] = {start[3], start[4], start[5]};
    ceres::Problem problem;
    problem.AddResidualBlock(new ToolPointResiduals(rotations, flange_poses), nullptr, tcp, point);

    ceres::Solver::Options const options;
    ceres::Solver::Summary summary;
    ceres::Solve(options, &problem, &summary);

    result.tcp = Eigen::Vector3d(tcp[0], tcp[1], tcp[2]);
    result.point = Eigen::Vector3d(point[0], point[1], point[2]);
    result.error = summary.num_parameter_blocks > 0 ? summary.final_cost / summary.num_parameter_blocks : 0.0;
    // The solver converges on undetermined problems too; only a well-conditioned one is a calibration.
    result.converged = summary.termination_type == ceres::CONVERGENCE && determined;
    return result;
}

int calibrate_tcp(std::vector<std::vector<double>> const &poses, std::vector<double> &tcp)
{
    FlangePoses flange_poses;
    flange_poses.reserve(poses.size());
    for (auto const &pose : poses) {
        flange_poses.push_back(to_matrix(pose));
    }
    TcpCalibrationResult const result =
        calibrateTcp(flange_poses, Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero());
    tcp = toStdVector(result.tcp);
    return 1;
}

int calibrateTCPBasePlane(std::vector<double> &tcp, std::vector<double> &stats,
                          std::vector<std::vector<double>> const &plane_points,
                          std::vector<std::vector<double>> const &flange_poses)
{
    if (plane_points.size() < 3) {
        return -1;
    }
    if (flange_poses.size() < 4) {
        return -2;
    }
    for (auto const &pose : flange_poses) {
        if (pose.size() != 6 || !allFinite(pose)) {
            return -3;
        }
    }
    Eigen::Vector3d n = fitPlaneToPoints(plane_points);
    // A NaN normal (a point without three coordinates, non-finite values) fails this test too.
    if (!(n.norm() >= 1e-6)) {
        return -4;
    }
    n.normalize();

    Eigen::MatrixXd a(flange_poses.size(), 4);
    Eigen::VectorXd b(flange_poses.size());
    for (std::size_t i = 0; i < flange_poses.size(); ++i) {
        Eigen::Affine3d const t = to_matrix(flange_poses[i]);
        Eigen::Matrix3d const r = orthonormalRotation(t);
        auto const row = static_cast<Eigen::Index>(i);
        a.row(row) << n.dot(r.col(0)), n.dot(r.col(1)), n.dot(r.col(2)), 1.0;
        b(row) = -n.dot(t.translation());
    }
    Eigen::Vector4d const x = (a.transpose() * a).ldlt().solve(a.transpose() * b);
    Eigen::ArrayXd const residual = (a * x - b).array().abs();

    tcp = {x(0), x(1), x(2)};
    stats.push_back(residual.mean());
    stats.push_back(std::sqrt(residual.square().mean()));
    stats.push_back(residual.maxCoeff());
    return 0;
}

int calibrate_feature(std::vector<std::vector<double>> const &points, int type, std::vector<double> &frame)
{
    if (points.size() != 3 || type < 0 || type > 5) {
        return 0;
    }
    for (auto const &p : points) {
        if (p.size() != 6) {
            return 0;
        }
    }
    Eigen::Vector3d const o = toVector3(points[0]);
    Eigen::Vector3d const a = (toVector3(points[1]) - o).normalized();
    Eigen::Vector3d const b = (toVector3(points[2]) - o).normalized();
    Eigen::Vector3d const n = a.cross(b).normalized();
    Eigen::Vector3d const m = n.cross(a);
    auto vanishes = [](Eigen::Vector3d const &v) { return v.cwiseAbs().maxCoeff() <= 1e-12; };
    if (vanishes(a) || vanishes(b) || vanishes(n)) {
        return 0;
    }
    // Types 1, 3 and 5 keep the first axis and the in-plane axis and negate the normal, so that every
    // type is a right-handed frame.
    Eigen::Matrix3d r;
    switch (type) {
        case 0:
            r << a, m, n;
            break;
        case 1:
            r << a, -n, m;
            break;
        case 2:
            r << m, n, a;
            break;
        case 3:
            r << m, a, -n;
            break;
        case 4:
            r << n, a, m;
            break;
        default:
            r << -n, m, a;
            break;
    }
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    t.linear() = r;
    t.translation() = o;
    std::vector<double> result = from_matrix(t);
    if (!allFinite(result)) {
        return 0;
    }
    frame = std::move(result);
    return 1;
}

int toolAxisFromTwoCircles(std::vector<std::vector<double>> const &set_a,
                           std::vector<std::vector<double>> const &set_b, std::vector<double> &point_a,
                           std::vector<double> &point_b, std::vector<double> &axis)
{
    point_a = circle8PointsLineIntersect(set_a);
    point_b = circle8PointsLineIntersect(set_b);
    if (point_a.size() != 3 || point_b.size() != 3) {
        return 0;
    }
    Eigen::Vector3d const d = toVector3(point_b) - toVector3(point_a);
    double const length = d.norm();
    if (!(length >= 1e-10) || !std::isfinite(length)) {
        return 0;
    }
    axis = toStdVector(d / length);
    return 1;
}

std::vector<double> toolPoseInFlangeFromNewZ(std::vector<double> const &flange_rpy,
                                             std::vector<double> const &tool_rpy,
                                             std::vector<double> const &new_z)
{
    if (flange_rpy.size() != 3 || tool_rpy.size() != 3 || new_z.size() != 3) {
        return {};
    }
    if (!allFinite(flange_rpy) || !allFinite(tool_rpy) || !allFinite(new_z)) {
        return {};
    }
    Eigen::Matrix3d const r1 =
        orthonormalRotation(to_matrix({0, 0, 0, flange_rpy[0], flange_rpy[1], flange_rpy[2]}));
    Eigen::Matrix3d const r2 =
        orthonormalRotation(to_matrix({0, 0, 0, tool_rpy[0], tool_rpy[1], tool_rpy[2]}));
    Eigen::Vector3d const wanted = toVector3(new_z);
    if (wanted.norm() < 1e-10) {
        return {};
    }
    Eigen::Vector3d z = r1.transpose() * (wanted / wanted.norm());
    if (z.norm() < 1e-10) {
        return {};
    }
    z.normalize();
    Eigen::Vector3d x = r2.col(0) - r2.col(0).dot(z) * z;
    if (x.norm() < 1e-8) {
        // The current X axis lies along the new Z: take a base axis the new Z is not close to.
        x = std::abs(z.z()) < 0.9 ? z.cross(Eigen::Vector3d::UnitZ()) : z.cross(Eigen::Vector3d::UnitX());
    }
    if (x.norm() < 1e-10) {
        return {};
    }
    x.normalize();
    Eigen::Vector3d const y = z.cross(x).normalized();
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    t.linear() << x, y, z;
    std::vector<double> const pose = from_matrix(t);
    return {pose[3], pose[4], pose[5]};
}

std::vector<double> tcpInFlange(std::vector<double> const &point, std::vector<double> const &flange_pose)
{
    if (point.size() != 3 || flange_pose.size() != 6) {
        return {};
    }
    Eigen::Affine3d const t = to_matrix(flange_pose);
    return toStdVector(orthonormalRotation(t).transpose() * (toVector3(point) - t.translation()));
}

std::vector<double> calibrateLinear(std::vector<std::vector<double>> const &samples)
{
    if (samples.size() < 2) {
        return {};
    }
    auto const n = static_cast<Eigen::Index>(samples.size());
    Eigen::MatrixXd a(n, 2);
    Eigen::VectorXd y(n);
    for (Eigen::Index i = 0; i < n; ++i) {
        auto const &sample = samples[static_cast<std::size_t>(i)];
        if (sample.size() != 2) {
            return {};
        }
        a.row(i) << sample[0], 1.0;
        y(i) = sample[1];
    }
    if (!a.allFinite() || !y.allFinite() || a.col(0).maxCoeff() - a.col(0).minCoeff() < 1e-12) {
        return {};
    }
    Eigen::JacobiSVD<Eigen::MatrixXd> const svd(a, Eigen::ComputeThinU | Eigen::ComputeThinV);
    if (svd.rank() != 2) {
        return {};
    }
    Eigen::Vector2d const fit = svd.solve(y);
    if (!(std::abs(fit(0)) <= kMaxDouble) || !(std::abs(fit(1)) <= kMaxDouble)) {
        return {};
    }
    Eigen::ArrayXd const residual = (y - a * fit).array();
    return {fit(0), fit(1), residual.abs().maxCoeff(),
            std::sqrt(residual.square().sum() / static_cast<double>(n))};
}

}  // namespace robot_math
}  // namespace temla
