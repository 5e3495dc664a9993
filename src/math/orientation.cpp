// Conversions between the orientation forms: roll-pitch-yaw angles, rotation matrices, quaternions,
// axis and angle, and homogeneous transforms.

#include <algorithm>
#include <cmath>

#include "math/rotation.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

namespace
{

// Below this the rotation of axisAngleToEuler counts as none.
constexpr double kNegligibleRotation = 1e-6;
// An explicit angle below this (negative ones included) means no rotation.
constexpr double kNegligibleAngle = 1e-10;

std::vector<double> identityAngles()
{
    return {0.0, -0.0, 0.0};
}

}  // namespace

void eulerToRotation(double const *rpy, double (*r)[3])
{
    Eigen::Matrix3d const m = eulerToRotationMatrix(rpy[0], rpy[1], rpy[2]);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = m(i, j);
        }
    }
}

Eigen::Matrix3d eulerToRotationMatrix(double roll, double pitch, double yaw)
{
    return rpyRotation(roll, pitch, yaw);
}

Eigen::Vector3d RotationToEuler(Eigen::Matrix3d const &r)
{
    return rotationRpy(r);
}

std::vector<double> rpy_to_quaternion(std::vector<double> const &rpy)
{
    if (rpy.size() != 3) {
        return {0.0, 0.0, 0.0, 0.0};
    }
    Eigen::Quaterniond const q = rpyQuaternion(rpy[0], rpy[1], rpy[2]);
    return {q.w(), q.x(), q.y(), q.z()};
}

std::vector<double> quaternion_to_rpy(std::vector<double> const &q)
{
    if (q.size() != 4) {
        return {0.0, 0.0, 0.0};
    }
    Eigen::Vector3d const rpy = quaternionToRpy(Eigen::Quaterniond(q[0], q[1], q[2], q[3]));
    return {rpy[0], rpy[1], rpy[2]};
}

int MatrixToQuaternion(double *r, std::vector<double> &q)
{
    auto const at = [r](int i, int j) { return r[3 * i + j]; };
    auto const root = [](double square) { return std::sqrt(square < 0 ? 0.0 : square); };
    double w = root((at(0, 0) + at(1, 1) + at(2, 2) + 1) / 4);
    double x = root((at(0, 0) - at(1, 1) - at(2, 2) + 1) / 4);
    double y = root((-at(0, 0) + at(1, 1) - at(2, 2) + 1) / 4);
    double z = root((-at(0, 0) - at(1, 1) + at(2, 2) + 1) / 4);
    // The largest component is the best conditioned; it keeps its sign and fixes the others'.
    if (w >= x && w >= y && w >= z) {
        x *= SIGN(at(2, 1) - at(1, 2));
        y *= SIGN(at(0, 2) - at(2, 0));
        z *= SIGN(at(1, 0) - at(0, 1));
    } else if (x >= w && x >= y && x >= z) {
        w *= SIGN(at(2, 1) - at(1, 2));
        y *= SIGN(at(1, 0) + at(0, 1));
        z *= SIGN(at(0, 2) + at(2, 0));
    } else if (y >= w && y >= x && y >= z) {
        w *= SIGN(at(0, 2) - at(2, 0));
        x *= SIGN(at(1, 0) + at(0, 1));
        z *= SIGN(at(2, 1) + at(1, 2));
    } else if (z >= w && z >= x && z >= y) {
        w *= SIGN(at(1, 0) - at(0, 1));
        x *= SIGN(at(2, 0) + at(0, 2));
        y *= SIGN(at(2, 1) + at(1, 2));
    } else {
        return 0;
    }
    double const n = NORM(w, x, y, z);
    q.insert(q.end(), {w / n, x / n, y / n, z / n});
    return 0;
}

std::vector<double> axisAngleToEuler(std::vector<double> const &axis, double angle)
{
    // Missing components of a short axis read as zero rather than past the end.
    Eigen::Vector3d a = Eigen::Vector3d::Zero();
    for (std::size_t i = 0; i < std::min<std::size_t>(axis.size(), 3); ++i) {
        a[static_cast<Eigen::Index>(i)] = axis[i];
    }
    double const n = a.norm();
    double theta = angle;
    if (angle == 0.0) {
        theta = n;
    } else if (angle < kNegligibleAngle) {
        theta = 0.0;
    }
    // A zero axis defines no rotation whatever the angle.
    if (n == 0.0 || theta < kNegligibleRotation) {
        return identityAngles();
    }
    Eigen::Vector3d const rpy = RotationToEuler(Eigen::AngleAxisd(theta, a / n).toRotationMatrix());
    return {rpy[0], rpy[1], rpy[2]};
}

Eigen::Affine3d to_matrix(std::vector<double> const &pose)
{
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    if (!hasPoseSize(pose)) {
        return t;
    }
    t.linear() = rpyQuaternion(pose[3], pose[4], pose[5]).toRotationMatrix();
    t.translation() << pose[0], pose[1], pose[2];
    return t;
}

std::vector<double> from_matrix(Eigen::Affine3d const &t)
{
    Eigen::Vector3d const p = t.translation();
    Eigen::Vector3d const rpy = quaternionToRpy(Eigen::Quaterniond(orthonormalRotation(t)));
    return {p[0], p[1], p[2], rpy[0], rpy[1], rpy[2]};
}

std::vector<double> poseToHomMatrix(std::vector<double> const &pose)
{
    Eigen::Matrix4d const m = to_matrix(pose).matrix();
    std::vector<double> out(16);
    Eigen::Map<Eigen::Matrix<double, 4, 4, Eigen::RowMajor>>(out.data()) = m;
    return out;
}

std::vector<double> homMatrixToPose(std::vector<double> const &m)
{
    if (m.size() != 16) {
        return std::vector<double>(6, 0.0);
    }
    Eigen::Affine3d t;
    t.matrix() = Eigen::Map<Eigen::Matrix<double, 4, 4, Eigen::RowMajor> const>(m.data());
    return from_matrix(t);
}

}  // namespace robot_math
}  // namespace temla
