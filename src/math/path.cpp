// Way-point paths: straight and circular moves between poses, a plane spiral, and the corrective delta
// pose from distance readings around a circle.

#include <algorithm>
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

using Path = std::vector<std::vector<double>>;

constexpr double kTwoPi = 2.0 * M_PI;

// Per spiral plane (0, 1, 2): the base diagonal that fixes the plane, and the further move along one axis
// when the start lies on that diagonal.
constexpr double kDiagonal[3][3] = {{0.02, 0.02, 0}, {0, 0.02, 0.02}, {0.02, 0, 0.02}};
constexpr double kNudge[3][3] = {{0.01, 0, 0}, {0, 0.01, 0}, {0, 0, 0.01}};

bool isPositiveStep(double step)
{
    return step > 0 && std::isfinite(step);
}

bool allFiniteValues(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double x) { return std::isfinite(x); });
}

// Number of samples first, first + step, ... that lie below limit, or a value above kMaxPathPoints when
// there would be too many (an overflowing span included); loops over it therefore always end.
double sampleCount(double first, double limit, double step)
{
    if (!(first < limit)) {
        return 0;
    }
    return std::ceil((limit - first) / step);
}

bool fitsPath(double samples, std::size_t extra)
{
    return samples + static_cast<double>(extra) <= static_cast<double>(kMaxPathPoints);
}

// Orientation at share t of the blend between two poses' orientations.
struct OrientationBlend {
    OrientationBlend(std::vector<double> const &from, std::vector<double> const &to)
        : q1(rpy_to_quaternion({from[3], from[4], from[5]})), q2(rpy_to_quaternion({to[3], to[4], to[5]}))
    {
    }

    std::vector<double> at(double t) { return quaternion_to_rpy(slerp_interp(q1, q2, t)); }

    std::vector<double> q1;
    std::vector<double> q2;
};

std::vector<double> wayPoint(Eigen::Vector3d const &position, std::vector<double> const &rpy)
{
    return {position.x(), position.y(), position.z(), rpy[0], rpy[1], rpy[2]};
}

}  // namespace

Path pathMovel(std::vector<double> const &start, double start_offset, std::vector<double> const &end,
               double end_offset, double step)
{
    if (start.size() != 6 || end.size() != 6 || !allFinite(start) || !allFinite(end) ||
        !allFiniteValues({start_offset, end_offset}) || !isPositiveStep(step)) {
        return {};
    }
    Eigen::Vector3d const origin = toVector3(start);
    Eigen::Vector3d const d = toVector3(end) - origin;
    double const length = d.norm();
    if (length == 0) {
        return {start};
    }
    double const s_end = length - end_offset;
    double const samples = sampleCount(start_offset, s_end, step);
    if (!fitsPath(samples, 1)) {
        return {};
    }
    OrientationBlend blend(start, end);
    auto at = [&](double s) {
        double const f = s / length;
        return wayPoint(origin + f * d, blend.at(f));
    };
    Path path;
    path.reserve(static_cast<std::size_t>(samples) + 1);
    for (std::size_t k = 0; k < kMaxPathPoints; ++k) {
        double const s = start_offset + static_cast<double>(k) * step;
        if (!(s < s_end)) {
            break;
        }
        path.push_back(at(s));
    }
    path.push_back(at(s_end));
    return path;
}

Path pathMovec(std::vector<double> const &start, double start_offset, std::vector<double> const &via,
               std::vector<double> const &end, double end_offset, double step)
{
    if (start.size() != 6 || via.size() != 6 || end.size() != 6 || !allFinite(start) || !allFinite(via) ||
        !allFinite(end) || !isPositiveStep(step)) {
        return {};
    }
    Eigen::Vector3d const a = toVector3(start), b = toVector3(via), c = toVector3(end);
    double const m = (b - a).norm(), t = (c - a).norm();
    if (m < 1e-4 && t < 1e-4) {
        return {};
    }
    if (m < 1e-4 || t < 1e-4) {
        return pathMovel(start, start_offset, end, end_offset, step);
    }
    Eigen::Vector3d const u = (b - a) / m;
    Eigen::Vector3d const v = (c - a) / t;
    Eigen::Vector3d const uv = u.cross(v);
    if (uv.isZero(0.0) || uv.cwiseAbs().sum() < 1e-5) {
        return pathMovel(start, start_offset, end, end_offset, step);
    }

    Eigen::Vector3d const n = (c - a).cross(b - a).normalized();
    Eigen::Vector3d const e = n.cross(u);
    double const h = (b - a).dot(u) / 2;
    double const ae = (c - a).dot(e);
    double const be = (c - a).dot(u) - h;
    double const k = (ae * ae + be * be - h * h) / (2 * ae);
    Eigen::Vector3d const center = a + h * u + k * e;
    double const r = (a - center).norm();

    Eigen::Vector3d const x = (a - center) / r;
    Eigen::Vector3d const z = (b - a).cross(c - b).normalized();
    Eigen::Vector3d const y = z.cross(x);
    Eigen::Vector3d const to_end = c - center;
    double theta = std::atan2(to_end.dot(y), to_end.dot(x));
    if (theta < 0) {
        theta += kTwoPi;
    }
    double const samples = sampleCount(0, theta, step);
    if (!fitsPath(samples, 0) || !center.allFinite() || !std::isfinite(r)) {
        return {};
    }

    OrientationBlend blend(start, end);
    Path path;
    path.reserve(static_cast<std::size_t>(samples));
    for (std::size_t i = 0; i < kMaxPathPoints; ++i) {
        double const phi = static_cast<double>(i) * step;
        if (!(phi < theta)) {
            break;
        }
        path.push_back(wayPoint(center + r * (std::cos(phi) * x + std::sin(phi) * y), blend.at(phi / theta)));
    }
    return path;
}

