#include "terminal_format.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "robot_proxy/mode_names.h"

namespace monitor
{
namespace
{

using json = nlohmann::ordered_json;
constexpr double kPi = 3.14159265358979323846;

std::string text(const json &value)
{
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// The part after "RobotModeType." and the like: the block has little room.
std::string shortName(const std::string &full)
{
    const auto dot = full.find('.');
    return dot == std::string::npos ? full : full.substr(dot + 1);
}

std::string operationalModeText(temla::common_interface::OperationalModeType mode)
{
    const auto value = static_cast<std::size_t>(mode);
    if (value < std::size(temla::common_interface::kOperationalModeTexts)) {
        return std::string(temla::common_interface::kOperationalModeTexts[value]);
    }
    return std::to_string(static_cast<int>(mode));
}

std::string fixed(double value, int decimals, int width)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
    return buffer;
}

std::string jointsInDegrees(const std::vector<double> &q)
{
    std::string out;
    for (double radians : q) {
        out += fixed(radians * 180.0 / kPi, 2, 8);
    }
    return out.empty() ? "  -" : out;
}

// Position in millimetres, orientation in degrees.
std::string tcpText(const std::vector<double> &pose)
{
    if (pose.size() < 6) {
        return "  -";
    }
    std::string out;
    for (std::size_t i = 0; i < 3; ++i) {
        out += fixed(pose[i] * 1000.0, 1, 8);
    }
    out += " mm";
    for (std::size_t i = 3; i < 6; ++i) {
        out += fixed(pose[i] * 180.0 / kPi, 2, 8);
    }
    return out + " deg";
}

std::string bitText(const std::vector<bool> &bits)
{
    std::string out;
    for (bool bit : bits) {
        out += bit ? '1' : '0';
    }
    return out.empty() ? "-" : out;
}

std::string analogText(const std::vector<double> &values)
{
    std::string out;
    for (double v : values) {
        out += (out.empty() ? "" : " ") + fixed(v, 2, 0);
    }
    return out.empty() ? "-" : out;
}

std::string ioText(const IoSummary &io)
{
    return "DI " + bitText(io.standard_digital_inputs) + "  DO " + bitText(io.standard_digital_outputs) +
           "  CI " + bitText(io.configurable_digital_inputs) + "  CO " +
           bitText(io.configurable_digital_outputs) + "  TI " + bitText(io.tool_digital_inputs) + "  TO " +
           bitText(io.tool_digital_outputs) + "  AI " + analogText(io.standard_analog_inputs) + "  AO " +
           analogText(io.standard_analog_outputs);
}

std::string connectionText(const StateSnapshot &state)
{
    if (state.logged_in) {
        return "logged in";
    }
    return state.connected ? "connected" : "not connected";
}

std::string modesText(const StateSnapshot &state)
{
    return "robot " + shortName(temla::common_interface::toString(state.robot_mode)) + "  safety " +
           shortName(temla::common_interface::toString(state.safety_mode)) + "  operational " +
           shortName(operationalModeText(state.operational_mode));
}

std::string programText(const StateSnapshot &state)
{
    return runtimeStateText(state.runtime_state) + "  task " + std::to_string(state.thread_id) + "  line " +
           std::to_string(state.line_number);
}

std::string robotText(const StateSnapshot &state)
{
    if (state.robot_index < 0) {
        return "none selected";
    }
    return std::to_string(state.robot_index) + " " + state.robot_name + " (" + state.robot_type + ")";
}

std::optional<TextLine> describePopup(const char *name, const json &args)
{
    const std::string kind = name;
    if (kind == "popup") {
        return TextLine{args[1].get<int>(), "POPUP " + text(args[2]) + ": " + text(args[3])};
    }
    if (kind == "popupAxisError") {
        return TextLine{args[1].get<int>(),
                        "POPUP " + text(args[2]) + " axis " + text(args[5]) + ": " + text(args[3])};
    }
    if (kind == "popupDismiss") {
        return TextLine{kNoLevel, "popup dismissed: " + text(args[0])};
    }
    if (kind == "popupDismissById") {
        return TextLine{kNoLevel, "popup dismissed: id " + text(args[0])};
    }
    if (kind == "systemHalt") {
        return TextLine{3, "SYSTEM HALT " + text(args[0])};
    }
    return std::nullopt;
}

std::optional<TextLine> describeProgram(const char *name, const json &args)
{
    const std::string kind = name;
    if (kind == "scriptError") {
        if (args.size() == 2) {
            return TextLine{2, "script error at line " + text(args[0]) + ": " + text(args[1])};
        }
        return TextLine{2, "script error: " + text(args[0])};
    }
    if (kind == "scriptError2") {
        return TextLine{2, "script error: " + text(args[0]) + " " + text(args[1])};
    }
    if (kind == "programLoaded") {
        return TextLine{kNoLevel, "program loaded: " + text(args[1])};
    }
    if (kind == "taskDeleted") {
        return TextLine{kNoLevel, "task " + text(args[0]) + " ended"};
    }
    return std::nullopt;
}

std::optional<TextLine> describeConnection(const char *name, const json &args)
{
    const std::string kind = name;
    if (kind == "connected") {
        return TextLine{kNoLevel, "connected to " + text(args[0]) + " base port " + text(args[1])};
    }
    if (kind == "disconnected") {
        return TextLine{kNoLevel, "disconnected"};
    }
    if (kind == "logined") {
        return TextLine{kNoLevel, args[0].get<bool>() ? "logged in" : "logged out"};
    }
    return std::nullopt;
}

}  // namespace

std::optional<TextLine> describeSignal(const char *name, const json &args)
{
    const std::string kind = name;
    // The variant carrying the text; the record variant repeats the same message.
    if (kind == "robotMessageRecieved") {
        if (args.size() == 5) {
            return TextLine{args[2].get<int>(), text(args[1]) + ": " + text(args[4])};
        }
        return std::nullopt;
    }
    if (kind == "robotCollisionOccurred") {
        return TextLine{2, "collision on robot " + text(args[0]) + ", joint " + text(args[1])};
    }
    if (kind == "jointMovedDuringPoweroff") {
        return TextLine{1, "robot " + text(args[0]) + " moved while powered off"};
    }
    for (auto describe : {describePopup, describeProgram, describeConnection}) {
        if (auto line = describe(name, args)) {
            return line;
        }
    }
    return std::nullopt;
}

std::string levelName(int display_level)
{
    switch (display_level) {
        case 0:
            return "debug";
        case 1:
            return "warning";
        case 2:
            return "error";
        case 3:
            return "fatal";
        case 4:
            return "info";
        default:
            return "";
    }
}

std::string levelColour(int display_level)
{
    switch (display_level) {
        case 0:
            return "\033[2m";
        case 1:
            return "\033[33m";
        case 2:
            return "\033[31m";
        case 3:
            return "\033[1;31m";
        case 4:
            return "\033[36m";
        default:
            return "";
    }
}

std::vector<std::string> statusBlock(const StateSnapshot &state, double t)
{
    return {
        "---- robot-proxy-monitor  " + connectionText(state) + "  t " + fixed(t, 1, 0) + " s",
        "robot    " + robotText(state),
        "modes    " + modesText(state),
        "program  " + programText(state),
        "joints  " + jointsInDegrees(state.joint_positions) + " deg",
        "TCP     " + tcpText(state.tcp_pose),
        "speed    " + fixed(state.speed_fraction * 100.0, 0, 0) + " %",
        "I/O      " + ioText(state.io),
    };
}

std::string stateLine(const StateSnapshot &state, double t)
{
    return fixed(t, 1, 0) + " s state: " + connectionText(state) + "; robot " + robotText(state) + "; " +
           modesText(state) + "; program " + programText(state) + "; joints" +
           jointsInDegrees(state.joint_positions) + " deg; TCP" + tcpText(state.tcp_pose) + "; speed " +
           fixed(state.speed_fraction * 100.0, 0, 0) + " %; " + ioText(state.io);
}

}  // namespace monitor
