// Forward kinematics against a chain of elementary transforms written out here, its error codes, the
// Jacobian singularity measure and the joint stiffness curve.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pose_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using pose_test::kPi;
using pose_test::samePose;

namespace
{

using Table = std::vector<std::vector<double>>;

Eigen::Matrix4d rotX(double a)
{
    Eigen::Matrix4d m = Eigen::Matrix4d::Identity();
    m(1, 1) = std::cos(a);
    m(1, 2) = -std::sin(a);
    m(2, 1) = std::sin(a);
    m(2, 2) = std::cos(a);
    return m;
}

Eigen::Matrix4d rotZ(double a)
{
    Eigen::Matrix4d m = Eigen::Matrix4d::Identity();
    m(0, 0) = std::cos(a);
    m(0, 1) = -std::sin(a);
    m(1, 0) = std::sin(a);
    m(1, 1) = std::cos(a);
    return m;
}

Eigen::Matrix4d translate(double x, double y, double z)
{
    Eigen::Matrix4d m = Eigen::Matrix4d::Identity();
    m(0, 3) = x;
    m(1, 3) = y;
    m(2, 3) = z;
    return m;
}

Eigen::Matrix4d poseMatrix(std::vector<double> const &p)
{
    Eigen::Matrix4d m = translate(p[0], p[1], p[2]);
    m.topLeftCorner<3, 3>() = pose_test::rotationOf(p);
    return m;
}

// The modified DH chain Rx(alpha)·Tx(a)·Tz(d)·Rz(theta + q) joint by joint, then the tool if any.
Eigen::Matrix4d chain(std::vector<double> const &q, Table const &dh, Table const &comp, int last,
                      std::vector<double> const *tool)
{
    Eigen::Matrix4d t = Eigen::Matrix4d::Identity();
    for (int i = 0; i <= last; ++i) {
        auto const v = [&](int row) { return dh[row][i] + comp[row][i]; };
        t = t * rotX(v(0)) * translate(v(1), 0, 0) * translate(0, 0, v(2)) * rotZ(v(3) + q[i]);
    }
    return tool ? Eigen::Matrix4d(t * poseMatrix(*tool)) : t;
}

::testing::AssertionResult poseIsMatrix(std::vector<double> const &pose, Eigen::Matrix4d const &m)
{
    double const off = (poseMatrix(pose) - m).cwiseAbs().maxCoeff();
    if (off > 1e-12) {
        return ::testing::AssertionFailure() << "pose differs from the chain by " << off;
    }
    return ::testing::AssertionSuccess();
}

// A six-joint arm with shoulder, elbow and wrist offsets and non-trivial twists.
Table const kArmDh{{0, kPi / 2, 0, 0, kPi / 2, -kPi / 2},
                   {0, 0, -0.425, -0.392, 0, 0},
                   {0.152, 0, 0, 0.133, 0.1, 0.0996},
                   {0, -kPi / 2, 0, -kPi / 2, 0, 0}};
Table const kArmCompensation{{1e-3, -2e-3, 5e-4, 0, -1e-3, 2e-3},
                             {2e-4, 0, 1e-3, -5e-4, 3e-4, 0},
                             {0, 1e-4, -2e-4, 3e-4, 0, -1e-4},
                             {-1e-3, 2e-3, 0, 1e-3, -2e-3, 5e-4}};

}  // namespace

TEST(ForwardKinematics, SixJointArmMatchesTheElementaryChain)
{
    pose_test::RandomPoses random(99);
    std::vector<double> const tool{0.01, -0.02, 0.15, 0.1, -0.2, 0.3};
    Table const zeros(4, std::vector<double>(6, 0.0));
    for (int n = 0; n < 200; ++n) {
        std::vector<double> q(6);
        for (double &v : q) {
            v = random.uniform(-2 * kPi, 2 * kPi);
        }
        SCOPED_TRACE(::testing::Message() << "configuration " << n);
        std::vector<double> pose;
        ASSERT_EQ(forwardKinematics(pose, q, tool, kArmDh, kArmCompensation, -1), 0);
        EXPECT_TRUE(pose_test::inCanonicalRanges(pose));
        EXPECT_TRUE(poseIsMatrix(pose, chain(q, kArmDh, kArmCompensation, 5, &tool)));

        ASSERT_EQ(forwardKinematics(pose, q, tool, kArmDh, {}, -1), 0);
        EXPECT_TRUE(poseIsMatrix(pose, chain(q, kArmDh, zeros, 5, &tool)));

        for (int joint = 0; joint < 6; ++joint) {
            ASSERT_EQ(forwardKinematics(pose, q, tool, kArmDh, kArmCompensation, joint), 0);
            EXPECT_TRUE(poseIsMatrix(pose, chain(q, kArmDh, kArmCompensation, joint, nullptr)))
                << "joint " << joint;
        }
    }
}

