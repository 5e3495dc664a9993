// Payload helpers: combined center of mass and inertia of two bodies, and the transfer of a force-torque
// reading between frames.

#include "math/rotation.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

namespace
{

using Array3Map = Eigen::Map<Eigen::Vector3d const>;
using Array9Map = Eigen::Map<Eigen::Matrix3d const>;

Eigen::Matrix3d skew(std::array<double, 3> const &v)
{
    std::array<double, 9> const s = skewSymmetricMatrixFromVector(v);
    return Array9Map(s.data());
}

// I - m·S(c)·S(c): the body's tensor moved from its center c to the origin.
Eigen::Matrix3d aboutOrigin(double m, std::array<double, 3> const &c, std::array<double, 9> const &i)
{
    Eigen::Matrix3d const s = skew(c);
    Eigen::Matrix3d const own = m == 0.0 ? Eigen::Matrix3d::Zero() : Eigen::Matrix3d(Array9Map(i.data()));
    return own - m * s * s;
}

// r·(x, y, z) written out: Eigen's product and this helper itself were left out of line at -O2 and cost
// more than the nine multiplications.
__attribute__((always_inline)) inline Eigen::Vector3d rotate(Eigen::Matrix3d const &r, double x, double y,
                                                             double z)
{
    return {r(0, 0) * x + r(0, 1) * y + r(0, 2) * z, r(1, 0) * x + r(1, 1) * y + r(1, 2) * z,
            r(2, 0) * x + r(2, 1) * y + r(2, 2) * z};
}

}  // namespace

std::array<double, 3> combineCenterOfMass(double m1, std::array<double, 3> const &c1, double m2,
                                          std::array<double, 3> const &c2)
{
    double const m = m1 + m2;
    if (!(m > 0)) {
        return {0.0, 0.0, 0.0};
    }
    std::array<double, 3> c{};
    Eigen::Map<Eigen::Vector3d>(c.data()) = (m1 * Array3Map(c1.data()) + m2 * Array3Map(c2.data())) / m;
    return c;
}

std::array<double, 9> skewSymmetricMatrixFromVector(std::array<double, 3> const &v)
{
    return {0.0, v[2], -v[1], -v[2], 0.0, v[0], v[1], -v[0], 0.0};
}

std::array<double, 9> combineInertiaTensor(double m1, std::array<double, 3> const &c1,
                                           std::array<double, 9> const &i1, double m2,
                                           std::array<double, 3> const &c2, std::array<double, 9> const &i2,
                                           double m, std::array<double, 3> const &c)
{
    std::array<double, 9> result{};
    if (m == 0.0) {
        return result;
    }
    Eigen::Matrix3d const s = skew(c);
    Eigen::Map<Eigen::Matrix3d>(result.data()) =
        aboutOrigin(m1, c1, i1) + aboutOrigin(m2, c2, i2) + m * s * s;
    return result;
}

std::vector<double> changeFTBase(std::vector<double> const &pose, std::vector<double> const &wrench)
{
    if (!hasPoseSize(pose) || wrench.size() != 6) {
        return std::vector<double>(6, 0.0);
    }
    Eigen::Matrix3d const r = rpyRotation(pose[3], pose[4], pose[5]);
    Eigen::Vector3d const f = rotate(r, wrench[0], wrench[1], wrench[2]);
    Eigen::Vector3d const t = rotate(r, wrench[3], wrench[4], wrench[5]);
    return {f[0], f[1], f[2], t[0], t[1], t[2]};
}

std::vector<double> changeFTFrame(std::vector<double> const &pose, std::vector<double> const &wrench)
{
    if (!hasPoseSize(pose) || wrench.size() != 6) {
        return std::vector<double>(6, 0.0);
    }
    // The rotation straight from the angles: it is orthonormal by construction, so no check or polar factor.
    Eigen::Matrix3d const r = rpyRotation(pose[3], pose[4], pose[5]);
    Eigen::Vector3d const f = rotate(r, wrench[0], wrench[1], wrench[2]);
    Eigen::Vector3d const t =
        rotate(r, wrench[3], wrench[4], wrench[5]) + Eigen::Vector3d(pose[0], pose[1], pose[2]).cross(f);
    return {f[0], f[1], f[2], t[0], t[1], t[2]};
}

}  // namespace robot_math
}  // namespace temla
