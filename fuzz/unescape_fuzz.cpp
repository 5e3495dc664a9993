// unescape() on arbitrary bytes: never reads past the text, and never makes it longer (every
// escape sequence shrinks or keeps its length).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "robot_proxy/robot_proxy.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (temla::korvu_sdk::unescape(text).size() > text.size()) {
        std::abort();
    }
    return 0;
}
