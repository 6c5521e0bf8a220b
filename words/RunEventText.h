#pragma once
// The text of the one event a run writes to the Application log: what ran and
// how it ended, the counts, the boxes and controls it changed and the steps
// that failed. Bounded, so a log's collector never cuts it for us.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

inline constexpr std::size_t kEventTextLimit = 4000;  // bytes

struct RunEventText {
    std::string heading;                              // "quillonc APPLY by admin on OFFICE-7: done"
    std::vector<std::pair<std::string, int>> counts;  // ("changed", 3), ...
    std::string undoFolder;                           // the record kept, "" for none
    std::vector<std::string> changed;  // per change, the box or control that made it; repeats are counted
    std::vector<std::string> failed;   // each step that failed, with why
    std::vector<std::string> notes;    // anything else said to the person who ran it
};

// Lines ended by CR LF, as the log's viewer shows them; a list too long for the
// bound ends with how many more it held.
std::string EventText(const RunEventText& event);

// "System 54 Reset PC when fatal errors": the page, number and caption fields of a change, joined.
std::string EventItem(const std::vector<std::string>& stepFields);

}  // namespace quillon
