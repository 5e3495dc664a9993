#pragma once

// Conversions between the library's std::vector<double> points and poses and Eigen 3-vectors, shared by
// the geometry, calibration and path modules (private to the library).

#include <algorithm>
#include <cmath>
#include <vector>

#include <Eigen/Core>

namespace temla
{
namespace robot_math
{

// The first three elements of v; the caller guarantees at least three.
inline Eigen::Vector3d toVector3(std::vector<double> const &v)
{
    return {v[0], v[1], v[2]};
}

inline std::vector<double> toStdVector(Eigen::Vector3d const &v)
{
    return {v.x(), v.y(), v.z()};
}

// [position, rpy] as a six-element pose.
inline std::vector<double> makePose(Eigen::Vector3d const &position, Eigen::Vector3d const &rpy)
{
    return {position.x(), position.y(), position.z(), rpy.x(), rpy.y(), rpy.z()};
}

inline bool allFinite(std::vector<double> const &v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

}  // namespace robot_math
}  // namespace temla
