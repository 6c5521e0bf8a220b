#include "journal/LiveState.h"

#include <map>
#include <utility>

#include "journal/Plan.h"
#include "journal/SelectionForm.h"

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
    SelectionForm everything;
    everything.tickEverything(true);
    constexpr Page kPages[] = {Page::System, Page::Security, Page::Services};
    struct Count {
        int effects = 0, inPlace = 0;
        bool unreadable = false;
    };
    std::map<std::pair<Page, int>, Count> boxes, entries;  // (page, chk) and (page, position)
    // Page by page, as the window applies them: another page's steps must not
    // stand in for a box's own (both pages delete the same shortcuts).
    std::vector<PlannedEffect> plan;
    for (Page page : kPages)
        for (PlannedEffect& p : PlanRun(everything, machine, userName, std::span<const Page>(&page, 1)))
            plan.push_back(std::move(p));
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
        if (c.unreadable || c.effects == 0) return BoxState::Unknown;
        if (c.inPlace == c.effects) return BoxState::On;
        return c.inPlace == 0 ? BoxState::Off : BoxState::Partial;
    };
    std::vector<LiveBox> out;
    for (const auto& [at, count] : boxes) out.push_back({at.first, at.second, -1, state(count)});
    for (const auto& [at, count] : entries) out.push_back({at.first, -1, at.second, state(count)});
    return out;
}

}  // namespace quillon
