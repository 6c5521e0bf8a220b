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

std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName, std::span<const Page> pages) {
    SelectionForm everything;
    everything.tickEverything(true);
    PutLiveControls(everything, machine, pages);
    struct Count {
        int effects = 0, inPlace = 0;
        bool unreadable = false;
    };
    std::map<std::pair<Page, int>, Count> boxes, entries;  // (page, chk) and (page, position)
    // Page by page, as the window applies them: another page's steps must not
    // stand in for a box's own (both pages delete the same shortcuts).
    std::vector<PlannedEffect> plan;
    for (Page page : LivePages()) {
        if (std::find(pages.begin(), pages.end(), page) == pages.end()) continue;
        for (PlannedEffect& p : PlanRun(everything, machine, userName, std::span<const Page>(&page, 1)))
            plan.push_back(std::move(p));
    }
    for (const PlannedEffect& p : plan) {
        auto add = [&](Count& c) {
            ++c.effects;
            c.inPlace += p.inPlace ? 1 : 0;
            c.unreadable = c.unreadable || !p.readable;
        };
        for (int box : p.step.boxes)
            if (box >= 0) add(boxes[{p.step.page, box}]);
        if (p.step.page == Page::Services && p.step.entry >= 0) add(entries[{p.step.page, p.step.entry}]);
    }
    const auto state = [](const Count& c) {
        if (c.unreadable) return BoxState::Unknown;
        // Nothing left to do (the shortcuts a box deletes are gone) is in place too.
        if (c.inPlace == c.effects) return BoxState::On;
        return c.inPlace == 0 ? BoxState::Off : BoxState::Partial;
    };
    std::vector<LiveBox> out;
    // Every box of the pages, also one whose ticking has nothing left to do.
    for (int box = 0; box < kCheckBoxCount; ++box) {
        const std::optional<Page> page = PageOfBox(box);
        if (page && std::find(pages.begin(), pages.end(), *page) != pages.end() && *page != Page::Speed)
            out.push_back({*page, box, -1, state(boxes[{*page, box}])});
    }
    if (std::find(pages.begin(), pages.end(), Page::Services) != pages.end())
        for (int entry = 0; entry < kServiceCount; ++entry)
            out.push_back({Page::Services, -1, entry, state(entries[{Page::Services, entry}])});
    std::stable_sort(out.begin(), out.end(), [](const LiveBox& a, const LiveBox& b) { return a.page < b.page; });
    return out;
}

}  // namespace quillon
