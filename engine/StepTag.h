#pragma once
// What the step being run belongs to: its page and the box, list entry or
// other control it reads. The plan and the undo record tie every change to it.
#include <array>
#include <string>
#include <string_view>

#include "engine/Form.h"

namespace quillon {

struct StepTag {
    Page page = Page::System;
    std::array<int, 2> boxes{-1, -1};  // chk indexes; -1 for none
    std::string_view control;          // another control the step reads: "Combo2", "txtPath", "lstService"...
    int entry = -1;                    // the list entry, for a step per entry
    std::string item;                  // that entry's text

    bool hasBox(int box) const { return box >= 0 && (boxes[0] == box || boxes[1] == box); }
};

// The controls other than boxes that steps read, and the undo that takes a
// run back. A tag only refers to its control's name: one read back from a
// record is pointed at its entry here.
// "System", "Security", "Services", "Startup", "Speed": the words both front ends and the record's log use.
inline std::string PageName(Page page) {
    constexpr const char* kPages[] = {"System", "Security", "Services", "Startup", "Speed"};
    const auto index = static_cast<unsigned>(page);
    return index < std::size(kPages) ? kPages[index] : std::string();
}

inline constexpr std::string_view kStepControls[] = {"Combo2", "Combo3",    "Opt",  "txtPath",
                                                     "lstHide", "lstNot", "lstService", "undo"};
inline std::string_view KnownStepControl(std::string_view name) {
    for (std::string_view control : kStepControls)
        if (control == name) return control;
    return {};
}

}  // namespace quillon
