// Orientation conversions: canonical angle extraction, gimbal lock, quaternion and matrix round trips,
// axis-angle input rules and the size fallbacks.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pose_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using pose_test::kPi;
using pose_test::RandomPoses;

namespace
{

Eigen::Quaterniond quaternionOf(std::vector<double> const &q)
{
    return Eigen::Quaterniond(q[0], q[1], q[2], q[3]);
}

std::vector<double> angles(std::vector<double> const &pose)
{
    return {pose[3], pose[4], pose[5]};
}

std::vector<double> asAnglePose(Eigen::Vector3d const &rpy)
{
    return {0, 0, 0, rpy[0], rpy[1], rpy[2]};
}

}  // namespace

TEST(RotationToEuler, GimbalLockPutsTheWholeTurnIntoYaw)
{
    Eigen::Vector3d const up = RotationToEuler(eulerToRotationMatrix(0.3, kPi / 2, 0));
    EXPECT_EQ(up[0], 0.0);
    EXPECT_NEAR(up[1], kPi / 2, 1e-15);
    EXPECT_NEAR(up[2], -0.3, 1e-12);

    // Pitch -pi/2 folds roll and yaw into their sum.
    Eigen::Vector3d const down = RotationToEuler(eulerToRotationMatrix(0.3, -kPi / 2, 0.2));
    EXPECT_EQ(down[0], 0.0);
    EXPECT_NEAR(down[1], -kPi / 2, 1e-15);
    EXPECT_NEAR(down[2], 0.5, 1e-12);
}

TEST(RotationToEuler, JustOutsideGimbalLockKeepsRollAndYaw)
{
    Eigen::Vector3d const rpy = RotationToEuler(eulerToRotationMatrix(0.3, kPi / 2 - 1e-6, 0.2));
    EXPECT_NEAR(rpy[0], 0.3, 1e-6);
    EXPECT_NEAR(rpy[2], 0.2, 1e-6);
}

TEST(RotationToEuler, AnglesOutsideTheCanonicalRangesComeBackInThem)
{
    struct Case {
        double roll, pitch, yaw;
    };
    for (Case c : {Case{4.0, 0.1, 0.2}, Case{0.1, 0.2, 4.0}, Case{-4.0, 0.2, -7.0}, Case{0.3, 2.0, 0.1},
                   Case{kPi, 0.0, -kPi}}) {
        Eigen::Matrix3d const r = eulerToRotationMatrix(c.roll, c.pitch, c.yaw);
        Eigen::Vector3d const rpy = RotationToEuler(r);
        EXPECT_TRUE(pose_test::inCanonicalRanges(asAnglePose(rpy))) << rpy.transpose();
        EXPECT_TRUE((eulerToRotationMatrix(rpy[0], rpy[1], rpy[2]) - r).isZero(1e-12)) << rpy.transpose();
    }
    Eigen::Vector3d const yaw = RotationToEuler(eulerToRotationMatrix(0, 0, 4.0));
    EXPECT_NEAR(yaw[2], 4.0 - 2 * kPi, 1e-12);
}

TEST(EulerToRotation, MatchesTheFixedAxisProductAndTheRawArrayForm)
{
    RandomPoses random(11);
    for (int i = 0; i < 200; ++i) {
        std::vector<double> const p = random.next();
        Eigen::Matrix3d const expected = (Eigen::AngleAxisd(p[5], Eigen::Vector3d::UnitZ()) *
                                          Eigen::AngleAxisd(p[4], Eigen::Vector3d::UnitY()) *
                                          Eigen::AngleAxisd(p[3], Eigen::Vector3d::UnitX()))
                                             .toRotationMatrix();
        EXPECT_TRUE((eulerToRotationMatrix(p[3], p[4], p[5]) - expected).isZero(1e-14));
        double rpy[3] = {p[3], p[4], p[5]};
        double raw[3][3];
        eulerToRotation(rpy, raw);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(raw[r][c], expected(r, c), 1e-14);
            }
        }
    }
}

