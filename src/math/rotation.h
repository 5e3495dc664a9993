#pragma once

// Rotation building blocks shared by the mathematics modules (private to the library):
//  - orthonormalRotation: the orthonormal (polar) factor of a transform's or matrix's linear block, the one
//    place where "the rotation of a transform" is computed, so a slightly scaled or skewed block still
//    yields a proper rotation. Every module that needs a rotation out of a transform calls it.
//  - rpyQuaternion: the unit quaternion Qz(yaw)·Qy(pitch)·Qx(roll) of a pose's angles, the orientation the
//    quaternion-based pose operations and to_matrix work with.
//  - quaternionToRpy: canonical roll, pitch, yaw of a (not necessarily unit) quaternion, with the same
//    gimbal-lock rule as RotationToEuler.
//  - hasPoseSize: whether a vector has the six elements of a pose.
//  - rpyRotation and rotationRpy: the bodies of eulerToRotationMatrix and RotationToEuler, inline so that the
//    hot paths (kinematics, pose algebra, wrenches) compile them in rather than calling across the library.

#include <cmath>
#include <vector>

#include <Eigen/Core>
#include <Eigen/Geometry>

namespace temla
{
namespace robot_math
{

// |pitch| beyond pi/2 less 1e-12 counts as gimbal lock.
inline constexpr double kGimbalPitch = 1.5707963267938965;

Eigen::Matrix3d orthonormalRotation(Eigen::Affine3d const &t);
Eigen::Matrix3d orthonormalRotation(Eigen::Matrix3d const &m);

Eigen::Quaterniond rpyQuaternion(double roll, double pitch, double yaw);

Eigen::Vector3d quaternionToRpy(Eigen::Quaterniond const &q);

// Rz(yaw)·Ry(pitch)·Rx(roll), evaluated directly from the angles' sines and cosines.
__attribute__((always_inline)) inline Eigen::Matrix3d rpyRotation(double roll, double pitch, double yaw)
{
    double const cr = std::cos(roll), sr = std::sin(roll);
    double const cp = std::cos(pitch), sp = std::sin(pitch);
    double const cy = std::cos(yaw), sy = std::sin(yaw);
    Eigen::Matrix3d m;
    m << cp * cy, sr * sp * cy - cr * sy, cr * sp * cy + sr * sy,  //
        cp * sy, sr * sp * sy + cr * cy, cr * sp * sy - sr * cy,   //
        -sp, sr * cp, cr * cp;
    return m;
}

// Canonical (roll, pitch, yaw) of r, with the gimbal-lock rule of kGimbalPitch.
__attribute__((always_inline)) inline Eigen::Vector3d rotationRpy(Eigen::Matrix3d const &r)
{
    double const pitch = std::atan2(-r(2, 0), std::sqrt(r(0, 0) * r(0, 0) + r(1, 0) * r(1, 0)));
    if (std::abs(pitch) > kGimbalPitch) {
        return {0.0, pitch, std::atan2(-r(0, 1), r(1, 1))};
    }
    return {std::atan2(r(2, 1), r(2, 2)), pitch, std::atan2(r(1, 0), r(0, 0))};
}

inline bool hasPoseSize(std::vector<double> const &v)
{
    return v.size() == 6;
}

}  // namespace robot_math
}  // namespace temla
