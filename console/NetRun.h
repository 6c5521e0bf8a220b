#pragma once
// What PREVIEW, CHECK and APPLY share: the selection a verb runs with, the
// run through the listed boxes only, and the line of a net change.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "console/ListedBoxesOnly.h"
#include "console/RunResult.h"
#include "console/VerbSteps.h"
#include "engine/RunContext.h"
#include "effects/Change.h"
#include "planning/NetChange.h"
#include "engine/RunStack.h"

namespace quillon::console {

// The selection file's settings, or (for /on and /off) the listed boxes
// ticked and unticked on a form as the window starts.
void PutRequestedSelection(Form& form, const Request& request, const SavedSelection* saved);

// Runs the requested pages in run order, each phase skipped when it fails.
void RunPages(RunContext& context, const Request& request, const std::function<void(std::size_t)>& beforePage = {});

// The plan of a run of the request, read as its net change; nothing is changed.
class PlannedNetChange {
public:
    PlannedNetChange(VerbContext& verb, const SavedSelection* saved);
    const std::vector<Change>& changes() const& { return changes_; }
    std::vector<Change> changes() && { return std::move(changes_); }
    // Which targets the run needs to touch.
    const NetChangeWatch& watch() const { return *watch_; }

private:
    RunStack plan_;
    NetChangeWatch* watch_ = nullptr;
    std::vector<Change> changes_;
};

// The net change a run of the request would make; nothing is changed.
std::vector<Change> PlanNetChange(VerbContext& verb, const SavedSelection* saved);

// A change as PREVIEW, CHECK, APPLY and UNDO /show print it: page(s),
// number(s), caption(s), what, before, after; a tool `applied` ran shows "-"
// and how it ended instead.
std::string ChangeLine(const Change& change, bool applied = false);
// The same fields with the change's result.
ChangeOutcome Outcome(const Change& change, std::string result, bool applied = false);

}  // namespace quillon::console
