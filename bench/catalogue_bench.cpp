// The catalogue: the untranslated lookup, the shared translated lookup against an unlocked QHash of the same
// texts doing the same work (the reference for its ratio), and a rebuild.
//   bench/catalogue_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QHash>

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

// The same texts in a plain QHash read without any synchronisation, with the same fallback.
void BM_lookup_UnlockedQHash(benchmark::State &state)
{
    ErrorCode::buildTransMap();
    static const QHash<int, QString> texts = [] {
        QHash<int, QString> hash;
        const QMap<int, QString> map = ErrorCode::snapshot();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            hash.insert(it.key(), it.value());
        }
        return hash;
    }();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto it = texts.constFind(kCodes[i]);
        benchmark::DoNotOptimize(it != texts.constEnd()
                                     ? it.value()
                                     : QString::fromUtf8(temla::error_stack::errorCode2Str(kCodes[i])));
        i = (i + 1) % std::size(kCodes);
    }
}
BENCHMARK(BM_lookup_UnlockedQHash)->Threads(1)->Threads(2);

void BM_buildTransMap(benchmark::State &state)
{
    for (auto _ : state) {
        ErrorCode::buildTransMap();
    }
}
BENCHMARK(BM_buildTransMap);

}  // namespace
