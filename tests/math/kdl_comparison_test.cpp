// Forward kinematics, Jacobian and inverse kinematics against the reference solvers of orocos KDL on the
// same chain (the library never links KDL; only this test and the benchmarks do).

#include <gtest/gtest.h>

#include <kdl/chain.hpp>
#include <kdl/chainfksolverpos_recursive.hpp>
#include <kdl/chainiksolverpos_lma.hpp>
#include <kdl/chainjnttojacsolver.hpp>

#include "arm_test_support.h"
#include "kdl_chain.h"
#include "robot_proxy/robot_math.h"

using namespace temla::robot_math;
using arm_test::kCompensation;
using arm_test::kDh;
using arm_test::kTool;

namespace
{

KDL::JntArray joints(std::vector<double> const &q)
{
    KDL::JntArray array(static_cast<unsigned>(q.size()));
    for (std::size_t i = 0; i < q.size(); ++i) {
        array(static_cast<unsigned>(i)) = q[i];
    }
    return array;
}

}  // namespace

TEST(AgainstKdl, ForwardKinematicsJacobianAndInverseKinematicsAgree)
{
    KDL::Chain const chain = kdl_chain::fromDh(kDh, kCompensation, kTool);
    KDL::ChainFkSolverPos_recursive fk(chain);
    KDL::ChainJntToJacSolver jac_solver(chain);
    KDL::ChainIkSolverPos_LMA lma(chain);
    pose_test::RandomPoses random(21);
    int kdl_converged = 0;
    for (int n = 0; n < 100; ++n) {
        std::vector<double> const q = arm_test::randomJoints(random);
        SCOPED_TRACE(::testing::Message() << "configuration " << n);

        KDL::Frame frame;
        ASSERT_GE(fk.JntToCart(joints(q), frame), 0);
        std::vector<double> pose;
        ASSERT_EQ(forwardKinematics(pose, q, kTool, kDh, kCompensation, -1), 0);
        EXPECT_TRUE(pose_test::samePose(pose, kdl_chain::toPose(frame), 1e-12));

        KDL::Jacobian reference(6);
        ASSERT_GE(jac_solver.JntToJac(joints(q), reference), 0);
        std::vector<double> jac;
        ASSERT_EQ(jacobian(jac, q, kTool, kDh, kCompensation), 0);
        auto const ours = Eigen::Map<Eigen::Matrix<double, 6, 6, Eigen::RowMajor> const>(jac.data());
        EXPECT_LT((ours - reference.data).cwiseAbs().maxCoeff(), 1e-12);

        // Both solvers from the same seed reach the same target.
        std::vector<double> seed = q;
        for (double &v : seed) {
            v += random.uniform(-0.3, 0.3);
        }
        std::vector<double> solution;
        ASSERT_EQ(inverseKinematics(solution, pose, seed, kTool, kDh, kCompensation, arm_test::kLower,
                                    arm_test::kUpper),
                  0);
        KDL::Frame reached;
        fk.JntToCart(joints(solution), reached);
        EXPECT_TRUE(pose_test::samePose(kdl_chain::toPose(reached), pose, 1e-9));
        KDL::JntArray kdl_solution(6);
        if (lma.CartToJnt(joints(seed), frame, kdl_solution) >= 0) {
            ++kdl_converged;
        }
    }
    EXPECT_GE(kdl_converged, 95) << "the reference solver converges on the same problems";
}
