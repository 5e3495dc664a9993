// Payload helpers: combined center of mass and inertia, the skew matrix, and wrench transfer between
// frames checked against the rigid-body transformation of a force and a torque.

#include <gtest/gtest.h>

#include "pose_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;

namespace
{

using Vector6d = Eigen::Matrix<double, 6, 1>;

Vector6d toVector6(std::vector<double> const &w)
{
    return Eigen::Map<Vector6d const>(w.data());
}

Eigen::Matrix3d fromArray(std::array<double, 9> const &a)
{
    return Eigen::Map<Eigen::Matrix3d const>(a.data());
}

}  // namespace

TEST(CenterOfMass, WeightedMeanAndZeroMass)
{
    EXPECT_EQ(combineCenterOfMass(1, {0, 0, 0}, 3, {1, 0, 0}), (std::array<double, 3>{0.75, 0, 0}));
    EXPECT_EQ(combineCenterOfMass(0, {1, 2, 3}, 0, {4, 5, 6}), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(combineCenterOfMass(2, {1, 2, 3}, 0, {4, 5, 6}), (std::array<double, 3>{1, 2, 3}));
}

TEST(SkewMatrix, ActsAsTheCrossProduct)
{
    std::array<double, 3> const v{0.3, -1.2, 2.5};
    Eigen::Vector3d const w(-0.7, 0.4, 1.1);
    EXPECT_EQ(skewSymmetricMatrixFromVector(v),
              (std::array<double, 9>{0, 2.5, 1.2, -2.5, 0, 0.3, -1.2, -0.3, 0}));
    EXPECT_TRUE((fromArray(skewSymmetricMatrixFromVector(v)) * w - Eigen::Vector3d(v[0], v[1], v[2]).cross(w))
                    .isZero(1e-15));
}

TEST(InertiaTensor, ParallelAxisCombination)
{
    std::array<double, 9> const none{};
    std::array<double, 9> const pair =
        combineInertiaTensor(1, {1, 0, 0}, none, 1, {-1, 0, 0}, none, 2, {0, 0, 0});
    EXPECT_TRUE(fromArray(pair).isApprox(Eigen::Vector3d(0, 2, 2).asDiagonal().toDenseMatrix()));

    EXPECT_EQ(combineInertiaTensor(0, {1, 0, 0}, none, 0, {0, 1, 0}, none, 0, {0, 0, 0}), none);

    // A massless body contributes nothing even if it carries a tensor.
    std::array<double, 9> const body{0.1, 0, 0, 0, 0.2, 0, 0, 0, 0.3};
    std::array<double, 9> const alone =
        combineInertiaTensor(2, {0, 0, 1}, body, 0, {5, 5, 5}, body, 2, {0, 0, 1});
    EXPECT_TRUE(fromArray(alone).isApprox(fromArray(body)));

    // Two boxes about the combined center, against the parallel-axis rule written out per body.
    std::array<double, 3> const c1{0.1, 0.2, -0.1}, c2{-0.3, 0.05, 0.4};
    std::array<double, 9> const i2{0.02, 0.001, 0, 0.001, 0.03, 0.002, 0, 0.002, 0.01};
    double const m1 = 1.5, m2 = 0.5;
    std::array<double, 3> const c = combineCenterOfMass(m1, c1, m2, c2);
    auto const shifted = [&](double m, std::array<double, 3> const &ci) {
        Eigen::Vector3d const d = Eigen::Vector3d(ci[0], ci[1], ci[2]) - Eigen::Vector3d(c[0], c[1], c[2]);
        return Eigen::Matrix3d(m * (d.squaredNorm() * Eigen::Matrix3d::Identity() - d * d.transpose()));
    };
    Eigen::Matrix3d const expected = fromArray(body) + shifted(m1, c1) + fromArray(i2) + shifted(m2, c2);
    EXPECT_TRUE(
        (fromArray(combineInertiaTensor(m1, c1, body, m2, c2, i2, m1 + m2, c)) - expected).isZero(1e-14));
}

TEST(WrenchTransfer, SimpleFrame)
{
    std::vector<double> const pose{0, 0, 1, 0, 0, 0}, wrench{1, 0, 0, 0, 0, 0};
    EXPECT_TRUE((toVector6(changeFTFrame(pose, wrench)) - toVector6({1, 0, 0, 0, 1, 0})).isZero(1e-15));
    EXPECT_TRUE((toVector6(changeFTBase(pose, wrench)) - toVector6({1, 0, 0, 0, 0, 0})).isZero(1e-15));
    EXPECT_EQ(changeFTFrame({0, 0, 1, 0, 0}, wrench), std::vector<double>(6, 0.0));
    EXPECT_EQ(changeFTBase(pose, {1, 0, 0}), std::vector<double>(6, 0.0));
}

TEST(WrenchTransfer, AgreesWithTheRigidBodyTransformation)
{
    pose_test::RandomPoses random(17);
    for (int i = 0; i < 500; ++i) {
        std::vector<double> const pose = random.next();
        std::vector<double> const wrench{random.uniform(-50, 50), random.uniform(-50, 50),
                                         random.uniform(-50, 50), random.uniform(-5, 5),
                                         random.uniform(-5, 5),   random.uniform(-5, 5)};
        Eigen::Matrix3d const r = pose_test::rotationOf(pose);
        Eigen::Vector3d const p(pose[0], pose[1], pose[2]);
        Eigen::Matrix3d p_cross;
        p_cross << 0, -p.z(), p.y(), p.z(), 0, -p.x(), -p.y(), p.x(), 0;
        // Wrench transformation of a frame change: forces rotate, torques rotate and pick up p × F.
        Eigen::Matrix<double, 6, 6> adjoint = Eigen::Matrix<double, 6, 6>::Zero();
        adjoint.topLeftCorner<3, 3>() = r;
        adjoint.bottomRightCorner<3, 3>() = r;
        adjoint.bottomLeftCorner<3, 3>() = p_cross * r;
        Eigen::Matrix<double, 6, 6> rotate_only = adjoint;
        rotate_only.bottomLeftCorner<3, 3>().setZero();

        EXPECT_TRUE((toVector6(changeFTFrame(pose, wrench)) - adjoint * toVector6(wrench)).isZero(1e-11));
        EXPECT_TRUE((toVector6(changeFTBase(pose, wrench)) - rotate_only * toVector6(wrench)).isZero(1e-11));
    }
}
