#pragma once

/// @file
/// Stateless robot mathematics: pose algebra, orientation conversions, kinematics and payload helpers,
/// and the geometry built on them. Every function is pure and reentrant: the same arguments give the same
/// result on any thread (the kinematics keep each thread's last twist sines and cosines, which changes
/// only the time). Heap allocations are the returned vectors and the working buffers of the solvers.
///
/// Conventions shared by every function here:
///  - A pose is six doubles [x, y, z, rx, ry, rz]: position in metres, roll/pitch/yaw in radians, with the
///    rotation R = Rz(rz)·Ry(ry)·Rx(rx) (fixed X, then Y, then Z axes).
///  - Angles produced by any conversion are canonical: roll and yaw in [-pi, pi], pitch in [-pi/2, pi/2].
///    When |pitch| exceeds pi/2 - 1e-12 the frame is in gimbal lock: roll is 0 and yaw carries the turn.
///  - Quaternions in vectors are [w, x, y, z]; homogeneous matrices in vectors are 16 doubles row by row.
///  - Pose functions check that a pose has six elements and answer a documented fallback otherwise.
///  - Joint vectors are radians; a wrench is [Fx, Fy, Fz, Tx, Ty, Tz] in N and N·m.

#include <array>
#include <vector>

#include <Eigen/Core>
#include <Eigen/Geometry>

#include "robot_proxy/robot_math_export.h"

