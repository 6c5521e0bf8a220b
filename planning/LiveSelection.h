#pragma once
// The machine's state put on a form as a selection: applying it changes
// nothing. Boxes are ticked exactly when their effect is in place (as STATUS
// says "on"); the controls that are not boxes read the values they write.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/Form.h"
#include "planning/LiveState.h"

namespace quillon {

class Platform;

// The three pages whose state can be read back.
std::span<const Page> LivePages();

enum class PartialBoxes {
    Unticked,  // a selection to apply or save: a partial box is not ticked
    Greyed,    // the window's view: a partial box is greyed (which a run reads as not ticked)
};

// Sets the boxes and Services entries of `pages` (System, Security or Services),
// and the controls on them that are not boxes: on Security the drive lists
// from the drive masks and txtPath from the download directory; on System
// Combo2, Combo3 and Opt from the values they write. A control whose value
// matches none of its choices is left as it is.
// A box or entry whose state cannot be read keeps its tick; a service the
// machine lacks is unticked and greyed. Returns the states put.
std::vector<LiveBox> PutLiveSelection(Form& form, Platform& machine, const std::string& userName,
                                      std::span<const Page> pages = LivePages(),
                                      PartialBoxes partial = PartialBoxes::Unticked);

// The controls that are not boxes whose value the machine holds in a form
// their step writes back the same; a control left out has no such value.
struct LiveControls {
    std::optional<int> prefetch, priority, option;  // Combo2, Combo3, Opt
    std::optional<std::string> downloadPath;        // txtPath
    std::optional<std::array<bool, kDriveCount>> hide, deny;  // lstHide, lstNot
};
LiveControls ReadLiveControls(Platform& machine, std::span<const Page> pages = LivePages());

// Only the controls that are not boxes, for the pages among `pages`.
void PutLiveControls(Form& form, Platform& machine, std::span<const Page> pages = LivePages());

}  // namespace quillon
