#pragma once

// The modified Denavit-Hartenberg chain behind forwardKinematics, jacobian and inverseKinematics (private to
// the library): the table checks with their error codes and the joint-by-joint composition.

#include <cstddef>
#include <vector>

#include <Eigen/Core>

namespace temla
{
namespace robot_math
{
namespace dh
{

enum Row { kAlpha = 0, kA = 1, kD = 2, kTheta = 3, kRows = 4 };

inline constexpr int kNoJoints = -1;
inline constexpr int kBadTable = -2;
inline constexpr int kBadTool = -3;
inline constexpr int kBadJoint = -4;

using Table = std::vector<std::vector<double>>;

struct Frame {
    Eigen::Matrix3d rotation = Eigen::Matrix3d::Identity();
    Eigen::Vector3d translation = Eigen::Vector3d::Zero();

    void append(Eigen::Matrix3d const &r, Eigen::Vector3d const &t)
    {
        translation += rotation * t;
        rotation = rotation * r;
    }
};

// One joint's parameters with the compensation added; the twist's sine and cosine are taken once.
struct Link {
    double cos_alpha;
    double sin_alpha;
    double a;
    double d;
    double theta;
};

inline double value(Table const &dh, Table const &compensation, Row row, std::size_t joint)
{
    return dh[row][joint] + (compensation.empty() ? 0.0 : compensation[row][joint]);
}

Link link(Table const &dh, Table const &compensation, std::size_t joint);

// Appends Rx(alpha)·Tx(a)·Tz(d)·Rz(theta + q): the twist mixes the Y and Z columns, the offsets run along the
// X column and the twisted Z column, and the joint turn mixes the X and Y columns. The Z column and the
// origin after the call are the joint's axis and a point on it.
void appendLink(Frame &frame, Link const &link, double q);

// 0, or forwardKinematics' code for empty joints or tables (-1) and tables without four rows (-2).
int checkShape(std::size_t joint_count, Table const &dh, Table const &compensation);

// 0, or -2 when a row has fewer than count values, -3 when with_tool and the tool is neither empty nor a
// pose.
int checkCover(std::size_t count, std::vector<double> const &tool, Table const &dh, Table const &compensation,
               bool with_tool);

// A checked chain of joints and its tool, ready to be evaluated many times.
struct Chain {
    std::vector<Link> links;
    bool has_tool = false;
    Eigen::Matrix3d tool_rotation = Eigen::Matrix3d::Identity();
    Eigen::Vector3d tool_translation = Eigen::Vector3d::Zero();
};

// Checks the tables and tool for joint_count joints as forwardKinematics does for the TCP; 0 or its code.
int makeChain(Chain &chain, std::size_t joint_count, std::vector<double> const &tool, Table const &dh,
              Table const &compensation);

using Jacobian = Eigen::Matrix<double, 6, Eigen::Dynamic>;

// The TCP frame at q (chain.links.size() values) and the geometric Jacobian at the tool point: column i is
// [z_i × (p - o_i); z_i] for joint i's axis z_i through o_i, all in the base frame.
void frameAndJacobian(Chain const &chain, double const *q, Frame &tcp, Jacobian &jac);

}  // namespace dh
}  // namespace robot_math
}  // namespace temla
