// The mathematics side by side with orocos KDL and plain Eigen doing the same work in one run:
// pose algebra and conversions, forward kinematics, the Jacobian, inverse kinematics and the wrench
// transfer. Names pair up as <work>/<who>, ratio = ours / reference.
//   bench/math/math_peers_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <Eigen/Geometry>

#include <kdl/chainfksolverpos_recursive.hpp>
#include <kdl/chainiksolverpos_lma.hpp>
#include <kdl/chainjnttojacsolver.hpp>

#include <random>
#include <vector>

#include "kdl_chain.h"
#include "robot_proxy/robot_math.h"

namespace
{

using namespace temla::robot_math;
using Table = std::vector<std::vector<double>>;

constexpr double kPi = 3.14159265358979323846;

std::vector<double> const kFrame{0.4, -0.2, 0.6, 0.3, -0.7, 1.9};
std::vector<double> const kOffset{0.05, 0.1, -0.02, -1.1, 0.4, 2.6};
std::vector<double> const kWrench{3.0, -1.5, 12.0, 0.2, -0.4, 0.05};

// Six-joint modified DH arm with a tool, the one the tests use.
Table const kDh{{0, kPi / 2, 0, 0, kPi / 2, -kPi / 2},
                {0, 0, -0.425, -0.392, 0, 0},
                {0.152, 0, 0, 0.133, 0.1, 0.0996},
                {0, -kPi / 2, 0, -kPi / 2, 0, 0}};
std::vector<double> const kJoints{0.1, -1.2, 1.4, -0.5, 1.57, 0.3};
std::vector<double> const kTool{0.01, -0.02, 0.15, 0.1, -0.2, 0.3};
std::vector<double> const kLower(6, -2 * kPi);
std::vector<double> const kUpper(6, 2 * kPi);

KDL::Frame kdlFrame(std::vector<double> const &p)
{
    return KDL::Frame(KDL::Rotation::RPY(p[3], p[4], p[5]), KDL::Vector(p[0], p[1], p[2]));
}

Eigen::Isometry3d eigenFrame(std::vector<double> const &p)
{
    Eigen::Isometry3d t = Eigen::Isometry3d::Identity();
    t.linear() = (Eigen::AngleAxisd(p[5], Eigen::Vector3d::UnitZ()) *
                  Eigen::AngleAxisd(p[4], Eigen::Vector3d::UnitY()) *
                  Eigen::AngleAxisd(p[3], Eigen::Vector3d::UnitX()))
                     .toRotationMatrix();
    t.translation() << p[0], p[1], p[2];
    return t;
}

// Pose vector of an Eigen transform, angles by the same extraction as the library's.
std::vector<double> eigenPose(Eigen::Isometry3d const &t)
{
    Eigen::Vector3d const ypr = t.linear().eulerAngles(2, 1, 0);
    return {t.translation().x(), t.translation().y(), t.translation().z(), ypr[2], ypr[1], ypr[0]};
}

KDL::JntArray joints(std::vector<double> const &q)
{
    KDL::JntArray a(static_cast<unsigned>(q.size()));
    for (std::size_t i = 0; i < q.size(); ++i) {
        a(static_cast<unsigned>(i)) = q[i];
    }
    return a;
}

KDL::Chain const &kdlChain()
{
    static KDL::Chain const chain = kdl_chain::fromDh(kDh, {}, kTool);
    return chain;
}

// ---- Pose algebra: every variant takes pose vectors and answers a pose vector ----

void BM_PoseTrans_Ours(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(pose_trans(kFrame, kOffset));
    }
}
BENCHMARK(BM_PoseTrans_Ours);

void BM_PoseTrans_Kdl(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(kdl_chain::toPose(kdlFrame(kFrame) * kdlFrame(kOffset)));
    }
}
BENCHMARK(BM_PoseTrans_Kdl);

void BM_PoseTrans_Eigen(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(eigenPose(eigenFrame(kFrame) * eigenFrame(kOffset)));
    }
}
BENCHMARK(BM_PoseTrans_Eigen);

void BM_PoseInverse_Ours(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(pose_inverse(kFrame));
    }
}
BENCHMARK(BM_PoseInverse_Ours);

