// The geometric Jacobian against finite differences of forwardKinematics, and the inverse kinematics:
// round trips on reachable poses, failure on unreachable ones, the joint limits and the error codes.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "arm_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using arm_test::kCompensation;
using arm_test::kDh;
using arm_test::kLower;
using arm_test::kTool;
using arm_test::kUpper;
using arm_test::Table;
using pose_test::kPi;

namespace
{

Eigen::Vector3d position(std::vector<double> const &pose)
{
    return {pose[0], pose[1], pose[2]};
}

// Central differences of the TCP: linear rows from the position, angular rows from R(q + h)·R(q - h)ᵀ.
Eigen::Matrix<double, 6, Eigen::Dynamic> numericJacobian(std::vector<double> const &q,
                                                         std::vector<double> const &tool, Table const &comp)
{
    double const h = 1e-6;
    Eigen::Matrix<double, 6, Eigen::Dynamic> j(6, q.size());
    for (std::size_t i = 0; i < q.size(); ++i) {
        std::vector<double> plus = q, minus = q, p_plus, p_minus;
        plus[i] += h;
        minus[i] -= h;
        EXPECT_EQ(forwardKinematics(p_plus, plus, tool, kDh, comp, -1), 0);
        EXPECT_EQ(forwardKinematics(p_minus, minus, tool, kDh, comp, -1), 0);
        Eigen::Matrix3d const turn =
            pose_test::rotationOf(p_plus) * pose_test::rotationOf(p_minus).transpose();
        Eigen::AngleAxisd const axis_angle(turn);
        j.col(static_cast<Eigen::Index>(i)) << (position(p_plus) - position(p_minus)) / (2 * h),
            axis_angle.axis() * axis_angle.angle() / (2 * h);
    }
    return j;
}

Eigen::Matrix<double, 6, Eigen::Dynamic> asMatrix(std::vector<double> const &jac, std::size_t n)
{
    return Eigen::Map<Eigen::Matrix<double, 6, Eigen::Dynamic, Eigen::RowMajor> const>(
        jac.data(), 6, static_cast<Eigen::Index>(n));
}

std::vector<double> tcp(std::vector<double> const &q)
{
    std::vector<double> pose;
    EXPECT_EQ(forwardKinematics(pose, q, kTool, kDh, kCompensation, -1), 0);
    return pose;
}

// Position and rotation of the TCP at q against the target, within tol.
::testing::AssertionResult reaches(std::vector<double> const &q, std::vector<double> const &target,
                                   double tol)
{
    return pose_test::samePose(tcp(q), target, tol);
}

}  // namespace

TEST(Jacobian, MatchesFiniteDifferencesOfTheForwardKinematics)
{
    pose_test::RandomPoses random(7);
    for (int n = 0; n < 100; ++n) {
        std::vector<double> const q = arm_test::randomJoints(random, 2 * kPi);
        SCOPED_TRACE(::testing::Message() << "configuration " << n);
        for (auto const &[tool, comp] :
             {std::pair{kTool, kCompensation}, std::pair{std::vector<double>{}, Table{}}}) {
            std::vector<double> jac;
            ASSERT_EQ(jacobian(jac, q, tool, kDh, comp), 0);
            ASSERT_EQ(jac.size(), 36u);
            double const off = (asMatrix(jac, 6) - numericJacobian(q, tool, comp)).cwiseAbs().maxCoeff();
            EXPECT_LT(off, 1e-8);
        }
    }
}

TEST(Jacobian, FewerJointsThanTableColumnsAndErrorCodes)
{
    std::vector<double> const q{0.3, -0.4, 0.5};
    std::vector<double> jac;
    ASSERT_EQ(jacobian(jac, q, kTool, kDh, kCompensation), 0);
    ASSERT_EQ(jac.size(), 18u);
    EXPECT_LT((asMatrix(jac, 3) - numericJacobian(q, kTool, kCompensation)).cwiseAbs().maxCoeff(), 1e-8);

    struct Case {
        std::vector<double> q, tool;
        Table dh;
        int code;
        char const *what;
    };
    for (Case const &c : {
             Case{{}, kTool, kDh, -1, "no joint values"},
             Case{q, kTool, {}, -1, "empty DH table"},
             Case{q, kTool, {{0}, {0}, {0}}, -2, "three DH rows"},
             Case{q, kTool, {{0, 0, 0}, {0, 0}, {0, 0, 0}, {0, 0, 0}}, -2, "a row shorter than the joints"},
             Case{q, {0, 0, 0}, kDh, -3, "a tool that is not a pose"},
         }) {
        std::vector<double> untouched{1, 2};
        EXPECT_EQ(jacobian(untouched, c.q, c.tool, c.dh, {}), c.code) << c.what;
        EXPECT_EQ(untouched, (std::vector<double>{1, 2})) << c.what;
    }
}

TEST(InverseKinematics, RoundTripsOnRandomReachablePoses)
{
    pose_test::RandomPoses random(11);
    for (int n = 0; n < 200; ++n) {
        std::vector<double> const truth = arm_test::randomJoints(random);
        std::vector<double> seed = truth;
        for (double &v : seed) {
            v += random.uniform(-0.3, 0.3);
        }
        std::vector<double> const target = tcp(truth);
        SCOPED_TRACE(::testing::Message() << "pose " << n);
        std::vector<double> q;
        ASSERT_EQ(inverseKinematics(q, target, seed, kTool, kDh, kCompensation, kLower, kUpper), 0);
        ASSERT_EQ(q.size(), 6u);
        EXPECT_TRUE(reaches(q, target, 1e-9));
    }
}

