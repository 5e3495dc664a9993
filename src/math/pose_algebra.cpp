// Algebra on poses: composition, inverse, sum and difference, distances, comparison, interpolation.

#include <ceres/rotation.h>

#include <cmath>

#include "math/rotation.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

namespace
{

// Below this two positions count as the same point for a direction.
constexpr double kMinDirectionLength = 1e-12;
// Above this quaternion dot product slerp_interp blends linearly (0.99995 in single precision).
constexpr double kSlerpLinearDot = 0.9999499917030334;
// A rotation vector shorter than this keeps its length but turns about X.
constexpr double kMinRotationVector = 1e-10;

std::vector<double> zeroPose()
{
    return std::vector<double>(6, 0.0);
}

Eigen::Vector3d position(std::vector<double> const &p)
{
    return {p[0], p[1], p[2]};
}

Eigen::Quaterniond orientation(std::vector<double> const &p)
{
    return rpyQuaternion(p[3], p[4], p[5]);
}

Eigen::Matrix3d rotationMatrix(std::vector<double> const &p)
{
    return rpyRotation(p[3], p[4], p[5]);
}

std::vector<double> poseOf(Eigen::Vector3d const &t, Eigen::Quaterniond const &q)
{
    Eigen::Affine3d m = Eigen::Affine3d::Identity();
    m.linear() = q.toRotationMatrix();
    m.translation() = t;
    return from_matrix(m);
}

std::vector<double> poseOf(Eigen::Vector3d const &t, Eigen::Vector3d const &rpy)
{
    return {t[0], t[1], t[2], rpy[0], rpy[1], rpy[2]};
}

bool withinRelative(double difference_sq, double eps, double size1_sq, double size2_sq)
{
    return difference_sq <= eps * eps * std::min(size1_sq, size2_sq);
}

}  // namespace

std::vector<double> pose_trans(std::vector<double> const &p1, std::vector<double> const &p2)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return zeroPose();
    }
    Eigen::Matrix3d const r1 = rotationMatrix(p1);
    return poseOf(r1 * position(p2) + position(p1), rotationRpy(r1 * rotationMatrix(p2)));
}

std::vector<double> pose_inverse(std::vector<double> const &p)
{
    if (!hasPoseSize(p)) {
        return zeroPose();
    }
    // The angles' matrix is orthonormal up to rounding: its transpose is the inverse rotation.
    Eigen::Matrix3d const inverse = rotationMatrix(p).transpose();
    return poseOf(-(inverse * position(p)), rotationRpy(inverse));
}

std::vector<double> pose_add(std::vector<double> const &p1, std::vector<double> const &p2)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return zeroPose();
    }
    return poseOf(position(p1) + position(p2), orientation(p1) * orientation(p2));
}

std::vector<double> pose_sub(std::vector<double> const &p1, std::vector<double> const &p2)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return zeroPose();
    }
    return poseOf(position(p1) - position(p2), orientation(p1) * orientation(p2).inverse());
}

double pose_distance(std::vector<double> const &p1, std::vector<double> const &p2)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return 0.0;
    }
    return (position(p1) - position(p2)).norm();
}

double pose_angle_distance(std::vector<double> const &p1, std::vector<double> const &p2)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return 0.0;
    }
    Eigen::Matrix3d const relative = orthonormalRotation(orientation(p1).toRotationMatrix() *
                                                         orientation(p2).toRotationMatrix().inverse());
    double q[4];
    // Eigen matrices are column-major, the layout this overload reads.
    ceres::RotationMatrixToQuaternion(relative.data(), q);
    double const s = std::sqrt(q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    return s == 0.0 ? 0.0 : 2 * std::atan2(s, std::abs(q[0]));
}

bool pose_equal(std::vector<double> const &p1, std::vector<double> const &p2, double eps)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return false;
    }
    Eigen::Vector3d const t1 = position(p1), t2 = position(p2);
    if (!withinRelative((t1 - t2).squaredNorm(), eps, t1.squaredNorm(), t2.squaredNorm())) {
        return false;
    }
    Eigen::Vector4d const q1 = orientation(p1).coeffs(), q2 = orientation(p2).coeffs();
    double const n1 = q1.squaredNorm(), n2 = q2.squaredNorm();
    // q and -q are the same orientation.
    return withinRelative((q1 - q2).squaredNorm(), eps, n1, n2) ||
           withinRelative((q1 + q2).squaredNorm(), eps, n1, n2);
}

Eigen::Vector3d pose_direction(std::vector<double> const &p1, std::vector<double> const &p2)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return Eigen::Vector3d::Zero();
    }
    Eigen::Vector3d const d = position(p2) - position(p1);
    double const length = d.norm();
    if (!(length >= kMinDirectionLength)) {
        return Eigen::Vector3d::Zero();
    }
    return d / length;
}

double pose_axis_angle(std::vector<double> const &p1, std::vector<double> const &p2, int axis)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2) || axis < 0 || axis > 2) {
        return 0.0;
    }
    return angleBetweenVectors(rotationMatrix(p1).col(axis), rotationMatrix(p2).col(axis));
}

std::vector<double> interpolate_pose(std::vector<double> const &p1, std::vector<double> const &p2,
                                     double alpha)
{
    if (!hasPoseSize(p1) || !hasPoseSize(p2)) {
        return {};
    }
    if (alpha < 0) {
        return p1;
    }
    if (alpha > 1) {
        return p2;
    }
    Eigen::Vector3d const t1 = position(p1);
    return poseOf(t1 + alpha * (position(p2) - t1), orientation(p1).slerp(alpha, orientation(p2)));
}

std::vector<double> slerp_interp(std::vector<double> &q1, std::vector<double> &q2, double t)
{
    if (q1.size() != 4 || q2.size() != 4) {
        return std::vector<double>(4, 0.0);
    }
    // Works on copies: the caller's quaternions stay as they are, whatever sign the shortest path needs.
    Eigen::Vector4d const a(q1[0], q1[1], q1[2], q1[3]);
    Eigen::Vector4d b(q2[0], q2[1], q2[2], q2[3]);
    double d = a.dot(b);
    if (d < 0) {
        b = -b;
        d = -d;
    }
    double w1 = 1 - t, w2 = t;
    if (!(d > kSlerpLinearDot)) {
        double const theta = std::atan2(std::sqrt(1 - d * d), d);
        double const s = std::sin(theta);
        w1 = std::sin((1 - t) * theta) / s;
        w2 = std::sin(t * theta) / s;
    }
    Eigen::Vector4d r = w1 * a + w2 * b;
    if (r.squaredNorm() > 0) {
        r.normalize();
    }
    return {r[0], r[1], r[2], r[3]};
}

std::vector<double> addDeltaPose(std::vector<double> const &pose, std::vector<double> const &delta)
{
    if (!hasPoseSize(pose) || !hasPoseSize(delta)) {
        return zeroPose();
    }
    Eigen::Matrix3d const r = orthonormalRotation(to_matrix(pose));
    // The delta's rotation vector is in the reference frame; turning it into the frame's own axes lets the
    // rotation be appended on the right.
    Eigen::Vector3d const omega = r.inverse() * Eigen::Vector3d(delta[3], delta[4], delta[5]);
    double const theta = omega.norm();
    Eigen::Vector3d const axis =
        theta >= kMinRotationVector ? Eigen::Vector3d(omega / theta) : Eigen::Vector3d::UnitX();
    Eigen::Matrix3d const turned = r * Eigen::AngleAxisd(theta, axis).toRotationMatrix();
    return poseOf(position(pose) + position(delta), rotationRpy(turned));
}

}  // namespace robot_math
}  // namespace temla
