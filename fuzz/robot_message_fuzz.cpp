// A robot-message batch built from the bytes, through the proxy's dispatch, on a proxy logged in to
// the simulator with its first robot selected (so that sources resolve to robot records). Codes
// lean towards the ones the dispatch treats specially; an unknown code ends the batch with the
// documented exception.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <QCoreApplication>

#include "fuzz_input.h"
#include "korvu_sdk/input_parser.h"
#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sim/simulator.h"
#include "robot_proxy/robot_proxy.h"

namespace
{

using temla::common_interface::RobotMsg;
using temla::korvu_sdk::InputParser;
using temla::korvu_sdk::RobotProxy;

constexpr int kSpecialCodes[] = {1,     2,     3,     6,     12,    13,    14,    15,    11010, 20001,
                                 30014, 30027, 30039, 30083, 30200, 30201, 30307, 30419, 30432};
const char *const kSources[] = {"robot1", "robot2", "robot1:42", "robot2:-1", "nobody", ""};

struct Setup {
    Setup()
    {
        temla::korvu_sim::SimulatorOptions options;
        options.robot_count = 2;
        options.manual_stepping = true;
        sim = std::make_unique<temla::korvu_sim::Simulator>(options);
        sim->start();
        proxy = std::make_unique<RobotProxy>();
        proxy->getRpcClient()->setRequestTimeout(5000);
        if (proxy->connect(QString::fromStdString(sim->host()), sim->basePort()) != 0 ||
            proxy->login("admin", "admin") != 0 || proxy->selectRobot(0) != 0) {
            std::abort();
        }
    }

    int argc = 1;
    char name[5] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::unique_ptr<RobotProxy> proxy;
};

RobotMsg messageFrom(FuzzedDataProvider &in)
{
    RobotMsg msg;
    msg.timestamp = in.ConsumeIntegral<int64_t>();
    msg.code = in.ConsumeBool() ? in.PickValueInArray(kSpecialCodes) : in.ConsumeIntegral<int32_t>();
    msg.level = in.ConsumeIntegralInRange<int32_t>(-2, 6);
    msg.source = in.ConsumeBool() ? in.PickValueInArray(kSources) : in.ConsumeRandomLengthString(32);
    msg.args = fuzz_input::strings(in);
    return msg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    static Setup setup;
    FuzzedDataProvider in(data, size);
    std::vector<RobotMsg> batch(in.ConsumeIntegralInRange<std::size_t>(0, 16));
    for (auto &msg : batch) {
        msg = messageFrom(in);
    }
    InputParser parser({InputParser::Value(std::move(batch))});
    try {
        setup.proxy->robotMessageCallback(parser);
    } catch (const temla::common_interface::KorvuException &e) {
        if (e.code() != -8) {  // only the unknown-code report may leave the dispatch
            std::abort();
        }
    }
    return 0;
}
