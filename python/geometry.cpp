// Circles and arcs, planes and boxes, frames and paths.

#include "conversions.h"
#include "robot_proxy/robot_math.h"

namespace robot_math_python
{

namespace rm = temla::robot_math;
using namespace pybind11::literals;

namespace
{

void bindCircles(py::module_ &m)
{
    m.def(
        "circleCenter",
        [](Array const &p1, Array const &p2, Array const &p3) {
            Vector center;
            double radius = 0;
            if (!rm::circleCenter(values(p1, 0, "p1"), values(p2, 0, "p2"), values(p3, 0, "p3"), center,
                                  radius)) {
                throw NoSolution("no circle: the points are collinear or coincide");
            }
            return py::make_tuple(array(center), radius);
        },
        "p1"_a, "p2"_a, "p3"_a,
        "(center, radius) of the circle through three points (or poses' positions). NoSolutionError when the "
        "points are collinear or coincide.");
    m.def(
        "arePointsCollinear",
        [](Array const &p1, Array const &p2, Array const &p3) {
            return rm::arePointsCollinear(values(p1, 0, "p1"), values(p2, 0, "p2"), values(p3, 0, "p3"));
        },
        "p1"_a, "p2"_a, "p3"_a, "True when the doubled triangle area is below 0.001 m² in every component.");
    m.def(
        "tangentXYZAtPFrom3Pts",
        [](Array const &p1, Array const &p2, Array const &p3, Array const &p, double tol) {
            return array(rm::tangentXYZAtPFrom3Pts(point(p1, "p1"), point(p2, "p2"), point(p3, "p3"),
                                                   point(p, "p"), tol));
        },
        "p1"_a, "p2"_a, "p3"_a, "p"_a, "tol"_a,
        "Unit tangent for travel p1 → p2 → p3 at the circle point nearest p; zeros when undefined.");
    m.def(
        "circleFrameFrom3Poses",
        [](Array const &p1, Array const &p2, Array const &p3) {
            Vector frame;
            double angle = 0;
            if (!rm::circleFrameFrom3Poses(pose(p1, "p1"), pose(p2, "p2"), pose(p3, "p3"), frame, angle)) {
                throw NoSolution("no arc from p1 through p2 to p3");
            }
            return py::make_tuple(array(frame), angle);
        },
        "p1"_a, "p2"_a, "p3"_a,
        "(frame, angle): the circle frame (center, Z the travel normal, X towards p1) and the arc angle. "
        "NoSolutionError when the poses define no such arc.");
    m.def(
        "circleFourthPoint",
        [](Array const &p1, Array const &p2, Array const &p3, int mode) {
            if (mode != 0 && mode != 1) {
                badArgument("mode must be 0 (rigid) or 1 (slerp)");
            }
            Vector out;
            if (!rm::circleFourthPoint(pose(p1, "p1"), pose(p2, "p2"), pose(p3, "p3"), mode, out)) {
                throw NoSolution("no circle through the three poses");
            }
            return array(out);
        },
        "p1"_a, "p2"_a, "p3"_a, "mode"_a,
        "A fourth pose on the circle, midway from p3 back to p1; orientation by mode (0 rigid, 1 slerp).");
    m.def(
        "calculateArcPoint",
        [](Array const &p1, Array const &p2, Array const &p3, int mode, double ratio) {
            if (mode != 0 && mode != 1) {
                badArgument("mode must be 0 (rigid) or 1 (slerp)");
            }
            if (!(ratio >= 0 && ratio <= 1)) {
                badArgument("ratio must lie in [0, 1]");
            }
            Table out;
            if (!rm::calculateArcPoint(pose(p1, "p1"), pose(p2, "p2"), pose(p3, "p3"), mode, ratio, out)) {
                throw NoSolution("no circle through the three poses");
            }
            return array(out, 6);
        },
        "p1"_a, "p2"_a, "p3"_a, "mode"_a, "ratio"_a,
        "3×6 array [start, via, end] of a circular move covering the share ratio of the full circle.");
}

void bindPlanes(py::module_ &m)
{
    m.def(
        "fitPlaneToPoints",
        [](Array const &points) {
            Table const p = rows(points, 3, "points");
            if (p.empty()) {
                badArgument("no points");
            }
            return array(rm::fitPlaneToPoints(p));
        },
        "points"_a,
        "Unit normal of the least-squares plane through an N×3 array of points, away from the origin.");
    m.def(
        "definePlane",
        [](Array const &points, Array const &ref_dir) {
            Vector plane;
            if (!rm::definePlane(rows(points, 3, "points"), point(ref_dir, "ref_dir"), plane)) {
                throw NoSolution("no plane a·x + b·y + c·z ± 1 = 0 fits the points");
            }
            return array(plane);
        },
        "points"_a, "ref_dir"_a,
        "[a, b, c, d] with d = ±1 fitted to N×3 points, (a, b, c) on ref_dir's side. NoSolutionError when "
        "fewer than three points, a non-finite value or a poor fit (planes through the origin included).");
    m.def(
        "calculatePlaneFromPose",
        [](Array const &p, double offset) { return array(rm::calculatePlaneFromPose(pose(p), offset)); },
        "pose"_a, "offset"_a,
        "[-Z, Z·t + offset]: the plane perpendicular to the pose's Z at offset from its position.");
    m.def(
        "getPlanePose",
        [](Array const &normal, double d1, double d2, bool positive) {
            return array(rm::getPlanePose(point(normal, "normal"), d1, d2, positive));
        },
        "normal"_a, "d1"_a, "d2"_a, "positive"_a, "Pose with Z along normal at ±(d1 + d2) from the origin.");
    m.def(
        "calculatePlaneFromReferenceDisplacement",
        [](Array const &reference, double d1, double d2, bool negate) {
            return array(rm::calculatePlaneFromReferenceDisplacement(values(reference, 0, "reference"), d1,
                                                                     d2, negate));
        },
        "reference"_a, "d1"_a, "d2"_a, "negate"_a, "reference with (d1 + d2), or its negative, appended.");
    m.def(
        "getCubic",
        [](Array const &p, Array const &size) {
            Vector const centre = pose(p), edges = point(size, "size");
            double planes[6][4];
            rm::getCubic(centre.data(), edges.data(), planes);
            return matrix(&planes[0][0], 6, 4);
        },
        "pose"_a, "size"_a, "6×4 array of the box's face planes (outward normals), box centered at pose.");
    m.def(
        "isIncludeCubic",
        [](Array const &planes, Array const &p) {
            Table const faces = rows(planes, 4, "planes");
            if (faces.size() != 6) {
                badArgument("planes must be a 6x4 array");
            }
            double table[6][4];
            for (std::size_t r = 0; r < 6; ++r) {
                std::copy(faces[r].begin(), faces[r].end(), table[r]);
            }
            return rm::isIncludeCubic(table, point(p).data());
        },
        "planes"_a, "point"_a, "1 when the point is inside the box of getCubic or on a face, -1 outside.");
    m.def(
        "getPlaneDistance",
        [](Array const &plane, Array const &p) {
            return rm::getPlaneDistance(values(plane, 4, "plane").data(), point(p).data());
        },
        "plane"_a, "point"_a, "a·x + b·y + c·z + d of the plane [a, b, c, d].");
    m.def(
        "transferRefFrame",
        [](Array const &p, Array const &dir, int type) {
            if (type != 1 && type != 2) {
                badArgument("type must be 1 (Y along dir) or 2 (X towards dir)");
            }
            return array(rm::transferRefFrame(pose(p), point(dir, "dir").data(), type));
        },
        "pose"_a, "dir"_a, "type"_a,
        "The pose turned towards dir: type 1 Y along dir, type 2 X towards dir.");
    m.def(
        "changePoseWithXYRef",
        [](Array const &p, Array const &ref) {
            return array(rm::changePoseWithXYRef(pose(p), pose(ref, "ref")));
        },
        "pose"_a, "ref"_a, "The pose turned about its Z so that X is perpendicular to ref's Y.");
}

// The C++ path functions answer an empty path for arguments they cannot use.
py::array_t<double> path(Table const &points, std::size_t width)
{
    if (points.empty()) {
        badArgument(
            "no path: a step that is not positive, a non-finite value, coincident points or too many "
            "way points");
    }
    return array(points, width);
}

void bindPaths(py::module_ &m)
{
    m.def(
        "pathMovel",
        [](Array const &start, double start_offset, Array const &end, double end_offset, double step) {
            return path(rm::pathMovel(pose(start, "start"), start_offset, pose(end, "end"), end_offset, step),
                        6);
        },
        "start"_a, "start_offset"_a, "end"_a, "end_offset"_a, "step"_a,
        "N×6 way points along the straight segment every step metres. ValueError for a step or value it "
        "cannot use.");
    m.def(
        "pathMovec",
        [](Array const &start, double start_offset, Array const &via, Array const &end, double end_offset,
           double step) {
            return path(rm::pathMovec(pose(start, "start"), start_offset, pose(via, "via"), pose(end, "end"),
                                      end_offset, step),
                        6);
        },
        "start"_a, "start_offset"_a, "via"_a, "end"_a, "end_offset"_a, "step"_a,
        "N×6 way points along the arc from start through via to end every step radians (end excluded).");
    m.def(
        "pathMoveSpiral",
        [](Array const &start, Array const &center, int plane, double total_angle, double radius_per_turn,
           double advance_per_turn, double angle_step) {
            return path(rm::pathMoveSpiral(pose(start, "start"), pose(center, "center"), plane, total_angle,
                                           radius_per_turn, advance_per_turn, angle_step),
                        3);
        },
        "start"_a, "center"_a, "plane"_a, "total_angle"_a, "radius_per_turn"_a, "advance_per_turn"_a,
        "angle_step"_a, "N×3 positions of a spiral about center starting at start.");
}

}  // namespace

void bindGeometry(py::module_ &m)
{
    bindCircles(m);
    bindPlanes(m);
    bindPaths(m);
}

}  // namespace robot_math_python
