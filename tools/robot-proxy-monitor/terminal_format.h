#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "state_snapshot.h"

namespace monitor
{

// Display levels as the proxy's signals carry them.
inline constexpr int kNoLevel = -1;

struct TextLine {
    int level = kNoLevel;
    std::string text;
};

// The line a human reader sees for a proxy signal; nothing for signals the status block shows.
std::optional<TextLine> describeSignal(const char *name, const nlohmann::ordered_json &args);

// Name of a display level: 3 fatal, 2 error, 1 warning, 4 info, 0 debug.
std::string levelName(int display_level);
// ANSI colour sequence for a display level; empty for none.
std::string levelColour(int display_level);

// The status block of a terminal, one string per line, without colours.
std::vector<std::string> statusBlock(const StateSnapshot &state, double t);
// The same state on one plain line.
std::string stateLine(const StateSnapshot &state, double t);

}  // namespace monitor
