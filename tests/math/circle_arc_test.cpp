#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using geometry_test::kPi;
using geometry_test::poseOf;
using geometry_test::rotationOf;
using geometry_test::samePoint;
using geometry_test::sameRotation;
using geometry_test::vec;

namespace
{

using Vec = std::vector<double>;

// Three poses on the unit circle about the origin, counter-clockwise seen from +Z.
struct UnitCircle : ::testing::Test {
    Vec p1{1, 0, 0, 0, 0, 0};
    Vec p2{0, 1, 0, 0, 0, 0.5};
    Vec p3{-1, 0, 0, 0, 0, 1.0};
};

TEST(CircleCenter, RightAngleTriangleAndDegenerateInput)
{
    Vec center;
    double radius = 0;
    ASSERT_TRUE(circleCenter({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, center, radius));
    EXPECT_TRUE(samePoint(center, {0.5, 0.5, 0}, 1e-12));
    EXPECT_NEAR(radius, std::sqrt(0.5), 1e-12);

    struct Case {
        char const *name;
        Vec a, b, c;
    };
    for (Case const &c : {Case{"collinear", {0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
                          Case{"coincident", {1, 1, 1}, {1, 1, 1}, {0, 1, 0}},
                          Case{"short point", {0, 0}, {1, 0, 0}, {0, 1, 0}},
                          Case{"NaN", {0, 0, 0}, {NAN, 0, 0}, {0, 1, 0}}}) {
        Vec untouched{7, 7, 7};
        double r = 9;
        EXPECT_FALSE(circleCenter(c.a, c.b, c.c, untouched, r)) << c.name;
        EXPECT_EQ(untouched, (Vec{7, 7, 7})) << c.name;
        EXPECT_EQ(r, 9) << c.name;
    }
}

TEST(CircleCenter, EquidistantFromItsPointsOnRandomCircles)
{
    geometry_test::Random random(515);
    for (int i = 0; i < 500; ++i) {
        Eigen::Vector3d const a = random.vector(2), b = random.vector(2), c = random.vector(2);
        if ((b - a).cross(c - a).norm() < 1e-3) {
            continue;
        }
        Vec center;
        double radius = 0;
        ASSERT_TRUE(circleCenter({a.x(), a.y(), a.z()}, {b.x(), b.y(), b.z()}, {c.x(), c.y(), c.z()}, center,
                                 radius));
        Eigen::Vector3d const m = vec(center);
        double const tol = 1e-9 * std::max(1.0, radius);
        EXPECT_NEAR((m - a).norm(), radius, tol);
        EXPECT_NEAR((m - b).norm(), radius, tol);
        EXPECT_NEAR((m - c).norm(), radius, tol);
        EXPECT_NEAR((m - a).dot((b - a).cross(c - a).normalized()), 0, tol) << "center off the points' plane";
    }
}

TEST(ArePointsCollinear, AbsoluteAreaBound)
{
    EXPECT_TRUE(arePointsCollinear({0, 0, 0}, {1, 0, 0}, {2, 0.0005, 0}));
    EXPECT_FALSE(arePointsCollinear({0, 0, 0}, {1, 0, 0}, {2, 0.002, 0}));
    EXPECT_FALSE(arePointsCollinear({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    EXPECT_TRUE(arePointsCollinear({0, 0, 0}, {1, 0}, {0, 1, 0})) << "no plane without three coordinates";
}

TEST(TangentAtPoint, CounterClockwiseTangentAtNearestCirclePoint)
{
    Vec const a{1, 0, 0}, b{0, 1, 0}, c{-1, 0, 0};
    EXPECT_TRUE(samePoint(tangentXYZAtPFrom3Pts(a, b, c, {0, -2, 0.5}, 1e-9), {1, 0, 0}, 1e-12));
    EXPECT_TRUE(samePoint(tangentXYZAtPFrom3Pts(a, b, c, {3, 0, 0}, 1e-9), {0, 1, 0}, 1e-12));
    Vec const zero{0, 0, 0};
    EXPECT_EQ(tangentXYZAtPFrom3Pts(a, b, c, {0, 0, 5}, 1e-9), zero) << "p above the center";
    EXPECT_EQ(tangentXYZAtPFrom3Pts(a, {2, 0, 0}, {3, 0, 0}, {0, 1, 0}, 1e-9), zero) << "collinear";
    EXPECT_EQ(tangentXYZAtPFrom3Pts(a, b, c, {0, 1, 0, 0}, 1e-9), zero) << "four-element point";
}

TEST_F(UnitCircle, FrameFromThreePoses)
{
    Vec frame{1, 2, 3};
    double angle = -1;
    ASSERT_TRUE(circleFrameFrom3Poses(p1, p2, p3, frame, angle));
    EXPECT_TRUE(samePoint(frame, {0, 0, 0}, 1e-12));
    EXPECT_TRUE(sameRotation(frame, Eigen::Matrix3d::Identity(), 1e-12));
    EXPECT_NEAR(angle, kPi, 1e-12);

    for (Vec const &bad : {Vec{1, 0, 0, 0, 0, 0}, Vec{0, 1, 0, 0, 0}, Vec{0, 1, 0, 0, 0, INFINITY}}) {
        frame = {1, 2, 3};
        angle = -1;
        EXPECT_FALSE(circleFrameFrom3Poses(p1, bad, p3, frame, angle));
        EXPECT_TRUE(frame.empty());
        EXPECT_EQ(angle, 0);
    }
}

TEST_F(UnitCircle, FourthPointClosesTheCircle)
{
    Vec out{42};
    ASSERT_TRUE(circleFourthPoint(p1, p2, p3, 1, out));
    ASSERT_EQ(out.size(), 7u) << "appends, does not clear";
    EXPECT_EQ(out[0], 42);
    Vec const fourth(out.begin() + 1, out.end());
    EXPECT_TRUE(samePoint(fourth, {0, -1, 0}, 1e-12));
    EXPECT_TRUE(sameRotation(fourth, eulerToRotationMatrix(0, 0, 0.5), 1e-12)) << "halfway p1 to p3";

    out.clear();
    EXPECT_FALSE(circleFourthPoint(p1, p2, p3, 2, out));
    EXPECT_EQ(out.size(), 3u) << "the position comes before the mode is looked at";

    out = {5};
    EXPECT_FALSE(circleFourthPoint(p1, p1, p3, 1, out));
    EXPECT_FALSE(circleFourthPoint(p1, {0, 1, 0}, p3, 1, out));
    EXPECT_EQ(out, Vec{5});
}

TEST_F(UnitCircle, ArcCoveringThreeQuartersKeepsP2AsVia)
{
    std::vector<Vec> out;
    ASSERT_TRUE(calculateArcPoint(p1, p2, p3, 1, 0.75, out));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], p1);
    EXPECT_EQ(out[1], p2);
    EXPECT_TRUE(samePoint(out[2], {0, -1, 0}, 1e-12));
    // Past p3 the orientation turns back: t = (2π - 1.5π) / (2π - π) = 0.5 from p1's towards p3's.
    EXPECT_TRUE(sameRotation(out[2], eulerToRotationMatrix(0, 0, 0.5), 1e-12));
}

TEST_F(UnitCircle, ShortArcComputesItsOwnVia)
{
    std::vector<Vec> out;
    ASSERT_TRUE(calculateArcPoint(p1, p2, p3, 1, 0.2, out));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_TRUE(samePoint(out[1], {std::cos(0.2 * kPi), std::sin(0.2 * kPi), 0}, 1e-12));
    EXPECT_TRUE(sameRotation(out[1], eulerToRotationMatrix(0, 0, 0.4 * 0.5), 1e-12));
    EXPECT_TRUE(samePoint(out[2], {std::cos(0.4 * kPi), std::sin(0.4 * kPi), 0}, 1e-12));
    EXPECT_TRUE(sameRotation(out[2], eulerToRotationMatrix(0, 0, 0.4 * 1.0), 1e-12));

    out.clear();
    EXPECT_FALSE(calculateArcPoint(p1, p2, p3, 7, 0.2, out));
    EXPECT_EQ(out, std::vector<Vec>{p1}) << "an unknown mode fails at the first computed orientation";
}

TEST_F(UnitCircle, ArcRejectsRatiosOutsideTheCircle)
{
    for (double ratio : {1.5, -0.1, double(NAN)}) {
        std::vector<Vec> out{{1, 2}};
        EXPECT_FALSE(calculateArcPoint(p1, p2, p3, 1, ratio, out)) << ratio;
        EXPECT_EQ(out, (std::vector<Vec>{{1, 2}}));
    }
}

// Mode 0 carries p1's orientation rigidly with the circle: every new pose is p1's orientation turned
// about the circle's normal by the point's angle. The circle is tilted so that its frame is not the base.
TEST(CircleModeZero, OrientationTurnsWithTheCircle)
{
    Eigen::Matrix3d const tilt =
        Eigen::AngleAxisd(0.7, Eigen::Vector3d(1, 2, 0.5).normalized()).toRotationMatrix();
    Eigen::Vector3d const center(0.3, -0.2, 0.5);
    auto on_circle = [&](double phi, Eigen::Matrix3d const &r) {
        return poseOf(center + tilt * Eigen::Vector3d(0.4 * std::cos(phi), 0.4 * std::sin(phi), 0), r);
    };
    Eigen::Matrix3d const r1 = eulerToRotationMatrix(0.3, -0.4, 1.1);
    Vec const p1 = on_circle(0.0, r1);
    Vec const p2 = on_circle(1.0, eulerToRotationMatrix(-0.2, 0.1, 0.3));
    Vec const p3 = on_circle(2.5, eulerToRotationMatrix(0.5, 0.2, -0.6));
    Eigen::Vector3d const normal = tilt.col(2);
    auto turned = [&](double phi) -> Eigen::Matrix3d {
        return Eigen::AngleAxisd(phi, normal).toRotationMatrix() * r1;
    };

    Vec fourth;
    ASSERT_TRUE(circleFourthPoint(p1, p2, p3, 0, fourth));
    double const phi4 = 2.5 / 2 + kPi;
    EXPECT_TRUE(samePoint(fourth, vec(on_circle(phi4, r1)), 1e-9));
    EXPECT_TRUE(sameRotation(fourth, turned(phi4), 1e-9));

    std::vector<Vec> arc;
    ASSERT_TRUE(calculateArcPoint(p1, p2, p3, 0, 0.1, arc));
    ASSERT_EQ(arc.size(), 3u);
    double const theta = 0.1 * 2 * kPi;
    EXPECT_TRUE(samePoint(arc[1], vec(on_circle(theta / 2, r1)), 1e-9));
    EXPECT_TRUE(sameRotation(arc[1], turned(theta / 2), 1e-9));
    EXPECT_TRUE(samePoint(arc[2], vec(on_circle(theta, r1)), 1e-9));
    EXPECT_TRUE(sameRotation(arc[2], turned(theta), 1e-9));
}

}  // namespace
