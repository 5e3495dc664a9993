#include <benchmark/benchmark.h>

#include <iterator>

#include "robot_proxy/error_code.h"

namespace
{

// A mix of listed codes from every group, an unlisted code and the sentinel.
const int kCodes[] = {0, 40, 10001, 10800, 11033, 20022, 30092, 30307, 40200, 50003, 60080, 7, 99999, -1};

void BM_errorCode2Str(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(temla::error_stack::errorCode2Str(kCodes[i]));
        i = (i + 1) % std::size(kCodes);
    }
}
BENCHMARK(BM_errorCode2Str);

void BM_lookup(benchmark::State &state)
{
    ErrorCode::buildTransMap();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ErrorCode::lookup(kCodes[i]));
        i = (i + 1) % std::size(kCodes);
    }
}
BENCHMARK(BM_lookup)->Threads(1)->Threads(2);

void BM_buildTransMap(benchmark::State &state)
{
    for (auto _ : state) {
        ErrorCode::buildTransMap();
    }
}
BENCHMARK(BM_buildTransMap);

}  // namespace
