#pragma once

// Helpers of the geometry, calibration and path tests: seeded random input and comparisons of points
// and of the rotations that angle triples stand for.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "robot_proxy/robot_math.h"

namespace geometry_test
{

inline constexpr double kPi = 3.14159265358979323846;

inline Eigen::Vector3d vec(std::vector<double> const &v)
{
    return {v[0], v[1], v[2]};
}

inline std::vector<double> toStdVector3(Eigen::Vector3d const &v)
{
    return {v.x(), v.y(), v.z()};
}

inline Eigen::Matrix3d rotationOf(std::vector<double> const &pose)
{
    return temla::robot_math::eulerToRotationMatrix(pose[3], pose[4], pose[5]);
}

inline std::vector<double> poseOf(Eigen::Vector3d const &p, Eigen::Matrix3d const &r)
{
    Eigen::Vector3d const rpy = temla::robot_math::RotationToEuler(r);
    return {p.x(), p.y(), p.z(), rpy.x(), rpy.y(), rpy.z()};
}

inline ::testing::AssertionResult samePoint(std::vector<double> const &actual,
                                            Eigen::Vector3d const &expected, double tol = 1e-9)
{
    if (actual.size() < 3) {
        return ::testing::AssertionFailure() << "point has " << actual.size() << " elements";
    }
    double const off = (vec(actual) - expected).cwiseAbs().maxCoeff();
    if (!(off <= tol)) {
        return ::testing::AssertionFailure() << "(" << vec(actual).transpose() << ") is not ("
                                             << expected.transpose() << "), off by " << off;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult sameRotation(std::vector<double> const &pose,
                                               Eigen::Matrix3d const &expected, double tol = 1e-9)
{
    if (pose.size() != 6) {
        return ::testing::AssertionFailure() << "pose has " << pose.size() << " elements";
    }
    double const off = (rotationOf(pose) - expected).cwiseAbs().maxCoeff();
    if (!(off <= tol)) {
        return ::testing::AssertionFailure() << "rotation off by " << off;
    }
    return ::testing::AssertionSuccess();
}

class Random
{
public:
    explicit Random(unsigned seed) : engine_(seed) {}

    double uniform(double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(engine_);
    }

    Eigen::Vector3d vector(double half_width)
    {
        return {uniform(-half_width, half_width), uniform(-half_width, half_width),
                uniform(-half_width, half_width)};
    }

    Eigen::Vector3d unitVector()
    {
        Eigen::Vector3d v;
        do {
            v = vector(1.0);
        } while (v.norm() < 0.1 || v.norm() > 1.0);
        return v.normalized();
    }

    Eigen::Matrix3d rotation(double max_angle)
    {
        return Eigen::AngleAxisd(uniform(-max_angle, max_angle), unitVector()).toRotationMatrix();
    }

    std::mt19937 &engine() { return engine_; }

private:
    std::mt19937 engine_;
};

}  // namespace geometry_test
