// Arm-level kinematics: forward kinematics and the geometric Jacobian of a modified Denavit-Hartenberg
// chain, the singularity measure of a Jacobian and the joint stiffness curve.

#include <Eigen/SVD>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "math/dh_chain.h"
#include "math/rotation.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

namespace
{

// Columns shorter than this make the Jacobian degenerate.
constexpr double kMinColumnNorm = 1e-12;

// A robot's twists do not change between calls, and their sines and cosines were half the cost of the
// forward kinematics: each thread keeps those of the last twist it saw for each joint. The twist is
// compared bit for bit (0.0 and -0.0 have sines of different sign), so a hit gives exactly the values a
// fresh evaluation would.
constexpr std::size_t kCachedTwists = 16;

struct TwistCache {
    std::array<std::uint64_t, kCachedTwists> bits{};
    std::array<double, kCachedTwists> cos_alpha{};
    std::array<double, kCachedTwists> sin_alpha{};
    std::array<bool, kCachedTwists> filled{};
};

thread_local TwistCache twist_cache;

std::uint64_t bitsOf(double x)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

bool rowsCover(dh::Table const &table, std::size_t count)
{
    for (auto const &row : table) {
        if (row.size() < count) {
            return false;
        }
    }
    return true;
}

// Breakpoints of the joint stiffness ratio curve.
constexpr std::array<double, 6> kStiffX{0.0, 0.1, 0.4, 0.55, 0.8, 1.0};
constexpr std::array<double, 6> kStiffY{0.01, 0.05, 0.1, 0.2, 0.6, 1.0};

double stiffRatio(double x)
{
    if (!(x >= kStiffX.front() && x <= kStiffX.back())) {
        return 0.0;
    }
    std::size_t k = 0;
    while (k + 2 < kStiffX.size() && x > kStiffX[k + 1]) {
        ++k;
    }
    return kStiffY[k] + (x - kStiffX[k]) * (kStiffY[k + 1] - kStiffY[k]) / (kStiffX[k + 1] - kStiffX[k]);
}

}  // namespace

namespace dh
{

Link link(Table const &dh, Table const &compensation, std::size_t joint)
{
    double const alpha = value(dh, compensation, kAlpha, joint);
    Link out{0.0, 0.0, value(dh, compensation, kA, joint), value(dh, compensation, kD, joint),
             value(dh, compensation, kTheta, joint)};
    TwistCache &cache = twist_cache;
    std::size_t const slot = joint % kCachedTwists;
    std::uint64_t const bits = bitsOf(alpha);
    if (!cache.filled[slot] || cache.bits[slot] != bits) {
        cache.bits[slot] = bits;
        cache.cos_alpha[slot] = std::cos(alpha);
        cache.sin_alpha[slot] = std::sin(alpha);
        cache.filled[slot] = true;
    }
    out.cos_alpha = cache.cos_alpha[slot];
    out.sin_alpha = cache.sin_alpha[slot];
    return out;
}

void appendLink(Frame &frame, Link const &link, double q)
{
    double const ca = link.cos_alpha, sa = link.sin_alpha;
    double const ct = std::cos(link.theta + q), st = std::sin(link.theta + q);
    Eigen::Matrix3d &r = frame.rotation;
    Eigen::Vector3d const x = r.col(0);
    Eigen::Vector3d const y = ca * r.col(1) + sa * r.col(2);
    Eigen::Vector3d const z = ca * r.col(2) - sa * r.col(1);
    frame.translation += link.a * x + link.d * z;
    r.col(0) = ct * x + st * y;
    r.col(1) = ct * y - st * x;
    r.col(2) = z;
}

int checkShape(std::size_t joint_count, Table const &dh, Table const &compensation)
{
    if (joint_count == 0 || dh.empty()) {
        return kNoJoints;
    }
    if (dh.size() != kRows || (!compensation.empty() && compensation.size() != kRows)) {
        return kBadTable;
    }
    return 0;
}

int checkCover(std::size_t count, std::vector<double> const &tool, Table const &dh, Table const &compensation,
               bool with_tool)
{
    // Rows shorter than the joints used would be read past their end.
    if (!rowsCover(dh, count) || !rowsCover(compensation, count)) {
        return kBadTable;
    }
    // An empty tool is no tool; any other length is not a pose.
    if (with_tool && !tool.empty() && !hasPoseSize(tool)) {
        return kBadTool;
    }
    return 0;
}

int makeChain(Chain &chain, std::size_t joint_count, std::vector<double> const &tool, Table const &dh,
              Table const &compensation)
{
    if (int const shape = checkShape(joint_count, dh, compensation); shape != 0) {
        return shape;
    }
    if (int const cover = checkCover(joint_count, tool, dh, compensation, true); cover != 0) {
        return cover;
    }
    chain.links.clear();
    chain.links.reserve(joint_count);
    for (std::size_t i = 0; i < joint_count; ++i) {
        chain.links.push_back(link(dh, compensation, i));
    }
    chain.has_tool = !tool.empty();
    if (chain.has_tool) {
        chain.tool_rotation = rpyRotation(tool[3], tool[4], tool[5]);
        chain.tool_translation = Eigen::Vector3d(tool[0], tool[1], tool[2]);
    }
    return 0;
}

void frameAndJacobian(Chain const &chain, double const *q, Frame &tcp, Jacobian &jac)
{
    auto const n = static_cast<Eigen::Index>(chain.links.size());
    jac.resize(6, n);
    tcp = Frame();
    // The top rows hold each joint's origin until the tool point is known.
    for (Eigen::Index i = 0; i < n; ++i) {
        appendLink(tcp, chain.links[static_cast<std::size_t>(i)], q[i]);
        jac.col(i) << tcp.translation, tcp.rotation.col(2);
    }
    if (chain.has_tool) {
        tcp.append(chain.tool_rotation, chain.tool_translation);
    }
    for (Eigen::Index i = 0; i < n; ++i) {
        Eigen::Vector3d const lever = tcp.translation - jac.col(i).head<3>();
        jac.col(i).head<3>() = jac.col(i).tail<3>().cross(lever);
    }
}

}  // namespace dh

