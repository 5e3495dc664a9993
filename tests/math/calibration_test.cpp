#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry_test_support.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using geometry_test::kPi;
using geometry_test::poseOf;
using geometry_test::rotationOf;
using geometry_test::samePoint;
using geometry_test::sameRotation;
using geometry_test::toStdVector3;
using geometry_test::vec;

namespace
{

using Vec = std::vector<double>;

Eigen::Affine3d flangeTouching(Eigen::Vector3d const &point, Eigen::Matrix3d const &r,
                               Eigen::Vector3d const &tcp)
{
    Eigen::Affine3d t = Eigen::Affine3d::Identity();
    t.linear() = r;
    t.translation() = point - r * tcp;
    return t;
}

// Flange poses touching one point with a tool, tilted up to 40° about random axes.
struct TouchedPoint : ::testing::Test {
    Eigen::Vector3d const tcp{0.012, -0.034, 0.153};
    Eigen::Vector3d const point{0.45, -0.2, 0.08};
    geometry_test::Random random{2024};

    FlangePoses poses(int count, double position_noise = 0)
    {
        std::normal_distribution<double> noise(0, position_noise > 0 ? position_noise : 1);
        FlangePoses out;
        for (int i = 0; i < count; ++i) {
            Eigen::Affine3d t = flangeTouching(point, random.rotation(0.7), tcp);
            if (position_noise > 0) {
                t.translation() +=
                    Eigen::Vector3d(noise(random.engine()), noise(random.engine()), noise(random.engine()));
            }
            out.push_back(t);
        }
        return out;
    }
};

TEST_F(TouchedPoint, RecoversToolAndPointFromExactPoses)
{
    for (int count : {4, 6, 12}) {
        TcpCalibrationResult const result =
            calibrateTcp(poses(count), Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero());
        EXPECT_TRUE(result.converged) << count;
        EXPECT_LT((result.tcp - tcp).norm(), 1e-6) << count;
        EXPECT_LT((result.point - point).norm(), 1e-6) << count;
        EXPECT_LT(result.error, 1e-12) << count;
    }
}

// Position noise of 0.1 mm (standard deviation, per axis) moves the solution by well under 1 mm.
TEST_F(TouchedPoint, RecoversToolAndPointWithSmallNoise)
{
    for (int trial = 0; trial < 5; ++trial) {
        TcpCalibrationResult const result =
            calibrateTcp(poses(10, 1e-4), Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero());
        EXPECT_TRUE(result.converged);
        EXPECT_LT((result.tcp - tcp).norm(), 1e-3);
        EXPECT_LT((result.point - point).norm(), 1e-3);
    }
}

TEST_F(TouchedPoint, VectorFormReturnsTheTool)
{
    std::vector<Vec> pose_vectors;
    for (auto const &t : poses(6)) {
        pose_vectors.push_back(from_matrix(t));
    }
    Vec out{1, 2};
    EXPECT_EQ(calibrate_tcp(pose_vectors, out), 1);
    EXPECT_TRUE(samePoint(out, tcp, 1e-6));
    EXPECT_EQ(out.size(), 3u);
}

// Poses that leave the tool point undetermined converge in the solver's sense; they must not be reported
// as a calibration.
TEST_F(TouchedPoint, UndeterminedPosesAreNotConverged)
{
    Eigen::Vector3d const axis = Eigen::Vector3d(0.2, -0.3, 1).normalized();
    FlangePoses one_axis, one_orientation, two_orientations;
    Eigen::Matrix3d const base = random.rotation(0.5);
    Eigen::Matrix3d const other = random.rotation(0.5) * base;
    for (int i = 0; i < 8; ++i) {
        one_axis.push_back(flangeTouching(point, Eigen::AngleAxisd(0.3 * i - 1, axis) * base, tcp));
        one_orientation.push_back(flangeTouching(point, base, tcp));
        two_orientations.push_back(flangeTouching(point, i % 2 ? base : other, tcp));
    }
    for (auto const *set : {&one_axis, &one_orientation, &two_orientations}) {
        TcpCalibrationResult const result =
            calibrateTcp(*set, Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero());
        EXPECT_FALSE(result.converged);
    }
    TcpCalibrationResult const none = calibrateTcp({}, Eigen::Vector3d(1, 2, 3), Eigen::Vector3d(4, 5, 6));
    EXPECT_FALSE(none.converged);
    EXPECT_EQ(none.error, 0);
    EXPECT_EQ(none.tcp, Eigen::Vector3d(1, 2, 3));
    EXPECT_FALSE(calibrateTcp(poses(6), Eigen::Vector3d(NAN, 0, 0), Eigen::Vector3d::Zero()).converged);

    Vec out;
    EXPECT_EQ(calibrate_tcp({}, out), 1);
    EXPECT_EQ(out.size(), 3u);
}

struct TouchedPlane : ::testing::Test {
    Eigen::Vector3d const tcp{-0.02, 0.015, 0.21};
    double const height = 0.3;
    std::vector<Vec> const plane_points{{0, 0, 0.3}, {1, 0, 0.3}, {0, 1, 0.3}, {0.5, 0.7, 0.3}};

