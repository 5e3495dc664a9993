// Per-way-point costs of the pose mathematics an HMI runs for every previewed point.

#include <benchmark/benchmark.h>

#include <vector>

#include "robot_proxy/robot_math.h"

namespace
{

using namespace temla::robot_math;

constexpr double kPi = 3.14159265358979323846;

std::vector<double> const kFrame{0.4, -0.2, 0.6, 0.3, -0.7, 1.9};
std::vector<double> const kOffset{0.05, 0.1, -0.02, -1.1, 0.4, 2.6};

// Six-joint modified DH arm with a tool.
std::vector<std::vector<double>> const kDh{{0, kPi / 2, 0, 0, kPi / 2, -kPi / 2},
                                           {0, 0, -0.425, -0.392, 0, 0},
                                           {0.152, 0, 0, 0.133, 0.1, 0.0996},
                                           {0, -kPi / 2, 0, -kPi / 2, 0, 0}};
std::vector<double> const kJoints{0.1, -1.2, 1.4, -0.5, 1.57, 0.3};
std::vector<double> const kTool{0.0, 0.0, 0.15, 0.0, 0.0, 0.0};

// Angles to matrices, product, matrix to angles.
void BM_PoseTrans(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(pose_trans(kFrame, kOffset));
    }
}
BENCHMARK(BM_PoseTrans);

void BM_ForwardKinematics6(benchmark::State &state)
{
    std::vector<double> pose;
    pose.reserve(6);
    for (auto _ : state) {
        benchmark::DoNotOptimize(forwardKinematics(pose, kJoints, kTool, kDh, {}, -1));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ForwardKinematics6);

void BM_PoseInverse(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(pose_inverse(kFrame));
    }
}
BENCHMARK(BM_PoseInverse);

void BM_PoseAdd(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(pose_add(kFrame, kOffset));
    }
}
BENCHMARK(BM_PoseAdd);

void BM_InterpolatePose(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(interpolate_pose(kFrame, kOffset, 0.37));
    }
}
BENCHMARK(BM_InterpolatePose);

void BM_PoseAngleDistance(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(pose_angle_distance(kFrame, kOffset));
    }
}
BENCHMARK(BM_PoseAngleDistance);

}  // namespace
