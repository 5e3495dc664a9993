// Pose algebra: composition, inverse, sum and difference, distances, comparison, interpolation and the
// vector helpers; properties over many random poses plus the edge cases callers hit.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "pose_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using pose_test::kPi;
using pose_test::RandomPoses;
using pose_test::samePose;

namespace
{

using Pose = std::vector<double>;
std::vector<double> const kZeroPose(6, 0.0);

Eigen::Affine3d transformOf(Pose const &p)
{
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    t.linear() = pose_test::rotationOf(p);
    t.translation() << p[0], p[1], p[2];
    return t;
}

}  // namespace

TEST(PoseAlgebraProperties, HoldOverRandomPoses)
{
    RandomPoses random(42);
    for (int i = 0; i < 1000; ++i) {
        Pose const a = random.next(), b = random.next();
        SCOPED_TRACE(::testing::Message() << "pose pair " << i);

        EXPECT_TRUE(samePose(pose_trans(a, pose_inverse(a)), kZeroPose, 1e-12));
        EXPECT_TRUE(samePose(pose_trans(pose_inverse(a), a), kZeroPose, 1e-12));
        EXPECT_TRUE(samePose(pose_add(pose_sub(a, b), b), a, 1e-12));

        Pose const ab = pose_trans(a, b);
        EXPECT_TRUE(pose_test::inCanonicalRanges(ab));
        Eigen::Affine3d const expected = transformOf(a) * transformOf(b);
        EXPECT_TRUE((transformOf(ab).matrix() - expected.matrix()).isZero(1e-12));

        // The sum adds positions without rotating and composes orientations.
        Pose const sum = pose_add(a, b);
        EXPECT_NEAR(sum[0], a[0] + b[0], 1e-15);
        EXPECT_TRUE(
            (pose_test::rotationOf(sum) - pose_test::rotationOf(a) * pose_test::rotationOf(b)).isZero(1e-12));

        EXPECT_NEAR(pose_distance(a, b), (transformOf(a).translation() - transformOf(b).translation()).norm(),
                    1e-15);
        double const expected_angle =
            Eigen::AngleAxisd(pose_test::rotationOf(a) * pose_test::rotationOf(b).transpose()).angle();
        EXPECT_NEAR(pose_angle_distance(a, b), expected_angle, 1e-9);
    }
}

TEST(PoseTrans, ZeroPoseBringsAnglesIntoCanonicalRanges)
{
    Pose const p = pose_trans({1, 2, 3, 0.1, 0.2, 4.0}, kZeroPose);
    EXPECT_EQ(p[0], 1.0);
    EXPECT_EQ(p[1], 2.0);
    EXPECT_EQ(p[2], 3.0);
    EXPECT_NEAR(p[3], 0.1, 1e-12);
    EXPECT_NEAR(p[4], 0.2, 1e-12);
    EXPECT_NEAR(p[5], 4.0 - 2 * kPi, 1e-12);
}

TEST(PoseFunctions, WrongSizesGiveTheirFallbacks)
{
    Pose const good{1, 2, 3, 0.1, 0.2, 0.3};
    Pose const bad{1, 2, 3, 0.1, 0.2};
    using PoseOp = std::function<Pose(Pose const &, Pose const &)>;
    for (PoseOp const &op : {PoseOp(pose_trans), PoseOp(pose_add), PoseOp(pose_sub), PoseOp(addDeltaPose)}) {
        EXPECT_EQ(op(good, bad), kZeroPose);
        EXPECT_EQ(op(bad, good), kZeroPose);
    }
    EXPECT_EQ(pose_inverse(bad), kZeroPose);
    EXPECT_EQ(pose_distance(good, bad), 0.0);
    EXPECT_EQ(pose_angle_distance(bad, good), 0.0);
    EXPECT_FALSE(pose_equal(bad, bad, 1e-3));
    EXPECT_TRUE(pose_direction(good, bad).isZero(0));
    EXPECT_EQ(pose_axis_angle(good, bad, 0), 0.0);
    EXPECT_TRUE(interpolate_pose(good, bad, 0.5).empty());
}

