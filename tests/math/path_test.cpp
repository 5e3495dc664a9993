#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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
using Path = std::vector<Vec>;

Vec xs(Path const &path)
{
    Vec out;
    for (auto const &p : path) {
        out.push_back(p[0]);
    }
    return out;
}

void expectNear(Vec const &actual, Vec const &expected, double tol)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], tol) << "at " << i;
    }
}

TEST(PathMovel, SpacingAndOffsets)
{
    Vec const start{0, 0, 0, 0, 0, 0}, end{1, 0, 0, 0, 0, 0};
    struct Case {
        double start_offset, end_offset;
        Vec x;
    };
    for (Case const &c :
         {Case{0, 0, {0, 0.3, 0.6, 0.9, 1.0}}, Case{0.5, 0.25, {0.5, 0.75}}, Case{0.9, 0.2, {0.8}}}) {
        Path const path = pathMovel(start, c.start_offset, end, c.end_offset, 0.3);
        expectNear(xs(path), c.x, 1e-12);
        for (auto const &p : path) {
            EXPECT_EQ(p.size(), 6u);
        }
    }
}

TEST(PathMovel, OrientationFollowsTheShareOfLength)
{
    Path const path = pathMovel({0, 0, 0, 0, 0, 0}, 0, {2, 0, 0, 0, 0, kPi / 2}, 0, 1.0);
    ASSERT_EQ(path.size(), 3u);
    EXPECT_TRUE(samePoint(path[1], {1, 0, 0}));
    EXPECT_NEAR(path[1][5], kPi / 4, 1e-12);
}

TEST(PathMovel, DegenerateInputGivesStartOrNothing)
{
    Vec const start{0.1, 0.2, 0.3, 0.1, 0.2, 0.3};
    EXPECT_EQ(pathMovel(start, 0, {0.1, 0.2, 0.3, 1, 1, 1}, 0, 0.1), Path{start}) << "coincident ends";
    Vec const end{1, 0, 0, 0, 0, 0};
    double const inf = std::numeric_limits<double>::infinity();
    for (double step : {0.0, -0.1, double(NAN), inf, 1e-300}) {
        EXPECT_TRUE(pathMovel(start, 0, end, 0, step).empty()) << step;
    }
    EXPECT_TRUE(pathMovel(start, -inf, end, 0, 0.1).empty());
    EXPECT_TRUE(pathMovel(start, 0, {1, 0, 0, 0, 0}, 0, 0.1).empty());
    EXPECT_TRUE(pathMovel(start, 0, {NAN, 0, 0, 0, 0, 0}, 0, 0.1).empty());
}

TEST(PathMovec, HalfCircleByAngleSteps)
{
    Path const path = pathMovec({1, 0, 0, 0, 0, 0}, 0, {0, 1, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}, 0, 0.7);
    ASSERT_EQ(path.size(), 5u) << "the end at π is not included";
    for (std::size_t i = 0; i < path.size(); ++i) {
        double const phi = 0.7 * static_cast<double>(i);
        EXPECT_TRUE(samePoint(path[i], {std::cos(phi), std::sin(phi), 0}, 1e-12)) << i;
    }
}

TEST(PathMovec, FallsBackToTheStraightPath)
{
    Vec const start{0, 0, 0, 0, 0, 0}, end{1, 0, 0, 0, 0, 0};
    Path const straight = pathMovel(start, 0, end, 0, 0.25);
    EXPECT_EQ(pathMovec(start, 0, {0.5, 0, 0, 0, 0, 0}, end, 0, 0.25), straight) << "collinear";
    EXPECT_EQ(pathMovec(start, 0, {0.00001, 0, 0, 0, 0, 0}, end, 0, 0.25), straight) << "via at the start";
    EXPECT_TRUE(pathMovec(start, 0, start, {0, 0.00005, 0, 0, 0, 0}, 0, 0.25).empty()) << "all at the start";
    EXPECT_TRUE(pathMovec(start, 0, {0, 1, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}, 0, 0).empty()) << "zero step";
}

