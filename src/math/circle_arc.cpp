// Circles through three taught points: centers, frames, tangents, a closing fourth point and arc way
// points.

#include <cmath>
#include <limits>
#include <vector>

#include <Eigen/Core>
#include <Eigen/Geometry>

#include "math/vector3.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{
namespace
{

constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kMaxDouble = std::numeric_limits<double>::max();

double wrapToTwoPi(double angle)
{
    return angle < 0 ? angle + kTwoPi : angle;
}

bool hasPointSize(std::vector<double> const &v)
{
    return v.size() >= 3;
}

bool isFiniteValue(double x)
{
    return std::abs(x) <= kMaxDouble;
}

// The circle frame K of three poses: origin at the center, Z the travel normal, X towards p1.
struct CircleFrame {
    std::vector<double> pose;
    double radius = 0;
};

bool buildCircleFrame(std::vector<double> const &p1, std::vector<double> const &p2,
                      std::vector<double> const &p3, CircleFrame &frame)
{
    std::vector<double> center;
    double radius = 0;
    if (!circleCenter(p1, p2, p3, center, radius)) {
        return false;
    }
    Eigen::Vector3d const a = toVector3(p1), b = toVector3(p2), c = toVector3(p3);
    Eigen::Vector3d const origin = toVector3(center);
    Eigen::Vector3d const z = (b - a).cross(c - b).normalized();
    Eigen::Vector3d const x = (a - origin) / radius;
    Eigen::Vector3d const y = z.cross(x);
    double rows[9] = {x.x(), y.x(), z.x(), x.y(), y.y(), z.y(), x.z(), y.z(), z.z()};
    std::vector<double> q;
    MatrixToQuaternion(rows, q);
    if (q.size() != 4) {
        return false;
    }
    std::vector<double> const rpy = quaternion_to_rpy(q);
    frame.pose = {origin.x(), origin.y(), origin.z(), rpy[0], rpy[1], rpy[2]};
    frame.radius = radius;
    return true;
}

// Angle of p about the frame's Z axis, measured from its X axis, in [0, 2π).
double localAngle(CircleFrame const &frame, std::vector<double> const &p)
{
    std::vector<double> const local = pose_trans(pose_inverse(frame.pose), {p[0], p[1], p[2], 0, 0, 0});
    return wrapToTwoPi(std::atan2(local[1], local[0]));
}

std::vector<double> circlePosition(CircleFrame const &frame, double phi)
{
    std::vector<double> point =
        pose_trans(frame.pose, {frame.radius * std::cos(phi), frame.radius * std::sin(phi), 0, 0, 0, 0});
    point.resize(3);
    return point;
}

Eigen::Matrix3d rotationOf(std::vector<double> const &pose)
{
    return eulerToRotationMatrix(pose[3], pose[4], pose[5]);
}

// p1's orientation carried rigidly with the circle to the local angle phi: turned by phi about the
// circle's normal.
std::vector<double> carriedOrientation(CircleFrame const &frame, std::vector<double> const &p1, double phi)
{
    Eigen::Matrix3d const k = rotationOf(frame.pose);
    Eigen::Matrix3d const turn = Eigen::AngleAxisd(phi, Eigen::Vector3d::UnitZ()).toRotationMatrix();
    return toStdVector(RotationToEuler(k * turn * k.transpose() * rotationOf(p1)));
}

std::vector<double> blendedOrientation(std::vector<double> const &from, std::vector<double> const &to,
                                       double t)
{
    std::vector<double> q1 = rpy_to_quaternion({from[3], from[4], from[5]});
    std::vector<double> q2 = rpy_to_quaternion({to[3], to[4], to[5]});
    return quaternion_to_rpy(slerp_interp(q1, q2, t));
}

// Appends the orientation of a new circle point by mode; false for an unknown mode.
bool appendOrientation(int mode, CircleFrame const &frame, std::vector<double> const &p1,
                       std::vector<double> const &towards, double phi, double t, std::vector<double> &out)
{
    std::vector<double> rpy;
    if (mode == 0) {
        rpy = carriedOrientation(frame, p1, phi);
    } else if (mode == 1) {
        rpy = blendedOrientation(p1, towards, t);
    } else {
        return false;
    }
    out.insert(out.end(), rpy.begin(), rpy.end());
    return true;
}

}  // namespace

