#pragma once

#include <QtGlobal>

#include <string>
#include <vector>

namespace test_support
{

// Every Qt log line of the process from install() on (the Qt test main installs it and empties it
// before each test), kept for the tests to look at. Safe to use from any thread.
class LogCapture
{
public:
    struct Line {
        QtMsgType type;
        std::string text;
        std::string file;
        int line;
        std::string category;
    };

    static void install();
    static void clear();
    static std::vector<Line> snapshot();
    // Lines equal to text.
    static int count(const std::string &text);
    static bool contains(const std::string &text) { return count(text) > 0; }
    // Lines that contain part.
    static int countContaining(const std::string &part);
};

}  // namespace test_support
