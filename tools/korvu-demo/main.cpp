// korvu-demo: starts a simulated controller in this process, connects our SDK's clients to it,
// logs in, subscribes a few realtime topics and prints what arrives for about three seconds.
#include <chrono>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#include "korvu_sdk/korvu_sdk.h"
#include "korvu_sim/simulator.h"

namespace
{

using namespace std::chrono_literals;
using temla::common_interface::RobotModeType;
using temla::common_interface::toString;
using temla::korvu_sdk::InputParser;

constexpr auto kRunTime = 3s;

std::mutex print_mutex;

void print(const std::string &line)
{
    std::lock_guard<std::mutex> lock(print_mutex);
    std::cout << line << std::endl;
}

std::string joined(const std::vector<double> &values)
{
    std::ostringstream out;
    out << std::fixed << std::setprecision(3) << "[";
    for (size_t i = 0; i < values.size(); ++i)
        out << (i ? ", " : "") << values[i];
    out << "]";
    return out.str();
}

void printStateFrame(InputParser &frame)
{
    auto runtime = static_cast<int>(frame.popRuntimeState());
    auto mode = frame.popRobotModeType();
    auto safety = frame.popSafetyModeType();
    auto q = frame.popVectorDouble();
    auto tcp = frame.popVectorDouble();
    print("state: runtime " + std::to_string(runtime) + ", " + toString(mode) + ", " + toString(safety) +
          "\n       q " + joined(q) + "\n       tcp " + joined(tcp));
}

void printMessages(InputParser &frame)
{
    for (const auto &m : frame.popRobotMsgVector()) {
        std::string args;
        for (const auto &a : m.args)
            args += (args.empty() ? "" : ", ") + a;
        print("message: code " + std::to_string(m.code) + " level " + std::to_string(m.level) + " from " +
              m.source + " args {" + args + "}");
    }
}

int run()
{
    temla::korvu_sim::SimulatorOptions options;
    options.robot_count = 2;
    temla::korvu_sim::Simulator simulator(options);
    simulator.start();
    const std::string host = simulator.host();
    const int base = simulator.basePort();
    print("simulator on " + host + " base port " + std::to_string(base));

    temla::korvu_sdk::RpcClient rpc;
    temla::korvu_sdk::RtdeClient rtde;
    if (rpc.connect(host, base + temla::korvu_sdk::kRpcPortOffset) != 0 ||
        rtde.connect(host, base + temla::korvu_sdk::kRealtimePortOffset) != 0) {
        std::cerr << "korvu-demo: cannot connect to the simulator" << std::endl;
        return 1;
    }
    if (rpc.login("admin", "admin") != 0 || rtde.login("admin", "admin") != 0) {
        std::cerr << "korvu-demo: login refused" << std::endl;
        return 1;
    }
    auto names = rpc.getRobotNames();
    for (const auto &name : names) {
        auto config = rpc.getRobotInterface(name)->getRobotConfig();
        print("robot " + name + ": type " + config->getRobotType() + ", dof " +
              std::to_string(config->getDof()));
    }

    int messages = rtde.setTopic(false, {temla::korvu_sdk::kRobotMessageTopic}, 200.0, 0);
    int state = rtde.setTopic(
        false, {"runtime_state", "R1_robot_mode", "R1_safety_mode", "R1_actual_q", "R1_actual_TCP_pose"}, 2.0,
        1);
    if (messages < 0 || state < 0 || rtde.subscribe(messages, printMessages) != 0 ||
        rtde.subscribe(state, printStateFrame) != 0) {
        std::cerr << "korvu-demo: subscription failed" << std::endl;
        return 1;
    }

    const auto end = std::chrono::steady_clock::now() + kRunTime;
    std::this_thread::sleep_for(1s);
    simulator.injectMessage({0, 1, 10001, names.front(), {"3"}});
    std::this_thread::sleep_for(500ms);
    simulator.setRobotMode(0, RobotModeType::Idle);
    simulator.injectMessage({0, 3, 30045, names.front(), {toString(RobotModeType::Idle)}});
    std::this_thread::sleep_until(end);

    rtde.disconnect();
    rpc.logout();
    rpc.disconnect();
    simulator.stop();
    print("done");
    return 0;
}

}  // namespace

int main()
{
    try {
        return run();
    } catch (const std::exception &e) {
        std::cerr << "korvu-demo: " << e.what() << std::endl;
        return 1;
    }
}
