// Planes from points and poses, frames on planes, the box (work-cell zone) test and re-orientation of
// poses about a direction or a reference frame.

#include <cmath>
#include <limits>
#include <vector>

#include <Eigen/Core>
#include <Eigen/Eigenvalues>
#include <Eigen/Geometry>
#include <Eigen/QR>

#include "math/rotation.h"
#include "math/vector3.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{
namespace
{

std::vector<double> const kZeroPose(6, 0.0);

Eigen::Vector3d normalizedOrSame(Eigen::Vector3d const &v)
{
    double const n = v.norm();
    return n > 0 ? Eigen::Vector3d(v / n) : v;
}

std::vector<double> poseWithFrame(Eigen::Vector3d const &position, Eigen::Vector3d const &x,
                                  Eigen::Vector3d const &y, Eigen::Vector3d const &z)
{
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    t.linear() << x, y, z;
    t.translation() = position;
    return from_matrix(t);
}

}  // namespace

Eigen::Vector3d fitPlaneToPoints(std::vector<std::vector<double>> const &points)
{
    Eigen::Vector3d const undefined = Eigen::Vector3d::Constant(std::numeric_limits<double>::quiet_NaN());
    if (points.empty()) {
        return undefined;
    }
    Eigen::Vector3d mean = Eigen::Vector3d::Zero();
    for (auto const &p : points) {
        if (p.size() < 3) {
            return undefined;
        }
        mean += toVector3(p);
    }
    mean /= static_cast<double>(points.size());
    Eigen::Matrix3d scatter = Eigen::Matrix3d::Zero();
    for (auto const &p : points) {
        Eigen::Vector3d const d = toVector3(p) - mean;
        scatter += d * d.transpose();
    }
    scatter /= static_cast<double>(points.size());
    if (!scatter.allFinite()) {
        return undefined;
    }
    Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> const solver(scatter);
    Eigen::Vector3d normal = solver.eigenvectors().col(0);
    if (normal.dot(mean) < 0) {
        normal = -normal;
    }
    return normalizedOrSame(normal);
}

bool definePlane(std::vector<std::vector<double>> const &points, std::vector<double> const &ref_dir,
                 std::vector<double> &plane)
{
    if (points.size() < 3 || ref_dir.size() != 3 || !allFinite(ref_dir)) {
        return false;
    }
    Eigen::MatrixXd a(points.size(), 3);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].size() != 3 || !allFinite(points[i])) {
            return false;
        }
        a.row(static_cast<Eigen::Index>(i)) = toVector3(points[i]).transpose();
    }
    Eigen::VectorXd const minus_ones = Eigen::VectorXd::Constant(a.rows(), -1.0);
    Eigen::Matrix3d const ata = a.transpose() * a;
    Eigen::Vector3d x = ata.colPivHouseholderQr().solve(a.transpose() * minus_ones);
    double const mean_squared = (a * x - minus_ones).squaredNorm() / static_cast<double>(a.rows());
    if (!x.allFinite() || !(mean_squared <= 0.5)) {
        return false;
    }
    double d = 1;
    if (x.dot(toVector3(ref_dir)) < 0) {
        x = -x;
        d = -1;
    }
    if (plane.size() < 4) {
        plane.resize(4);
    }
    plane[0] = x.x();
    plane[1] = x.y();
    plane[2] = x.z();
    plane[3] = d;
    return true;
}

std::vector<double> calculatePlaneFromPose(std::vector<double> const &pose, double offset)
{
    Eigen::Affine3d const t = to_matrix(pose);
    Eigen::Vector3d const z = t.linear().col(2);
    return {-z.x(), -z.y(), -z.z(), z.dot(t.translation()) + offset};
}