TEST(OrientationRoundTrips, MatrixQuaternionAndHomogeneousFormsAgree)
{
    RandomPoses random(2024);
    for (int i = 0; i < 1000; ++i) {
        std::vector<double> const p = random.next();
        SCOPED_TRACE(::testing::Message() << "pose " << i);
        Eigen::Matrix3d const r = eulerToRotationMatrix(p[3], p[4], p[5]);

        // Canonical angles survive the matrix round trip exactly up to rounding.
        Eigen::Vector3d const from_matrix_rpy = RotationToEuler(r);
        EXPECT_TRUE((from_matrix_rpy - Eigen::Vector3d(p[3], p[4], p[5])).isZero(1e-9));

        std::vector<double> const q = rpy_to_quaternion(angles(p));
        ASSERT_EQ(q.size(), 4u);
        EXPECT_NEAR(quaternionOf(q).norm(), 1.0, 1e-15);
        EXPECT_TRUE((quaternionOf(q).toRotationMatrix() - r).isZero(1e-14));
        std::vector<double> const back = quaternion_to_rpy(q);
        EXPECT_TRUE((eulerToRotationMatrix(back[0], back[1], back[2]) - r).isZero(1e-12));

        Eigen::Matrix<double, 3, 3, Eigen::RowMajor> row_major = r;
        std::vector<double> from_raw;
        EXPECT_EQ(MatrixToQuaternion(row_major.data(), from_raw), 0);
        ASSERT_EQ(from_raw.size(), 4u);
        EXPECT_NEAR(std::abs(quaternionOf(from_raw).dot(quaternionOf(q))), 1.0, 1e-12);

        EXPECT_TRUE((to_matrix(p).linear() - r).isZero(1e-14));
        std::vector<double> const m = poseToHomMatrix(p);
        ASSERT_EQ(m.size(), 16u);
        EXPECT_EQ(m[3], p[0]);
        EXPECT_EQ(m[7], p[1]);
        EXPECT_EQ(m[11], p[2]);
        EXPECT_EQ(m[15], 1.0);
        EXPECT_TRUE(pose_test::samePose(homMatrixToPose(m), p, 1e-12));
        EXPECT_TRUE(pose_test::samePose(from_matrix(to_matrix(p)), p, 1e-12));
    }
}

TEST(OrientationRoundTrips, QuaternionToRpyHonoursGimbalLock)
{
    std::vector<double> const rpy = quaternion_to_rpy(rpy_to_quaternion({0.3, kPi / 2, 0}));
    EXPECT_EQ(rpy[0], 0.0);
    EXPECT_NEAR(rpy[1], kPi / 2, 1e-7);
    EXPECT_NEAR(rpy[2], -0.3, 1e-7);
}

