#pragma once

// A six-joint arm with shoulder, elbow and wrist offsets, twists and a small calibration compensation, for
// the Jacobian and inverse kinematics tests and the comparison with the reference solvers.

#include <random>
#include <vector>

#include "pose_test_support.h"

namespace arm_test
{

using Table = std::vector<std::vector<double>>;
using pose_test::kPi;

inline Table const kDh{{0, kPi / 2, 0, 0, kPi / 2, -kPi / 2},
                       {0, 0, -0.425, -0.392, 0, 0},
                       {0.152, 0, 0, 0.133, 0.1, 0.0996},
                       {0, -kPi / 2, 0, -kPi / 2, 0, 0}};
inline Table const kCompensation{{1e-3, -2e-3, 5e-4, 0, -1e-3, 2e-3},
                                 {2e-4, 0, 1e-3, -5e-4, 3e-4, 0},
                                 {0, 1e-4, -2e-4, 3e-4, 0, -1e-4},
                                 {-1e-3, 2e-3, 0, 1e-3, -2e-3, 5e-4}};
inline std::vector<double> const kTool{0.01, -0.02, 0.15, 0.1, -0.2, 0.3};
inline std::vector<double> const kLower(6, -2 * kPi);
inline std::vector<double> const kUpper(6, 2 * kPi);

// Joint values uniformly in [-limit, limit].
inline std::vector<double> randomJoints(pose_test::RandomPoses &random, double limit = kPi)
{
    std::vector<double> q(6);
    for (double &v : q) {
        v = random.uniform(-limit, limit);
    }
    return q;
}

}  // namespace arm_test
