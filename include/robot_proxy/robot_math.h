#pragma once

// Stateless robot mathematics: pose algebra, orientation conversions, kinematics and payload helpers,
// and the geometry built on them. Every function is pure and reentrant; the only heap allocation is
// the returned vector.
//
// Conventions shared by every function here:
//  - A pose is six doubles [x, y, z, rx, ry, rz]: position in metres, roll/pitch/yaw in radians, with the
//    rotation R = Rz(rz)·Ry(ry)·Rx(rx) (fixed X, then Y, then Z axes).
//  - Angles produced by any conversion are canonical: roll and yaw in [-pi, pi], pitch in [-pi/2, pi/2].
//    When |pitch| exceeds pi/2 - 1e-12 the frame is in gimbal lock: roll is 0 and yaw carries the turn.
//  - Quaternions in vectors are [w, x, y, z]; homogeneous matrices in vectors are 16 doubles row by row.
//  - Pose functions check that a pose has six elements and answer a documented fallback otherwise.
//  - Joint vectors are radians; a wrench is [Fx, Fy, Fz, Tx, Ty, Tz] in N and N·m.

#include <array>
#include <vector>

#include <Eigen/Core>
#include <Eigen/Geometry>

#include "robot_proxy/export.h"

namespace temla
{
namespace robot_math
{

// ---- Orientation conversions ----

// Writes the rotation matrix of rpy = (roll, pitch, yaw) row by row into r. Reads three angles, writes 3×3.
ROBOT_PROXY_EXPORT void eulerToRotation(double const *rpy, double (*r)[3]);

// Rotation matrix Rz(yaw)·Ry(pitch)·Rx(roll), evaluated directly from the angles' sines and cosines.
ROBOT_PROXY_EXPORT Eigen::Matrix3d eulerToRotationMatrix(double roll, double pitch, double yaw);

// (roll, pitch, yaw) of r by the canonical extraction; r is used as given, not orthonormalised.
ROBOT_PROXY_EXPORT Eigen::Vector3d RotationToEuler(Eigen::Matrix3d const &r);

// Unit quaternion [w, x, y, z] of [roll, pitch, yaw]; four zeros unless rpy has three elements.
ROBOT_PROXY_EXPORT std::vector<double> rpy_to_quaternion(std::vector<double> const &rpy);

// [roll, pitch, yaw] of the quaternion [w, x, y, z] (not normalised first); three zeros unless q has four
// elements.
ROBOT_PROXY_EXPORT std::vector<double> quaternion_to_rpy(std::vector<double> const &q);

// Appends the unit quaternion w, x, y, z of the row-by-row 3×3 matrix r to q (existing elements stay in
// front). Always returns 0; appends nothing when the matrix holds a NaN.
ROBOT_PROXY_EXPORT int MatrixToQuaternion(double *r, std::vector<double> &q);

// [roll, pitch, yaw] of a rotation given by axis and angle. An angle of exactly 0 reads axis as a rotation
// vector (direction = axis, length = angle); any other angle below 1e-10, negative ones included, is no
// rotation. Rotations below 1e-6 give the identity's angles [0, -0.0, 0].
ROBOT_PROXY_EXPORT std::vector<double> axisAngleToEuler(std::vector<double> const &axis, double angle);

// Homogeneous transform of a pose; the identity when the pose does not have six elements.
ROBOT_PROXY_EXPORT Eigen::Affine3d to_matrix(std::vector<double> const &pose);

// Pose of a transform; the rotation is the orthonormal (polar) factor of the linear block, so a slightly
// scaled or skewed block still gives valid angles.
ROBOT_PROXY_EXPORT std::vector<double> from_matrix(Eigen::Affine3d const &t);

// to_matrix(pose) as 16 doubles row by row.
ROBOT_PROXY_EXPORT std::vector<double> poseToHomMatrix(std::vector<double> const &pose);

// Pose of a 16-element row-by-row homogeneous matrix; six zeros unless m has 16 elements.
ROBOT_PROXY_EXPORT std::vector<double> homMatrixToPose(std::vector<double> const &m);

// ---- Pose algebra ----

// T(p1)·T(p2): p2 given relative to frame p1, expressed in p1's reference frame. Six zeros on a size error.
ROBOT_PROXY_EXPORT std::vector<double> pose_trans(std::vector<double> const &p1,
                                                  std::vector<double> const &p2);

// Inverse pose; six zeros on a size error.
ROBOT_PROXY_EXPORT std::vector<double> pose_inverse(std::vector<double> const &p);

// [t1 + t2, RPY(q1·q2)]: positions added component-wise (t2 not rotated). Six zeros on a size error.
ROBOT_PROXY_EXPORT std::vector<double> pose_add(std::vector<double> const &p1, std::vector<double> const &p2);

// [t1 - t2, RPY(q1·q2⁻¹)], so pose_add(pose_sub(a, b), b) gives a. Six zeros on a size error.
ROBOT_PROXY_EXPORT std::vector<double> pose_sub(std::vector<double> const &p1, std::vector<double> const &p2);

// |t1 - t2|; orientation plays no part. 0 on a size error.
ROBOT_PROXY_EXPORT double pose_distance(std::vector<double> const &p1, std::vector<double> const &p2);

// Angle of the relative rotation R1·R2⁻¹ in [0, pi]; positions play no part. 0 on a size error.
ROBOT_PROXY_EXPORT double pose_angle_distance(std::vector<double> const &p1, std::vector<double> const &p2);

// Relative comparison: |t1 - t2|² <= eps²·min(|t1|², |t2|²) (a position at the origin equals only the
// origin) and the unit quaternions agree the same way up to sign. False on a size error.
ROBOT_PROXY_EXPORT bool pose_equal(std::vector<double> const &p1, std::vector<double> const &p2, double eps);

// Unit direction from t1 to t2; (0, 0, 0) when the positions coincide (closer than 1e-12) or on a size error.
ROBOT_PROXY_EXPORT Eigen::Vector3d pose_direction(std::vector<double> const &p1,
                                                  std::vector<double> const &p2);

// Angle in [0, pi] between the same axis (0 = X, 1 = Y, 2 = Z) of both frames; 0 for another axis or on a
// size error.
ROBOT_PROXY_EXPORT double pose_axis_angle(std::vector<double> const &p1, std::vector<double> const &p2,
                                          int axis);

// Linear position and shortest-path spherical orientation blend at alpha in [0, 1]. Below 0 a copy of p1,
// above 1 a copy of p2 (unchanged). Empty on a size error.
ROBOT_PROXY_EXPORT std::vector<double> interpolate_pose(std::vector<double> const &p1,
                                                        std::vector<double> const &p2, double alpha);

// Shortest-path spherical interpolation of two four-element quaternions, component by component (any
// consistent order); t is not clamped, so values outside [0, 1] extrapolate. The result is normalised.
ROBOT_PROXY_EXPORT std::vector<double> slerp_interp(std::vector<double> &q1, std::vector<double> &q2,
                                                    double t);

// Pose moved by delta = [dx, dy, dz, wx, wy, wz]: a translation and a rotation vector (radians), both in the
// reference frame. Six zeros on a size error.
ROBOT_PROXY_EXPORT std::vector<double> addDeltaPose(std::vector<double> const &pose,
                                                    std::vector<double> const &delta);

// ---- Vector helpers (three-element vectors; lengths are not checked) ----

ROBOT_PROXY_EXPORT std::vector<double> cross(std::vector<double> const &a, std::vector<double> const &b);
ROBOT_PROXY_EXPORT std::vector<double> cross_product(std::vector<double> const &a,
                                                     std::vector<double> const &b);
ROBOT_PROXY_EXPORT double dot(std::vector<double> const &a, std::vector<double> const &b);
ROBOT_PROXY_EXPORT double norm(std::vector<double> const &a);
ROBOT_PROXY_EXPORT std::vector<double> sub(std::vector<double> const &a, std::vector<double> const &b);
// a / s with IEEE semantics (no guard against s = 0).
ROBOT_PROXY_EXPORT std::vector<double> div_num(std::vector<double> const &a, double s);
// 1.0 when x >= 0, otherwise -1.0 (NaN gives -1.0).
ROBOT_PROXY_EXPORT double SIGN(double x);
// sqrt(a² + b² + c² + d²).
ROBOT_PROXY_EXPORT double NORM(double a, double b, double c, double d);
// Angle in [0, pi] between u and v; a zero vector gives pi/2.
ROBOT_PROXY_EXPORT double angleBetweenVectors(Eigen::Vector3d const &u, Eigen::Vector3d const &v);

// ---- Kinematics and payload ----

// Forward kinematics of a modified Denavit-Hartenberg chain. dh and compensation have four rows (alpha, a,
// d, theta), one value per joint; compensation is added to dh (an empty table means zeros). Joint i's
// transform is Rx(alpha)·Tx(a)·Tz(d)·Rz(theta + q[i]). With joint == -1, pose is the TCP (tool applied
// after the last joint); otherwise the frame of that 0-based joint, without the tool.
// Returns 0; -1 for empty q or dh; -2 when dh or compensation does not have four rows; -4 when joint is not
// in -1 .. n-1. pose is untouched on an error.
ROBOT_PROXY_EXPORT int forwardKinematics(std::vector<double> &pose, std::vector<double> const &q,
                                         std::vector<double> const &tool,
                                         std::vector<std::vector<double>> const &dh,
                                         std::vector<std::vector<double>> const &compensation, int joint);

// Smallest singular value of the 6×6 Jacobian j (36 values row by row) after scaling every column to unit
// length; near 0 means near a singularity. False only for a wrong length (min_sigma 0); a zero column
// gives true with min_sigma 0.
ROBOT_PROXY_EXPORT bool calcNormalizedJacobianMinSigma6x6(std::vector<double> const &j, double &min_sigma);

// Maps each ratio through the joint stiffness curve (piecewise linear over [0, 1]; 0 outside or for NaN).
// Two equal rows as long as the input.
ROBOT_PROXY_EXPORT std::vector<std::vector<double>> calJointStiffRatio(std::vector<double> const &ratios);

// Mass-weighted center of two bodies; (0, 0, 0) unless m1 + m2 > 0.
ROBOT_PROXY_EXPORT std::array<double, 3> combineCenterOfMass(double m1, std::array<double, 3> const &c1,
                                                             double m2, std::array<double, 3> const &c2);

// [v]× column by column: [0, vz, -vy, -vz, 0, vx, vy, -vx, 0].
ROBOT_PROXY_EXPORT std::array<double, 9> skewSymmetricMatrixFromVector(std::array<double, 3> const &v);

// Inertia of two bodies (tensors about their own centers c1, c2) about the combined center c of combined
// mass m, by the parallel-axis rule. All zeros when m is 0; a tensor counts as zero when its mass is 0.
ROBOT_PROXY_EXPORT std::array<double, 9> combineInertiaTensor(double m1, std::array<double, 3> const &c1,
                                                              std::array<double, 9> const &i1, double m2,
                                                              std::array<double, 3> const &c2,
                                                              std::array<double, 9> const &i2, double m,
                                                              std::array<double, 3> const &c);

// Wrench measured in the frame pose, with its components expressed in the reference frame: [R·F, R·T].
// Six zeros unless pose and wrench have six elements.
ROBOT_PROXY_EXPORT std::vector<double> changeFTBase(std::vector<double> const &pose,
                                                    std::vector<double> const &wrench);

// Wrench measured in the frame pose, expressed in the reference frame and taken about its origin:
// [R·F, R·T + p × R·F]. Six zeros unless pose and wrench have six elements.
ROBOT_PROXY_EXPORT std::vector<double> changeFTFrame(std::vector<double> const &pose,
                                                     std::vector<double> const &wrench);

// ---- circles, arcs, planes, boxes, calibration, paths ----
// ---- end ----

}  // namespace robot_math
}  // namespace temla
