#pragma once
// The plan of a run: what an optimise run would change, effect by effect, for
// a selection and a set of pages, worked out by running the ordinary steps
// against a platform that reads the machine and records instead of changing.
#include <span>
#include <string>
#include <vector>

#include "engine/Form.h"
#include "engine/Phases.h"  // RunOrder, for callers of PlanRun
#include "engine/StepTag.h"
#include "effects/Change.h"
#include "effects/MachineView.h"

namespace quillon {

class Platform;

// An effect with what it would do where the run would reach it (before,
// after, whether it changes anything: MachineView.h).
struct PlannedEffect : Assessment {
    Effect effect;
    StepTag step;          // the page and box (or entry, or control) it comes from
    bool inPlace = false;  // what the effect leaves is already on the machine now
};

// The effects of applying `pages`, in the order given, with the selection on
// `form`. Neither the form nor the machine is changed and no process starts.
std::vector<PlannedEffect> PlanRun(const Form& form, Platform& machine, const std::string& userName,
                                   std::span<const Page> pages);

// The same run's net change, target by target, as its undo record will count
// it: a target several steps touch is one change naming all of them.
std::vector<Change> PlanNetChanges(const Form& form, Platform& machine, const std::string& userName,
                                      std::span<const Page> pages);

}  // namespace quillon
