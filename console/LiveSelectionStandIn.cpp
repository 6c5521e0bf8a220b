#include "console/LiveSelectionStandIn.h"

#include "journal/LiveState.h"

namespace quillon {

// Boxes and Services entries only; the other controls keep what the form has.
void PutLiveSelection(Form& form, Platform& machine, const std::string& userName) {
    for (const LiveBox& live : LiveState(machine, userName)) {
        const bool on = live.state == BoxState::On;
        if (live.box >= 0) form.setChk(live.box, on ? kTicked : kUnticked);
        else form.setListSelected(CheckList::Service, live.entry, on);
    }
}

}  // namespace quillon
