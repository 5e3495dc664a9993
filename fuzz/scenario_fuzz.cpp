// The simulator's scenario parser on arbitrary text: a scenario or ScenarioError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "korvu_sim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    try {
        temla::korvu_sim::parseScenario(text, 2);
    } catch (const temla::korvu_sim::ScenarioError &) {
    }
    return 0;
}