void BM_PoseInverse_Kdl(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(kdl_chain::toPose(kdlFrame(kFrame).Inverse()));
    }
}
BENCHMARK(BM_PoseInverse_Kdl);

void BM_PoseInverse_Eigen(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(eigenPose(eigenFrame(kFrame).inverse()));
    }
}
BENCHMARK(BM_PoseInverse_Eigen);

// ---- Conversions: angles to a 4×4 matrix and back ----

void BM_PoseToMatrix_Ours(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(poseToHomMatrix(kFrame));
    }
}
BENCHMARK(BM_PoseToMatrix_Ours);

void BM_PoseToMatrix_Kdl(benchmark::State &state)
{
    for (auto _ : state) {
        KDL::Frame f = kdlFrame(kFrame);
        std::vector<double> m(16);
        f.Make4x4(m.data());
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_PoseToMatrix_Kdl);

void BM_PoseToMatrix_Eigen(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<double> m(16);
        Eigen::Map<Eigen::Matrix<double, 4, 4, Eigen::RowMajor>>(m.data()) = eigenFrame(kFrame).matrix();
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_PoseToMatrix_Eigen);

void BM_MatrixToPose_Ours(benchmark::State &state)
{
    std::vector<double> const m = poseToHomMatrix(kFrame);
    for (auto _ : state) {
        benchmark::DoNotOptimize(homMatrixToPose(m));
    }
}
BENCHMARK(BM_MatrixToPose_Ours);

void BM_MatrixToPose_Kdl(benchmark::State &state)
{
    std::vector<double> const m = poseToHomMatrix(kFrame);
    for (auto _ : state) {
        KDL::Frame const f(KDL::Rotation(m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]),
                           KDL::Vector(m[3], m[7], m[11]));
        benchmark::DoNotOptimize(kdl_chain::toPose(f));
    }
}
BENCHMARK(BM_MatrixToPose_Kdl);

void BM_MatrixToPose_Eigen(benchmark::State &state)
{
    std::vector<double> const m = poseToHomMatrix(kFrame);
    for (auto _ : state) {
        Eigen::Isometry3d t;
        t.matrix() = Eigen::Map<Eigen::Matrix<double, 4, 4, Eigen::RowMajor> const>(m.data());
        benchmark::DoNotOptimize(eigenPose(t));
    }
}
BENCHMARK(BM_MatrixToPose_Eigen);

// ---- Wrench transfer into the reference frame, about its origin ----

void BM_ChangeFTFrame_Ours(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(changeFTFrame(kFrame, kWrench));
    }
}
BENCHMARK(BM_ChangeFTFrame_Ours);

void BM_ChangeFTFrame_Kdl(benchmark::State &state)
{
    for (auto _ : state) {
        KDL::Wrench const w = kdlFrame(kFrame) * KDL::Wrench(KDL::Vector(kWrench[0], kWrench[1], kWrench[2]),
                                                             KDL::Vector(kWrench[3], kWrench[4], kWrench[5]));
        benchmark::DoNotOptimize(std::vector<double>{w.force.x(), w.force.y(), w.force.z(), w.torque.x(),
                                                     w.torque.y(), w.torque.z()});
    }
}
BENCHMARK(BM_ChangeFTFrame_Kdl);

// ---- Kinematics of the six-joint arm with its tool ----

