#pragma once
// The desired-state file of /boxes: only the boxes it names are managed, each
// on its side, and the controls that are not boxes with their value; every
// other box is left as the machine has it. One entry a line:
//   on 54 | off 19 | on Alerter | Combo2 0 | Combo3 1 | Opt 2 | txtPath C:\Downloads | lstHide C,D | lstNot none
// Blank lines are skipped; a ';' at a line's start or after a blank begins a
// comment. A txtPath that holds one (or blanks at either end) is written in
// quotes; a path never holds a quote.
#include <string>
#include <variant>
#include <vector>

#include "console/Arguments.h"
#include "settings/StrictSelection.h"

namespace quillon {
class Platform;
struct LiveControls;
}

namespace quillon::console {

using StrictBoxes = std::variant<ListedBoxes, SelectionProblem>;

StrictBoxes ParseBoxesFile(const std::vector<std::string>& lines);
// Reads and checks the file; one that cannot be read is a problem on line 0.
StrictBoxes ReadBoxesFile(Platform& platform, const std::string& path);

// The file's lines for `boxes`: boxes by number, then Services entries in
// their page's order, then the controls.
std::vector<std::string> BoxesLines(const ListedBoxes& boxes);

}  // namespace quillon::console
