// APPLY and UNDO: the two verbs that change the machine, each with an undo
// record written ahead of every change.
#include <functional>

#include "console/ProgressBar.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/Phases.h"
#include "engine/Step.h"
#include "journal/Journal.h"
#include "journal/Plan.h"
#include "journal/Restore.h"
#include "journal/SelectionForm.h"
#include "window/StepNames.h"

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

// A record named without a folder is one of the program's own.
std::string RecordFolder(Platform& platform, const std::string& named) {
    if (named.find('\\') == std::string::npos && named.find(':') == std::string::npos)
        return UndoRoot(platform) + "\\" + named;
    return named;
}

}  // namespace

int Apply(VerbContext& verb, const SavedSelection& saved) {
    ProgressForm form;
    PutSelection(form, saved);
    const std::vector<Page> pages = InRunOrder(verb.request.pages);

    JournalPlatform journal(verb.platform, UndoRoot(verb.platform));
    if (!verb.request.noUndo && !journal.begin()) {
        verb.say("no undo record can be written in " + UndoRoot(verb.platform) +
                 "; nothing was changed (/noundo applies without one)");
        return kNoUndoRecord;
    }
    // Without a record the plan, made just before, says what the run changes.
    std::vector<PlannedEffect> planned;
    if (verb.request.noUndo) planned = PlanRun(form, verb.platform, verb.userName, pages);

    RunContext context{form, verb.request.noUndo ? verb.platform : journal, verb.userName};
    journal.follow(context.step);
    {
        ProgressBar bar(verb.terminal);
        std::size_t current = 0;
        form.onProgress = [&](int twips) {
            bar.show((current + static_cast<double>(twips) / kProgressFull) / pages.size(), PageName(pages[current]));
        };
        for (; current < pages.size(); ++current) {
            bar.show(static_cast<double>(current) / pages.size(), PageName(pages[current]));
            form.setPageVisible(pages[current], true);
            RunStep([&] { RunPhase(context, pages[current]); });
        }
        form.onProgress = nullptr;
    }

    if (verb.request.noUndo) {
        for (const PlannedEffect& p : planned)
            if (p.changes) verb.terminal.out(ChangeLine(p.step, p.effect, p.before, p.after));
        return kDone;
    }
    int failures = 0;
    for (const RecordedEffect& e : journal.effects()) {
        // A tool that fails where nothing needed changing (a key to delete is
        // not there, a backup to put back was never made) left the machine as asked.
        if (e.failed && e.changes) {
            ++failures;
            verb.say("failed: " + PageName(e.step.page) + " " + StepNumber(e.step) + " " + StepCaption(e.step) +
                     ": " + DescribeEffect(e.effect) + (e.reason.empty() ? "" : ": " + e.reason));
        } else if (e.changes && !e.failed) {
            verb.terminal.out(ChangeLine(e.step, e.effect, e.before, e.after));
        }
    }
    const std::string kept = journal.finish();
    if (!kept.empty()) verb.terminal.out(Tabbed({"undo", kept}));
    if (journal.stopped()) {
        verb.say("stopped: " + journal.stopReason() + "; the changes named as failed above were not made");
        return kNoUndoRecord;
    }
    if (kept.empty()) verb.say("nothing needed changing; no undo record was kept");
    return failures > 0 ? kSomeStepsFailed : kDone;
}

int Undo(VerbContext& verb) {
    std::string folder;
    if (verb.request.undoFolder) {
        folder = RecordFolder(verb.platform, *verb.request.undoFolder);
    } else {
        const std::vector<std::string> records = UndoRecords(verb.platform);
        if (records.empty()) {
            verb.say("there is no undo record in " + UndoRoot(verb.platform));
            return kBadUsage;
        }
        folder = records.front();
    }

    RestoreReport report;
    {
        ProgressBar bar(verb.terminal);
        bar.show(0, "restoring " + folder);
        try {
            report = RestoreRecord(verb.platform, folder);
        } catch (const PlatformError& error) {
            bar.finish();
            verb.say(folder + ": " + error.what() + "; nothing was changed");
            return kBadUsage;
        }
        bar.show(1, "restored");
    }
    for (const RecordedEffect& e : report.effects) {
        if (e.failed && e.changes) verb.say("failed: " + DescribeEffect(e.effect));
        else if (e.changes && !e.failed) verb.terminal.out(Tabbed({DescribeEffect(e.effect), e.before, e.after}));
    }
    if (report.undoFolder.empty()) verb.say("the restore could keep no undo record of its own");
    else verb.terminal.out(Tabbed({"undo", report.undoFolder}));
    return report.failed > 0 ? kSomeStepsFailed : kDone;
}

}  // namespace quillon::console
