// calibrateTcp side by side with the same problem written directly in Ceres (default solver options, one
// auto-differentiated residual block per pose, zero start) and with the closed-form least squares of the
// linear system [Ri, -I]·(tcp, point) = -ti. Ten flange poses with 0.1 mm noise touch one point.
//   bench/math/calibration_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <ceres/ceres.h>
#include <Eigen/Cholesky>
#include <Eigen/Geometry>

#include <random>

#include "robot_proxy/robot_math.h"

namespace
{

using namespace temla::robot_math;

Eigen::Vector3d const kTcp{0.012, -0.034, 0.153};
Eigen::Vector3d const kPoint{0.45, -0.2, 0.08};

FlangePoses const &flangePoses()
{
    static FlangePoses const poses = [] {
        std::mt19937 engine(42);
        std::uniform_real_distribution<double> axis(-1, 1), angle(0.2, 0.7);
        std::normal_distribution<double> noise(0, 1e-4);
        FlangePoses out;
        for (int i = 0; i < 10; ++i) {
            Eigen::Vector3d const a = Eigen::Vector3d(axis(engine), axis(engine), axis(engine)).normalized();
            Eigen::Affine3d t = Eigen::Affine3d::Identity();
            t.linear() = Eigen::AngleAxisd(angle(engine), a).toRotationMatrix();
            t.translation() =
                kPoint - t.linear() * kTcp + Eigen::Vector3d(noise(engine), noise(engine), noise(engine));
            out.push_back(t);
        }
        return out;
    }();
    return poses;
}

// The tool point from the normal equations of [Ri, -I]·(tcp, point) = -ti.
Eigen::Vector3d closedFormTcp(FlangePoses const &poses)
{
    Eigen::Matrix<double, 6, 6> normal = Eigen::Matrix<double, 6, 6>::Zero();
    Eigen::Matrix<double, 6, 1> rhs = Eigen::Matrix<double, 6, 1>::Zero();
    for (auto const &pose : poses) {
        Eigen::Matrix<double, 3, 6> a;
        a << pose.linear(), -Eigen::Matrix3d::Identity();
        normal += a.transpose() * a;
        rhs -= a.transpose() * pose.translation();
    }
    return normal.ldlt().solve(rhs).head<3>();
}

void BM_CalibrateTcp_Ours(benchmark::State &state)
{
    FlangePoses const &poses = flangePoses();
    for (auto _ : state) {
        benchmark::DoNotOptimize(calibrateTcp(poses, Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero()));
    }
}
BENCHMARK(BM_CalibrateTcp_Ours);

struct TouchResidual {
    Eigen::Matrix3d rotation;
    Eigen::Vector3d position;

    template <typename T>
    bool operator()(T const *tcp, T const *point, T *residual) const
    {
        for (int r = 0; r < 3; ++r) {
            T rotated = T(0);
            for (int c = 0; c < 3; ++c) {
                rotated += T(rotation(r, c)) * tcp[c];
            }
            residual[r] = point[r] - (rotated + T(position[r]));
        }
        return true;
    }
};

// The tool point the plain Ceres problem finds from a zero start.
Eigen::Vector3d plainCeresTcp(FlangePoses const &poses)
{
    double tcp[3] = {0, 0, 0};
    double point[3] = {0, 0, 0};
    ceres::Problem problem;
    for (auto const &pose : poses) {
        problem.AddResidualBlock(new ceres::AutoDiffCostFunction<TouchResidual, 3, 3, 3>(
                                     new TouchResidual{pose.linear(), pose.translation()}),
                                 nullptr, tcp, point);
    }
    ceres::Solver::Options const options;
    ceres::Solver::Summary summary;
    ceres::Solve(options, &problem, &summary);
    return {tcp[0], tcp[1], tcp[2]};
}

void BM_CalibrateTcp_PlainCeres(benchmark::State &state)
{
    FlangePoses const &poses = flangePoses();
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainCeresTcp(poses));
    }
    // Distances (m) of both answers from the exact least-squares minimum: Ceres' default tolerances stop a
    // zero start a little short of it, while calibrateTcp starts there and Ceres confirms it.
    Eigen::Vector3d const exact = closedFormTcp(poses);
    state.counters["ours_off_exact"] =
        (calibrateTcp(poses, Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero()).tcp - exact).norm();
    state.counters["plain_off_exact"] = (plainCeresTcp(poses) - exact).norm();
}

BENCHMARK(BM_CalibrateTcp_PlainCeres);

void BM_CalibrateTcp_ClosedForm(benchmark::State &state)
{
    FlangePoses const &poses = flangePoses();
    for (auto _ : state) {
        benchmark::DoNotOptimize(closedFormTcp(poses));
    }
}
BENCHMARK(BM_CalibrateTcp_ClosedForm);

}  // namespace