/// Root namespace of the library, its controller SDK, wire layer and simulator.
namespace temla
{
/// Stateless robot mathematics: pose algebra, orientation conversions, kinematics, payload and
/// calibration helpers.
namespace robot_math
{

// ---- Orientation conversions ----

/// Writes the rotation matrix of rpy = (roll, pitch, yaw) row by row into r. Reads three angles, writes 3×3.
ROBOT_MATH_EXPORT void eulerToRotation(double const *rpy, double (*r)[3]);

/// Rotation matrix Rz(yaw)·Ry(pitch)·Rx(roll), evaluated directly from the angles' sines and cosines.
ROBOT_MATH_EXPORT Eigen::Matrix3d eulerToRotationMatrix(double roll, double pitch, double yaw);

/// (roll, pitch, yaw) of r by the canonical extraction; r is used as given, not orthonormalised.
ROBOT_MATH_EXPORT Eigen::Vector3d RotationToEuler(Eigen::Matrix3d const &r);

/// Unit quaternion [w, x, y, z] of [roll, pitch, yaw]; four zeros unless rpy has three elements.
ROBOT_MATH_EXPORT std::vector<double> rpy_to_quaternion(std::vector<double> const &rpy);

/// [roll, pitch, yaw] of the quaternion [w, x, y, z] (not normalised first); three zeros unless q has four
/// elements.
ROBOT_MATH_EXPORT std::vector<double> quaternion_to_rpy(std::vector<double> const &q);

/// Appends the unit quaternion w, x, y, z of the row-by-row 3×3 matrix r to q (existing elements stay in
/// front). Always returns 0; appends nothing when the matrix holds a NaN.
ROBOT_MATH_EXPORT int MatrixToQuaternion(double *r, std::vector<double> &q);

/// [roll, pitch, yaw] of a rotation given by axis and angle. An angle of exactly 0 reads axis as a rotation
/// vector (direction = axis, length = angle); any other angle below 1e-10, negative ones included, is no
/// rotation. Rotations below 1e-6 give the identity's angles [0, -0.0, 0].
ROBOT_MATH_EXPORT std::vector<double> axisAngleToEuler(std::vector<double> const &axis, double angle);

/// Homogeneous transform of a pose; the identity when the pose does not have six elements.
ROBOT_MATH_EXPORT Eigen::Affine3d to_matrix(std::vector<double> const &pose);

/// Pose of a transform; the rotation is the orthonormal (polar) factor of the linear block, so a slightly
/// scaled or skewed block still gives valid angles.
ROBOT_MATH_EXPORT std::vector<double> from_matrix(Eigen::Affine3d const &t);

/// to_matrix(pose) as 16 doubles row by row.
ROBOT_MATH_EXPORT std::vector<double> poseToHomMatrix(std::vector<double> const &pose);

/// Pose of a 16-element row-by-row homogeneous matrix; six zeros unless m has 16 elements.
ROBOT_MATH_EXPORT std::vector<double> homMatrixToPose(std::vector<double> const &m);

// ---- Pose algebra ----

/// T(p1)·T(p2): p2 given relative to frame p1, expressed in p1's reference frame. Six zeros on a size error.
ROBOT_MATH_EXPORT std::vector<double> pose_trans(std::vector<double> const &p1,
                                                 std::vector<double> const &p2);

/// Inverse pose; six zeros on a size error.
ROBOT_MATH_EXPORT std::vector<double> pose_inverse(std::vector<double> const &p);

/// [t1 + t2, RPY(q1·q2)]: positions added component-wise (t2 not rotated). Six zeros on a size error.
ROBOT_MATH_EXPORT std::vector<double> pose_add(std::vector<double> const &p1, std::vector<double> const &p2);

/// [t1 - t2, RPY(q1·q2⁻¹)], so pose_add(pose_sub(a, b), b) gives a. Six zeros on a size error.
ROBOT_MATH_EXPORT std::vector<double> pose_sub(std::vector<double> const &p1, std::vector<double> const &p2);

/// |t1 - t2|; orientation plays no part. 0 on a size error.
ROBOT_MATH_EXPORT double pose_distance(std::vector<double> const &p1, std::vector<double> const &p2);

/// Angle of the relative rotation R1·R2⁻¹ in [0, pi]; positions play no part. 0 on a size error.
ROBOT_MATH_EXPORT double pose_angle_distance(std::vector<double> const &p1, std::vector<double> const &p2);

/// Relative comparison: |t1 - t2|² <= eps²·min(|t1|², |t2|²) (a position at the origin equals only the
/// origin) and the unit quaternions agree the same way up to sign. False on a size error.
ROBOT_MATH_EXPORT bool pose_equal(std::vector<double> const &p1, std::vector<double> const &p2, double eps);

/// Unit direction from t1 to t2; (0, 0, 0) when the positions coincide (closer than 1e-12) or on a size
/// error.
ROBOT_MATH_EXPORT Eigen::Vector3d pose_direction(std::vector<double> const &p1,
                                                 std::vector<double> const &p2);

/// Angle in [0, pi] between the same axis (0 = X, 1 = Y, 2 = Z) of both frames; 0 for another axis or on a
/// size error.
ROBOT_MATH_EXPORT double pose_axis_angle(std::vector<double> const &p1, std::vector<double> const &p2,
                                         int axis);

/// Linear position and shortest-path spherical orientation blend at alpha in [0, 1]. Below 0 a copy of p1,
/// above 1 a copy of p2 (unchanged). Empty on a size error.
ROBOT_MATH_EXPORT std::vector<double> interpolate_pose(std::vector<double> const &p1,
                                                       std::vector<double> const &p2, double alpha);

/// Shortest-path spherical interpolation of two four-element quaternions, component by component (any
/// consistent order); t is not clamped, so values outside [0, 1] extrapolate. The result is normalised.
ROBOT_MATH_EXPORT std::vector<double> slerp_interp(std::vector<double> &q1, std::vector<double> &q2,
                                                   double t);

/// Pose moved by delta = [dx, dy, dz, wx, wy, wz]: a translation and a rotation vector (radians), both in the
/// reference frame. Six zeros on a size error.
ROBOT_MATH_EXPORT std::vector<double> addDeltaPose(std::vector<double> const &pose,
                                                   std::vector<double> const &delta);

// ---- Vector helpers (three-element vectors; lengths are not checked) ----

/// a × b.
ROBOT_MATH_EXPORT std::vector<double> cross(std::vector<double> const &a, std::vector<double> const &b);
/// a × b, the same as cross.
ROBOT_MATH_EXPORT std::vector<double> cross_product(std::vector<double> const &a,
                                                    std::vector<double> const &b);
/// a · b.
ROBOT_MATH_EXPORT double dot(std::vector<double> const &a, std::vector<double> const &b);
/// Euclidean length of a.
ROBOT_MATH_EXPORT double norm(std::vector<double> const &a);
/// a - b.
ROBOT_MATH_EXPORT std::vector<double> sub(std::vector<double> const &a, std::vector<double> const &b);
/// a / s with IEEE semantics (no guard against s = 0).
ROBOT_MATH_EXPORT std::vector<double> div_num(std::vector<double> const &a, double s);
/// 1.0 when x >= 0, otherwise -1.0 (NaN gives -1.0).
ROBOT_MATH_EXPORT double SIGN(double x);
/// sqrt(a² + b² + c² + d²).
ROBOT_MATH_EXPORT double NORM(double a, double b, double c, double d);
/// Angle in [0, pi] between u and v; a zero vector gives pi/2.
ROBOT_MATH_EXPORT double angleBetweenVectors(Eigen::Vector3d const &u, Eigen::Vector3d const &v);

// ---- Kinematics and payload ----

/// Forward kinematics of a modified Denavit-Hartenberg chain. dh and compensation have four rows (alpha, a,
/// d, theta), one value per joint; compensation is added to dh (an empty table means zeros). Joint i's
/// transform is Rx(alpha)·Tx(a)·Tz(d)·Rz(theta + q[i]). With joint == -1, pose is the TCP (tool applied
/// after the last joint); otherwise the frame of that 0-based joint, without the tool.
/// Returns 0; -1 for empty q or dh; -2 when dh or compensation does not have four rows, or a row has fewer
/// values than the joints used; -3 when the tool is needed and is neither empty (no tool) nor six values;
/// -4 when joint is not in -1 .. n-1. pose is untouched on an error.
ROBOT_MATH_EXPORT int forwardKinematics(std::vector<double> &pose, std::vector<double> const &q,
                                        std::vector<double> const &tool,
                                        std::vector<std::vector<double>> const &dh,
                                        std::vector<std::vector<double>> const &compensation, int joint);

/// Geometric Jacobian of the same chain at the TCP (tool applied after the last joint): jac becomes 6×n
/// values row by row, rows vx, vy, vz, wx, wy, wz in the base frame, so jac·q̇ is the tool point's linear
/// velocity and the tool's angular velocity. Returns forwardKinematics' codes for joint == -1 (0, -1, -2,
/// -3); jac is untouched on an error.
ROBOT_MATH_EXPORT int jacobian(std::vector<double> &jac, std::vector<double> const &q,
                               std::vector<double> const &tool, std::vector<std::vector<double>> const &dh,
                               std::vector<std::vector<double>> const &compensation);

/// Settings of inverseKinematics. The damping is the starting Levenberg-Marquardt factor λ of
/// (JᵀJ + λ·I)·Δq = Jᵀ·e; it adapts while solving.
struct InverseKinematicsOptions {
    int max_iterations = 200;              ///< Jacobian evaluations at most
    double position_tolerance = 1e-10;     ///< m, distance of the tool point from the target
    double orientation_tolerance = 1e-10;  ///< rad, angle of the remaining rotation
    double damping = 1e-3;                 ///< starting Levenberg-Marquardt factor λ
};

/// Joint values (as many as seed) whose forwardKinematics TCP is pose, by damped least squares
/// (Levenberg-Marquardt) from seed, every iterate kept inside [q_min, q_max] (the seed is clamped into it
/// first). The solution found is the one the descent from the seed reaches: seed near the wanted branch.
/// Returns 0 when converged within both tolerances; forwardKinematics' codes -1, -2, -3 for empty, malformed
/// tables or tool; -5 when it does not converge (unreachable, outside the limits, or max_iterations spent);
/// -6 when q_min or q_max does not have one value per joint or a lower limit is not at most its upper one;
/// -7 when pose does not have six values or pose or seed holds a value that is not finite. q is untouched
/// on an error.
ROBOT_MATH_EXPORT int inverseKinematics(std::vector<double> &q, std::vector<double> const &pose,
                                        std::vector<double> const &seed, std::vector<double> const &tool,
                                        std::vector<std::vector<double>> const &dh,
                                        std::vector<std::vector<double>> const &compensation,
                                        std::vector<double> const &q_min, std::vector<double> const &q_max,
                                        InverseKinematicsOptions const &options = {});

/// Smallest singular value of the 6×6 Jacobian j (36 values row by row) after scaling every column to unit
/// length; near 0 means near a singularity. False only for a wrong length (min_sigma 0); a zero column
/// gives true with min_sigma 0.
ROBOT_MATH_EXPORT bool calcNormalizedJacobianMinSigma6x6(std::vector<double> const &j, double &min_sigma);

/// Maps each ratio through the joint stiffness curve (piecewise linear over [0, 1]; 0 outside or for NaN).
/// Two equal rows as long as the input.
ROBOT_MATH_EXPORT std::vector<std::vector<double>> calJointStiffRatio(std::vector<double> const &ratios);

/// Mass-weighted center of two bodies; (0, 0, 0) unless m1 + m2 > 0.
ROBOT_MATH_EXPORT std::array<double, 3> combineCenterOfMass(double m1, std::array<double, 3> const &c1,
                                                            double m2, std::array<double, 3> const &c2);

/// [v]× column by column: [0, vz, -vy, -vz, 0, vx, vy, -vx, 0].
ROBOT_MATH_EXPORT std::array<double, 9> skewSymmetricMatrixFromVector(std::array<double, 3> const &v);

/// Inertia of two bodies (tensors about their own centers c1, c2) about the combined center c of combined
/// mass m, by the parallel-axis rule. All zeros when m is 0; a tensor counts as zero when its mass is 0.
ROBOT_MATH_EXPORT std::array<double, 9> combineInertiaTensor(double m1, std::array<double, 3> const &c1,
                                                             std::array<double, 9> const &i1, double m2,
                                                             std::array<double, 3> const &c2,
                                                             std::array<double, 9> const &i2, double m,
                                                             std::array<double, 3> const &c);

/// Wrench measured in the frame pose, with its components expressed in the reference frame: [R·F, R·T].
/// Six zeros unless pose and wrench have six elements.
ROBOT_MATH_EXPORT std::vector<double> changeFTBase(std::vector<double> const &pose,
                                                   std::vector<double> const &wrench);

/// Wrench measured in the frame pose, expressed in the reference frame and taken about its origin:
/// [R·F, R·T + p × R·F]. Six zeros unless pose and wrench have six elements.
ROBOT_MATH_EXPORT std::vector<double> changeFTFrame(std::vector<double> const &pose,
                                                    std::vector<double> const &wrench);

// ---- circles, arcs, planes, boxes, calibration, paths ----

// -- Circles and arcs --
// A circle frame has its origin at the center, Z along the travel normal (p2 - p1) × (p3 - p2) of three
// points taken in order, and X from the center towards p1. Local angles are measured from X about Z and
// lie in [0, 2π). Functions that take poses as points use their positions.

/// Center (three elements) and radius of the circle through p1, p2, p3. False, with center and radius
/// untouched, when a point has fewer than three elements, when the points are exactly collinear, or when
/// the result is not finite (coincident points). Nearly collinear points give a distant center.
ROBOT_MATH_EXPORT bool circleCenter(std::vector<double> const &p1, std::vector<double> const &p2,
                                    std::vector<double> const &p3, std::vector<double> &center,
                                    double &radius);

/// True when every component of (p2 - p1) × (p3 - p1) is below 0.001 in absolute value (an absolute bound
/// on the doubled triangle area, m²). Points with fewer than three elements span no plane and count as
/// collinear.
ROBOT_MATH_EXPORT bool arePointsCollinear(std::vector<double> const &p1, std::vector<double> const &p2,
                                          std::vector<double> const &p3);

/// Unit tangent, for travel p1 → p2 → p3, at the circle point nearest p (p is projected into the circle's
/// plane). (0, 0, 0) when a vector does not have three elements, the points are collinear within tol, or p
/// projects within tol of the center.
ROBOT_MATH_EXPORT std::vector<double> tangentXYZAtPFrom3Pts(std::vector<double> const &p1,
                                                            std::vector<double> const &p2,
                                                            std::vector<double> const &p3,
                                                            std::vector<double> const &p, double tol);

/// Circle frame of three poses and the arc angle from p1 through p2 to p3. Poses must have six finite
/// elements, distinct positions and a turn at p2; p2 and p3 must follow p1 with 0 < angle(p2) < angle(p3).
/// Every failure returns false with frame cleared and angle 0.
ROBOT_MATH_EXPORT bool circleFrameFrom3Poses(std::vector<double> const &p1, std::vector<double> const &p2,
                                             std::vector<double> const &p3, std::vector<double> &frame,
                                             double &angle);

/// Appends six values to out (not cleared): a fourth pose on the circle through p1, p2, p3, midway along
/// the part of the circle from p3 back to p1. Orientation by mode: 0 carries p1's orientation rigidly with
/// the circle (R(K)·Rz(φ)·R(K)⁻¹·R(p1), K the circle frame, φ the point's local angle); 1 is the halfway
/// slerp of p1's and p3's orientations. False with out untouched when a pose does not have six elements or
/// there is no circle; false after the three position values for another mode.
ROBOT_MATH_EXPORT bool circleFourthPoint(std::vector<double> const &p1, std::vector<double> const &p2,
                                         std::vector<double> const &p3, int mode, std::vector<double> &out);

/// out becomes [start, via, end] of a circular move from p1 along the circle through p1, p2, p3 in its
/// direction of travel, covering the share ratio (0 to 1) of the full circle. p2 is the via pose when it
/// lies on the arc, otherwise the via point is the arc's middle. Orientations by mode as in
/// circleFourthPoint (mode 1 blends from p1 towards p2 for the via point and towards p3 for the end, back
/// towards p1 past p3). False with out untouched for a wrong pose length, a ratio outside [0, 1] or no
/// circle; for another mode false with out = [p1] (or [p1, p2] when p2 is the via pose).
ROBOT_MATH_EXPORT bool calculateArcPoint(std::vector<double> const &p1, std::vector<double> const &p2,
                                         std::vector<double> const &p3, int mode, double ratio,
                                         std::vector<std::vector<double>> &out);

// -- Planes, boxes and frames --
// A plane vector is [a, b, c, d]: X lies on it when a·X0 + b·X1 + c·X2 + d = 0. Box planes are six such
// rows with outward normals: rows 0, 1, 2 the faces on the box's negative X, Y, Z sides, rows 3, 4, 5 the
// positive ones.

/// Unit normal of the least-squares plane through the points, pointing away from the origin (normal·mean
/// >= 0). (NaN, NaN, NaN) for no points or a point with fewer than three elements.
ROBOT_MATH_EXPORT Eigen::Vector3d fitPlaneToPoints(std::vector<std::vector<double>> const &points);

/// Fits a·x + b·y + c·z + d = 0 with d = ±1 (so (a, b, c) is not normalised: its length is the inverse of
/// the plane's distance from the origin) and (a, b, c) on ref_dir's side. Writes plane[0..3], growing plane
/// to four elements if it is shorter. False, plane untouched, when there are fewer than three points, a
/// point or ref_dir does not have three elements, a value is not finite, or the mean squared residual in
/// that form exceeds 0.5 (this includes planes through the origin, which the form cannot hold).
ROBOT_MATH_EXPORT bool definePlane(std::vector<std::vector<double>> const &points,
                                   std::vector<double> const &ref_dir, std::vector<double> &plane);

/// [-Z, Z·t + offset] for the pose's Z axis and position t: the plane perpendicular to Z at the signed
/// distance offset from t along Z, normal along -Z.
ROBOT_MATH_EXPORT std::vector<double> calculatePlaneFromPose(std::vector<double> const &pose, double offset);

/// Pose with Z along normal and origin ±normal/|normal|·(d1 + d2) (+ when positive). Y = normal × X_base, or
/// normal × Y_base when the normal lies along X. Six zeros when normal has fewer than three elements; a zero
/// normal gives NaN.
ROBOT_MATH_EXPORT std::vector<double> getPlanePose(std::vector<double> const &normal, double d1, double d2,
                                                   bool positive);

/// reference with (d1 + d2) appended, or -(d1 + d2) when negate is true.
ROBOT_MATH_EXPORT std::vector<double> calculatePlaneFromReferenceDisplacement(
    std::vector<double> const &reference, double d1, double d2, bool negate);

/// Fills the six planes of the box centered at pose[0..2], axes from the angles pose[3..5], full edge
/// lengths size[0..2]. Reads six and three values, writes all 24.
ROBOT_MATH_EXPORT void getCubic(double const *pose, double const *size, double (*planes)[4]);

/// 1 when point (three values) is inside the box or on a face, -1 outside. A NaN distance is not outside.
ROBOT_MATH_EXPORT int isIncludeCubic(double const (*planes)[4], double const *point);

/// plane[0]·point[0] + plane[1]·point[1] + plane[2]·point[2] + plane[3].
ROBOT_MATH_EXPORT double getPlaneDistance(double const *plane, double const *point);

/// Keeps the pose's position and turns its orientation towards dir (three values). Type 1: Y along dir,
/// X as close to the old X as possible (or Z close to the old Z when the old X lies along dir). Type 2: Z
/// kept, X turned towards dir; the pose is returned unchanged when dir lies along Z. Any other type: empty.
ROBOT_MATH_EXPORT std::vector<double> transferRefFrame(std::vector<double> const &pose, double const *dir,
                                                       int type);

/// The pose turned about its own Z axis so that X is perpendicular to ref's Y axis: X = yr × z, Y = z × X.
/// Six zeros unless both poses have six elements; ref's Y parallel to the pose's Z gives NaN.
ROBOT_MATH_EXPORT std::vector<double> changePoseWithXYRef(std::vector<double> const &pose,
                                                          std::vector<double> const &ref);

// -- Tool and frame calibration --

/// Result of calibrateTcp.
struct TcpCalibrationResult {
    Eigen::Vector3d tcp;    ///< tool point in the flange frame
    Eigen::Vector3d point;  ///< touched point in the base frame
    double error;           ///< final cost (half the squared residual sum) per parameter block
    bool converged;         ///< see calibrateTcp
};

/// Flange poses in the base frame, as calibrateTcp takes them.
using FlangePoses = std::vector<Eigen::Affine3d, Eigen::aligned_allocator<Eigen::Affine3d>>;

/// Tool point and touched point from flange poses that all touch one fixed point: least squares over
/// Ri·tcp + ti = point. converged is true only when the solver converged AND the poses determine the
/// solution: the stacked system [Ri, -I] must have its smallest singular value at least
/// kTcpConditionThreshold times its largest. Rotations all about one axis, or fewer than two distinct
/// orientations, fail that test (the solver would still call them converged, with a meaningless TCP).
/// No poses, a non-finite value in a pose or a guess, or values so large that the residuals overflow: the
/// guesses come back with error 0 and converged false.
ROBOT_MATH_EXPORT TcpCalibrationResult calibrateTcp(FlangePoses const &flange_poses,
                                                    Eigen::Vector3d const &tcp_guess,
                                                    Eigen::Vector3d const &point_guess);

/// Relative conditioning below which calibrateTcp reports converged false (see there).
inline constexpr double kTcpConditionThreshold = 1e-3;

/// calibrateTcp of the pose vectors with zero guesses; tcp receives the three TCP values. Returns 1 in
/// every case, so it cannot tell a determined TCP from a meaningless one: call calibrateTcp and check
/// converged when that matters.
ROBOT_MATH_EXPORT int calibrate_tcp(std::vector<std::vector<double>> const &poses, std::vector<double> &tcp);

/// Tool point from flange poses whose tool tip touches one plane, the plane's direction fitted to
/// plane_points (its offset is solved for). Appends [mean |r|, rms r, max |r|] of the plane residuals (m) to
/// stats. Returns 0; -1 for fewer than 3 plane points, -2 for fewer than 4 flange poses, -3 for a flange
/// pose without six elements, -4 when no plane normal can be fitted. tcp and stats untouched on an error.
ROBOT_MATH_EXPORT int calibrateTCPBasePlane(std::vector<double> &tcp, std::vector<double> &stats,
                                            std::vector<std::vector<double>> const &plane_points,
                                            std::vector<std::vector<double>> const &flange_poses);

/// User frame at O from three poses (positions O, P1 along the first axis, P2 in the plane). With
/// a = (P1 - O)/|..|, n = normalised a × (P2 - O), m = n × a, the columns (X, Y, Z) by type:
/// 0 (a, m, n); 1 (a, -n, m); 2 (m, n, a); 3 (m, a, -n); 4 (n, a, m); 5 (-n, m, a). All are right-handed.
/// Returns 1; 0 with frame untouched for a wrong count or length, coincident or collinear points, a
/// non-finite result or a type outside 0..5.
ROBOT_MATH_EXPORT int calibrate_feature(std::vector<std::vector<double>> const &points, int type,
                                        std::vector<double> &frame);

/// Tool axis from two sets of eight poses: each set gives a point (where the line through the midpoints of
/// its pose pairs 0-1 and 2-3 comes nearest the line through those of 4-5 and 6-7); axis = unit vector from
/// point_a to point_b. point_a and point_b are always replaced (empty for a set that is not eight six-element
/// poses). Returns 1; 0 with axis untouched when a point is missing or the two coincide.
ROBOT_MATH_EXPORT int toolAxisFromTwoCircles(std::vector<std::vector<double>> const &set_a,
                                             std::vector<std::vector<double>> const &set_b,
                                             std::vector<double> &point_a, std::vector<double> &point_b,
                                             std::vector<double> &axis);

/// Angles of a tool orientation, relative to the flange, whose Z axis points along new_z (base frame), with
/// X as close to the current tool X (tool_rpy, relative to the flange at flange_rpy) as possible. Empty when
/// an argument does not have three elements or new_z is (nearly) zero.
ROBOT_MATH_EXPORT std::vector<double> toolPoseInFlangeFromNewZ(std::vector<double> const &flange_rpy,
                                                               std::vector<double> const &tool_rpy,
                                                               std::vector<double> const &new_z);

/// The base-frame point in flange coordinates, Rᵀ·(point - t). Empty unless point has three elements and
/// flange_pose six.
ROBOT_MATH_EXPORT std::vector<double> tcpInFlange(std::vector<double> const &point,
                                                  std::vector<double> const &flange_pose);

/// Straight line y = slope·x + intercept through (x, y) pairs: [slope, intercept, max |r|, rms r]. Empty for
/// fewer than two samples, a sample that is not a pair, x values all within 1e-12, or a non-finite fit.
ROBOT_MATH_EXPORT std::vector<double> calibrateLinear(std::vector<std::vector<double>> const &samples);

// -- Paths --
// Steps must be positive and finite: a step (or angle step) that is not, a non-finite value in an
// argument, or a path that would need more than kMaxPathPoints way points gives an empty path.

/// Most way points a path function returns.
inline constexpr std::size_t kMaxPathPoints = 1000000;

/// Way points from start to end along the straight segment, every step metres of arc length from
/// start_offset, then the point at length L - end_offset (L the segment length); orientations are slerped by
/// the share of L. If start_offset >= L - end_offset the path is that one point. Coincident start and end
/// positions give [start]. Empty for a pose without six elements.
ROBOT_MATH_EXPORT std::vector<std::vector<double>> pathMovel(std::vector<double> const &start,
                                                             double start_offset,
                                                             std::vector<double> const &end,
                                                             double end_offset, double step);

/// Way points along the circular arc from start through via to end, every step radians from the start
/// (counter-clockwise about the travel normal); the end pose itself is not included. Orientations are
/// slerped from start's to end's by the share of the arc angle. Collinear positions, or via or end within
/// 1e-4 m of start (but not both), fall back to pathMovel(start, start_offset, end, end_offset, step), where
/// step is a length; the offsets are used only then. Empty for both within 1e-4 m or a wrong pose length.
ROBOT_MATH_EXPORT std::vector<std::vector<double>> pathMovec(std::vector<double> const &start,
                                                             double start_offset,
                                                             std::vector<double> const &via,
                                                             std::vector<double> const &end,
                                                             double end_offset, double step);

/// Positions (three elements each) of a spiral about center starting at start: at the angle φ the radius
/// is |start - center| + radius_per_turn·φ/2π and the axial advance advance_per_turn·φ/2π. The spiral plane
/// is spanned by start - center and a base diagonal chosen by plane (0: X+Y, 1: Y+Z, 2: X+Z). Points every
/// angle_step while φ < total_angle, then the point at total_angle. total_angle <= 0 gives one point: radius
/// and advance at total_angle, direction at -total_angle. Empty for a wrong pose length, another plane, or
/// start at the center (no spiral frame).
ROBOT_MATH_EXPORT std::vector<std::vector<double>> pathMoveSpiral(std::vector<double> const &start,
                                                                  std::vector<double> const &center,
                                                                  int plane, double total_angle,
                                                                  double radius_per_turn,
                                                                  double advance_per_turn, double angle_step);

/// Height offset and tilt of a surface from n > 3 distance readings taken at equal angles around a circle
/// of the given radius: delta = [0, 0, gain·(mean - reference), gain·roll, gain·pitch, gain·yaw], the
/// angles of the tilt that turns +Z onto the fitted surface normal. False with delta untouched for n <= 3,
/// a non-finite argument, or readings no plane fits (see definePlane).
ROBOT_MATH_EXPORT bool utlCalDeltaPose(std::vector<double> const &readings, double const &reference,
                                       double const &radius, double const &gain, std::vector<double> &delta);

// ---- end ----

}  // namespace robot_math
}  // namespace temla
