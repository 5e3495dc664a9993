// The realtime state cache's hot path: one channel 0 frame (50 per second) for four robots decoded
// into the records.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include <korvu_sdk/korvu_sdk.h>

#include "robot_proxy/realtime_robot_state.h"
#include "state/realtime_robot_state_p.h"

namespace
{

using namespace temla::korvu_sdk;
using temla::common_interface::Payload;
using temla::common_interface::RobotModeType;
using temla::common_interface::RuntimeState;
using temla::common_interface::SafetyModeType;

constexpr int kRobots = 4;

std::vector<InputParser::Value> stateFrame()
{
    std::vector<InputParser::Value> values{RuntimeState::Running, std::vector<int32_t>{1, 20}};
    const std::vector<double> six(6, 0.5);
    for (int robot = 0; robot < kRobots; ++robot) {
        values.insert(values.end(),
                      {true, 1.0, Payload(0.5, {0, 0, 0.05}, {0, 0, 0}, std::vector<double>(9, 0.0)), six,
                       six, six, RobotModeType::Running, SafetyModeType::Normal, six, six, six, int32_t{0},
                       six, six, std::vector<int32_t>(6, 1000)});
    }
    return values;
}

// The frame values are copied into the parser as the realtime client would hand them over; the
// copy alone is measured by BM_StateFrameCopyOnly.
void BM_StateFrameFourRobots(benchmark::State &state)
{
    RealtimeRobotState cache(std::make_shared<RpcClient>(0), std::make_shared<RtdeClient>(0));
    const auto frame = stateFrame();
    const std::vector<bool> enc_ticks(kRobots, true);
    for (auto _ : state) {
        InputParser parser(frame);
        detail::writerOf(cache).handleStateFrame(parser, kRobots, enc_ticks);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StateFrameFourRobots);

void BM_StateFrameCopyOnly(benchmark::State &state)
{
    const auto frame = stateFrame();
    for (auto _ : state) {
        InputParser parser(frame);
        benchmark::DoNotOptimize(parser);
    }
}
BENCHMARK(BM_StateFrameCopyOnly);

}  // namespace
