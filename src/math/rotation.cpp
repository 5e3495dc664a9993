#include "math/rotation.h"

#include <cmath>

namespace temla
{
namespace robot_math
{

namespace
{

// A block whose columns are orthonormal to this is its own polar factor up to rounding: the factor differs
// from it by about half this, far below any tolerance callers use.
constexpr double kOrthonormalTolerance = 1e-14;

bool isProperRotation(Eigen::Matrix3d const &m)
{
    return (m.transpose() * m - Eigen::Matrix3d::Identity()).cwiseAbs().maxCoeff() <= kOrthonormalTolerance &&
           m.determinant() > 0;
}

}  // namespace

Eigen::Matrix3d orthonormalRotation(Eigen::Affine3d const &t)
{
    // Most transforms come straight from angles or quaternions; they skip the singular value decomposition.
    if (isProperRotation(t.linear())) {
        return t.linear();
    }
    return t.rotation();
}

Eigen::Matrix3d orthonormalRotation(Eigen::Matrix3d const &m)
{
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    t.linear() = m;
    return orthonormalRotation(t);
}

Eigen::Quaterniond rpyQuaternion(double roll, double pitch, double yaw)
{
    double const cr = std::cos(roll / 2), sr = std::sin(roll / 2);
    double const cp = std::cos(pitch / 2), sp = std::sin(pitch / 2);
    double const cy = std::cos(yaw / 2), sy = std::sin(yaw / 2);
    Eigen::Quaterniond q(cr * cp * cy + sr * sp * sy, sr * cp * cy - cr * sp * sy,
                         cr * sp * cy + sr * cp * sy, cr * cp * sy - sr * sp * cy);
    if (q.squaredNorm() > 0) {
        q.normalize();
    }
    return q;
}

Eigen::Vector3d quaternionToRpy(Eigen::Quaterniond const &q)
{
    double const w = q.w(), x = q.x(), y = q.y(), z = q.z();
    double const r00 = 1 - 2 * (y * y + z * z);
    double const r10 = 2 * (w * z + x * y);
    double const r20 = 2 * (x * z - w * y);
    double const pitch = std::atan2(-r20, std::sqrt(r00 * r00 + r10 * r10));
    if (std::abs(pitch) > kGimbalPitch) {
        return {0.0, pitch, std::atan2(-2 * (x * y - w * z), 1 - 2 * (x * x + z * z))};
    }
    return {std::atan2(2 * (w * x + y * z), 1 - 2 * (x * x + y * y)), pitch, std::atan2(r10, r00)};
}

}  // namespace robot_math
}  // namespace temla