Path pathMoveSpiral(std::vector<double> const &start, std::vector<double> const &center, int plane,
                    double total_angle, double radius_per_turn, double advance_per_turn, double angle_step)
{
    if (start.size() != 6 || center.size() != 6 || plane < 0 || plane > 2 || !allFinite(start) ||
        !allFinite(center) || !allFiniteValues({total_angle, radius_per_turn, advance_per_turn}) ||
        !isPositiveStep(angle_step)) {
        return {};
    }
    // An auxiliary point off the center along a base diagonal fixes the spiral's plane.
    Eigen::Vector3d const c = toVector3(center);
    Eigen::Vector3d h = c + Eigen::Vector3d(kDiagonal[plane][0], kDiagonal[plane][1], kDiagonal[plane][2]);
    if (arePointsCollinear(start, center, toStdVector(h))) {
        h += Eigen::Vector3d(kNudge[plane][0], kNudge[plane][1], kNudge[plane][2]);
    }
    Eigen::Vector3d const u0 = toVector3(start) - c;
    double const r0 = u0.norm();
    Eigen::Vector3d const x = u0 / r0;
    Eigen::Vector3d const normal_raw = u0.cross(h - c);
    Eigen::Vector3d const n = normal_raw / normal_raw.norm();
    Eigen::Vector3d const y_raw = n.cross(u0);
    Eigen::Vector3d const y = y_raw / y_raw.norm();
    // The start at the center (or along the diagonal) leaves the spiral without a frame.
    if (!x.allFinite() || !n.allFinite() || !y.allFinite()) {
        return {};
    }

    auto point = [&](double phi, double direction) {
        double const rho = r0 + radius_per_turn / kTwoPi * phi;
        return toStdVector(c + rho * (std::cos(direction) * x + std::sin(direction) * y) +
                           advance_per_turn / kTwoPi * phi * n);
    };
    if (total_angle <= 0) {
        return {point(total_angle, -total_angle)};
    }
    double const samples = sampleCount(0, total_angle, angle_step);
    if (!fitsPath(samples, 1)) {
        return {};
    }
    Path path;
    path.reserve(static_cast<std::size_t>(samples) + 1);
    for (std::size_t i = 0; i < kMaxPathPoints; ++i) {
        double const phi = static_cast<double>(i) * angle_step;
        if (!(phi < total_angle)) {
            break;
        }
        path.push_back(point(phi, phi));
    }
    path.push_back(point(total_angle, total_angle));
    return path;
}

bool utlCalDeltaPose(std::vector<double> const &readings, double const &reference, double const &radius,
                     double const &gain, std::vector<double> &delta)
{
    std::size_t const n = readings.size();
    if (n <= 3 || !allFinite(readings) || !allFiniteValues({reference, radius, gain})) {
        return false;
    }
    double mean = 0;
    std::vector<std::vector<double>> points;
    points.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        double const angle = kTwoPi * static_cast<double>(i) / static_cast<double>(n);
        points.push_back({radius * std::cos(angle), radius * std::sin(angle), readings[i]});
        mean += readings[i];
    }
    mean /= static_cast<double>(n);

    // Only the reference direction's sign matters: the fitted normal is made to point towards +Z.
    std::vector<double> plane(4);
    if (!definePlane(points, {0, 0, std::numeric_limits<double>::max()}, plane)) {
        return false;
    }
    Eigen::Vector3d normal = Eigen::Vector3d(plane[0], plane[1], plane[2]).normalized();
    normal = normal.unaryExpr([](double v) { return std::abs(v) < 1e-6 ? 0.0 : v; });
    double const height = gain * (mean - reference);
    if (normal.x() == 0 && normal.y() == 0) {
        delta = {0, 0, height, 0, 0, 0};
        return true;
    }
    Eigen::Vector3d const axis = Eigen::Vector3d(-normal.y(), normal.x(), 0).normalized();
    double angle = std::acos(std::clamp(normal.z() / normal.norm(), -1.0, 1.0));
    if (std::abs(angle - M_PI) < 1e-6) {
        angle = 0;
    }
    Eigen::Matrix3d const tilt =
        angle < 1e-6 ? Eigen::Matrix3d::Identity() : Eigen::AngleAxisd(angle, axis).toRotationMatrix();
    Eigen::Vector3d const rpy = RotationToEuler(tilt);
    delta = {0, 0, height, gain * rpy.x(), gain * rpy.y(), gain * rpy.z()};
    return true;
}

}  // namespace robot_math
}  // namespace temla
