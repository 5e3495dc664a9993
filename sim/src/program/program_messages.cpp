#include "program_messages.h"

#include <chrono>

namespace temla::korvu_sim::program
{

common_interface::RobotMsg makeMessage(int code, int level, std::string source, std::vector<std::string> args)
{
    common_interface::RobotMsg message;
    message.timestamp = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    message.code = code;
    message.level = level;
    message.source = std::move(source);
    message.args = std::move(args);
    return message;
}

std::string scriptErrorSource(const std::string &robot, int line)
{
    return robot + ":" + std::to_string(line);
}

bool endsBatch(const common_interface::RobotMsg &message)
{
    return message.source.find(':') != std::string::npos;
}

std::string scriptText(const std::string &text)
{
    std::string escaped = "\"";
    for (char c : text) {
        switch (c) {
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            default:
                escaped += c;
        }
    }
    return escaped + "\"";
}

}  // namespace temla::korvu_sim::program
