#pragma once
// Where a change comes from, in the words the window shows beside the control
// (the preview names rows this way): a box's caption, a list's label, the
// entry's text. A caption the window never shows is named by its meaning.
#include <string>

#include "engine/Form.h"
#include "engine/StepTag.h"

namespace quillon {

std::string ScreenCaption(const StepTag& step);

// "ticked" or "unticked": the side of the box or entry the step acts on for
// the selection on the form; "ticked / unticked" for a step reading two
// boxes that differ; empty for a control that is no box (a drive list, the
// download folder, a combo).
std::string ScreenSide(const Form& form, const StepTag& step);

}  // namespace quillon
