// poses: reads the selected robot's kinematic parameters from the controller and computes with the
// mathematics library: the TCP pose for the current joints, the joints back from that pose by the
// inverse kinematics, and that target expressed in the TCP frame. Checks that the round trip closes.
#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <robot_proxy/realtime_robot_state.h>
#include <robot_proxy/robot_math.h>
#include <robot_proxy/robot_proxy.h>

#include "example_target.h"

using temla::korvu_sdk::RobotProxy;
namespace math = temla::robot_math;

namespace
{

void print(const char *name, const std::vector<double> &values)
{
    std::printf("%s:", name);
    for (double v : values)
        std::printf(" %.5f", v);
    std::printf("\n");
}

// The four rows forwardKinematics takes (alpha, a, d, theta) from the controller's parameters.
std::vector<std::vector<double>> dhTable(const temla::common_interface::KinematicsParam &param)
{
    std::vector<std::vector<double>> dh;
    for (const char *row : {"alpha", "a", "d", "theta"}) {
        auto it = param.find(row);
        dh.push_back(it == param.end() ? std::vector<double>{} : it->second);
    }
    return dh;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    example::Target target = example::parseTarget(app, "Computes poses with the mathematics library.", 0);

    RobotProxy proxy;
    proxy.setRequestTimeout(2000);
    if (proxy.connect(target.host, target.port) != 0 || proxy.login("admin", "admin") != 0 ||
        proxy.selectRobot(0) != 0) {
        const RobotProxy::LastError error = proxy.lastError();
        std::fprintf(stderr, "cannot reach the controller: %s (code %d)\n", qPrintable(error.text),
                     error.code);
        return 1;
    }
    const auto dh = dhTable(proxy.getDH(true));
    // The cache holds zeros until the first realtime frame: wait a little for a non-zero joint.
    std::vector<double> q;
    example::waitFor(2000, [&] {
        q = proxy.getRealTimeState()->getJointPositions();
        return std::any_of(q.begin(), q.end(), [](double v) { return v != 0.0; });
    });
    example::waitFor(target.seconds * 1000, [] { return false; });
    proxy.disconnectFromServer();
    if (q.empty()) {
        std::fprintf(stderr, "no joint positions received\n");
        return 1;
    }
    print("joints", q);

    const std::vector<double> tool{0, 0, 0.1, 0, 0, 0};  // 10 cm along the flange's z axis
    std::vector<double> tcp;
    if (int rc = math::forwardKinematics(tcp, q, tool, dh, {}, -1); rc != 0) {
        std::fprintf(stderr, "forwardKinematics: %d\n", rc);
        return 1;
    }
    print("tcp pose", tcp);

    // Back from a pose 5 cm lower. The solver starts from the current joints; with the wrist
    // straight (a singular posture) a nudged seed lets the descent take a step.
    const std::vector<double> lower = math::pose_trans({0, 0, -0.05, 0, 0, 0}, tcp);
    const std::vector<double> q_min(q.size(), -2 * M_PI);
    const std::vector<double> q_max(q.size(), 2 * M_PI);
    std::vector<double> seed = q;
    for (double &v : seed)
        v += 0.05;
    math::InverseKinematicsOptions solver;
    solver.max_iterations = 1000;
    solver.position_tolerance = 1e-8;
    solver.orientation_tolerance = 1e-8;
    std::vector<double> q_lower;
    if (int rc = math::inverseKinematics(q_lower, lower, seed, tool, dh, {}, q_min, q_max, solver); rc != 0) {
        std::fprintf(stderr, "inverseKinematics: %d\n", rc);
        return 1;
    }
    print("joints 5 cm lower", q_lower);
    std::vector<double> check;
    math::forwardKinematics(check, q_lower, tool, dh, {}, -1);
    const double error = math::pose_distance(check, lower);
    print("target in the tcp frame", math::pose_trans(math::pose_inverse(tcp), lower));
    std::printf("round trip error: %.3g m\n", error);
    const bool ok = error < 1e-6;
    std::printf("poses: %s\n", ok ? "ok" : "round trip does not close");
    return ok ? 0 : 1;
}
