#include "planning/Plan.h"

#include "engine/Phases.h"
#include "engine/RunStack.h"
#include "planning/NetChange.h"
#include "planning/PlanningPlatform.h"
#include "engine/SelectionForm.h"

namespace quillon {

namespace {

void RunPages(SelectionForm& selection, RunContext& context, std::span<const Page> pages) {
    for (Page page : pages) context.addPage(page);
    for (Page page : pages) {
        selection.setPageVisible(page, true);
        // The run skips a phase that fails; so does the plan.
        try {
            RunPhase(context, page);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace

std::vector<PlannedEffect> PlanRun(const Form& form, Platform& machine, const std::string& userName,
                                   std::span<const Page> pages) {
    SelectionForm selection = SelectionForm::CopyOf(form);
    RunStack stack(machine);
    const PlanningPlatform& planner = stack.stack<PlanningPlatform>();
    stack.run(selection, userName, [&](RunContext& context) { RunPages(selection, context, pages); });
    return planner.effects();
}

std::vector<Change> PlanNetChanges(const Form& form, Platform& machine, const std::string& userName,
                                      std::span<const Page> pages) {
    SelectionForm selection = SelectionForm::CopyOf(form);
    RunStack stack(machine);
    stack.stack<PlanningPlatform>();
    NetChangeWatch& watch = stack.stack<NetChangeWatch>(true);
    stack.run(selection, userName, [&](RunContext& context) { RunPages(selection, context, pages); });
    return watch.changes();
}

}  // namespace quillon