    std::vector<Vec> flangePoses(int count)
    {
        geometry_test::Random random(77);
        std::vector<Vec> out;
        for (int i = 0; i < count; ++i) {
            Eigen::Vector3d const touch(random.uniform(-0.5, 0.5), random.uniform(-0.5, 0.5), height);
            out.push_back(from_matrix(flangeTouching(touch, random.rotation(0.8), tcp)));
        }
        return out;
    }
};

TEST_F(TouchedPlane, RecoversToolFromExactTouches)
{
    Vec out;
    Vec stats{-1};
    ASSERT_EQ(calibrateTCPBasePlane(out, stats, plane_points, flangePoses(8)), 0);
    EXPECT_TRUE(samePoint(out, tcp, 1e-9));
    ASSERT_EQ(stats.size(), 4u) << "statistics are appended";
    for (int i = 1; i < 4; ++i) {
        EXPECT_LT(stats[i], 1e-10);
    }
}

TEST_F(TouchedPlane, ErrorCodesInOrderLeaveOutputsUntouched)
{
    std::vector<Vec> five_element = flangePoses(4);
    five_element[2].pop_back();
    std::vector<Vec> nan_pose = flangePoses(4);
    nan_pose[1][4] = NAN;
    std::vector<Vec> bad_plane = plane_points;
    bad_plane[0][2] = NAN;
    struct Case {
        std::vector<Vec> plane, flange;
        int code;
    };
    for (Case const &c : {Case{{{0, 0, 1}, {1, 0, 1}}, flangePoses(2), -1},
                          Case{plane_points, flangePoses(3), -2}, Case{plane_points, five_element, -3},
                          Case{plane_points, nan_pose, -3}, Case{bad_plane, flangePoses(4), -4}}) {
        Vec out{9};
        Vec stats{8};
        EXPECT_EQ(calibrateTCPBasePlane(out, stats, c.plane, c.flange), c.code);
        EXPECT_EQ(out, Vec{9});
        EXPECT_EQ(stats, Vec{8});
    }
}

TEST(CalibrateFeature, EveryTypeIsARightHandedFrameAtTheOrigin)
{
    std::vector<Vec> const points{
        {0.1, 0.2, 0.3, 0, 0, 0}, {1.1, 0.2, 0.3, 0, 0, 0}, {0.1, 1.2, 0.3, 1, 2, 3}};
    Eigen::Vector3d const a(1, 0, 0), m(0, 1, 0), n(0, 0, 1);
    struct Case {
        int type;
        Eigen::Vector3d x, y, z;
    };
    for (Case const &c : {Case{0, a, m, n}, Case{1, a, -n, m}, Case{2, m, n, a}, Case{3, m, a, -n},
                          Case{4, n, a, m}, Case{5, -n, m, a}}) {
        Vec frame;
        ASSERT_EQ(calibrate_feature(points, c.type, frame), 1) << c.type;
        Eigen::Matrix3d expected;
        expected << c.x, c.y, c.z;
        EXPECT_TRUE(samePoint(frame, {0.1, 0.2, 0.3}, 1e-12)) << c.type;
        EXPECT_TRUE(sameRotation(frame, expected, 1e-12)) << c.type;
    }
    Vec frame;
    ASSERT_EQ(calibrate_feature({{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}}, 2, frame), 1);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(frame[i], (Vec{0, 0, 0, kPi / 2, 0, kPi / 2})[i], 1e-12);
    }
}

TEST(CalibrateFeature, FailuresLeaveTheFrameUntouched)
{
    std::vector<Vec> const good{{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}};
    std::vector<Vec> const collinear{{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}};
    std::vector<Vec> const coincident{{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}};
    std::vector<Vec> const short_pose{{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}};
    struct Case {
        char const *name;
        std::vector<Vec> points;
        int type;
    };
    for (Case const &c : {Case{"collinear", collinear, 0}, Case{"coincident", coincident, 0},
                          Case{"short pose", short_pose, 0}, Case{"two poses", {good[0], good[1]}, 0},
                          Case{"type 6", good, 6}, Case{"type -1", good, -1}}) {
        Vec frame{7};
        EXPECT_EQ(calibrate_feature(c.points, c.type, frame), 0) << c.name;
        EXPECT_EQ(frame, Vec{7}) << c.name;
    }
}

// Eight poses whose pair midpoints lie at point ± (1, 0, 0) and point ± (0, 1, 0): the two lines cross
// at point.
std::vector<Vec> crossingSet(Eigen::Vector3d const &point)
{
    std::vector<Vec> set;
    for (Eigen::Vector3d const &mid : {Eigen::Vector3d(-1, 0, 0), Eigen::Vector3d(1, 0, 0),
                                       Eigen::Vector3d(0, -1, 0), Eigen::Vector3d(0, 1, 0)}) {
        Eigen::Vector3d const spread(0, 0, 0.2);
        Eigen::Vector3d const p = point + mid;
        set.push_back({p.x() + spread.x(), p.y(), p.z() + spread.z(), 0, 0, 0});
        set.push_back({p.x() - spread.x(), p.y(), p.z() - spread.z(), 0, 0, 0});
    }
    return set;
}

