#pragma once

#include <QDebug>

#include <string>
#include <vector>
#include "library_log.h"

namespace temla::korvu_sdk::detail
{

// Which of the controller's robots is selected: its name and its position in the robot-name list.
// The proxy and the cache each keep one; the caller guards it with its own lock.
class RobotSelection
{
public:
    enum class Outcome { Changed, Unchanged, OutOfRange };

    // Selects the index-th of names. An index outside the names is refused with a warning and
    // changes nothing; the robot selected already (same name) is Unchanged.
    Outcome select(const std::vector<std::string> &names, int index)
    {
        const auto count = names.size();
        if (index < 0 || static_cast<std::size_t>(index) >= count) {
            RP_LOG_WARNING() << "RobotProxy select robot of " << index << " out of range(0, " << count << ")";
            return Outcome::OutOfRange;
        }
        const std::string &chosen = names[static_cast<std::size_t>(index)];
        if (chosen == robot_name) {
            return Outcome::Unchanged;
        }
        robot_name = chosen;
        robot_index = index;
        return Outcome::Changed;
    }

    // No robot: the name empty, the index -1.
    void clear()
    {
        robot_name.clear();
        robot_index = -1;
    }

    const std::string &name() const { return robot_name; }
    int index() const { return robot_index; }

private:
    std::string robot_name;
    int robot_index = -1;
};

// Position of the first of names equal to name, or fallback when none is.
inline int indexOfName(const std::vector<std::string> &names, const std::string &name, int fallback)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return fallback;
}

}  // namespace temla::korvu_sdk::detail
