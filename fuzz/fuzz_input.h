#pragma once

// Turns fuzz bytes into the values the targets need, with bounded sizes so that an input cannot ask
// for unbounded memory or time.
#include <cstddef>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

namespace fuzz_input
{

// Any double, NaN and infinities included.
inline double anyDouble(FuzzedDataProvider &in)
{
    return in.ConsumeBool() ? in.ConsumeFloatingPoint<double>()
                            : in.ConsumeFloatingPointInRange<double>(-10.0, 10.0);
}

inline std::vector<double> doubles(FuzzedDataProvider &in, std::size_t max_size = 16)
{
    std::vector<double> values(in.ConsumeIntegralInRange<std::size_t>(0, max_size));
    for (auto &value : values) {
        value = anyDouble(in);
    }
    return values;
}

inline std::vector<std::vector<double>> rows(FuzzedDataProvider &in, std::size_t max_rows = 12,
                                             std::size_t max_size = 8)
{
    std::vector<std::vector<double>> table(in.ConsumeIntegralInRange<std::size_t>(0, max_rows));
    for (auto &row : table) {
        row = doubles(in, max_size);
    }
    return table;
}

inline std::vector<std::string> strings(FuzzedDataProvider &in, std::size_t max_count = 8)
{
    std::vector<std::string> texts(in.ConsumeIntegralInRange<std::size_t>(0, max_count));
    for (auto &text : texts) {
        text = in.ConsumeRandomLengthString(64);
    }
    return texts;
}

}  // namespace fuzz_input