std::vector<double> getPlanePose(std::vector<double> const &normal, double d1, double d2, bool positive)
{
    if (normal.size() < 3) {
        return kZeroPose;
    }
    Eigen::Vector3d const n = toVector3(normal);
    Eigen::Vector3d const origin = n / n.norm() * (positive ? d1 + d2 : -(d1 + d2));
    Eigen::Vector3d y = n.cross(Eigen::Vector3d::UnitX());
    if (y.cwiseAbs().maxCoeff() <= 1e-12) {
        y = n.cross(Eigen::Vector3d::UnitY());
    }
    Eigen::Vector3d const x = y.cross(n);
    return poseWithFrame(origin, x.normalized(), y.normalized(), n.normalized());
}

std::vector<double> calculatePlaneFromReferenceDisplacement(std::vector<double> const &reference, double d1,
                                                            double d2, bool negate)
{
    std::vector<double> plane = reference;
    plane.push_back(negate ? -(d1 + d2) : d1 + d2);
    return plane;
}

void getCubic(double const *pose, double const *size, double (*planes)[4])
{
    double r[3][3];
    eulerToRotation(pose + 3, r);
    Eigen::Vector3d const center(pose[0], pose[1], pose[2]);
    for (int k = 0; k < 3; ++k) {
        Eigen::Vector3d const axis(r[0][k], r[1][k], r[2][k]);
        double const along = axis.dot(center);
        double const half = size[k] / 2;
        planes[k][0] = -axis.x();
        planes[k][1] = -axis.y();
        planes[k][2] = -axis.z();
        planes[k][3] = along - half;
        planes[k + 3][0] = axis.x();
        planes[k + 3][1] = axis.y();
        planes[k + 3][2] = axis.z();
        planes[k + 3][3] = -along - half;
    }
}

double getPlaneDistance(double const *plane, double const *point)
{
    return plane[0] * point[0] + plane[1] * point[1] + plane[2] * point[2] + plane[3];
}

int isIncludeCubic(double const (*planes)[4], double const *point)
{
    for (int k = 0; k < 6; ++k) {
        if (getPlaneDistance(planes[k], point) > 0) {
            return -1;
        }
    }
    return 1;
}

std::vector<double> transferRefFrame(std::vector<double> const &pose, double const *dir, int type)
{
    if (type != 1 && type != 2) {
        return {};
    }
    Eigen::Affine3d const t = to_matrix(pose);
    Eigen::Matrix3d const r = orthonormalRotation(t);
    Eigen::Vector3d const v = normalizedOrSame(Eigen::Vector3d(dir[0], dir[1], dir[2]));
    Eigen::Vector3d x, y, z;
    if (type == 1) {
        Eigen::Matrix3d const p = Eigen::Matrix3d::Identity() - v * v.transpose();
        Eigen::Vector3d const x_in_plane = p * r.col(0);
        y = v;
        if (x_in_plane.norm() >= 1e-4) {
            x = x_in_plane.normalized();
            z = x.cross(y).normalized();
        } else {
            z = (p * r.col(2)).normalized();
            x = y.cross(z).normalized();
        }
    } else {
        z = r.col(2);
        Eigen::Vector3d const x_in_plane = (Eigen::Matrix3d::Identity() - z * z.transpose()) * v;
        if (x_in_plane.norm() < 1e-4) {
            return pose;
        }
        x = x_in_plane.normalized();
        y = z.cross(x).normalized();
    }
    return poseWithFrame(t.translation(), x, y, z);
}

std::vector<double> changePoseWithXYRef(std::vector<double> const &pose, std::vector<double> const &ref)
{
    if (pose.size() != 6 || ref.size() != 6) {
        return kZeroPose;
    }
    Eigen::Vector3d const z = eulerToRotationMatrix(pose[3], pose[4], pose[5]).col(2);
    Eigen::Vector3d const y_ref = eulerToRotationMatrix(ref[3], ref[4], ref[5]).col(1);
    Eigen::Vector3d const x = y_ref.cross(z) / y_ref.cross(z).norm();
    Eigen::Vector3d const y = z.cross(x) / z.cross(x).norm();
    Eigen::Matrix3d r;
    r << x, y, z;
    return makePose(toVector3(pose), RotationToEuler(r));
}

}  // namespace robot_math
}  // namespace temla