TEST(PoseAngleDistance, CoversTheFullRangeAndIgnoresPositions)
{
    EXPECT_NEAR(pose_angle_distance({1, 2, 3, 0.1, 0.2, 0.3}, {-4, 5, 6, 0.1, 0.2, 0.3}), 0.0, 1e-15);
    EXPECT_NEAR(pose_angle_distance({0, 0, 0, 0, 0, 0}, {0, 0, 0, kPi, 0, 0}), kPi, 1e-12);
    EXPECT_NEAR(pose_angle_distance({0, 0, 0, 0, 0, -1.5}, {0, 0, 0, 0, 0, 1.5}), 3.0, 1e-12);
    EXPECT_NEAR(pose_angle_distance({0, 0, 0, 0, 0, -3.0}, {0, 0, 0, 0, 0, 3.0}), 2 * kPi - 6.0, 1e-12);
}

TEST(PoseEqual, RelativePositionAndSignFreeOrientation)
{
    struct Case {
        Pose a, b;
        double eps;
        bool equal;
        char const *what;
    };
    for (Case const &c : {
             Case{kZeroPose, kZeroPose, 1e-6, true, "both at the origin"},
             Case{kZeroPose, {1e-9, 0, 0, 0, 0, 0}, 1e6, false, "one at the origin, one off it"},
             Case{{1, 0, 0, 0, 0, 0.3}, {1, 0, 0, 0, 0, 0.3 + 2 * kPi}, 1e-9, true, "yaw 2pi apart, q vs -q"},
             Case{{1, 0, 0, 0, 0, 0.3}, {1 + 1e-4, 0, 0, 0, 0, 0.3}, 1e-3, true, "position within eps"},
             Case{{1, 0, 0, 0, 0, 0.3}, {1 + 1e-2, 0, 0, 0, 0, 0.3}, 1e-3, false, "position beyond eps"},
             Case{{1, 0, 0, 0, 0, 0.3}, {1, 0, 0, 0, 0, 0.31}, 1e-3, false, "orientation beyond eps"},
             Case{{1, 0, 0, 0.2, 0.3, 0.4},
                  {1, 0, 0, 0.2, 0.3, 0.4 + 1e-5},
                  1e-3,
                  true,
                  "orientation within eps"},
         }) {
        EXPECT_EQ(pose_equal(c.a, c.b, c.eps), c.equal) << c.what;
        EXPECT_EQ(pose_equal(c.b, c.a, c.eps), c.equal) << c.what << " (swapped)";
    }
}

TEST(PoseDirectionAndAxisAngle, EdgeCases)
{
    EXPECT_TRUE(pose_direction({1, 2, 3, 0, 0, 0}, {1, 2, 3, 1, 1, 1}).isZero(0));
    EXPECT_TRUE(pose_direction({1, 2, 3, 0, 0, 0}, {1, 2, 5, 0, 0, 0}).isApprox(Eigen::Vector3d::UnitZ()));

    Pose const a{0, 0, 0, 0, 0, 0.2}, b{0, 0, 0, 0, 0, 0.9};
    EXPECT_NEAR(pose_axis_angle(a, b, 0), 0.7, 1e-12);
    EXPECT_NEAR(pose_axis_angle(a, b, 1), 0.7, 1e-12);
    EXPECT_NEAR(pose_axis_angle(a, b, 2), 0.0, 1e-7);
    EXPECT_EQ(pose_axis_angle(a, b, 3), 0.0);
    EXPECT_EQ(pose_axis_angle(a, b, -1), 0.0);

    EXPECT_NEAR(angleBetweenVectors(Eigen::Vector3d::Zero(), Eigen::Vector3d::UnitX()), kPi / 2, 1e-15);
    EXPECT_NEAR(angleBetweenVectors(Eigen::Vector3d(2, 0, 0), Eigen::Vector3d(-3, 0, 0)), kPi, 1e-15);
    EXPECT_EQ(angleBetweenVectors(Eigen::Vector3d(1, 1, 1), Eigen::Vector3d(3, 3, 3)), 0.0);
}

TEST(InterpolatePose, OutsideTheUnitIntervalReturnsTheInputsUnchanged)
{
    Pose const a{1, 2, 3, 4.0, 2.0, -5.0}, b{4, 5, 6, 0.1, 0.2, 7.0};
    EXPECT_EQ(interpolate_pose(a, b, -0.5), a);
    EXPECT_EQ(interpolate_pose(a, b, 1.5), b);
    EXPECT_TRUE(samePose(interpolate_pose(a, b, 0.0), a, 1e-12));
    EXPECT_TRUE(samePose(interpolate_pose(a, b, 1.0), b, 1e-12));
}

