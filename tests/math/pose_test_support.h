#pragma once

// Shared helpers of the pose tests: seeded random poses and comparisons that look at the rotation a set of
// angles stands for, not at the angles themselves.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "robot_proxy/robot_math.h"

namespace pose_test
{

inline constexpr double kPi = 3.14159265358979323846;

class RandomPoses
{
public:
    explicit RandomPoses(unsigned seed) : engine_(seed) {}

    // Position in a 4 m cube; roll and yaw in (-pi, pi), pitch in (-pi/2, pi/2).
    std::vector<double> next()
    {
        std::uniform_real_distribution<double> position(-2.0, 2.0), turn(-kPi, kPi), tilt(-kPi / 2, kPi / 2);
        return {position(engine_), position(engine_), position(engine_),
                turn(engine_),     tilt(engine_),     turn(engine_)};
    }

    double uniform(double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(engine_);
    }

private:
    std::mt19937 engine_;
};

inline Eigen::Matrix3d rotationOf(std::vector<double> const &pose)
{
    return temla::robot_math::eulerToRotationMatrix(pose[3], pose[4], pose[5]);
}

// Same position and same rotation (as matrices), within tol.
inline ::testing::AssertionResult samePose(std::vector<double> const &actual,
                                           std::vector<double> const &expected, double tol = 1e-9)
{
    if (actual.size() != 6 || expected.size() != 6) {
        return ::testing::AssertionFailure() << "pose sizes " << actual.size() << " and " << expected.size();
    }
    Eigen::Vector3d const dt = Eigen::Vector3d(actual[0], actual[1], actual[2]) -
                               Eigen::Vector3d(expected[0], expected[1], expected[2]);
    double const dr = (rotationOf(actual) - rotationOf(expected)).cwiseAbs().maxCoeff();
    if (dt.cwiseAbs().maxCoeff() > tol || dr > tol) {
        return ::testing::AssertionFailure()
               << "position off by " << dt.transpose() << ", rotation off by " << dr;
    }
    return ::testing::AssertionSuccess();
}

inline bool inCanonicalRanges(std::vector<double> const &pose)
{
    return std::abs(pose[3]) <= kPi && std::abs(pose[4]) <= kPi / 2 && std::abs(pose[5]) <= kPi;
}

}  // namespace pose_test
