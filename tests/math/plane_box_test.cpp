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
using geometry_test::toStdVector3;
using geometry_test::vec;

namespace
{

using Vec = std::vector<double>;
using Points = std::vector<Vec>;

Points pointsOnPlaneZ(double z)
{
    return {{0, 0, z}, {1, 0, z}, {0, 1, z}, {1, 1, z}, {-2, 0.5, z}};
}

TEST(FitPlaneToPoints, NormalPointsAwayFromTheOrigin)
{
    EXPECT_TRUE(samePoint(toStdVector3(fitPlaneToPoints(pointsOnPlaneZ(-1))), {0, 0, -1}, 1e-12));
    EXPECT_TRUE(samePoint(toStdVector3(fitPlaneToPoints(pointsOnPlaneZ(3))), {0, 0, 1}, 1e-12));
    EXPECT_TRUE(fitPlaneToPoints({}).hasNaN());
    EXPECT_TRUE(fitPlaneToPoints({{0, 0, 1}, {1, 0}, {0, 1, 1}}).hasNaN()) << "a point without three values";
}

TEST(DefinePlane, OffsetFormWithNormalOnTheReferenceSide)
{
    Vec plane(4, 9);
    ASSERT_TRUE(definePlane(pointsOnPlaneZ(2), {0, 0, 1}, plane));
    EXPECT_TRUE(samePoint(plane, {0, 0, 0.5}, 1e-12));
    EXPECT_NEAR(plane[3], -1, 1e-12);

    ASSERT_TRUE(definePlane(pointsOnPlaneZ(2), {0, 0, -1}, plane));
    EXPECT_TRUE(samePoint(plane, {0, 0, -0.5}, 1e-12));
    EXPECT_EQ(plane[3], 1);

    Vec short_plane;
    ASSERT_TRUE(definePlane(pointsOnPlaneZ(2), {0, 0, 1}, short_plane));
    EXPECT_EQ(short_plane.size(), 4u) << "a short plane vector is grown, not written past";
}

TEST(DefinePlane, RejectsBadInputAndLeavesThePlaneUntouched)
{
    Points short_later = pointsOnPlaneZ(2);
    short_later[3] = {1, 1};
    Points nan_point = pointsOnPlaneZ(2);
    nan_point[2][1] = NAN;
    struct Case {
        char const *name;
        Points points;
        Vec ref;
    };
    for (Case const &c :
         {Case{"two points", {{0, 0, 1}, {1, 0, 1}}, {0, 0, 1}},
          Case{"short later point", short_later, {0, 0, 1}}, Case{"NaN coordinate", nan_point, {0, 0, 1}},
          Case{"two-element refDir", pointsOnPlaneZ(2), {0, 1}},
          Case{"plane through the origin", {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}}, {0, 0, 1}}}) {
        Vec plane{1, 2, 3, 4};
        EXPECT_FALSE(definePlane(c.points, c.ref, plane)) << c.name;
        EXPECT_EQ(plane, (Vec{1, 2, 3, 4})) << c.name;
    }
}

TEST(Planes, FitAndOffsetFormAgreeOnRandomPlanes)
{
    geometry_test::Random random(4646);
    for (int i = 0; i < 200; ++i) {
        Eigen::Vector3d const normal = random.unitVector();
        double const distance = random.uniform(0.2, 2.0);
        Eigen::Vector3d const u = normal.unitOrthogonal(), w = normal.cross(u);
        Points points;
        for (int k = 0; k < 12; ++k) {
            Eigen::Vector3d const p = distance * normal + random.uniform(-1, 1) * u +
                                      random.uniform(-1, 1) * w + random.uniform(-1e-4, 1e-4) * normal;
            points.push_back({p.x(), p.y(), p.z()});
        }
        Eigen::Vector3d const fitted = fitPlaneToPoints(points);
        Vec plane(4);
        ASSERT_TRUE(definePlane(points, {fitted.x(), fitted.y(), fitted.z()}, plane));
        Eigen::Vector3d const offset_normal = vec(plane).normalized();
        EXPECT_GT(fitted.dot(offset_normal), 1 - 1e-6);
        EXPECT_GT(fitted.dot(normal), 1 - 1e-6) << "the fit points away from the origin";
        EXPECT_NEAR(1 / vec(plane).norm(), distance, 1e-3) << "the offset form's length is 1 / distance";
    }
}

TEST(PlaneFromPose, PassesThroughTheOffsetPointAlongZ)
{
    EXPECT_EQ(calculatePlaneFromPose({0, 0, 0, 0, 0, 0}, 0.1), (Vec{0, 0, -1, 0.1}));
    Vec const pose{0.2, -0.3, 0.4, 0.5, -0.6, 0.7};
    Vec const plane = calculatePlaneFromPose(pose, 0.25);
    Eigen::Vector3d const on = vec(pose) + 0.25 * rotationOf(pose).col(2);
    EXPECT_NEAR(getPlaneDistance(plane.data(), on.data()), 0, 1e-12);
}

