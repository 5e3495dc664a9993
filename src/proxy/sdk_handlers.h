#pragma once

#include <string>

namespace temla::korvu_sdk::detail
{

// Writes one SDK log line to the Qt logger with the SDK's source position and the category "default".
// Level 0 is written at the critical level: an SDK line must never end the host process.
void forwardSdkLog(int level, const char *file, int line, const std::string &message);

}  // namespace temla::korvu_sdk::detail
