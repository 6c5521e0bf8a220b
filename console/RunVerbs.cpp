// APPLY: the verb that changes the machine, with an undo record written ahead
// of every change.
#include <algorithm>
#include <functional>
#include <optional>

#include "console/NetRun.h"
#include "console/ProgressBar.h"
#include "console/Report.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/Phases.h"
#include "engine/Step.h"
#include "record/RunRecorder.h"
#include "console/CachedReads.h"
#include "console/DifferingOnly.h"
#include "console/InScopeOnly.h"
#include "planning/NetChange.h"
#include "engine/SelectionForm.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"

namespace quillon::console {
namespace {

// The selection of the run, passing the run's progress on to the bar.
class ProgressForm final : public SelectionForm {
public:
    std::function<void(int twips)> onProgress;
    void setProgressWidth(int twips) override {
        if (onProgress) onProgress(twips);
    }
};

// What a run of the request changed, read back from the machine afterwards,
// and every step that could not do its part.
struct AppliedRun {
    RecordedRun recorded;
    std::vector<Change> changes;
    std::vector<StepFailure> failures;
};

void SayNotPresent(VerbContext& verb, const std::vector<Change>& changes) {
    for (const Change& change : changes)
        if (!change.present) {
            const StepTag& step = change.steps.front();
            verb.say("not present: " + PageName(step.page) + " " + StepNumber(step) + " " + StepCaption(step) +
                     ": the machine has no service " + change.effect->target);
        }
}

bool NothingDiffers(const std::vector<Change>& changes) {
    return std::none_of(changes.begin(), changes.end(),
                        [](const Change& change) { return change.changed && change.present; });
}

// The pages of the request run through `recorder`'s stack with the bar showing
// how far; counted as the window counts them: every step that could not do its
// part, a write refused before any tool started included.
RecordedRun RunWithBar(VerbContext& verb, RunRecorder& recorder, ProgressForm& form, std::vector<StepFailure>& failures) {
    const std::vector<Page> pages = InRunOrder(verb.request.pages);
    return recorder.run(form, verb.userName, [&](RunContext& context) {
        FailedSteps failed(context);
        ProgressBar bar(verb.terminal);
        std::size_t current = 0;
        form.onProgress = [&](int twips) {
            bar.show((current + static_cast<double>(twips) / kProgressFull) / pages.size(), PageName(pages[current]));
        };
        RunPages(context, verb.request, [&](std::size_t page) {
            current = page;
            bar.show(static_cast<double>(page) / pages.size(), PageName(pages[page]));
        });
        form.onProgress = nullptr;
        failures = failed.failures();
    });
}

// A tool may report success and still not write (regedit imports silently,
// and a value it may not write stays as it was): what the machine holds says.
void AddMissedChanges(AppliedRun& run) {
    for (const Change& change : run.changes)
        if (change.missed) {
            const StepTag& step = change.steps.back();
            const bool named = std::any_of(run.failures.begin(), run.failures.end(), [&](const StepFailure& f) {
                return f.step.page == step.page && f.step.boxes == step.boxes && f.step.entry == step.entry &&
                       f.step.control == step.control;
            });
            if (!named)
                run.failures.push_back({step, "the change did not take effect: " + DescribeWhat(change) +
                                                  "; the machine holds " + DescribeState(change.after)});
        }
}

// Only the targets the plan found differing are touched. Nothing when no record can be written.
std::optional<AppliedRun> RunDiffering(VerbContext& verb, const SavedSelection* saved, const NetChangeWatch& plan) {
    ProgressForm form;
    PutRequestedSelection(form, verb.request, saved);
    const std::string undoRoot = RecordRoot(verb.platform, verb.request);
    RunRecorder recorder(verb.platform, verb.request.noUndo ? std::nullopt : std::optional(undoRoot));
    if (!recorder.begin()) {
        verb.say("no undo record can be written in " + undoRoot +
                 "; nothing was changed (/noundo applies without one)");
        return std::nullopt;
    }
    // What the run changed is read back from the machine afterwards, with or
    // without a record: a change that was refused or failed is never shown.
    NetChangeWatch& watch = recorder.stack<NetChangeWatch>();
    recorder.stack<DifferingOnly>(plan);
    if (verb.request.listed) recorder.stack<ListedBoxesOnly>(*verb.request.listed);
    if (verb.request.scope) recorder.stack<InScopeOnly>(*verb.request.scope);
    AppliedRun run;
    run.recorded = RunWithBar(verb, recorder, form, run.failures);
    for (const StepFailure& f : watch.toolFailures()) run.failures.push_back(f);
    run.changes = watch.changes();
    AddMissedChanges(run);
    return run;
}

// A box whose several steps fail alike is named once, with how many failed,
// and is one failed change of the result.
void SayFailures(VerbContext& verb, const std::vector<StepFailure>& failures, RunResult& result) {
    std::vector<std::pair<std::string, int>> said;
    for (const StepFailure& f : failures) {
        const std::string line =
            "failed: " + PageName(f.step.page) + " " + StepNumber(f.step) + " " + StepCaption(f.step) + ": " + f.reason;
        auto same = std::find_if(said.begin(), said.end(), [&](const auto& s) { return s.first == line; });
        if (same != said.end()) {
            ++same->second;
            continue;
        }
        said.emplace_back(line, 1);
        const std::vector<std::string> step = StepFields({f.step});
        result.changes.push_back({step[0], step[1], step[2], "", "", f.reason, "failed"});
    }
    for (const auto& [line, count] : said)
        verb.say(count == 1 ? line : line + " (" + std::to_string(count) + " steps)");
}

// The plan's targets the run had no need to touch: they held what was wanted, or are not on this machine.
void AddUntouched(RunResult& result, const std::vector<Change>& plan) {
    for (const Change& change : plan)
        if (!change.present || !change.changed) result.changes.push_back(Outcome(change, change.present ? "unchanged" : "not present"));
}

int Reported(VerbContext& verb, const SavedSelection* saved, const AppliedRun& run, int status) {
    if (!verb.request.reportFile) return status;
    return AppendReport(verb, NetChangeRows(verb, saved, run.changes, run.failures, true), status,
                        std::max(status, static_cast<int>(kSomeStepsFailed)), run.recorded.folder);
}

}  // namespace

int Apply(VerbContext& verb, const SavedSelection* saved) {
    // Test before set: the plan says which targets differ, and only those are
    // touched. It reads through a cache, as CHECK does, and reads nothing more
    // once made, so the run itself sees the machine as it is.
    std::optional<PlannedNetChange> planned;
    {
        CachedReads cached(verb.platform);
        VerbContext reading{verb.request, verb.terminal, cached, verb.userName};
        planned.emplace(reading, saved);
    }
    SayNotPresent(verb, planned->changes());
    RunResult result{{}, {"changed"}, {"changed", "unchanged", "failed", "not present"}, std::nullopt};
    if (!verb.request.noUndo) result.undoFolder = "";
    if (NothingDiffers(planned->changes())) {
        // A machine that matches is left alone: no tool starts and no record is kept.
        AddUntouched(result, planned->changes());
        const int status = Reported(verb, saved, AppliedRun{{}, planned->changes(), {}}, kDone);
        PrintResult(verb, result, status);
        return status;
    }
    const std::optional<AppliedRun> run = RunDiffering(verb, saved, planned->watch());
    if (!run) return kNoUndoRecord;
    for (const Change& change : run->changes)
        if (change.present && change.changed) result.changes.push_back(Outcome(change, "changed", true));
    SayFailures(verb, run->failures, result);
    AddUntouched(result, planned->changes());
    int status = run->failures.empty() ? kDone : kSomeStepsFailed;
    if (!verb.request.noUndo) {
        // Kept only when the machine no longer holds what the record says it held.
        result.undoFolder = run->recorded.folder;
        if (!run->recorded.complete) {
            verb.say("stopped: " + run->recorded.stopReason +
                     "; nothing was changed without its record, and the steps named as failed above were left undone");
            status = kNoUndoRecord;
        }
    }
    status = Reported(verb, saved, *run, status);
    PrintResult(verb, result, status);
    return status;
}

}  // namespace quillon::console
