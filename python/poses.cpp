// Orientation conversions, pose algebra and the vector helpers.

#include <cmath>

#include "conversions.h"
#include "robot_proxy/robot_math.h"

namespace robot_math_python
{

namespace rm = temla::robot_math;
using namespace pybind11::literals;

namespace
{

void bindOrientation(py::module_ &m)
{
    m.def(
        "eulerToRotation",
        [](Array const &rpy) {
            Vector const angles = values(rpy, 3, "rpy");
            double r[3][3];
            rm::eulerToRotation(angles.data(), r);
            return matrix(&r[0][0], 3, 3);
        },
        "rpy"_a, "3x3 rotation Rz(yaw)·Ry(pitch)·Rx(roll) of [roll, pitch, yaw].");
    m.def(
        "eulerToRotationMatrix",
        [](double roll, double pitch, double yaw) {
            return matrix(rm::eulerToRotationMatrix(roll, pitch, yaw));
        },
        "roll"_a, "pitch"_a, "yaw"_a, "3x3 rotation Rz(yaw)·Ry(pitch)·Rx(roll).");
    m.def(
        "RotationToEuler", [](Array const &r) { return array(rm::RotationToEuler(matrix3(r, "r"))); }, "r"_a,
        "Canonical [roll, pitch, yaw] of a 3x3 rotation (used as given, not orthonormalised).");
    m.def(
        "rpy_to_quaternion",
        [](Array const &rpy) { return array(rm::rpy_to_quaternion(values(rpy, 3, "rpy"))); }, "rpy"_a,
        "Unit quaternion [w, x, y, z] of [roll, pitch, yaw]. ValueError unless three angles.");
    m.def(
        "quaternion_to_rpy", [](Array const &q) { return array(rm::quaternion_to_rpy(values(q, 4, "q"))); },
        "q"_a,
        "[roll, pitch, yaw] of the quaternion [w, x, y, z] (not normalised first). ValueError unless four "
        "values.");
    m.def(
        "MatrixToQuaternion",
        [](Array const &r) {
            Eigen::Matrix<double, 3, 3, Eigen::RowMajor> rows = matrix3(r, "r");
            Vector q;
            rm::MatrixToQuaternion(rows.data(), q);
            return nonEmpty(q, "the matrix holds a NaN");
        },
        "r"_a, "Unit quaternion [w, x, y, z] of a 3x3 rotation. ValueError when the matrix holds a NaN.");
    m.def(
        "axisAngleToEuler",
        [](Array const &axis, double angle) {
            return array(rm::axisAngleToEuler(values(axis, 3, "axis"), angle));
        },
        "axis"_a, "angle"_a,
        "[roll, pitch, yaw] of a rotation by angle about axis; angle 0 reads axis as a rotation vector.");
    m.def(
        "to_matrix", [](Array const &p) { return matrix(rm::to_matrix(pose(p))); }, "pose"_a,
        "4x4 homogeneous transform of a pose. ValueError unless six values.");
    m.def(
        "from_matrix", [](Array const &t) { return array(rm::from_matrix(transform(t))); }, "matrix"_a,
        "Pose of a 4x4 transform; the rotation is the orthonormal factor of the linear block.");
    m.def(
        "poseToHomMatrix",
        [](Array const &p) {
            Vector const m16 = rm::poseToHomMatrix(pose(p));
            return matrix(m16.data(), 4, 4);
        },
        "pose"_a, "The same 4x4 transform as to_matrix. ValueError unless six values.");
    m.def(
        "homMatrixToPose", [](Array const &t) { return array(rm::homMatrixToPose(values(t, 16, "matrix"))); },
        "matrix"_a,
        "Pose of a 4x4 (or 16-value row-by-row) homogeneous matrix. ValueError for another size.");
}

void bindPoseAlgebra(py::module_ &m)
{
    m.def(
        "pose_trans",
        [](Array const &p1, Array const &p2) {
            return array(rm::pose_trans(pose(p1, "p1"), pose(p2, "p2")));
        },
        "p1"_a, "p2"_a, "T(p1)·T(p2): p2 given in frame p1, expressed in p1's reference frame.");
    m.def(
        "pose_inverse", [](Array const &p) { return array(rm::pose_inverse(pose(p))); }, "pose"_a,
        "The inverse pose.");
    m.def(
        "pose_add",
        [](Array const &p1, Array const &p2) { return array(rm::pose_add(pose(p1, "p1"), pose(p2, "p2"))); },
        "p1"_a, "p2"_a, "[t1 + t2, RPY(q1·q2)]: positions added without rotating t2.");
    m.def(
        "pose_sub",
        [](Array const &p1, Array const &p2) { return array(rm::pose_sub(pose(p1, "p1"), pose(p2, "p2"))); },
        "p1"_a, "p2"_a, "[t1 - t2, RPY(q1·q2⁻¹)], so pose_add(pose_sub(a, b), b) gives a.");
    m.def(
        "pose_distance",
        [](Array const &p1, Array const &p2) { return rm::pose_distance(pose(p1, "p1"), pose(p2, "p2")); },
        "p1"_a, "p2"_a, "Distance of the positions (m).");
    m.def(
        "pose_angle_distance",
        [](Array const &p1, Array const &p2) {
            return rm::pose_angle_distance(pose(p1, "p1"), pose(p2, "p2"));
        },
        "p1"_a, "p2"_a, "Angle of the relative rotation in [0, pi].");
    m.def(
        "pose_equal",
        [](Array const &p1, Array const &p2, double eps) {
            return rm::pose_equal(pose(p1, "p1"), pose(p2, "p2"), eps);
        },
        "p1"_a, "p2"_a, "eps"_a, "Relative comparison of positions and orientations within eps.");
    m.def(
        "pose_direction",
        [](Array const &p1, Array const &p2) {
            return array(rm::pose_direction(pose(p1, "p1"), pose(p2, "p2")));
        },
        "p1"_a, "p2"_a, "Unit direction from p1's position to p2's; zeros when they coincide.");
    m.def(
        "pose_axis_angle",
        [](Array const &p1, Array const &p2, int axis) {
            if (axis < 0 || axis > 2) {
                badArgument("axis must be 0 (X), 1 (Y) or 2 (Z)");
            }
            return rm::pose_axis_angle(pose(p1, "p1"), pose(p2, "p2"), axis);
        },
        "p1"_a, "p2"_a, "axis"_a, "Angle between the same axis (0 X, 1 Y, 2 Z) of both frames.");
    m.def(
        "interpolate_pose",
        [](Array const &p1, Array const &p2, double alpha) {
            return array(rm::interpolate_pose(pose(p1, "p1"), pose(p2, "p2"), alpha));
        },
        "p1"_a, "p2"_a, "alpha"_a, "Linear position and spherical orientation blend at alpha in [0, 1].");
    m.def(
        "slerp_interp",
        [](Array const &q1, Array const &q2, double t) {
            Vector a = values(q1, 4, "q1"), b = values(q2, 4, "q2");
            return array(rm::slerp_interp(a, b, t));
        },
        "q1"_a, "q2"_a, "t"_a, "Shortest-path spherical interpolation of two quaternions; t is not clamped.");
    m.def(
        "addDeltaPose",
        [](Array const &p, Array const &delta) {
            return array(rm::addDeltaPose(pose(p), pose(delta, "delta")));
        },
        "pose"_a, "delta"_a,
        "Pose moved by [dx, dy, dz, wx, wy, wz] (translation and rotation vector, reference frame).");
}

void bindVectors(py::module_ &m)
{
    m.def(
        "cross",
        [](Array const &a, Array const &b) { return array(rm::cross(point(a, "a"), point(b, "b"))); }, "a"_a,
        "b"_a, "a × b of three-element vectors.");
    m.def(
        "cross_product",
        [](Array const &a, Array const &b) { return array(rm::cross_product(point(a, "a"), point(b, "b"))); },
        "a"_a, "b"_a, "a × b of three-element vectors.");
    m.def(
        "dot", [](Array const &a, Array const &b) { return rm::dot(point(a, "a"), point(b, "b")); }, "a"_a,
        "b"_a, "a · b of three-element vectors.");
    m.def(
        "norm", [](Array const &a) { return rm::norm(point(a, "a")); }, "a"_a,
        "|a| of a three-element vector.");
    m.def(
        "sub", [](Array const &a, Array const &b) { return array(rm::sub(point(a, "a"), point(b, "b"))); },
        "a"_a, "b"_a, "a - b of three-element vectors.");
    m.def(
        "div_num", [](Array const &a, double s) { return array(rm::div_num(point(a, "a"), s)); }, "a"_a,
        "s"_a, "a / s with IEEE semantics.");
    m.def("SIGN", &rm::SIGN, "x"_a, "1.0 when x >= 0, otherwise -1.0.");
    m.def("NORM", &rm::NORM, "a"_a, "b"_a, "c"_a, "d"_a, "sqrt(a² + b² + c² + d²).");
    m.def(
        "angleBetweenVectors",
        [](Array const &u, Array const &v) {
            return rm::angleBetweenVectors(vector3(u, "u"), vector3(v, "v"));
        },
        "u"_a, "v"_a, "Angle in [0, pi] between u and v; pi/2 for a zero vector.");
}

}  // namespace

void bindPoses(py::module_ &m)
{
    bindOrientation(m);
    bindPoseAlgebra(m);
    bindVectors(m);
}

}  // namespace robot_math_python
