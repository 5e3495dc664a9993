#pragma once

#include <string>
#include <vector>

#include "korvu_sdk/types.h"

namespace temla::korvu_sim::program
{

// Robot message codes a program produces (texts in the library's catalogue).
inline constexpr int kPopupCode = 1;            // args: title, message, mode
inline constexpr int kGeneralCode = 5;          // "%1": text messages and script errors
inline constexpr int kRuntimeContextCode = 13;  // args: task, line, index, comment
inline constexpr int kInterpContextCode = 14;
inline constexpr int kProgramLoadedCode = 15;  // args: program name
inline constexpr int kTaskDeletedCode = 16;    // args: task

// Message levels.
inline constexpr int kLevelError = 1;
inline constexpr int kLevelWarning = 2;
inline constexpr int kLevelInfo = 3;

// Script-server notification methods.
inline constexpr const char *kScriptErrorMethod = "scriptError";
inline constexpr const char *kVariableUpdateMethod = "variableUpdate";

// A robot message stamped with the wall clock in milliseconds.
common_interface::RobotMsg makeMessage(int code, int level, std::string source,
                                       std::vector<std::string> args);

// Source of a script error: the robot name and the line, "robot1:12".
std::string scriptErrorSource(const std::string &robot, int line);

// A client stops reading a message batch at a script error (a source holding ":"), so such a
// message must be the last of its frame.
bool endsBatch(const common_interface::RobotMsg &message);

// The script server's text form: line feed, tab and backslash as backslash sequences, the whole
// in double quotes.
std::string scriptText(const std::string &text);

}  // namespace temla::korvu_sim::program
