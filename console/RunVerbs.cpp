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
    const PlannedNetChange& plan = *planned;
    for (const Change& change : plan.changes())
        if (!change.present) {
            const StepTag& step = change.steps.front();
            verb.say("not present: " + PageName(step.page) + " " + StepNumber(step) + " " + StepCaption(step) +
                     ": the machine has no service " + change.effect->target);
        }
    const bool nothingDiffers = std::none_of(plan.changes().begin(), plan.changes().end(),
                                             [](const Change& change) { return change.changed && change.present; });
    if (nothingDiffers) {
        // A machine that matches is left alone: no tool starts and no record is kept.
        if (!verb.request.noUndo) verb.terminal.out(Tabbed({"undo", "none"}));
        if (verb.request.reportFile && !AppendReport(verb, NetChangeRows(verb, saved, plan.changes(), {}, true), kDone))
            return kSomeStepsFailed;
        return kDone;
    }

    ProgressForm form;
    PutRequestedSelection(form, verb.request, saved);
    const std::vector<Page> pages = InRunOrder(verb.request.pages);

    const std::string undoRoot = RecordRoot(verb.platform, verb.request);
    RunRecorder recorder(verb.platform, verb.request.noUndo ? std::nullopt : std::optional(undoRoot));
    if (!recorder.begin()) {
        verb.say("no undo record can be written in " + undoRoot +
                 "; nothing was changed (/noundo applies without one)");
        return kNoUndoRecord;
    }
    // What the run changed is read back from the machine afterwards, with or
    // without a record: a change that was refused or failed is never shown.
    NetChangeWatch& watch = recorder.stack<NetChangeWatch>();
    recorder.stack<DifferingOnly>(plan.watch());
    if (verb.request.listed) recorder.stack<ListedBoxesOnly>(*verb.request.listed);
    if (verb.request.scope) recorder.stack<InScopeOnly>(*verb.request.scope);

    // Counted as the window counts them: every step that could not do its
    // part, a write refused before any tool started included.
    std::vector<StepFailure> failures;
    const RecordedRun recorded = recorder.run(form, verb.userName, [&](RunContext& context) {
        FailedStepCount failed;
        failed.onFailure = [&](const std::string& why) { failures.push_back({context.step, why}); };
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
    });
    for (const StepFailure& f : watch.toolFailures()) failures.push_back(f);

    const std::vector<Change> changes = watch.changes();
    // A tool may report success and still not write (regedit imports silently,
    // and a value it may not write stays as it was): what the machine holds says.
    for (const Change& change : changes)
        if (change.missed) {
            const StepTag& step = change.steps.back();
            const bool named = std::any_of(failures.begin(), failures.end(), [&](const StepFailure& f) {
                return f.step.page == step.page && f.step.boxes == step.boxes && f.step.entry == step.entry &&
                       f.step.control == step.control;
            });
            if (!named)
                failures.push_back({step, "the change did not take effect: " + DescribeWhat(change) +
                                              "; the machine holds " + DescribeState(change.after)});
        }

    for (const Change& change : changes)
        if (change.present && change.changed) verb.terminal.out(ChangeLine(change, true));
    // A box whose several steps fail alike is named once, with how many failed.
    std::vector<std::pair<std::string, int>> said;
    for (const StepFailure& f : failures) {
        const std::string line =
            "failed: " + PageName(f.step.page) + " " + StepNumber(f.step) + " " + StepCaption(f.step) + ": " + f.reason;
        auto same = std::find_if(said.begin(), said.end(), [&](const auto& s) { return s.first == line; });
        if (same == said.end()) said.emplace_back(line, 1);
        else ++same->second;
    }
    for (const auto& [line, count] : said)
        verb.say(count == 1 ? line : line + " (" + std::to_string(count) + " steps)");

    int status = failures.empty() ? kDone : kSomeStepsFailed;
    if (!verb.request.noUndo) {
        // Kept only when the machine no longer holds what the record says it held.
        verb.terminal.out(Tabbed({"undo", recorded.folder.empty() ? "none" : recorded.folder}));
        if (!recorded.complete) {
            verb.say("stopped: " + recorded.stopReason +
                     "; nothing was changed without its record, and the steps named as failed above were left undone");
            status = kNoUndoRecord;
        }
    }
    if (verb.request.reportFile && !AppendReport(verb, NetChangeRows(verb, saved, changes, failures, true), status))
        return std::max(status, static_cast<int>(kSomeStepsFailed));
    return status;
}

}  // namespace quillon::console
