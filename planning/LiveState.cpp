#include "planning/LiveState.h"

#include <algorithm>
#include <map>
#include <utility>

#include "planning/LiveSelection.h"
#include "planning/Plan.h"
#include "engine/SelectionForm.h"
#include "words/StepNames.h"

namespace quillon {

const char* BoxStateName(BoxState state) {
    switch (state) {
    case BoxState::On: return "on";
    case BoxState::Off: return "off";
    case BoxState::Partial: return "partial";
    case BoxState::Unknown: break;
    }
    return "unknown";
}

std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName) {
    return LiveState(machine, userName, LivePages());
}

namespace {

struct Count {
    int effects = 0, inPlace = 0;
    bool unreadable = false;
    bool holds() const { return inPlace == effects; }
};
using Counts = std::map<std::pair<Page, int>, Count>;  // (page, chk) or (page, entry)

// Per box and per Services entry: how many effects of one side there are and
// how many of them are in place.
void CountSide(Platform& machine, const std::string& userName, std::span<const Page> pages, bool ticked,
               Counts& boxes, Counts& entries) {
    SelectionForm side;
    side.tickEverything(ticked);
    PutLiveControls(side, machine, pages);
    // Page by page, as the window applies them: another page's steps must not
    // stand in for a box's own (both pages delete the same shortcuts).
    for (Page page : LivePages()) {
        if (std::find(pages.begin(), pages.end(), page) == pages.end()) continue;
        for (const PlannedEffect& p : PlanRun(side, machine, userName, std::span<const Page>(&page, 1))) {
            auto add = [&](Count& c) {
                ++c.effects;
                c.inPlace += p.inPlace ? 1 : 0;
                c.unreadable = c.unreadable || !p.readable;
            };
            for (int box : p.step.boxes)
                if (box >= 0) add(boxes[{p.step.page, box}]);
            if (p.step.page == Page::Services && p.step.entry >= 0) add(entries[{p.step.page, p.step.entry}]);
        }
    }
}

}  // namespace

std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName, std::span<const Page> pages) {
    Counts onBoxes, onEntries, offBoxes, offEntries;
    CountSide(machine, userName, pages, true, onBoxes, onEntries);
    CountSide(machine, userName, pages, false, offBoxes, offEntries);
    // On when nothing of ticking it is left to do (the shortcuts a box deletes
    // are gone), off when nothing of unticking it is: what CHECK of either
    // side finds. A box whose unticked side does nothing is off unless on.
    const auto state = [](const Count& on, const Count& off) {
        if (on.unreadable) return BoxState::Unknown;
        if (on.holds()) return BoxState::On;
        return off.holds() ? BoxState::Off : BoxState::Partial;
    };
    std::vector<LiveBox> out;
    // Every box of the pages, also one whose ticking has nothing left to do.
    for (int box = 0; box < kCheckBoxCount; ++box) {
        const std::optional<Page> page = PageOfBox(box);
        if (page && std::find(pages.begin(), pages.end(), *page) != pages.end() && *page != Page::Speed)
            out.push_back({*page, box, -1, state(onBoxes[{*page, box}], offBoxes[{*page, box}])});
    }
    if (std::find(pages.begin(), pages.end(), Page::Services) != pages.end())
        for (int entry = 0; entry < kServiceCount; ++entry)
            out.push_back({Page::Services, -1, entry,
                           state(onEntries[{Page::Services, entry}], offEntries[{Page::Services, entry}])});
    std::stable_sort(out.begin(), out.end(), [](const LiveBox& a, const LiveBox& b) { return a.page < b.page; });
    return out;
}

}  // namespace quillon
