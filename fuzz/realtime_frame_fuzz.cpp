// Realtime frames built from the bytes, through the cache's four frame handlers: any number of
// values of any type in any order, robot counts beyond the four records, any encoder-tick offer.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz_input.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "robot_proxy/realtime_robot_state.h"
#include "state/realtime_robot_state_p.h"

namespace
{

namespace ci = temla::common_interface;
using temla::korvu_sdk::InputParser;
using temla::korvu_sdk::RealtimeRobotState;
using Value = InputParser::Value;

constexpr int kLastType = static_cast<int>(InputParser::Type::RobotMsgVector);

template <typename T>
std::vector<T> integers(FuzzedDataProvider &in, std::size_t max_size = 16)
{
    std::vector<T> values(in.ConsumeIntegralInRange<std::size_t>(0, max_size));
    for (auto &value : values) {
        value = static_cast<T>(in.ConsumeIntegral<int32_t>());
    }
    return values;
}

Value valueFrom(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange<int>(0, kLastType)) {
        case 0:
            return in.ConsumeBool();
        case 1:
            return in.ConsumeIntegral<int32_t>();
        case 2:
            return in.ConsumeIntegral<int64_t>();
        case 3:
            return fuzz_input::anyDouble(in);
        case 4:
            return fuzz_input::doubles(in);
        case 5:
            return integers<int32_t>(in);
        case 6:
            return integers<ci::JointStateType>(in);
        case 7:
            return static_cast<ci::RobotModeType>(in.ConsumeIntegral<int32_t>());
        case 8:
            return static_cast<ci::SafetyModeType>(in.ConsumeIntegral<int32_t>());
        case 9:
            return static_cast<ci::RuntimeState>(in.ConsumeIntegral<int32_t>());
        case 10:
            return ci::Payload(fuzz_input::anyDouble(in), fuzz_input::doubles(in), fuzz_input::doubles(in),
                               fuzz_input::doubles(in));
        case 11: {
            std::vector<ci::GripperStatus> grippers(in.ConsumeIntegralInRange<std::size_t>(0, 8));
            for (auto &g : grippers) {
                g.name = in.ConsumeRandomLengthString(16);
                g.connected = in.ConsumeBool();
                g.enabled = in.ConsumeBool();
                g.error_code = in.ConsumeIntegral<int32_t>();
                g.position = fuzz_input::anyDouble(in);
            }
            return grippers;
        }
        default: {
            std::vector<ci::RobotMsg> messages(in.ConsumeIntegralInRange<std::size_t>(0, 4));
            for (auto &m : messages) {
                m.code = in.ConsumeIntegral<int32_t>();
                m.source = in.ConsumeRandomLengthString(16);
                m.args = fuzz_input::strings(in, 4);
            }
            return messages;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    static RealtimeRobotState cache(std::make_shared<temla::korvu_sdk::RpcClient>(0),
                                    std::make_shared<temla::korvu_sdk::RtdeClient>(0));
    FuzzedDataProvider in(data, size);
    const int channel = in.ConsumeIntegralInRange<int>(0, 3);
    const int robot_count = in.ConsumeIntegralInRange<int>(-1, 6);
    std::vector<bool> enc_tick_offered(in.ConsumeIntegralInRange<std::size_t>(0, 6));
    for (std::size_t i = 0; i < enc_tick_offered.size(); ++i) {
        enc_tick_offered[i] = in.ConsumeBool();
    }
    std::vector<Value> values;
    while (values.size() < 256 && in.remaining_bytes() > 0) {
        values.push_back(valueFrom(in));
    }
    InputParser parser(std::move(values));
    auto writer = temla::korvu_sdk::detail::writerOf(cache);
    switch (channel) {
        case 0:
            writer.handleStateFrame(parser, robot_count, enc_tick_offered);
            break;
        case 1:
            writer.handleElectricalFrame(parser, robot_count);
            break;
        case 2:
            writer.handleIoFrame(parser, robot_count);
            break;
        default:
            writer.handleGripperFrame(parser);
            break;
    }
    return 0;
}
