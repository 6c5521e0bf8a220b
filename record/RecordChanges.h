#pragma once
// An undo record's changes, as the run printed them: each target the run
// left otherwise than it found it, with the steps that touched it, worked
// out from the record's state and change lines (RecordState.h).
#include <string>
#include <vector>

#include "effects/Change.h"
#include "record/RecordLines.h"
#include "record/RecordState.h"

namespace quillon {

// How many changes the run made, as it printed them: one per target (a value,
// a key made, a tree removed or copied over, a file, a folder, a tool run)
// whose state the run left otherwise than it found it. A value inside a tree
// belongs to the first change that touched it. A tool that failed (it never
// started, or said it failed) is none.
int CountChanges(const std::vector<StateLine>& lines);

// Those changes, in the order the run made them, as UNDO /show prints them.
std::vector<Change> RecordedChanges(const std::vector<StateLine>& lines);
// The steps whose change touched `target`: the same target, or a tree holding it.
std::vector<StepTag> StepsOf(const std::vector<Change>& changes, const EffectTarget& target);
// The same for a target as a restore names it ("KEY\\NAME", "KEY\\(Default)", a key or a path).
std::vector<StepTag> StepsOfNamed(const std::vector<Change>& changes, const std::string& named);
StepTag TagOf(const RecordedStep& step);
// The pages of the run's changes, in the order the run took them.
std::vector<Page> ChangedPages(const std::vector<StateLine>& lines);
// The steps whose changes failed or were not made, each once, in run order.
std::vector<StepTag> FailedSteps(const std::vector<StateLine>& lines);

}  // namespace quillon