bool circleCenter(std::vector<double> const &p1, std::vector<double> const &p2, std::vector<double> const &p3,
                  std::vector<double> &center, double &radius)
{
    if (!hasPointSize(p1) || !hasPointSize(p2) || !hasPointSize(p3)) {
        return false;
    }
    Eigen::Vector3d const a = toVector3(p1);
    Eigen::Vector3d const u = toVector3(p2) - a;
    Eigen::Vector3d const w = toVector3(p3) - a;
    Eigen::Vector3d const u_hat = u / u.norm();
    Eigen::Vector3d const w_hat = w / w.norm();
    if (u_hat.cross(w_hat).isZero(0.0)) {
        return false;
    }
    Eigen::Vector3d const n = w.cross(u) / w.cross(u).norm();
    Eigen::Vector3d const e = n.cross(u_hat);
    double const h = u.dot(u_hat) / 2;
    double const b = w.dot(u_hat);
    double const c = w.dot(e);
    double const k = ((b - h) * (b - h) + c * c - h * h) / (2 * c);
    Eigen::Vector3d const found = a + h * u_hat + k * e;
    double const found_radius = (found - a).norm();
    // Coincident points leave the construction undefined (NaN); that is no circle.
    if (!found.allFinite() || !std::isfinite(found_radius)) {
        return false;
    }
    center = toStdVector(found);
    radius = found_radius;
    return true;
}

bool arePointsCollinear(std::vector<double> const &p1, std::vector<double> const &p2,
                        std::vector<double> const &p3)
{
    if (!hasPointSize(p1) || !hasPointSize(p2) || !hasPointSize(p3)) {
        return true;
    }
    Eigen::Vector3d const a = toVector3(p1);
    Eigen::Vector3d const n = (toVector3(p2) - a).cross(toVector3(p3) - a);
    return std::abs(n.x()) < 0.001 && std::abs(n.y()) < 0.001 && std::abs(n.z()) < 0.001;
}

std::vector<double> tangentXYZAtPFrom3Pts(std::vector<double> const &p1, std::vector<double> const &p2,
                                          std::vector<double> const &p3, std::vector<double> const &p,
                                          double tol)
{
    std::vector<double> const none{0, 0, 0};
    if (p1.size() != 3 || p2.size() != 3 || p3.size() != 3 || p.size() != 3) {
        return none;
    }
    Eigen::Vector3d const a = toVector3(p1);
    Eigen::Vector3d const u1 = toVector3(p2) - a;
    Eigen::Vector3d const u2 = toVector3(p3) - a;
    Eigen::Vector3d const n = u1.cross(u2);
    if (tol * tol >= n.squaredNorm()) {
        return none;
    }
    Eigen::Vector3d const n_hat = n / n.norm();
    Eigen::Vector3d const q = toVector3(p);
    Eigen::Vector3d const projected = q - (q - a).dot(n_hat) * n_hat;
    Eigen::Vector3d const center =
        a + (u2.squaredNorm() * n.cross(u1) + u1.squaredNorm() * u2.cross(n)) / (2 * n.squaredNorm());
    Eigen::Vector3d const r = projected - center;
    if (r.norm() <= tol) {
        return none;
    }
    Eigen::Vector3d const t = n_hat.cross(r);
    if (t.norm() <= tol) {
        return none;
    }
    return toStdVector(t / t.norm());
}