TEST(PlanePose, FrameOnThePlaneAndFallbackAxis)
{
    Vec const up = getPlanePose({0, 0, 1}, 0.1, 0.2, true);
    EXPECT_TRUE(samePoint(up, {0, 0, 0.3}, 1e-12));
    EXPECT_TRUE(sameRotation(up, Eigen::Matrix3d::Identity(), 1e-12));
    EXPECT_TRUE(samePoint(getPlanePose({0, 0, 2}, 0.1, 0.2, false), {0, 0, -0.3}, 1e-12));

    Vec const along_x = getPlanePose({1, 0, 0}, 0, 0, true);
    Eigen::Matrix3d expected;
    expected << Eigen::Vector3d(0, 1, 0), Eigen::Vector3d(0, 0, 1), Eigen::Vector3d(1, 0, 0);
    EXPECT_TRUE(sameRotation(along_x, expected, 1e-12));

    EXPECT_EQ(getPlanePose({0, 1}, 0.1, 0.2, true), Vec(6, 0.0));
}

TEST(PlaneFromReference, AppendsTheSignedDisplacement)
{
    EXPECT_EQ(calculatePlaneFromReferenceDisplacement({0, 0, 1}, 0.1, 0.2, false), (Vec{0, 0, 1, 0.1 + 0.2}));
    Vec const plane = calculatePlaneFromReferenceDisplacement({0, 0, 1}, 0.1, 0.2, true);
    Vec const origin = getPlanePose({0, 0, 1}, 0.1, 0.2, true);
    EXPECT_NEAR(getPlaneDistance(plane.data(), origin.data()), 0, 1e-12);
}

TEST(Box, ContainsItsFacesAndNothingBeyond)
{
    double planes[6][4];
    for (auto &row : planes) {
        for (double &v : row) {
            v = NAN;
        }
    }
    double const pose[6] = {0, 0, 0, 0, 0, 0};
    double const size[3] = {2, 2, 2};
    getCubic(pose, size, planes);
    for (auto const &row : planes) {
        for (double v : row) {
            EXPECT_TRUE(std::isfinite(v));
        }
    }
    struct Case {
        double point[3];
        int expected;
    };
    for (Case const &c : {Case{{1, 0, 0}, 1}, Case{{1.001, 0, 0}, -1}, Case{{0, 0, -1.001}, -1},
                          Case{{0.5, -0.5, 0.99}, 1}, Case{{NAN, 0, 0}, 1}}) {
        EXPECT_EQ(isIncludeCubic(planes, c.point), c.expected)
            << c.point[0] << " " << c.point[1] << " " << c.point[2];
    }
}

TEST(Box, RotatedAndMovedBox)
{
    double planes[6][4];
    double const pose[6] = {1, 1, 0, 0, 0, kPi / 4};
    double const size[3] = {2, 0.2, 0.2};
    getCubic(pose, size, planes);
    double const along_long_axis[3] = {1 + 0.6, 1 + 0.6, 0};
    double const across[3] = {1 + 0.3, 1 - 0.3, 0};
    EXPECT_EQ(isIncludeCubic(planes, along_long_axis), 1);
    EXPECT_EQ(isIncludeCubic(planes, across), -1);
}

TEST(TransferRefFrame, TurnsTowardsTheDirection)
{
    Vec const identity{0.1, 0.2, 0.3, 0, 0, 0};
    double const up[3] = {0, 0, 1};
    double const along_x[3] = {2, 0, 0};
    double const diagonal[3] = {1, 1, 0};

    Vec const y_up = transferRefFrame(identity, up, 1);
    Eigen::Matrix3d expected;
    expected << Eigen::Vector3d(1, 0, 0), Eigen::Vector3d(0, 0, 1), Eigen::Vector3d(0, -1, 0);
    EXPECT_TRUE(samePoint(y_up, {0.1, 0.2, 0.3}, 1e-12));
    EXPECT_TRUE(sameRotation(y_up, expected, 1e-12));

    // Old X along dir: Z stays as close to the old Z as possible.
    expected << Eigen::Vector3d(0, -1, 0), Eigen::Vector3d(1, 0, 0), Eigen::Vector3d(0, 0, 1);
    EXPECT_TRUE(sameRotation(transferRefFrame(identity, along_x, 1), expected, 1e-12));

    EXPECT_TRUE(
        sameRotation(transferRefFrame(identity, diagonal, 2), eulerToRotationMatrix(0, 0, kPi / 4), 1e-12));
    Vec const odd{0.1, 0.2, 0.3, 0, 0, 7.0};
    EXPECT_EQ(transferRefFrame(odd, up, 2), odd) << "dir along Z: unchanged, angles as given";
    EXPECT_TRUE(transferRefFrame(identity, up, 3).empty());
}

TEST(ChangePoseWithXYRef, KeepsZAndAlignsX)
{
    Vec const pose{0.1, 0.2, 0.3, 0, 0, 0.4};
    Vec const ref{5, 5, 5, 0, 0, -1.2};
    Vec const same_z = changePoseWithXYRef(pose, ref);
    EXPECT_TRUE(samePoint(same_z, {0.1, 0.2, 0.3}));
    EXPECT_TRUE(sameRotation(same_z, rotationOf(ref), 1e-12)) << "same Z axis: ref's orientation";

    Vec const tilted = changePoseWithXYRef({0, 0, 0, 0.3, 0.2, 0.1}, {0, 0, 0, -0.4, 0.5, 1.0});
    Eigen::Matrix3d const r = rotationOf(tilted);
    EXPECT_TRUE(r.col(2).isApprox(eulerToRotationMatrix(0.3, 0.2, 0.1).col(2), 1e-12));
    EXPECT_NEAR(r.col(0).dot(eulerToRotationMatrix(-0.4, 0.5, 1.0).col(1)), 0, 1e-12);

    EXPECT_EQ(changePoseWithXYRef({0, 0, 0}, ref), Vec(6, 0.0));
}

}  // namespace