// Random arcs: every way point lies on the circle through the three poses, the angle grows by one step
// per point and the path stops short of the end.
TEST(PathMovec, WayPointsOnTheCircleAndMonotonicInAngle)
{
    geometry_test::Random random(6060);
    int checked = 0;
    for (int trial = 0; trial < 200; ++trial) {
        Eigen::Vector3d const a = random.vector(1), b = random.vector(1), c = random.vector(1);
        if ((b - a).cross(c - a).norm() < 0.05 || (b - a).norm() < 0.05 || (c - a).norm() < 0.05) {
            continue;
        }
        Vec center;
        double radius = 0;
        ASSERT_TRUE(circleCenter(geometry_test::toStdVector3(a), geometry_test::toStdVector3(b),
                                 geometry_test::toStdVector3(c), center, radius));
        Eigen::Vector3d const m = vec(center);
        Eigen::Vector3d const z = (b - a).cross(c - b).normalized();
        Eigen::Vector3d const x = (a - m).normalized(), y = z.cross(x);
        Vec const start = poseOf(a, Eigen::Matrix3d::Identity());
        Vec const via = poseOf(b, Eigen::Matrix3d::Identity());
        Vec const end = poseOf(c, eulerToRotationMatrix(0.2, 0.1, 0.3));
        double const step = random.uniform(0.01, 0.5);
        Path const path = pathMovec(start, 0, via, end, 0, step);
        ASSERT_FALSE(path.empty());
        double const end_angle = std::fmod(std::atan2((c - m).dot(y), (c - m).dot(x)) + 2 * kPi, 2 * kPi);
        EXPECT_EQ(path.size(), static_cast<std::size_t>(std::ceil(end_angle / step)));
        for (std::size_t i = 0; i < path.size(); ++i) {
            Eigen::Vector3d const d = vec(path[i]) - m;
            EXPECT_NEAR(d.norm(), radius, 1e-9 * std::max(1.0, radius));
            EXPECT_NEAR(d.dot(z), 0, 1e-9 * std::max(1.0, radius));
            double const angle = std::fmod(std::atan2(d.dot(y), d.dot(x)) + 2 * kPi, 2 * kPi);
            EXPECT_NEAR(std::remainder(angle - step * static_cast<double>(i), 2 * kPi), 0, 1e-7);
            EXPECT_LT(step * static_cast<double>(i), end_angle);
        }
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(PathMoveSpiral, GrowingRadiusInTheChosenPlane)
{
    Path const path = pathMoveSpiral({0.1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 0, 2 * kPi, 0.05, 0, kPi / 2);
    Path const expected{{0.1, 0, 0}, {0, 0.1125, 0}, {-0.125, 0, 0}, {0, -0.1375, 0}, {0.15, 0, 0}};
    ASSERT_EQ(path.size(), expected.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        EXPECT_TRUE(samePoint(path[i], vec(expected[i]), 1e-12)) << i;
        EXPECT_EQ(path[i].size(), 3u);
    }
    Path const advancing = pathMoveSpiral({0.1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 0, 4 * kPi, 0, 0.01, 0.1);
    EXPECT_NEAR(advancing.back()[2], 0.02, 1e-12) << "two turns advance twice along the normal";
}

TEST(PathMoveSpiral, DegenerateInput)
{
    Vec const start{0.1, 0, 0, 0, 0, 0}, center{0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(pathMoveSpiral(start, center, 3, 2 * kPi, 0.05, 0, 0.1).empty());
    EXPECT_TRUE(pathMoveSpiral(start, center, -1, 2 * kPi, 0.05, 0, 0.1).empty());
    EXPECT_TRUE(pathMoveSpiral(center, center, 0, 2 * kPi, 0.05, 0, 0.1).empty()) << "start at the center";
    EXPECT_TRUE(pathMoveSpiral(start, center, 0, 2 * kPi, 0.05, 0, 0).empty());
    EXPECT_TRUE(pathMoveSpiral(start, center, 0, 2 * kPi, 0.05, 0, -0.1).empty());
    EXPECT_TRUE(pathMoveSpiral(start, center, 0, 1e12, 0.05, 0, 1e-6).empty()) << "too many way points";
    EXPECT_TRUE(pathMoveSpiral(start, {0, 0, 0}, 0, 2 * kPi, 0.05, 0, 0.1).empty());

    // A non-positive total angle gives one point: radius and advance at the angle, direction at its negative.
    Path const single = pathMoveSpiral(start, center, 0, -kPi / 2, 0.05, 0.04, 0.1);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_TRUE(samePoint(single[0], {0, 0.1 - 0.0125, -0.01}, 1e-12));
}

TEST(UtlCalDeltaPose, HeightAndTilt)
{
    Vec delta{9};
    ASSERT_TRUE(utlCalDeltaPose({0.1, 0.1, 0.1, 0.1}, 0.08, 0.05, 1.0, delta));
    expectNear(delta, {0, 0, 0.02, 0, 0, 0}, 1e-12);

    // The surface rises along +X with slope 0.1: turning +Z onto its normal is a rotation about -Y.
    double const radius = 0.05, slope = 0.1;
    Vec readings;
    for (int i = 0; i < 8; ++i) {
        readings.push_back(0.1 + slope * radius * std::cos(2 * kPi * i / 8));
    }
    ASSERT_TRUE(utlCalDeltaPose(readings, 0.1, radius, 0.5, delta));
    expectNear(delta, {0, 0, 0, 0, -0.5 * std::atan(slope), 0}, 1e-9);

    delta = {7};
    EXPECT_FALSE(utlCalDeltaPose({0.1, 0.1, 0.1}, 0.08, 0.05, 1.0, delta));
    EXPECT_FALSE(utlCalDeltaPose({0.1, NAN, 0.1, 0.1}, 0.08, 0.05, 1.0, delta));
    EXPECT_FALSE(utlCalDeltaPose({0, 0, 0, 0}, 0.08, 0.05, 1.0, delta)) << "a plane through the origin";
    EXPECT_EQ(delta, Vec{7});
}

}  // namespace
