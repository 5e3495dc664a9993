// The streamed TCP pose is the library's forward kinematics of the streamed joints with the
// controller's real parameters (getDH(true)) and TCP offset.
#include <random>

#include "operate_fixture.h"
#include "robot_proxy/robot_math.h"

namespace operate_test
{
namespace
{

// Rows alpha, a, d, theta as forwardKinematics takes them.
std::vector<std::vector<double>> dhRows(const temla::common_interface::KinematicsParam &params)
{
    return {params.at("alpha"), params.at("a"), params.at("d"), params.at("theta")};
}

double maxDifference(const std::vector<double> &a, const std::vector<double> &b)
{
    double d = a.size() == b.size() ? 0.0 : INFINITY;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        d = std::max(d, std::abs(a[i] - b[i]));
    return d;
}

}  // namespace

TEST_F(Operate, StreamedTcpIsTheLibrarysForwardKinematicsOfTheStreamedJoints)
{
    const auto dh = dhRows(proxy->getDH(true));
    const auto model = sim->robot(0);
    std::mt19937 random(20261211);
    const std::vector<std::vector<double>> tools{{}, {0.01, -0.02, 0.15, 0.1, -0.2, 0.3}};
    for (const auto &tool : tools) {
        if (!tool.empty())
            ASSERT_EQ(proxy->getRobotConfig()->setTcpOffset(tool), result::kAccepted);
        for (int k = 0; k < 10; ++k) {
            std::vector<double> q(6);
            for (size_t j = 0; j < q.size(); ++j)
                q[j] = std::uniform_real_distribution<double>(model.joint_min_positions[j] / 2,
                                                              model.joint_max_positions[j] / 2)(random);
            SCOPED_TRACE(k);
            // A powered-off arm moved by hand: the controller streams where it is.
            ASSERT_TRUE(sim->pushJoints(0, q));
            ASSERT_TRUE(test_support::waitUntil([&] { return cache->getJointPositions() == q; }));
            ASSERT_TRUE(test_support::waitUntil([&] { return !cache->getTcpPose().empty(); }));
            std::vector<double> expected;
            ASSERT_EQ(temla::robot_math::forwardKinematics(expected, q, tool, dh, {}, -1), 0);
            // Joints and pose come in the same frame, so a frame that shows q shows its pose.
            ASSERT_TRUE(test_support::waitUntil(
                [&] { return maxDifference(cache->getTcpPose(), expected) < 1e-9; }, 2s))
                << "streamed " << ::testing::PrintToString(cache->getTcpPose()) << " expected "
                << ::testing::PrintToString(expected);
        }
    }
}

}  // namespace operate_test
