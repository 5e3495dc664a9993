// The robot mathematics on arbitrary doubles (NaN and infinities included) and arbitrary vector
// lengths: each input picks one function and its arguments. Wrong lengths must give the documented
// empty or false results, never a read or write out of bounds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "fuzz_input.h"
#include "robot_proxy/robot_math.h"

namespace
{

namespace rm = temla::robot_math;
using fuzz_input::anyDouble;
using fuzz_input::doubles;
using fuzz_input::rows;
using Vec = std::vector<double>;

template <std::size_t N>
std::array<double, N> fixed(FuzzedDataProvider &in)
{
    std::array<double, N> values{};
    for (auto &value : values) {
        value = anyDouble(in);
    }
    return values;
}

Eigen::Vector3d vector3(FuzzedDataProvider &in)
{
    const auto v = fixed<3>(in);
    return {v[0], v[1], v[2]};
}

const std::vector<std::function<void(FuzzedDataProvider &)>> kCalls = {
    [](FuzzedDataProvider &in) {
        const auto rpy = fixed<3>(in);
        double r[3][3];
        rm::eulerToRotation(rpy.data(), r);
        auto m = fixed<9>(in);
        Vec q = doubles(in, 4);
        rm::MatrixToQuaternion(m.data(), q);
        rm::RotationToEuler(rm::eulerToRotationMatrix(anyDouble(in), anyDouble(in), anyDouble(in)));
    },
    [](FuzzedDataProvider &in) {
        rm::rpy_to_quaternion(doubles(in));
        rm::quaternion_to_rpy(doubles(in));
        rm::axisAngleToEuler(doubles(in), anyDouble(in));
    },
    [](FuzzedDataProvider &in) {
        rm::from_matrix(rm::to_matrix(doubles(in)));
        rm::homMatrixToPose(rm::poseToHomMatrix(doubles(in)));
        rm::homMatrixToPose(doubles(in, 20));
    },
    [](FuzzedDataProvider &in) {
        const Vec a = doubles(in), b = doubles(in);
        rm::pose_trans(a, b);
        rm::pose_inverse(a);
        rm::pose_add(a, b);
        rm::pose_sub(a, b);
        rm::pose_distance(a, b);
        rm::pose_angle_distance(a, b);
        rm::pose_equal(a, b, anyDouble(in));
        rm::pose_direction(a, b);
        rm::pose_axis_angle(a, b, in.ConsumeIntegral<int>());
        rm::interpolate_pose(a, b, anyDouble(in));
        rm::addDeltaPose(a, b);
    },
    [](FuzzedDataProvider &in) {
        Vec q1 = doubles(in), q2 = doubles(in);
        rm::slerp_interp(q1, q2, anyDouble(in));
    },
    [](FuzzedDataProvider &in) {
        const Vec a = doubles(in), b = doubles(in);
        rm::cross(a, b);
        rm::cross_product(a, b);
        rm::dot(a, b);
        rm::norm(a);
        rm::sub(a, b);
        rm::div_num(a, anyDouble(in));
        rm::SIGN(anyDouble(in));
        rm::NORM(anyDouble(in), anyDouble(in), anyDouble(in), anyDouble(in));
        rm::angleBetweenVectors(vector3(in), vector3(in));
    },
    [](FuzzedDataProvider &in) {
        Vec pose = doubles(in), jac = doubles(in);
        const Vec q = doubles(in, 8), tool = doubles(in);
        const auto dh = rows(in, 8, 6), compensation = rows(in, 8, 6);
        rm::forwardKinematics(pose, q, tool, dh, compensation, in.ConsumeIntegral<int>());
        rm::jacobian(jac, q, tool, dh, compensation);
    },
    [](FuzzedDataProvider &in) {
        Vec q = doubles(in, 8);
        const Vec pose = doubles(in), seed = doubles(in, 8), tool = doubles(in);
        const auto dh = rows(in, 8, 6), compensation = rows(in, 8, 6);
        rm::InverseKinematicsOptions options;
        options.max_iterations = in.ConsumeIntegralInRange<int>(-1, 50);
        options.damping = anyDouble(in);
        rm::inverseKinematics(q, pose, seed, tool, dh, compensation, doubles(in, 8), doubles(in, 8), options);
    },
    [](FuzzedDataProvider &in) {
        double min_sigma = 0;
        rm::calcNormalizedJacobianMinSigma6x6(doubles(in, 40), min_sigma);
        rm::calJointStiffRatio(doubles(in));
    },
    [](FuzzedDataProvider &in) {
        rm::combineCenterOfMass(anyDouble(in), fixed<3>(in), anyDouble(in), fixed<3>(in));
        rm::skewSymmetricMatrixFromVector(fixed<3>(in));
        rm::combineInertiaTensor(anyDouble(in), fixed<3>(in), fixed<9>(in), anyDouble(in), fixed<3>(in),
                                 fixed<9>(in), anyDouble(in), fixed<3>(in));
        rm::changeFTBase(doubles(in), doubles(in));
        rm::changeFTFrame(doubles(in), doubles(in));
    },
    [](FuzzedDataProvider &in) {
        const Vec p1 = doubles(in), p2 = doubles(in), p3 = doubles(in);
        Vec center, frame, out;
        double radius = 0, angle = 0;
        std::vector<Vec> arc;
        rm::circleCenter(p1, p2, p3, center, radius);
        rm::arePointsCollinear(p1, p2, p3);
        rm::tangentXYZAtPFrom3Pts(p1, p2, p3, doubles(in), anyDouble(in));
        rm::circleFrameFrom3Poses(p1, p2, p3, frame, angle);
        rm::circleFourthPoint(p1, p2, p3, in.ConsumeIntegral<int>(), out);
        rm::calculateArcPoint(p1, p2, p3, in.ConsumeIntegral<int>(), anyDouble(in), arc);
    },
    [](FuzzedDataProvider &in) {
        const auto points = rows(in);
        Vec plane;
        rm::fitPlaneToPoints(points);
        rm::definePlane(points, doubles(in), plane);
        rm::calculatePlaneFromPose(doubles(in), anyDouble(in));
        rm::getPlanePose(doubles(in), anyDouble(in), anyDouble(in), in.ConsumeBool());
        rm::calculatePlaneFromReferenceDisplacement(doubles(in), anyDouble(in), anyDouble(in),
                                                    in.ConsumeBool());
    },
    [](FuzzedDataProvider &in) {
        const auto pose = fixed<6>(in);
        const auto size = fixed<3>(in);
        const auto point = fixed<3>(in);
        const auto plane = fixed<4>(in);
        double planes[6][4];
        rm::getCubic(pose.data(), size.data(), planes);
        rm::isIncludeCubic(planes, point.data());
        rm::getPlaneDistance(plane.data(), point.data());
        const auto dir = fixed<3>(in);
        rm::transferRefFrame(doubles(in), dir.data(), in.ConsumeIntegral<int>());
        rm::changePoseWithXYRef(doubles(in), doubles(in));
    },
    [](FuzzedDataProvider &in) {
        rm::FlangePoses flanges(in.ConsumeIntegralInRange<std::size_t>(0, 8));
        for (auto &flange : flanges) {
            flange = rm::to_matrix(doubles(in, 6));
        }
        rm::calibrateTcp(flanges, vector3(in), vector3(in));
        Vec tcp, stats, frame;
        rm::calibrate_tcp(rows(in), tcp);
        rm::calibrateTCPBasePlane(tcp, stats, rows(in), rows(in));
        rm::calibrate_feature(rows(in), in.ConsumeIntegral<int>(), frame);
    },
    [](FuzzedDataProvider &in) {
        Vec a, b, axis, delta;
        rm::toolAxisFromTwoCircles(rows(in), rows(in), a, b, axis);
        rm::toolPoseInFlangeFromNewZ(doubles(in), doubles(in), doubles(in));
        rm::tcpInFlange(doubles(in), doubles(in));
        rm::calibrateLinear(rows(in));
        const double reference = anyDouble(in), radius = anyDouble(in), gain = anyDouble(in);
        rm::utlCalDeltaPose(doubles(in), reference, radius, gain, delta);
    },
    [](FuzzedDataProvider &in) {
        const Vec start = doubles(in), via = doubles(in), end = doubles(in);
        rm::pathMovel(start, anyDouble(in), end, anyDouble(in), anyDouble(in));
        rm::pathMovec(start, anyDouble(in), via, end, anyDouble(in), anyDouble(in));
        rm::pathMoveSpiral(start, via, in.ConsumeIntegral<int>(), anyDouble(in), anyDouble(in), anyDouble(in),
                           anyDouble(in));
    },
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    kCalls[in.ConsumeIntegralInRange<std::size_t>(0, kCalls.size() - 1)](in);
    return 0;
}
