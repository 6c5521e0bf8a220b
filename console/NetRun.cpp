#include "console/NetRun.h"

#include "console/InScopeOnly.h"
#include "console/RecordSteps.h"

#include <optional>

#include "engine/Phases.h"
#include "engine/Step.h"
#include "planning/PlanningPlatform.h"
#include "engine/SelectionForm.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"

namespace quillon::console {

void PutRequestedSelection(Form& form, const Request& request, const SavedSelection* saved) {
    if (saved) PutSelection(form, *saved);
    if (!request.listed) return;
    for (int box : request.listed->onBoxes) form.setChk(box, kTicked);
    for (int box : request.listed->offBoxes) form.setChk(box, kUnticked);
    for (int entry : request.listed->onEntries) form.setListSelected(CheckList::Service, entry, true);
    for (int entry : request.listed->offEntries) form.setListSelected(CheckList::Service, entry, false);
    const ListedBoxes& listed = *request.listed;
    if (listed.prefetch) form.setComboIndex(Combo::Prefetch, *listed.prefetch);
    if (listed.priority) form.setComboIndex(Combo::Priority, *listed.priority);
    if (listed.option) form.selectOpt(*listed.option);
    if (listed.downloadPath) form.setTxtPath(*listed.downloadPath);
    for (int i = 0; i < kDriveCount; ++i) {
        if (listed.hide) form.setListSelected(CheckList::Hide, i, (*listed.hide)[i]);
        if (listed.deny) form.setListSelected(CheckList::Not, i, (*listed.deny)[i]);
    }
}

void RunPages(RunContext& context, const Request& request, const std::function<void(std::size_t)>& beforePage) {
    const std::vector<Page> pages = InRunOrder(request.pages);
    // The pages are one run: a ticked box on a later page wins a value an earlier page shares.
    context.startRun();
    for (Page page : pages) context.addPage(page);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (beforePage) beforePage(i);
        context.form.setPageVisible(pages[i], true);
        RunStep(context, [&] { RunPhase(context, pages[i]); });
    }
}

PlannedNetChange::PlannedNetChange(VerbContext& verb, const SavedSelection* saved) : plan_(verb.platform) {
    SelectionForm form;
    PutRequestedSelection(form, verb.request, saved);
    // The run's own stack, with a planner where the journal would be.
    plan_.stack<PlanningPlatform>();
    watch_ = &plan_.stack<NetChangeWatch>();
    if (verb.request.listed) plan_.stack<ListedBoxesOnly>(*verb.request.listed);
    if (verb.request.scope) plan_.stack<InScopeOnly>(*verb.request.scope);
    // A plan counts no failed steps: the run reports its failures.
    plan_.run(form, verb.userName, [&](RunContext& context) { RunPages(context, verb.request); });
    changes_ = watch_->changes();
}

std::vector<Change> PlanNetChange(VerbContext& verb, const SavedSelection* saved) {
    return PlannedNetChange(verb, saved).changes();
}

ChangeOutcome Outcome(const Change& change, std::string result, bool applied) {
    const std::vector<std::string> step = StepFields(change.steps);
    const bool ran = applied && !change.readable;
    return {step[0], step[1], step[2], DescribeWhat(change), ran ? "-" : DescribeState(change.before),
            ran ? "ran, exit code 0" : DescribeState(change.after), std::move(result)};
}

std::string ChangeLine(const Change& change, bool applied) {
    // A tool is no change read back: it ran, and says how it ended.
    // Only a tool that ended well counts as run; one that did not is a failed step.
    const ChangeOutcome line = Outcome(change, {}, applied);
    return Tabbed({line.pages, line.numbers, line.captions, line.what, line.before, line.after});
}

}  // namespace quillon::console
