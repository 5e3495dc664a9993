// Random-input sweep over the geometry, calibration and path functions: vectors of random lengths
// holding ordinary, huge, tiny, zero, infinite and NaN values. Each call must return (no endless loop) and
// must not read or write outside its vectors; run it under AddressSanitizer and UndefinedBehaviorSanitizer
// to check the latter. The only results checked are the bounds every function promises.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;

namespace
{

using Vec = std::vector<double>;
using Path = std::vector<Vec>;

class Inputs
{
public:
    explicit Inputs(unsigned seed) : engine_(seed) {}

    double value()
    {
        constexpr double kInf = std::numeric_limits<double>::infinity();
        static constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                              kInf,
                                              -kInf,
                                              0.0,
                                              -0.0,
                                              std::numeric_limits<double>::max(),
                                              -std::numeric_limits<double>::max(),
                                              std::numeric_limits<double>::min(),
                                              std::numeric_limits<double>::denorm_min(),
                                              1e-9,
                                              1e154};
        switch (pick(4)) {
            case 0:
                return kSpecial[pick(std::size(kSpecial))];
            case 1:
                return std::uniform_real_distribution<double>(-1e3, 1e3)(engine_);
            default:
                return std::uniform_real_distribution<double>(-2, 2)(engine_);
        }
    }

    // Mostly the length a function expects, so the sweep gets past the size checks.
    Vec vector(std::size_t usual)
    {
        std::size_t const length = pick(3) == 0 ? pick(9) : usual;
        Vec v(length);
        for (double &x : v) {
            x = value();
        }
        return v;
    }

    std::vector<Vec> vectors(std::size_t usual_count, std::size_t usual_length)
    {
        std::size_t const count = pick(3) == 0 ? pick(12) : usual_count;
        std::vector<Vec> out;
        for (std::size_t i = 0; i < count; ++i) {
            out.push_back(vector(usual_length));
        }
        return out;
    }

    int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

    // A step that is ordinary most of the time, so that paths get built.
    double step()
    {
        return pick(2) == 0 ? std::uniform_real_distribution<double>(0.05, 0.5)(engine_) : value();
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_); }

    std::mt19937 engine_;
};

void expectBoundedPath(Path const &path)
{
    EXPECT_LE(path.size(), kMaxPathPoints);
}

constexpr int kRounds = 2000;

TEST(GeometryFuzz, CirclesAndArcs)
{
    Inputs in(1);
    for (int i = 0; i < kRounds; ++i) {
        Vec center;
        double radius = 0;
        circleCenter(in.vector(3), in.vector(3), in.vector(3), center, radius);
        arePointsCollinear(in.vector(3), in.vector(3), in.vector(3));
        EXPECT_EQ(
            tangentXYZAtPFrom3Pts(in.vector(3), in.vector(3), in.vector(3), in.vector(3), in.value()).size(),
            3u);
        Vec frame;
        double angle = 0;
        circleFrameFrom3Poses(in.vector(6), in.vector(6), in.vector(6), frame, angle);
        Vec out;
        circleFourthPoint(in.vector(6), in.vector(6), in.vector(6), in.integer(-1, 2), out);
        EXPECT_LE(out.size(), 6u);
        Path arc;
        calculateArcPoint(in.vector(6), in.vector(6), in.vector(6), in.integer(-1, 2), in.value(), arc);
        EXPECT_LE(arc.size(), 3u);
    }
}

TEST(GeometryFuzz, PlanesBoxesAndFrames)
{
    Inputs in(2);
    for (int i = 0; i < kRounds; ++i) {
        fitPlaneToPoints(in.vectors(5, 3));
        Vec plane = in.vector(4);
        definePlane(in.vectors(5, 3), in.vector(3), plane);
        EXPECT_EQ(calculatePlaneFromPose(in.vector(6), in.value()).size(), 4u);
        getPlanePose(in.vector(3), in.value(), in.value(), in.integer(0, 1) == 1);
        calculatePlaneFromReferenceDisplacement(in.vector(3), in.value(), in.value(), in.integer(0, 1) == 1);

        double pose[6], size[3], point[3], dir[3];
        for (double &v : pose)
            v = in.value();
        for (double &v : size)
            v = in.value();
        for (double &v : point)
            v = in.value();
        for (double &v : dir)
            v = in.value();
        double planes[6][4];
        getCubic(pose, size, planes);
        int const inside = isIncludeCubic(planes, point);
        EXPECT_TRUE(inside == 1 || inside == -1);
        getPlaneDistance(planes[0], point);
        transferRefFrame(in.vector(6), dir, in.integer(0, 3));
        changePoseWithXYRef(in.vector(6), in.vector(6));
    }
}

TEST(GeometryFuzz, Calibration)
{
    Inputs in(3);
    for (int i = 0; i < kRounds / 4; ++i) {
        FlangePoses flange;
        for (Vec const &p : in.vectors(5, 6)) {
            flange.push_back(to_matrix(p));
        }
        calibrateTcp(flange, Eigen::Vector3d(in.value(), in.value(), in.value()), Eigen::Vector3d::Zero());
        Vec tcp;
        EXPECT_EQ(calibrate_tcp(in.vectors(5, 6), tcp), 1);
        EXPECT_EQ(tcp.size(), 3u);
        Vec stats;
        calibrateTCPBasePlane(tcp, stats, in.vectors(4, 3), in.vectors(5, 6));
        Vec frame;
        calibrate_feature(in.vectors(3, 6), in.integer(-1, 6), frame);
        Vec a, b, axis;
        toolAxisFromTwoCircles(in.vectors(8, 6), in.vectors(8, 6), a, b, axis);
        toolPoseInFlangeFromNewZ(in.vector(3), in.vector(3), in.vector(3));
        tcpInFlange(in.vector(3), in.vector(6));
        Vec const line = calibrateLinear(in.vectors(4, 2));
        EXPECT_TRUE(line.empty() || line.size() == 4u);
    }
}

TEST(GeometryFuzz, Paths)
{
    Inputs in(4);
    for (int i = 0; i < kRounds; ++i) {
        expectBoundedPath(pathMovel(in.vector(6), in.value(), in.vector(6), in.value(), in.step()));
        expectBoundedPath(
            pathMovec(in.vector(6), in.value(), in.vector(6), in.vector(6), in.value(), in.step()));
        expectBoundedPath(pathMoveSpiral(in.vector(6), in.vector(6), in.integer(-1, 3), in.value(),
                                         in.value(), in.value(), in.step()));
        Vec delta;
        double const reference = in.value(), radius = in.value(), gain = in.value();
        utlCalDeltaPose(in.vector(6), reference, radius, gain, delta);
    }
}

}  // namespace
