#pragma once
// Where a change comes from, in the words the window shows: the page, the
// box's number and caption, the list entry, or the control's name. The
// console tool and the preview window print the same words.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Form.h"
#include "engine/StepTag.h"

namespace quillon {

// "54"; "24,28" for a step that reads two boxes; the entry's position on the
// Services page; otherwise the control ("Combo3", "lstHide", "lstStartup 2").
std::string StepNumber(const StepTag& step);

// The box's caption, the entry's text, or the words over the control
// ("Hide Drive:" for lstHide).
std::string StepCaption(const StepTag& step);

std::string BoxCaption(int box);
// The caption, or what it says in English where it is in another language.
std::string BoxCaptionInEnglish(int box);
// The words the window shows over a control that is not a box; else its name.
std::string ControlCaption(std::string_view control);

// page(s), number(s), caption(s) of the steps of one change, joined as a net
// change joins them; "-" for each when there is none.
std::vector<std::string> StepFields(const std::vector<StepTag>& steps);

// The page a box is on; nothing for a number that is no box.
std::optional<Page> PageOfBox(int box);

}  // namespace quillon