TEST(InterpolatePose, MidpointAndShortestPath)
{
    Pose const mid = interpolate_pose({0, 0, 0, 0, 0, 0}, {2, 4, 6, 0, 0, kPi / 2}, 0.5);
    EXPECT_TRUE(samePose(mid, {1, 2, 3, 0, 0, kPi / 4}, 1e-12));
    EXPECT_NEAR(mid[5], kPi / 4, 1e-12);
    // From yaw 3.0 to yaw -3.0 the short way passes through pi.
    Pose const across = interpolate_pose({0, 0, 0, 0, 0, 3.0}, {0, 0, 0, 0, 0, -3.0}, 0.5);
    EXPECT_NEAR(std::abs(across[5]), kPi, 1e-9);
}

TEST(SlerpInterp, ShortestPathExtrapolationAndUntouchedInputs)
{
    std::vector<double> q = rpy_to_quaternion({0.1, 0.2, 0.3});
    std::vector<double> minus_q{-q[0], -q[1], -q[2], -q[3]};
    std::vector<double> const half = slerp_interp(q, minus_q, 0.5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(half[i], q[i], 1e-12);
    }
    EXPECT_LT(minus_q[0], 0.0) << "the caller's quaternion keeps its sign";

    std::vector<double> identity{1, 0, 0, 0};
    std::vector<double> yaw = rpy_to_quaternion({0, 0, 0.2});
    EXPECT_NEAR(quaternion_to_rpy(slerp_interp(identity, yaw, 2.0))[2], 0.4, 1e-12) << "t = 2 extrapolates";
    std::vector<double> const quarter = quaternion_to_rpy(slerp_interp(identity, yaw, 0.25));
    EXPECT_NEAR(quarter[2], 0.05, 1e-12);

    std::vector<double> near = rpy_to_quaternion({0, 0, 1e-3});
    EXPECT_NEAR(quaternion_to_rpy(slerp_interp(identity, near, 0.5))[2], 5e-4, 1e-9) << "linear blend branch";

    std::vector<double> short_q{1, 0, 0};
    EXPECT_EQ(slerp_interp(short_q, identity, 0.5), std::vector<double>(4, 0.0));
}

TEST(AddDeltaPose, TurnsAboutTheReferenceAxes)
{
    EXPECT_TRUE(samePose(addDeltaPose({1, 2, 3, 4.0, 0.1, 0.2}, kZeroPose), {1, 2, 3, 4.0, 0.1, 0.2}, 1e-12));
    EXPECT_NEAR(addDeltaPose({1, 2, 3, 4.0, 0.1, 0.2}, kZeroPose)[3], 4.0 - 2 * kPi, 1e-12);

    RandomPoses random(5);
    for (int i = 0; i < 200; ++i) {
        Pose const p = random.next();
        Eigen::Vector3d const w(random.uniform(-1, 1), random.uniform(-1, 1), random.uniform(-1, 1));
        Pose const moved = addDeltaPose(p, {0.1, -0.2, 0.3, w[0], w[1], w[2]});
        Eigen::Matrix3d const expected =
            Eigen::AngleAxisd(w.norm(), w.normalized()).toRotationMatrix() * pose_test::rotationOf(p);
        EXPECT_TRUE((pose_test::rotationOf(moved) - expected).isZero(1e-12));
        EXPECT_NEAR(moved[0], p[0] + 0.1, 1e-15);
        EXPECT_NEAR(moved[2], p[2] + 0.3, 1e-15);
    }
}

TEST(VectorHelpers, PlainThreeComponentOperations)
{
    std::vector<double> const a{1, 2, 3}, b{-4, 5, 0.5};
    EXPECT_EQ(cross(a, b), (std::vector<double>{2 * 0.5 - 3 * 5, 3 * -4 - 1 * 0.5, 1 * 5 - 2 * -4}));
    EXPECT_EQ(cross_product(a, b), cross(a, b));
    EXPECT_EQ(dot(a, b), -4 + 10 + 1.5);
    EXPECT_EQ(norm({3, 4, 12}), 13.0);
    EXPECT_EQ(sub(a, b), (std::vector<double>{5, -3, 2.5}));
    EXPECT_EQ(div_num(a, 2), (std::vector<double>{0.5, 1, 1.5}));
    EXPECT_TRUE(std::isinf(div_num(a, 0)[0]));
    EXPECT_EQ(SIGN(0.0), 1.0);
    EXPECT_EQ(SIGN(-1e-300), -1.0);
    EXPECT_EQ(SIGN(std::nan("")), -1.0);
    EXPECT_EQ(NORM(1, 2, 2, 4), 5.0);
}
