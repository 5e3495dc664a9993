#include "korvu_sim/robot_model.h"

#include <algorithm>
#include <cmath>

namespace temla::korvu_sim
{
namespace
{

constexpr double kPi = 3.14159265358979323846;

// A six-joint arm in modified DH form (joint i: Rx(alpha)·Tx(a)·Tz(d)·Rz(theta + q)); other dofs
// reuse the pattern joint by joint.
constexpr std::array<double, 6> kA{0.0, 0.0, -0.408, -0.376, 0.0, 0.0};
constexpr std::array<double, 6> kD{0.122, 0.0, 0.0, 0.1025, 0.1025, 0.094};
constexpr std::array<double, 6> kAlpha{0.0, kPi / 2, 0.0, 0.0, kPi / 2, -kPi / 2};

KinematicsParams theoryKinematics(int dof)
{
    KinematicsParams params;
    for (const char *key : {"a", "d", "alpha", "theta", "beta"})
        params[key] = std::vector<double>(static_cast<size_t>(dof), 0.0);
    for (int j = 0; j < dof; ++j) {
        auto k = static_cast<size_t>(j % 6);
        params["a"][static_cast<size_t>(j)] = kA[k];
        params["d"][static_cast<size_t>(j)] = kD[k];
        params["alpha"][static_cast<size_t>(j)] = kAlpha[k];
    }
    return params;
}

// Calibration leaves small per-joint deviations from the nominal parameters of the chain.
KinematicsParams realKinematics(const KinematicsParams &theory)
{
    KinematicsParams real = theory;
    for (auto &[key, values] : real)
        if (key != "beta")
            for (size_t j = 0; j < values.size(); ++j)
                values[j] += 1e-4 * static_cast<double>((j + key.size()) % 3);
    return real;
}

std::string boardId(const std::string &kind, int robot_index, int part)
{
    return kind + "-" + std::to_string(1000 + robot_index * 100 + part);
}

void resizeTo(std::vector<double> &values, size_t n, double fill)
{
    values.resize(n, fill);
}

}  // namespace

void fitToDof(RobotModel &robot)
{
    auto n = static_cast<size_t>(robot.dof > 0 ? robot.dof : 0);
    for (auto *params : {&robot.real_kinematics, &robot.theory_kinematics})
        for (auto &entry : *params)
            entry.second.resize(n, 0.0);
    resizeTo(robot.joint_max_positions, n, 2 * kPi);
    resizeTo(robot.joint_min_positions, n, -2 * kPi);
    resizeTo(robot.joint_max_speeds, n, kPi);
    resizeTo(robot.joint_max_accelerations, n, 4 * kPi);
    resizeTo(robot.home_positions, n, 0.0);
    robot.joint_firmware_versions.resize(n, 10203);
    robot.joint_hardware_versions.resize(n, 3);
    while (robot.joint_unique_ids.size() < n)
        robot.joint_unique_ids.push_back(robot.name + "-J" +
                                         std::to_string(robot.joint_unique_ids.size() + 1));
    robot.joint_unique_ids.resize(n);
    robot.io_values.standard_analog_input.resize(
        static_cast<size_t>(std::max(0, robot.io.standard_analog_input)), 0.0);
    robot.io_values.tool_analog_input.resize(static_cast<size_t>(std::max(0, robot.io.tool_analog_input)),
                                             0.0);
    robot.io_values.standard_analog_output.resize(
        static_cast<size_t>(std::max(0, robot.io.standard_analog_output)), 0.0);
    robot.io_values.tool_analog_output.resize(static_cast<size_t>(std::max(0, robot.io.tool_analog_output)),
                                              0.0);
}

RobotModel makeDefaultRobot(int index, int dof, const std::string &name)
{
    RobotModel robot;
    robot.name = name.empty() ? "robot" + std::to_string(index + 1) : name;
    robot.dof = dof;
    robot.theory_kinematics = theoryKinematics(dof);
    robot.real_kinematics = realKinematics(robot.theory_kinematics);
    robot.master_board = {boardId("MB", index, 1), 20105, 4};
    robot.slave_board = {boardId("SB", index, 2), 20105, 4};
    robot.handle = {boardId("HD", index, 3), 10002, 1};
    robot.tool = {boardId("TL", index, 4), 10300, 2};
    robot.pedestal = {boardId("PD", index, 5), 10100, 1};
    robot.tcp_max_speeds = {2.0, 2.0, 2.0, kPi, kPi, kPi};
    robot.tcp_max_accelerations = {8.0, 8.0, 8.0, 4 * kPi, 4 * kPi, 4 * kPi};
    robot.hardware_custom_parameters["hardware_interface_version"] = "V2";
    std::string joint_types;
    for (int j = 0; j < dof; ++j)
        joint_types += (j ? "," : "") + std::string(j < 3 ? "JM-20" : "JM-14");
    robot.hardware_custom_parameters["joints_model_type_str"] = joint_types;
    robot.payload.mass = 0.5;
    robot.payload.cog = {0.0, 0.0, 0.05};
    fitToDof(robot);
    for (int j = 0; j < dof; ++j)
        robot.home_positions[static_cast<size_t>(j)] = (j == 1 || j == 3) ? -kPi / 2 : 0.0;
    return robot;
}

}  // namespace temla::korvu_sim
