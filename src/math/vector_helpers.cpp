// Small three-vector helpers used by the geometry functions.

#include <algorithm>
#include <cmath>

#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

std::vector<double> cross(std::vector<double> const &a, std::vector<double> const &b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

std::vector<double> cross_product(std::vector<double> const &a, std::vector<double> const &b)
{
    return cross(a, b);
}

double dot(std::vector<double> const &a, std::vector<double> const &b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double norm(std::vector<double> const &a)
{
    return std::sqrt(dot(a, a));
}

std::vector<double> sub(std::vector<double> const &a, std::vector<double> const &b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

std::vector<double> div_num(std::vector<double> const &a, double s)
{
    return {a[0] / s, a[1] / s, a[2] / s};
}

double SIGN(double x)
{
    return x >= 0 ? 1.0 : -1.0;
}

double NORM(double a, double b, double c, double d)
{
    return std::sqrt(a * a + b * b + c * c + d * d);
}

double angleBetweenVectors(Eigen::Vector3d const &u, Eigen::Vector3d const &v)
{
    auto const unit = [](Eigen::Vector3d const &w) -> Eigen::Vector3d {
        double const n_sq = w.squaredNorm();
        return n_sq > 0 ? Eigen::Vector3d(w / std::sqrt(n_sq)) : w;
    };
    return std::acos(std::clamp(unit(u).dot(unit(v)), -1.0, 1.0));
}

}  // namespace robot_math
}  // namespace temla
