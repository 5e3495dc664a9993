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

inline bool hasPoseSize(std::vector<double> const &v)
{
    return v.size() == 6;
}

}  // namespace robot_math
}  // namespace temla
