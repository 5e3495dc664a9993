// Kinematics, payload and wrench functions.

#include <array>

#include "conversions.h"
#include "robot_proxy/robot_math.h"

namespace robot_math_python
{

namespace rm = temla::robot_math;
using namespace pybind11::literals;

namespace
{

// The meaning of forwardKinematics' (and jacobian's and inverseKinematics') negative codes.
[[noreturn]] void kinematicsError(int code)
{
    switch (code) {
        case -1:
            badArgument("no joint values or an empty DH table");
        case -2:
            badArgument("the DH or compensation table needs four rows of at least one value per joint");
        case -3:
            badArgument("the tool must be empty or a pose of six values");
        case -4:
            badArgument("joint must be -1 (the TCP) or a joint index");
        case -5:
            throw NoSolution("inverse kinematics did not converge: the pose is out of reach from this seed");
        case -6:
            badArgument("q_min and q_max need one value per joint with q_min <= q_max");
        case -7:
            badArgument("the pose needs six finite values and the seed finite values");
        default:
            badArgument("error code " + std::to_string(code));
    }
}

Vector tool(py::object const &t)
{
    return t.is_none() ? Vector{} : values(Array::ensure(t), 0, "tool");
}

std::array<double, 3> array3(Array const &a, char const *name)
{
    Vector const v = point(a, name);
    return {v[0], v[1], v[2]};
}

// A 3x3 tensor as the nine values column by column that the payload functions take.
std::array<double, 9> tensor(Array const &a, char const *name)
{
    Eigen::Matrix3d const m = matrix3(a, name);
    std::array<double, 9> out{};
    Eigen::Map<Eigen::Matrix3d>(out.data()) = m;
    return out;
}

py::array_t<double> tensorArray(std::array<double, 9> const &columns)
{
    return matrix(Eigen::Matrix3d(Eigen::Map<Eigen::Matrix3d const>(columns.data())));
}

char const *const kTables =
    " dh is a 4×n array (rows alpha, a, d, theta of the modified Denavit-Hartenberg chain), compensation is"
    " None or an array of the same shape added to it, tool is None or a pose of six values.";

}  // namespace

void bindKinematics(py::module_ &m)
{
    m.def(
        "forwardKinematics",
        [](Array const &q, py::object const &tool_pose, py::object const &dh, py::object const &compensation,
           int joint) {
            Vector pose;
            int const code =
                rm::forwardKinematics(pose, values(q, 0, "q"), tool(tool_pose), dhTable(dh, "dh"),
                                      dhTable(compensation, "compensation"), joint);
            if (code != 0) {
                kinematicsError(code);
            }
            return array(pose);
        },
        "q"_a, "tool"_a, "dh"_a, "compensation"_a = py::none(), "joint"_a = -1,
        (std::string("Pose of the TCP (joint -1, tool applied) or of the 0-based joint's frame (no tool).") +
         kTables + " ValueError for malformed tables, tool or joint.")
            .c_str());
    m.def(
        "jacobian",
        [](Array const &q, py::object const &tool_pose, py::object const &dh,
           py::object const &compensation) {
            Vector jac;
            Vector const joints = values(q, 0, "q");
            int const code = rm::jacobian(jac, joints, tool(tool_pose), dhTable(dh, "dh"),
                                          dhTable(compensation, "compensation"));
            if (code != 0) {
                kinematicsError(code);
            }
            return matrix(jac.data(), 6, static_cast<py::ssize_t>(joints.size()));
        },
        "q"_a, "tool"_a, "dh"_a, "compensation"_a = py::none(),
        (std::string("6×n geometric Jacobian at the TCP, rows vx vy vz wx wy wz in the base frame.") +
         kTables + " ValueError as forwardKinematics.")
            .c_str());

    py::class_<rm::InverseKinematicsOptions>(m, "InverseKinematicsOptions",
                                             "Iteration budget, tolerances (m, rad) and starting damping.")
        .def(py::init<>())
        .def_readwrite("max_iterations", &rm::InverseKinematicsOptions::max_iterations)
        .def_readwrite("position_tolerance", &rm::InverseKinematicsOptions::position_tolerance)
        .def_readwrite("orientation_tolerance", &rm::InverseKinematicsOptions::orientation_tolerance)
        .def_readwrite("damping", &rm::InverseKinematicsOptions::damping);
    m.def(
        "inverseKinematics",
        [](Array const &target, Array const &seed, py::object const &tool_pose, py::object const &dh,
           py::object const &compensation, Array const &q_min, Array const &q_max,
           rm::InverseKinematicsOptions const &options) {
            Vector q;
            int const code =
                rm::inverseKinematics(q, values(target, 0, "pose"), values(seed, 0, "seed"), tool(tool_pose),
                                      dhTable(dh, "dh"), dhTable(compensation, "compensation"),
                                      values(q_min, 0, "q_min"), values(q_max, 0, "q_max"), options);
            if (code != 0) {
                kinematicsError(code);
            }
            return array(q);
        },
        "pose"_a, "seed"_a, "tool"_a, "dh"_a, "compensation"_a, "q_min"_a, "q_max"_a,
        "options"_a = rm::InverseKinematicsOptions(),
        (std::string(
             "Joint values whose TCP is pose, by damped least squares from seed within [q_min, q_max].") +
         kTables + " NoSolutionError when it does not converge; ValueError for malformed arguments.")
            .c_str());

    m.def(
        "calcNormalizedJacobianMinSigma6x6",
        [](Array const &j) {
            double sigma = 0;
            rm::calcNormalizedJacobianMinSigma6x6(values(j, 36, "jacobian"), sigma);
            return sigma;
        },
        "jacobian"_a,
        "Smallest singular value of the column-normalised 6x6 Jacobian; near 0 near a singularity.");
    m.def(
        "calJointStiffRatio",
        [](Array const &ratios) {
            Vector const r = values(ratios, 0, "ratios");
            return array(rm::calJointStiffRatio(r), r.size());
        },
        "ratios"_a, "Each ratio through the joint stiffness curve: a 2×n array of two equal rows.");
    m.def(
        "combineCenterOfMass",
        [](double m1, Array const &c1, double m2, Array const &c2) {
            std::array<double, 3> const c =
                rm::combineCenterOfMass(m1, array3(c1, "c1"), m2, array3(c2, "c2"));
            return array(Vector(c.begin(), c.end()));
        },
        "m1"_a, "c1"_a, "m2"_a, "c2"_a, "Mass-weighted center of two bodies; zeros unless m1 + m2 > 0.");
    m.def(
        "skewSymmetricMatrixFromVector",
        [](Array const &v) { return tensorArray(rm::skewSymmetricMatrixFromVector(array3(v, "v"))); }, "v"_a,
        "The 3x3 cross-product matrix [v]×.");
    m.def(
        "combineInertiaTensor",
        [](double m1, Array const &c1, Array const &i1, double m2, Array const &c2, Array const &i2,
           double mass, Array const &c) {
            return tensorArray(rm::combineInertiaTensor(m1, array3(c1, "c1"), tensor(i1, "i1"), m2,
                                                        array3(c2, "c2"), tensor(i2, "i2"), mass,
                                                        array3(c, "c")));
        },
        "m1"_a, "c1"_a, "i1"_a, "m2"_a, "c2"_a, "i2"_a, "m"_a, "c"_a,
        "3x3 inertia of two bodies (3x3 tensors about their centers) about the combined center c of mass m.");
    m.def(
        "changeFTBase",
        [](Array const &p, Array const &wrench) {
            return array(rm::changeFTBase(pose(p), pose(wrench, "wrench")));
        },
        "pose"_a, "wrench"_a,
        "Wrench measured in frame pose, components in the reference frame: [R·F, R·T].");
    m.def(
        "changeFTFrame",
        [](Array const &p, Array const &wrench) {
            return array(rm::changeFTFrame(pose(p), pose(wrench, "wrench")));
        },
        "pose"_a, "wrench"_a,
        "Wrench measured in frame pose, in the reference frame about its origin: [R·F, R·T + p × R·F].");
}

}  // namespace robot_math_python