TEST(Quaternions, IdentityAndSizeFallbacks)
{
    EXPECT_EQ(rpy_to_quaternion({0, 0, 0}), (std::vector<double>{1, 0, 0, 0}));
    EXPECT_EQ(rpy_to_quaternion({0, 0}), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(quaternion_to_rpy({1, 0, 0}), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(quaternion_to_rpy({1, 0, 0, 0, 0}), (std::vector<double>{0, 0, 0}));
}

TEST(MatrixToQuaternion, EveryLargestComponentBranchAndAppending)
{
    // Half turns about X, Y and Z make x, y and z the largest component in turn.
    struct Case {
        Eigen::Vector3d axis;
        double angle;
    };
    for (Case c : {Case{Eigen::Vector3d::UnitX(), kPi}, Case{Eigen::Vector3d::UnitY(), kPi},
                   Case{Eigen::Vector3d::UnitZ(), kPi}, Case{Eigen::Vector3d(1, -2, 3).normalized(), 2.9},
                   Case{Eigen::Vector3d(-1, 2, 0.5).normalized(), 0.4}}) {
        Eigen::Matrix<double, 3, 3, Eigen::RowMajor> r =
            Eigen::AngleAxisd(c.angle, c.axis).toRotationMatrix();
        std::vector<double> q{7.0, 8.0};
        EXPECT_EQ(MatrixToQuaternion(r.data(), q), 0);
        ASSERT_EQ(q.size(), 6u);
        EXPECT_EQ(q[0], 7.0);
        EXPECT_EQ(q[1], 8.0);
        Eigen::Quaterniond const got(q[2], q[3], q[4], q[5]);
        EXPECT_TRUE((got.toRotationMatrix() - Eigen::Matrix3d(r)).isZero(1e-12)) << c.axis.transpose();
    }
}

TEST(MatrixToQuaternion, NanMatrixAppendsNothing)
{
    double r[9] = {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 1, 0, 0, 0, 1};
    std::vector<double> q;
    EXPECT_EQ(MatrixToQuaternion(r, q), 0);
    EXPECT_TRUE(q.empty());
}

TEST(AxisAngleToEuler, AngleRules)
{
    struct Case {
        std::vector<double> axis;
        double angle;
        std::vector<double> expected;
    };
    for (Case const &c : {
             Case{{0, 0, 1}, 0.3, {0, 0, 0.3}}, Case{{0, 0, 2}, 0.3, {0, 0, 0.3}},  // the axis is normalised
             Case{{0, 0, 0.5}, 0.0, {0, 0, 0.5}},    // angle 0: a rotation vector
             Case{{0.4, 0, 0}, 0.0, {0.4, 0, 0}},    // likewise about X
             Case{{0, 0, 1}, -0.3, {0, -0.0, 0}},    // negative angles are no rotation
             Case{{0, 0, 1}, 5e-7, {0, -0.0, 0}},    // below 1e-6
             Case{{0, 0, 1e-7}, 0.0, {0, -0.0, 0}},  // a tiny rotation vector
             Case{{0, 0, 0}, kPi, {0, -0.0, 0}},     // a zero axis defines no rotation
             Case{{0, 0}, 0.3, {0, -0.0, 0}},        // a short axis reads missing components as zero
         }) {
        std::vector<double> const got = axisAngleToEuler(c.axis, c.angle);
        ASSERT_EQ(got.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(got[i], c.expected[i], 1e-12) << "angle " << c.angle << " element " << i;
        }
        if (c.expected[1] == 0.0 && std::signbit(c.expected[1])) {
            EXPECT_TRUE(std::signbit(got[1])) << "identity pitch is a negative zero, angle " << c.angle;
        }
    }
}

TEST(AxisAngleToEuler, MatchesTheAxisAngleRotation)
{
    RandomPoses random(7);
    for (int i = 0; i < 200; ++i) {
        Eigen::Vector3d const axis(random.uniform(-1, 1), random.uniform(-1, 1), random.uniform(-1, 1));
        double const angle = random.uniform(1e-3, kPi);
        std::vector<double> const rpy = axisAngleToEuler({axis[0], axis[1], axis[2]}, angle);
        Eigen::Matrix3d const expected = Eigen::AngleAxisd(angle, axis.normalized()).toRotationMatrix();
        EXPECT_TRUE((eulerToRotationMatrix(rpy[0], rpy[1], rpy[2]) - expected).isZero(1e-12));
    }
}

TEST(HomogeneousMatrices, FallbacksAndNonOrthonormalBlocks)
{
    EXPECT_TRUE(to_matrix({1, 2, 3}).matrix().isIdentity());
    EXPECT_TRUE(to_matrix({}).matrix().isIdentity());
    std::vector<double> const identity = poseToHomMatrix({1, 2});
    EXPECT_TRUE(Eigen::Map<Eigen::Matrix4d const>(identity.data()).isIdentity());
    EXPECT_EQ(homMatrixToPose(std::vector<double>(15, 1.0)), std::vector<double>(6, 0.0));

    // A scaled rotation block still yields the rotation's angles.
    std::vector<double> const pose{0.1, -0.2, 0.3, 0.4, -0.5, 0.6};
    Eigen::Affine3d scaled = to_matrix(pose);
    scaled.linear() *= 2.5;
    EXPECT_TRUE(pose_test::samePose(from_matrix(scaled), pose, 1e-12));
}