TEST(ToolAxisFromTwoCircles, AxisBetweenTheTwoCrossings)
{
    Vec point_a, point_b, axis;
    ASSERT_EQ(
        toolAxisFromTwoCircles(crossingSet({0, 0, 0.1}), crossingSet({0, 0, 0.4}), point_a, point_b, axis),
        1);
    EXPECT_TRUE(samePoint(point_a, {0, 0, 0.1}, 1e-12));
    EXPECT_TRUE(samePoint(point_b, {0, 0, 0.4}, 1e-12));
    EXPECT_TRUE(samePoint(axis, {0, 0, 1}, 1e-12));

    axis = {5};
    EXPECT_EQ(
        toolAxisFromTwoCircles(crossingSet({0, 0, 0.1}), crossingSet({0, 0, 0.1}), point_a, point_b, axis),
        0);
    EXPECT_EQ(axis, Vec{5});
    std::vector<Vec> seven = crossingSet({0, 0, 0.1});
    seven.pop_back();
    EXPECT_EQ(toolAxisFromTwoCircles(seven, crossingSet({0, 0, 0.4}), point_a, point_b, axis), 0);
    EXPECT_TRUE(point_a.empty());
    EXPECT_EQ(point_b.size(), 3u);
}

TEST(ToolPoseInFlangeFromNewZ, ZAlongTheRequestedDirection)
{
    Vec const unchanged = toolPoseInFlangeFromNewZ({0, 0, 0}, {0, 0, 0}, {0, 0, 2});
    ASSERT_EQ(unchanged.size(), 3u);
    for (double v : unchanged) {
        EXPECT_NEAR(v, 0, 1e-12);
    }
    Vec const fallback = toolPoseInFlangeFromNewZ({0, 0, 0}, {0, 0, 0}, {1, 0, 0});
    ASSERT_EQ(fallback.size(), 3u);
    EXPECT_NEAR(fallback[0], -kPi / 2, 1e-12);
    EXPECT_NEAR(fallback[1], 0, 1e-12);
    EXPECT_NEAR(fallback[2], -kPi / 2, 1e-12);

    geometry_test::Random random(99);
    for (int i = 0; i < 100; ++i) {
        Vec const flange{random.uniform(-3, 3), random.uniform(-1.5, 1.5), random.uniform(-3, 3)};
        Vec const tool{random.uniform(-3, 3), random.uniform(-1.5, 1.5), random.uniform(-3, 3)};
        Eigen::Vector3d const wanted = random.vector(1);
        Vec const rpy = toolPoseInFlangeFromNewZ(flange, tool, toStdVector3(wanted));
        ASSERT_EQ(rpy.size(), 3u);
        Eigen::Vector3d const z = eulerToRotationMatrix(flange[0], flange[1], flange[2]) *
                                  eulerToRotationMatrix(rpy[0], rpy[1], rpy[2]).col(2);
        EXPECT_TRUE(z.isApprox(wanted.normalized(), 1e-9));
    }
    EXPECT_TRUE(toolPoseInFlangeFromNewZ({0, 0, 0}, {0, 0, 0}, {0, 0, 0}).empty());
    EXPECT_TRUE(toolPoseInFlangeFromNewZ({0, 0}, {0, 0, 0}, {0, 0, 1}).empty());
}

TEST(TcpInFlange, BasePointInFlangeCoordinates)
{
    Vec const flange{0.3, -0.1, 0.6, 0.4, -0.2, 1.3};
    Eigen::Vector3d const c(0.01, 0.02, 0.15);
    Eigen::Vector3d const base_point = vec(flange) + rotationOf(flange) * c;
    EXPECT_TRUE(samePoint(tcpInFlange(toStdVector3(base_point), flange), c, 1e-12));
    EXPECT_TRUE(tcpInFlange({1, 2}, flange).empty());
    EXPECT_TRUE(tcpInFlange({1, 2, 3}, {0, 0, 0}).empty());
}

TEST(CalibrateLinear, FitAndRejections)
{
    Vec const fit = calibrateLinear({{0, 1}, {1, 3}, {2, 5}});
    ASSERT_EQ(fit.size(), 4u);
    EXPECT_NEAR(fit[0], 2, 1e-12);
    EXPECT_NEAR(fit[1], 1, 1e-12);
    EXPECT_NEAR(fit[2], 0, 1e-12);
    EXPECT_NEAR(fit[3], 0, 1e-12);

    Vec const noisy = calibrateLinear({{0, 0}, {1, 1.1}, {2, 1.9}, {3, 3}});
    ASSERT_EQ(noisy.size(), 4u);
    EXPECT_NEAR(noisy[2], 0.09, 1e-9);

    for (std::vector<Vec> const &bad : std::vector<std::vector<Vec>>{{{0, 1}},
                                                                     {{0, 1}, {1, 2, 3}},
                                                                     {{1, 1}, {1, 3}, {1, 5}},
                                                                     {{0, 1}, {NAN, 3}},
                                                                     {{0, 1}, {1, INFINITY}}}) {
        EXPECT_TRUE(calibrateLinear(bad).empty());
    }
}

}  // namespace