bool circleFrameFrom3Poses(std::vector<double> const &p1, std::vector<double> const &p2,
                           std::vector<double> const &p3, std::vector<double> &frame, double &angle)
{
    frame.clear();
    angle = 0;
    for (auto const *p : {&p1, &p2, &p3}) {
        if (p->size() != 6 || !allFinite(*p)) {
            return false;
        }
    }
    Eigen::Vector3d const a = toVector3(p1), b = toVector3(p2), c = toVector3(p3);
    double const l12 = (b - a).norm(), l23 = (c - b).norm(), l13 = (c - a).norm();
    for (double l : {l12, l23, l13}) {
        if (!isFiniteValue(l) || l <= 1e-9) {
            return false;
        }
    }
    Eigen::Vector3d const n = (b - a).cross(c - b);
    double const n_norm = n.norm();
    if (!isFiniteValue(n_norm) || n_norm <= 1e-9 * l12 * l23) {
        return false;
    }
    Eigen::Vector3d const da = b - a, db = c - a;
    Eigen::Vector3d const center =
        a + (da.squaredNorm() * db.cross(n) + db.squaredNorm() * n.cross(da)) / (2 * n.squaredNorm());
    if (!center.allFinite()) {
        return false;
    }
    double const r = (a - center).norm();
    if (!isFiniteValue(r) || r <= 1e-9) {
        return false;
    }
    Eigen::Vector3d const x = (a - center) / r;
    Eigen::Vector3d const z = n / n_norm;
    Eigen::Vector3d y = z.cross(x);
    double const y_norm = y.norm();
    if (!isFiniteValue(y_norm) || y_norm <= 1e-9) {
        return false;
    }
    y /= y_norm;
    Eigen::Matrix3d rotation;
    rotation << x, y, z;
    Eigen::Vector3d const rpy = RotationToEuler(rotation);
    if (!rpy.allFinite()) {
        return false;
    }
    auto angle_of = [&](Eigen::Vector3d const &p) {
        Eigen::Vector3d const v = (p - center).normalized();
        return wrapToTwoPi(std::atan2(v.dot(y), v.dot(x)));
    };
    double const a2 = angle_of(b), a3 = angle_of(c);
    if (!(0 < a2 && a2 < a3 && a3 < kTwoPi)) {
        return false;
    }
    frame = makePose(center, rpy);
    angle = a3;
    return true;
}

bool circleFourthPoint(std::vector<double> const &p1, std::vector<double> const &p2,
                       std::vector<double> const &p3, int mode, std::vector<double> &out)
{
    CircleFrame frame;
    if (p1.size() != 6 || p2.size() != 6 || p3.size() != 6 || !buildCircleFrame(p1, p2, p3, frame)) {
        return false;
    }
    double const a2 = localAngle(frame, p2), a3 = localAngle(frame, p3);
    double const phi = a2 > a3 ? a3 / 2 : a3 / 2 + M_PI;
    std::vector<double> const position = circlePosition(frame, phi);
    out.insert(out.end(), position.begin(), position.end());
    return appendOrientation(mode, frame, p1, p3, phi, 0.5, out);
}

bool calculateArcPoint(std::vector<double> const &p1, std::vector<double> const &p2,
                       std::vector<double> const &p3, int mode, double ratio,
                       std::vector<std::vector<double>> &out)
{
    CircleFrame frame;
    if (p1.size() != 6 || p2.size() != 6 || p3.size() != 6 || !(ratio >= 0 && ratio <= 1) ||
        !buildCircleFrame(p1, p2, p3, frame)) {
        return false;
    }
    double const a2 = localAngle(frame, p2), a3 = localAngle(frame, p3);
    double const theta = ratio * kTwoPi;
    double end_angle = 0, via_angle = 0;
    if (a2 > a3) {
        // p3 comes before p2 in the frame's sense: the arc runs clockwise from p1.
        end_angle = kTwoPi - theta;
        via_angle = a2 >= kTwoPi - theta ? a2 : kTwoPi - theta / 2;
    } else {
        end_angle = theta;
        via_angle = a2 < theta ? a2 : theta / 2;
    }
    out.clear();
    out.push_back(p1);

    if (via_angle == a2) {
        out.push_back(p2);
    } else {
        std::vector<double> via = circlePosition(frame, via_angle);
        if (!appendOrientation(mode, frame, p1, p2, via_angle, via_angle / a2, via)) {
            return false;
        }
        out.push_back(via);
    }

    // Past p3 the blended orientation turns back towards p1's over the rest of the circle.
    double t = end_angle / a3;
    if (t > 1) {
        t = (kTwoPi - end_angle) / (kTwoPi - a3);
    }
    std::vector<double> end = circlePosition(frame, end_angle);
    if (!appendOrientation(mode, frame, p1, p3, end_angle, t, end)) {
        return false;
    }
    out.push_back(end);
    return true;
}

}  // namespace robot_math
}  // namespace temla
