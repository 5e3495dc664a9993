// Arm-level kinematics: forward kinematics of a modified Denavit-Hartenberg chain, the singularity
// measure of a Jacobian and the joint stiffness curve.

#include <Eigen/SVD>

#include <array>
#include <cmath>
#include <utility>

#include "math/rotation.h"
#include "robot_proxy/robot_math.h"

namespace temla
{
namespace robot_math
{

namespace
{

enum DhRow { kAlpha = 0, kA = 1, kD = 2, kTheta = 3, kDhRows = 4 };

constexpr int kNoJoints = -1;
constexpr int kBadTable = -2;
constexpr int kBadTool = -3;
constexpr int kBadJoint = -4;

// Columns shorter than this make the Jacobian degenerate.
constexpr double kMinColumnNorm = 1e-12;

struct Frame {
    Eigen::Matrix3d rotation = Eigen::Matrix3d::Identity();
    Eigen::Vector3d translation = Eigen::Vector3d::Zero();

    void append(Eigen::Matrix3d const &r, Eigen::Vector3d const &t)
    {
        translation += rotation * t;
        rotation = rotation * r;
    }
};

double dhValue(std::vector<std::vector<double>> const &dh,
               std::vector<std::vector<double>> const &compensation, DhRow row, std::size_t joint)
{
    return dh[row][joint] + (compensation.empty() ? 0.0 : compensation[row][joint]);
}

// Appends Rx(alpha)·Tx(a)·Tz(d)·Rz(theta): the twist mixes the Y and Z columns, the offsets run along the
// X column and the twisted Z column, and the joint turn mixes the X and Y columns.
void appendJoint(Frame &frame, double alpha, double a, double d, double theta)
{
    double const ca = std::cos(alpha), sa = std::sin(alpha);
    double const ct = std::cos(theta), st = std::sin(theta);
    Eigen::Matrix3d &r = frame.rotation;
    Eigen::Vector3d const x = r.col(0);
    Eigen::Vector3d const y = ca * r.col(1) + sa * r.col(2);
    Eigen::Vector3d const z = ca * r.col(2) - sa * r.col(1);
    frame.translation += a * x + d * z;
    r.col(0) = ct * x + st * y;
    r.col(1) = ct * y - st * x;
    r.col(2) = z;
}

bool rowsCover(std::vector<std::vector<double>> const &table, std::size_t count)
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

int forwardKinematics(std::vector<double> &pose, std::vector<double> const &q,
                      std::vector<double> const &tool, std::vector<std::vector<double>> const &dh,
                      std::vector<std::vector<double>> const &compensation, int joint)
{
    if (q.empty() || dh.empty()) {
        return kNoJoints;
    }
    if (dh.size() != kDhRows || (!compensation.empty() && compensation.size() != kDhRows)) {
        return kBadTable;
    }
    auto const n = static_cast<long long>(q.size());
    if (joint >= n || joint < -1) {
        return kBadJoint;
    }
    bool const with_tool = joint == -1;
    std::size_t const count = with_tool ? q.size() : static_cast<std::size_t>(joint) + 1;
    // Rows shorter than the joints used would be read past their end.
    if (!rowsCover(dh, count) || !rowsCover(compensation, count)) {
        return kBadTable;
    }
    // An empty tool is no tool; any other length is not a pose.
    if (with_tool && !tool.empty() && !hasPoseSize(tool)) {
        return kBadTool;
    }

    // The joint transforms are composed as matrices and turned into angles once, which equals composing
    // the poses one by one up to rounding.
    Frame frame;
    for (std::size_t i = 0; i < count; ++i) {
        appendJoint(frame, dhValue(dh, compensation, kAlpha, i), dhValue(dh, compensation, kA, i),
                    dhValue(dh, compensation, kD, i), dhValue(dh, compensation, kTheta, i) + q[i]);
    }
    if (with_tool && !tool.empty()) {
        frame.append(eulerToRotationMatrix(tool[3], tool[4], tool[5]),
                     Eigen::Vector3d(tool[0], tool[1], tool[2]));
    }
    Eigen::Vector3d const rpy = RotationToEuler(frame.rotation);
    pose.assign({frame.translation[0], frame.translation[1], frame.translation[2], rpy[0], rpy[1], rpy[2]});
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
