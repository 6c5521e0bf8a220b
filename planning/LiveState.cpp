#include "planning/LiveState.h"

#include <algorithm>
#include <map>
#include <utility>

#include "effects/EffectTarget.h"
#include "planning/LiveSelection.h"
#include "engine/Phases.h"
#include "engine/RunStack.h"
#include "planning/NetChange.h"
#include "planning/PlanningPlatform.h"
#include "engine/SelectionForm.h"
#include "words/StepNames.h"

namespace quillon {

const char* BoxStateName(BoxState state) {
    switch (state) {
    case BoxState::On: return "on";
    case BoxState::Off: return "off";
    case BoxState::Partial: return "partial";
    case BoxState::NotSet: return "not set";
    case BoxState::Absent: return "absent";
    case BoxState::Unknown: break;
    }
    return "unknown";
}

std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName) {
    return LiveState(machine, userName, LivePages());
}

namespace {

struct Side {
    bool touches = false;     // it has a target in the part read
    bool drifts = false;      // a target it writes would change
    bool unreadable = false;  // it runs a tool whose effect cannot be read back
    bool set = false;         // a target it writes is there on the machine
    bool present = false;     // a target it writes is one the machine has
    bool missing = false;     // a target it writes is a service the machine lacks
};
using Sides = std::map<std::pair<Page, int>, Side>;  // (page, chk) or (page, entry)

// Per box and per Services entry, one side of it read as CHECK reads a run:
// the net change of each target, so a key deleted and made again as it was is
// no change, and a service the machine lacks is none either.
void ReadSide(Platform& machine, const std::string& userName, std::span<const Page> pages, bool ticked,
              std::optional<TargetScope> scope, Sides& boxes, Sides& entries) {
    SelectionForm side;
    side.tickEverything(ticked);
    PutLiveControls(side, machine, pages);
    // Page by page, as the window applies them: another page's steps must not
    // stand in for a box's own (both pages delete the same shortcuts).
    for (Page page : LivePages()) {
        if (std::find(pages.begin(), pages.end(), page) == pages.end()) continue;
        SelectionForm selection = SelectionForm::CopyOf(side);
        selection.setPageVisible(page, true);
        RunStack stack(machine);
        stack.stack<PlanningPlatform>();
        NetChangeWatch& watch = stack.stack<NetChangeWatch>();
        // A reading counts no failures.
        stack.run(selection, userName, [page](RunContext& context) {
            context.addPage(page);
            try {
                RunPhase(context, page);
            } catch (const std::exception&) {
            }
        });
        for (const Change& change : watch.changes()) {
            if (scope && ScopeOf(change.target) != *scope) continue;
            auto mark = [&](Side& s) {
                s.touches = true;
                if (!change.present) return void(s.missing = true);
                s.present = true;
                s.set = s.set || change.before.is != TargetState::Is::Absent;
                s.unreadable = s.unreadable || !change.readable;
                s.drifts = s.drifts || (change.changed && change.readable);
            };
            for (const StepTag& step : change.steps) {
                for (int box : step.boxes)
                    if (box >= 0) mark(boxes[{step.page, box}]);
                if (step.page == Page::Services && step.entry >= 0) mark(entries[{step.page, step.entry}]);
            }
        }
    }
}

}  // namespace

namespace {

std::vector<LiveBox> ReadLiveState(Platform& machine, const std::string& userName, std::span<const Page> pages,
                                   std::optional<TargetScope> scope) {
    Sides onBoxes, onEntries, offBoxes, offEntries;
    ReadSide(machine, userName, pages, true, scope, onBoxes, onEntries);
    ReadSide(machine, userName, pages, false, scope, offBoxes, offEntries);
    const auto touched = [&](const Side& on, const Side& off) { return !scope || on.touches || off.touches; };
    // On when nothing of ticking it is left to do (the shortcuts a box deletes
    // are gone), off when nothing of unticking it is: what CHECK of either
    // side finds. A box whose unticked side does nothing is off unless on.
    const auto state = [](const Side& on, const Side& off) {
        if (on.unreadable) return BoxState::Unknown;
        if (on.missing && !on.present) return BoxState::Absent;
        if (!on.drifts) return BoxState::On;
        if (!off.drifts) return BoxState::Off;
        return on.set || off.set ? BoxState::Partial : BoxState::NotSet;
    };
    std::vector<LiveBox> out;
    // Every box of the pages, also one whose ticking has nothing left to do.
    for (int box = 0; box < kCheckBoxCount; ++box) {
        const std::optional<Page> page = PageOfBox(box);
        if (page && std::find(pages.begin(), pages.end(), *page) != pages.end() && *page != Page::Speed &&
            touched(onBoxes[{*page, box}], offBoxes[{*page, box}]))
            out.push_back({*page, box, -1, state(onBoxes[{*page, box}], offBoxes[{*page, box}])});
    }
    if (std::find(pages.begin(), pages.end(), Page::Services) != pages.end())
        for (int entry = 0; entry < kServiceCount; ++entry)
            if (touched(onEntries[{Page::Services, entry}], offEntries[{Page::Services, entry}]))
                out.push_back({Page::Services, -1, entry,
                           state(onEntries[{Page::Services, entry}], offEntries[{Page::Services, entry}])});
    std::stable_sort(out.begin(), out.end(), [](const LiveBox& a, const LiveBox& b) { return a.page < b.page; });
    return out;
}

}  // namespace

std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName, std::span<const Page> pages) {
    return ReadLiveState(machine, userName, pages, std::nullopt);
}

std::vector<LiveBox> LiveState(Platform& machine, const std::string& userName, std::span<const Page> pages,
                               TargetScope scope) {
    return ReadLiveState(machine, userName, pages, scope);
}

}  // namespace quillon