int forwardKinematics(std::vector<double> &pose, std::vector<double> const &q,
                      std::vector<double> const &tool, std::vector<std::vector<double>> const &dh,
                      std::vector<std::vector<double>> const &compensation, int joint)
{
    if (int const shape = dh::checkShape(q.size(), dh, compensation); shape != 0) {
        return shape;
    }
    auto const n = static_cast<long long>(q.size());
    if (joint >= n || joint < -1) {
        return dh::kBadJoint;
    }
    bool const with_tool = joint == -1;
    std::size_t const count = with_tool ? q.size() : static_cast<std::size_t>(joint) + 1;
    if (int const cover = dh::checkCover(count, tool, dh, compensation, with_tool); cover != 0) {
        return cover;
    }

    // The joint transforms are composed as matrices and turned into angles once, which equals composing
    // the poses one by one up to rounding.
    dh::Frame frame;
    for (std::size_t i = 0; i < count; ++i) {
        dh::appendLink(frame, dh::link(dh, compensation, i), q[i]);
    }
    if (with_tool && !tool.empty()) {
        frame.append(rpyRotation(tool[3], tool[4], tool[5]), Eigen::Vector3d(tool[0], tool[1], tool[2]));
    }
    Eigen::Vector3d const rpy = rotationRpy(frame.rotation);
    pose.assign({frame.translation[0], frame.translation[1], frame.translation[2], rpy[0], rpy[1], rpy[2]});
    return 0;
}

int jacobian(std::vector<double> &jac, std::vector<double> const &q, std::vector<double> const &tool,
             std::vector<std::vector<double>> const &dh, std::vector<std::vector<double>> const &compensation)
{
    dh::Chain chain;
    if (int const status = dh::makeChain(chain, q.size(), tool, dh, compensation); status != 0) {
        return status;
    }
    dh::Frame tcp;
    dh::Jacobian columns;
    dh::frameAndJacobian(chain, q.data(), tcp, columns);
    jac.resize(columns.size());
    Eigen::Map<Eigen::Matrix<double, 6, Eigen::Dynamic, Eigen::RowMajor>>(jac.data(), 6, columns.cols()) =
        columns;
    return 0;
}

bool calcNormalizedJacobianMinSigma6x6(std::vector<double> const &j, double &min_sigma)
{
    min_sigma = 0.0;
    if (j.size() != 36) {
        return false;
    }
    using Matrix6d = Eigen::Matrix<double, 6, 6>;
    Matrix6d normalized = Eigen::Map<Eigen::Matrix<double, 6, 6, Eigen::RowMajor> const>(j.data());
    for (Eigen::Index c = 0; c < 6; ++c) {
        double const column_norm = normalized.col(c).norm();
        if (column_norm < kMinColumnNorm) {
            return true;
        }
        normalized.col(c) /= column_norm;
    }
    // Singular values come sorted in decreasing order: the smallest is the last.
    min_sigma = Eigen::JacobiSVD<Matrix6d>(normalized).singularValues()(5);
    return true;
}

std::vector<std::vector<double>> calJointStiffRatio(std::vector<double> const &ratios)
{
    std::vector<double> row;
    row.reserve(ratios.size());
    for (double const x : ratios) {
        row.push_back(stiffRatio(x));
    }
    std::vector<std::vector<double>> rows;
    rows.reserve(2);
    rows.push_back(row);
    rows.push_back(std::move(row));
    return rows;
}

}  // namespace robot_math
}  // namespace temla