TEST(ForwardKinematics, SingleJointAndEmptyTool)
{
    Table const dh{{0}, {0}, {0.1}, {0}};
    std::vector<double> const expected{0, 0, 0.1, 0, 0, kPi / 2};
    std::vector<double> pose{9};
    ASSERT_EQ(forwardKinematics(pose, {kPi / 2}, std::vector<double>(6, 0.0), dh, {}, -1), 0);
    EXPECT_TRUE(samePose(pose, expected, 1e-15));
    EXPECT_NEAR(pose[5], kPi / 2, 1e-15);
    ASSERT_EQ(forwardKinematics(pose, {kPi / 2}, std::vector<double>(6, 0.0), dh, {}, 0), 0);
    EXPECT_TRUE(samePose(pose, expected, 1e-15));
    ASSERT_EQ(forwardKinematics(pose, {kPi / 2}, {}, dh, {}, -1), 0) << "an empty tool is no tool";
    EXPECT_TRUE(samePose(pose, expected, 1e-15));
}

TEST(ForwardKinematics, ErrorCodesLeaveThePoseUntouched)
{
    Table const dh{{0, 0}, {0, 0}, {0.1, 0.2}, {0, 0}};
    std::vector<double> const q{0.1, 0.2};
    std::vector<double> const tool(6, 0.0);
    struct Case {
        std::vector<double> q;
        std::vector<double> tool;
        Table dh, comp;
        int joint;
        int code;
        char const *what;
    };
    for (Case const &c : {
             Case{{}, tool, dh, {}, -1, -1, "no joint values"},
             Case{q, tool, {}, {}, -1, -1, "empty DH table"},
             Case{q, tool, {{0, 0}, {0, 0}, {0, 0}}, {}, -1, -2, "three DH rows"},
             Case{q, tool, dh, {{0, 0}, {0, 0}, {0, 0}}, -1, -2, "three compensation rows"},
             Case{q, tool, {{0, 0}, {0, 0}, {0.1}, {0, 0}}, {}, -1, -2, "a DH row shorter than the joints"},
             Case{q, tool, dh, {{0, 0}, {0}, {0, 0}, {0, 0}}, 1, -2, "a compensation row shorter than used"},
             Case{q, {0, 0, 0}, dh, {}, -1, -3, "a tool that is not a pose"},
             Case{q, tool, dh, {}, 2, -4, "joint == n"},
             Case{q, tool, dh, {}, -2, -4, "joint below -1"},
         }) {
        std::vector<double> pose{1, 2, 3};
        EXPECT_EQ(forwardKinematics(pose, c.q, c.tool, c.dh, c.comp, c.joint), c.code) << c.what;
        EXPECT_EQ(pose, (std::vector<double>{1, 2, 3})) << c.what;
    }
    // Rows only need to cover the joints used, and the tool only matters when it is applied.
    std::vector<double> pose;
    EXPECT_EQ(forwardKinematics(pose, q, {0, 0, 0}, {{0}, {0}, {0.1}, {0}}, {}, 0), 0);
}

TEST(JacobianMinSigma, IdentitySingularAndMalformed)
{
    std::vector<double> identity(36, 0.0);
    for (int i = 0; i < 6; ++i) {
        identity[i * 7] = 1.0;
    }
    double sigma = -1;
    EXPECT_TRUE(calcNormalizedJacobianMinSigma6x6(identity, sigma));
    EXPECT_NEAR(sigma, 1.0, 1e-15);

    std::vector<double> scaled = identity;
    scaled[0] = 250.0;
    scaled[7] = 1e-3;
    EXPECT_TRUE(calcNormalizedJacobianMinSigma6x6(scaled, sigma));
    EXPECT_NEAR(sigma, 1.0, 1e-15) << "column scaling is normalised away";

    pose_test::RandomPoses random(3);
    std::vector<double> equal_columns(36);
    for (double &v : equal_columns) {
        v = random.uniform(-1, 1);
    }
    for (int r = 0; r < 6; ++r) {
        equal_columns[r * 6 + 4] = equal_columns[r * 6 + 1];
    }
    EXPECT_TRUE(calcNormalizedJacobianMinSigma6x6(equal_columns, sigma));
    EXPECT_NEAR(sigma, 0.0, 1e-12);

    std::vector<double> zero_column = identity;
    zero_column[2 * 7] = 0.0;
    sigma = -1;
    EXPECT_TRUE(calcNormalizedJacobianMinSigma6x6(zero_column, sigma));
    EXPECT_EQ(sigma, 0.0);

    sigma = -1;
    EXPECT_FALSE(calcNormalizedJacobianMinSigma6x6(std::vector<double>(35, 1.0), sigma));
    EXPECT_EQ(sigma, 0.0);
}

TEST(JointStiffRatio, PiecewiseCurveAndOutOfRange)
{
    std::vector<double> const in{0,   0.1, 0.25, 0.4, 0.475, 0.55,
                                 0.8, 0.9, 1.0,  1.2, -0.1,  std::numeric_limits<double>::quiet_NaN()};
    std::vector<double> const expected{0.01, 0.05, 0.075, 0.1, 0.15, 0.2, 0.6, 0.8, 1.0, 0, 0, 0};
    auto const out = calJointStiffRatio(in);
    ASSERT_EQ(out.size(), 2u);
    ASSERT_EQ(out[0].size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        EXPECT_NEAR(out[0][i], expected[i], 1e-15) << "ratio " << in[i];
    }
    EXPECT_EQ(out[0], out[1]);
    EXPECT_EQ(calJointStiffRatio({}), (std::vector<std::vector<double>>{{}, {}}));
}