TEST(InverseKinematics, UnreachablePosesFailAndLeaveQUntouched)
{
    pose_test::RandomPoses random(12);
    std::vector<double> const home{0, -kPi / 2, kPi / 2, 0, kPi / 2, 0};
    for (int n = 0; n < 20; ++n) {
        // The arm reaches about 1.1 m; these lie 2 to 4 m away.
        std::vector<double> target = tcp(arm_test::randomJoints(random));
        Eigen::Vector3d const far = position(target).normalized() * random.uniform(2.0, 4.0);
        target[0] = far.x();
        target[1] = far.y();
        target[2] = far.z();
        std::vector<double> q{9};
        EXPECT_EQ(inverseKinematics(q, target, home, kTool, kDh, kCompensation, kLower, kUpper), -5);
        EXPECT_EQ(q, std::vector<double>{9});
    }
}

TEST(InverseKinematics, StaysWithinTheJointLimits)
{
    std::vector<double> const truth{0.4, -1.0, 1.2, -0.5, 0.8, 0.3};
    std::vector<double> const target = tcp(truth);
    std::vector<double> const seed{0.5, -1.1, 1.1, -0.4, 0.9, 0.4};

    // Limits that hold the solution: it is found, and every value is inside them.
    std::vector<double> lower{0.3, -1.2, 1.0, -0.6, 0.7, 0.2}, upper{0.6, -0.9, 1.3, -0.3, 1.0, 0.5};
    std::vector<double> q;
    ASSERT_EQ(inverseKinematics(q, target, seed, kTool, kDh, kCompensation, lower, upper), 0);
    EXPECT_TRUE(reaches(q, target, 1e-9));
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_GE(q[i], lower[i]);
        EXPECT_LE(q[i], upper[i]);
    }

    // The elbow may not reach 1.2 any more: the pose is out of reach within the limits.
    upper[2] = 1.1;
    q = {9};
    EXPECT_EQ(inverseKinematics(q, target, seed, kTool, kDh, kCompensation, lower, upper), -5);
    EXPECT_EQ(q, std::vector<double>{9});

    // A seed outside the limits starts from its clamped value.
    upper[2] = 1.3;
    std::vector<double> outside = seed;
    outside[2] = 3.0;
    ASSERT_EQ(inverseKinematics(q, target, outside, kTool, kDh, kCompensation, lower, upper), 0);
    EXPECT_TRUE(reaches(q, target, 1e-9));
}

TEST(InverseKinematics, IterationBudgetAndTolerances)
{
    std::vector<double> const truth{0.4, -1.0, 1.2, -0.5, 0.8, 0.3};
    std::vector<double> const target = tcp(truth);
    std::vector<double> const seed{1.0, -0.5, 0.6, 0.0, 0.3, -0.2};
    std::vector<double> q;
    InverseKinematicsOptions few;
    few.max_iterations = 1;
    EXPECT_EQ(inverseKinematics(q, target, seed, kTool, kDh, kCompensation, kLower, kUpper, few), -5);

    InverseKinematicsOptions loose;
    loose.position_tolerance = 1e-3;
    loose.orientation_tolerance = 1e-3;
    ASSERT_EQ(inverseKinematics(q, target, seed, kTool, kDh, kCompensation, kLower, kUpper, loose), 0);
    EXPECT_TRUE(reaches(q, target, 1e-3));

    // A seed that already sits on the target needs no iteration.
    InverseKinematicsOptions none;
    none.max_iterations = 0;
    ASSERT_EQ(inverseKinematics(q, target, truth, kTool, kDh, kCompensation, kLower, kUpper, none), 0);
    EXPECT_EQ(q, truth);
}

TEST(InverseKinematics, ErrorCodesLeaveQUntouched)
{
    std::vector<double> const seed(6, 0.1);
    std::vector<double> const target = tcp(seed);
    double const nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> const five(5, 0.0);
    std::vector<double> crossed = kLower;
    crossed[3] = 7.0;
    std::vector<double> nan_seed = seed;
    nan_seed[1] = nan;
    std::vector<double> nan_pose = target;
    nan_pose[4] = nan;
    struct Case {
        std::vector<double> pose, seed, tool;
        Table dh;
        std::vector<double> lower, upper;
        int code;
        char const *what;
    };
    for (Case const &c : {
             Case{target, {}, kTool, kDh, {}, {}, -1, "no seed"},
             Case{target, seed, kTool, {}, kLower, kUpper, -1, "empty DH table"},
             Case{target, seed, kTool, {{0}, {0}, {0}}, kLower, kUpper, -2, "three DH rows"},
             Case{target, seed, {0, 0}, kDh, kLower, kUpper, -3, "a tool that is not a pose"},
             Case{target, seed, kTool, kDh, five, kUpper, -6, "five lower limits"},
             Case{target, seed, kTool, kDh, kLower, {}, -6, "no upper limits"},
             Case{target, seed, kTool, kDh, crossed, kUpper, -6, "a lower limit above its upper one"},
             Case{{0, 0, 0}, seed, kTool, kDh, kLower, kUpper, -7, "a pose of three values"},
             Case{nan_pose, seed, kTool, kDh, kLower, kUpper, -7, "a NaN in the pose"},
             Case{target, nan_seed, kTool, kDh, kLower, kUpper, -7, "a NaN in the seed"},
         }) {
        std::vector<double> q{9};
        EXPECT_EQ(inverseKinematics(q, c.pose, c.seed, c.tool, c.dh, kCompensation, c.lower, c.upper), c.code)
            << c.what;
        EXPECT_EQ(q, std::vector<double>{9}) << c.what;
    }
}
