#pragma once

// The library's modified Denavit-Hartenberg chain as an orocos KDL chain, and KDL frames as poses, for the
// comparison test and the benchmarks.

#include <vector>

#include <kdl/chain.hpp>
#include <kdl/frames.hpp>

namespace kdl_chain
{

using Table = std::vector<std::vector<double>>;

// Rx(alpha)·Tx(a)·Tz(d)·Rz(theta) of joint i; Rz(theta + q) = Rz(theta)·Rz(q), so the joint rotation
// follows as the next segment's joint.
inline KDL::Frame linkFrame(Table const &dh, Table const &comp, std::size_t i)
{
    auto const v = [&](std::size_t row) { return dh[row][i] + (comp.empty() ? 0.0 : comp[row][i]); };
    return KDL::Frame(KDL::Rotation::RotX(v(0)), KDL::Vector::Zero()) *
           KDL::Frame(KDL::Vector(v(1), 0, v(2))) * KDL::Frame(KDL::Rotation::RotZ(v(3)));
}

inline KDL::Chain fromDh(Table const &dh, Table const &comp, std::vector<double> const &tool)
{
    std::size_t const n = dh[0].size();
    KDL::Chain chain;
    chain.addSegment(KDL::Segment(KDL::Joint(KDL::Joint::None), linkFrame(dh, comp, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        KDL::Frame const tip = i + 1 < n ? linkFrame(dh, comp, i + 1)
                                         : KDL::Frame(KDL::Rotation::RPY(tool[3], tool[4], tool[5]),
                                                      KDL::Vector(tool[0], tool[1], tool[2]));
        chain.addSegment(KDL::Segment(KDL::Joint(KDL::Joint::RotZ), tip));
    }
    return chain;
}

inline std::vector<double> toPose(KDL::Frame const &frame)
{
    double roll = 0, pitch = 0, yaw = 0;
    frame.M.GetRPY(roll, pitch, yaw);
    return {frame.p.x(), frame.p.y(), frame.p.z(), roll, pitch, yaw};
}

}  // namespace kdl_chain
