// Tool and frame calibration.

#include "conversions.h"
#include "robot_proxy/robot_math.h"

namespace robot_math_python
{

namespace rm = temla::robot_math;
using namespace pybind11::literals;

namespace
{

// An N×4×4 array of flange transforms, or an N×6 array of flange poses.
rm::FlangePoses flangePoses(Array const &poses)
{
    rm::FlangePoses out;
    if (poses.ndim() == 3 && poses.shape(1) == 4 && poses.shape(2) == 4) {
        for (py::ssize_t i = 0; i < poses.shape(0); ++i) {
            Eigen::Affine3d t;
            t.matrix() = Eigen::Map<Eigen::Matrix<double, 4, 4, Eigen::RowMajor> const>(poses.data(i, 0, 0));
            out.push_back(t);
        }
        return out;
    }
    if (poses.ndim() == 2 && poses.shape(1) == 6) {
        for (Vector const &p : rows(poses, 6, "flange_poses")) {
            out.push_back(rm::to_matrix(p));
        }
        return out;
    }
    badArgument("flange_poses must be an N×4×4 array of transforms or an N×6 array of poses");
}

void bindTcp(py::module_ &m)
{
    py::class_<rm::TcpCalibrationResult>(m, "TcpCalibrationResult", "Result of calibrateTcp.")
        .def_property_readonly(
            "tcp", [](rm::TcpCalibrationResult const &r) { return array(r.tcp); },
            "Tool point in the flange frame.")
        .def_property_readonly(
            "point", [](rm::TcpCalibrationResult const &r) { return array(r.point); },
            "Touched point in the base frame.")
        .def_readonly("error", &rm::TcpCalibrationResult::error,
                      "Final cost (half the squared residual sum) per parameter block.")
        .def_readonly("converged", &rm::TcpCalibrationResult::converged,
                      "True only when the solver converged and the poses determine the answer.")
        .def("__repr__", [](rm::TcpCalibrationResult const &r) {
            return "TcpCalibrationResult(tcp=[" + std::to_string(r.tcp.x()) + ", " +
                   std::to_string(r.tcp.y()) + ", " + std::to_string(r.tcp.z()) +
                   "], converged=" + (r.converged ? "True" : "False") + ")";
        });
    m.def(
        "calibrateTcp",
        [](Array const &poses, py::object const &tcp_guess, py::object const &point_guess) {
            auto const guess = [](py::object const &g, char const *name) {
                return g.is_none() ? Eigen::Vector3d::Zero().eval() : vector3(Array::ensure(g), name);
            };
            return rm::calibrateTcp(flangePoses(poses), guess(tcp_guess, "tcp_guess"),
                                    guess(point_guess, "point_guess"));
        },
        "flange_poses"_a, "tcp_guess"_a = py::none(), "point_guess"_a = py::none(),
        "Tool point and touched point from flange poses (N×4×4 transforms or N×6 poses) that all touch one "
        "fixed "
        "point, by least squares in Ceres. Returns a TcpCalibrationResult; check its converged flag, which "
        "is "
        "False for poses that do not determine the tool (all about one axis, too few orientations).");
    m.def(
        "calibrate_tcp",
        [](Array const &poses) {
            Vector tcp;
            rm::calibrate_tcp(rows(poses, 6, "poses"), tcp);
            return array(tcp);
        },
        "poses"_a,
        "calibrateTcp of an N×6 array of poses with zero guesses: the tool point only. Cannot tell a "
        "determined "
        "tool from a meaningless one; call calibrateTcp and check converged when that matters.");
    m.def(
        "calibrateTCPBasePlane",
        [](Array const &plane_points, Array const &flange_poses) {
            Vector tcp, stats;
            int const code = rm::calibrateTCPBasePlane(tcp, stats, rows(plane_points, 0, "plane_points"),
                                                       rows(flange_poses, 0, "flange_poses"));
            switch (code) {
                case 0:
                    return py::make_tuple(array(tcp), array(stats));
                case -1:
                    badArgument("fewer than 3 plane points");
                case -2:
                    badArgument("fewer than 4 flange poses");
                case -3:
                    badArgument("a flange pose without six values");
                default:
                    throw NoSolution("no plane normal can be fitted to the plane points");
            }
        },
        "plane_points"_a, "flange_poses"_a,
        "(tcp, [mean |r|, rms r, max |r|]) of a tool tip touching one plane. ValueError for too few or "
        "malformed "
        "inputs, NoSolutionError when no plane normal fits.");
}

void bindFrames(py::module_ &m)
{
    m.def(
        "calibrate_feature",
        [](Array const &points, int type) {
            Vector frame;
            if (rm::calibrate_feature(rows(points, 0, "points"), type, frame) != 1) {
                badArgument(
                    "calibrate_feature needs three distinct, non-collinear points and a type in 0..5");
            }
            return array(frame);
        },
        "points"_a, "type"_a,
        "User frame pose at O from a 3×N array (O, P1 along the first axis, P2 in the plane); axes by type "
        "0..5.");
    m.def(
        "toolAxisFromTwoCircles",
        [](Array const &set_a, Array const &set_b) {
            Vector point_a, point_b, axis;
            if (rm::toolAxisFromTwoCircles(rows(set_a, 6, "set_a"), rows(set_b, 6, "set_b"), point_a, point_b,
                                           axis) != 1) {
                badArgument("each set needs eight poses giving two distinct points");
            }
            return py::make_tuple(array(point_a), array(point_b), array(axis));
        },
        "set_a"_a, "set_b"_a,
        "(point_a, point_b, axis) of two 8×6 pose sets; the axis runs from point_a to point_b.");
    m.def(
        "toolPoseInFlangeFromNewZ",
        [](Array const &flange_rpy, Array const &tool_rpy, Array const &new_z) {
            return nonEmpty(rm::toolPoseInFlangeFromNewZ(point(flange_rpy, "flange_rpy"),
                                                         point(tool_rpy, "tool_rpy"), point(new_z, "new_z")),
                            "new_z is (nearly) zero");
        },
        "flange_rpy"_a, "tool_rpy"_a, "new_z"_a,
        "Tool angles relative to the flange with Z along new_z (base frame), X close to the current tool X.");
    m.def(
        "tcpInFlange",
        [](Array const &p, Array const &flange_pose) {
            return array(rm::tcpInFlange(point(p), pose(flange_pose, "flange_pose")));
        },
        "point"_a, "flange_pose"_a, "The base-frame point in flange coordinates.");
    m.def(
        "calibrateLinear",
        [](Array const &samples) {
            return nonEmpty(rm::calibrateLinear(rows(samples, 2, "samples")),
                            "a line needs at least two samples with distinct x and a finite fit");
        },
        "samples"_a,
        "[slope, intercept, max |r|, rms r] of the line through an N×2 array of (x, y) samples.");
    m.def(
        "utlCalDeltaPose",
        [](Array const &readings, double reference, double radius, double gain) {
            Vector delta;
            if (!rm::utlCalDeltaPose(values(readings, 0, "readings"), reference, radius, gain, delta)) {
                throw NoSolution("needs more than three finite readings that a plane fits");
            }
            return array(delta);
        },
        "readings"_a, "reference"_a, "radius"_a, "gain"_a,
        "[0, 0, dz, roll, pitch, yaw] of a surface from readings taken at equal angles around a circle.");
}

}  // namespace

void bindCalibration(py::module_ &m)
{
    bindTcp(m);
    bindFrames(m);
}

}  // namespace robot_math_python
