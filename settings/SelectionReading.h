#pragma once
// The one reading of setup.dat's eight double-quoted lines, under either of
// the two rules its readers need: the console's, which checks every field and
// refuses the file at its first fault, and the window's, which takes what it
// can, field by field, and stops quietly where a field makes no sense.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/Form.h"

namespace quillon {

struct SavedSelection {
    std::array<int, kCheckBoxCount> boxes{};  // 0 clear, 1 ticked, 2 greyed
    int option = 0;
    int prefetch = 0;  // Combo2 index, -1 when nothing is chosen
    int priority = 0;  // Combo3 index
    std::string downloadPath;
    std::array<bool, kDriveCount> hide{};
    std::array<bool, kDriveCount> deny{};
    std::array<bool, kServiceCount> services{};
};

struct SelectionProblem {
    int line;  // counted from 1
    std::string reason;
};

enum class SelectionRules {
    Strict,     // eight lines of plain text, every field whole and in range
    Forgiving,  // a short or odd field is read as far as it goes; list flags other than 1 are no mark;
                // a combo index is any number (the form knows its own range)
};

struct SelectionReading {
    SavedSelection selection;
    int boxes = 0;   // boxes read from the first line, in order
    int fields = 0;  // whole fields read, in order (0 to 8): those past them are not in `selection`
    std::optional<SelectionProblem> problem;  // where the reading stopped, and why
};

SelectionReading ReadSelectionLines(const std::vector<std::string>& lines, SelectionRules rules);

// Why a line is not plain text (a control character, bytes that are not
// text), naming the character; nothing when it is.
std::optional<std::string> TextProblem(const std::string& line);

}  // namespace quillon