void BM_ForwardKinematics_Ours(benchmark::State &state)
{
    std::vector<double> pose;
    pose.reserve(6);
    for (auto _ : state) {
        benchmark::DoNotOptimize(forwardKinematics(pose, kJoints, kTool, kDh, {}, -1));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ForwardKinematics_Ours);

// The solver is built once, as an application keeps it; the pose vector is produced as ours is.
void BM_ForwardKinematics_Kdl(benchmark::State &state)
{
    KDL::ChainFkSolverPos_recursive solver(kdlChain());
    KDL::JntArray const q = joints(kJoints);
    KDL::Frame frame;
    for (auto _ : state) {
        benchmark::DoNotOptimize(solver.JntToCart(q, frame));
        benchmark::DoNotOptimize(kdl_chain::toPose(frame));
    }
}
BENCHMARK(BM_ForwardKinematics_Kdl);

void BM_ForwardKinematics_Eigen(benchmark::State &state)
{
    for (auto _ : state) {
        Eigen::Isometry3d t = Eigen::Isometry3d::Identity();
        for (std::size_t i = 0; i < kJoints.size(); ++i) {
            t = t * Eigen::AngleAxisd(kDh[0][i], Eigen::Vector3d::UnitX()) *
                Eigen::Translation3d(kDh[1][i], 0, kDh[2][i]) *
                Eigen::AngleAxisd(kDh[3][i] + kJoints[i], Eigen::Vector3d::UnitZ());
        }
        benchmark::DoNotOptimize(eigenPose(t * eigenFrame(kTool)));
    }
}
BENCHMARK(BM_ForwardKinematics_Eigen);

void BM_Jacobian_Ours(benchmark::State &state)
{
    std::vector<double> jac;
    jac.reserve(36);
    for (auto _ : state) {
        benchmark::DoNotOptimize(jacobian(jac, kJoints, kTool, kDh, {}));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Jacobian_Ours);

void BM_Jacobian_Kdl(benchmark::State &state)
{
    KDL::ChainJntToJacSolver solver(kdlChain());
    KDL::JntArray const q = joints(kJoints);
    KDL::Jacobian jac(6);
    for (auto _ : state) {
        benchmark::DoNotOptimize(solver.JntToJac(q, jac));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Jacobian_Kdl);

// ---- Inverse kinematics: the same 64 targets and seeds (0.3 rad from the answer) for both solvers, to
// the same accuracy (1e-10 on the unweighted pose error). The counter "solved" is the share that converged.

struct IkProblem {
    std::vector<double> seed;
    std::vector<double> target;
};

std::vector<IkProblem> const &ikProblems()
{
    static std::vector<IkProblem> const problems = [] {
        std::mt19937 engine(5);
        std::uniform_real_distribution<double> joint(-kPi, kPi), nudge(-0.3, 0.3);
        std::vector<IkProblem> out;
        for (int n = 0; n < 64; ++n) {
            IkProblem p;
            std::vector<double> q(6);
            for (double &v : q) {
                v = joint(engine);
            }
            p.seed = q;
            for (double &v : p.seed) {
                v += nudge(engine);
            }
            forwardKinematics(p.target, q, kTool, kDh, {}, -1);
            out.push_back(p);
        }
        return out;
    }();
    return problems;
}

constexpr double kIkTolerance = 1e-10;

void BM_InverseKinematics_Ours(benchmark::State &state)
{
    auto const &problems = ikProblems();
    std::size_t i = 0, solved = 0, runs = 0;
    std::vector<double> q;
    for (auto _ : state) {
        IkProblem const &p = problems[i];
        solved += inverseKinematics(q, p.target, p.seed, kTool, kDh, {}, kLower, kUpper) == 0 ? 1 : 0;
        ++runs;
        i = (i + 1) % problems.size();
    }
    state.counters["solved"] = static_cast<double>(solved) / static_cast<double>(runs);
}
BENCHMARK(BM_InverseKinematics_Ours);

void BM_InverseKinematics_KdlLma(benchmark::State &state)
{
    auto const &problems = ikProblems();
    Eigen::Matrix<double, 6, 1> const weights = Eigen::Matrix<double, 6, 1>::Ones();
    KDL::ChainIkSolverPos_LMA solver(kdlChain(), weights, kIkTolerance, 500, 1e-15);
    std::vector<KDL::JntArray> seeds;
    std::vector<KDL::Frame> targets;
    for (auto const &p : problems) {
        seeds.push_back(joints(p.seed));
        targets.push_back(kdlFrame(p.target));
    }
    KDL::JntArray q(6);
    std::size_t i = 0, solved = 0, runs = 0;
    for (auto _ : state) {
        solved += solver.CartToJnt(seeds[i], targets[i], q) >= 0 ? 1 : 0;
        ++runs;
        i = (i + 1) % problems.size();
    }
    state.counters["solved"] = static_cast<double>(solved) / static_cast<double>(runs);
}
BENCHMARK(BM_InverseKinematics_KdlLma);

}  // namespace
