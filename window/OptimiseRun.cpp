#include "window/OptimiseRun.h"

#include <array>

#include "engine/Form.h"
#include "engine/Phases.h"
#include "window/RunEvents.h"
#include "window/RunLockWait.h"
#include "engine/Step.h"
#include "platform/RegValue.h"
#include "platform/Utf8.h"
#include "record/RecordStore.h"
#include "settings/SelectionFile.h"
#include "words/RunEventText.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

constexpr std::array kLockOrder{Button::Redo,    Button::Suggest,  Button::Optimize, Button::Exit,
                                Button::Auto,    Button::System,   Button::Security, Button::Startup,
                                Button::Service, Button::Wight};
constexpr std::array kUnlockOrder{Button::Auto,    Button::System,  Button::Security, Button::Startup,
                                  Button::Service, Button::Redo,    Button::Suggest,  Button::Optimize,
                                  Button::Exit,    Button::Wight};

}  // namespace

void LockButtons(Form& form) {
    for (Button b : kLockOrder) form.setButtonEnabled(b, false);
}

void UnlockButtons(Form& form) {
    for (Button b : kUnlockOrder) form.setButtonEnabled(b, true);
}

std::string CompletionText(int failedSteps, const std::string& firstFailed) {
    if (failedSteps == 0) return "Optimize complete!";
    const std::string count = std::to_string(failedSteps) + (failedSteps == 1 ? " step" : " steps") + " failed";
    if (firstFailed.empty()) return "Optimize complete! " + count + ".";
    // Two lines between the bottom buttons hold it: the run's end is said by naming what failed.
    return count + (failedSteps == 1 ? ": " : ", the first: ") + firstFailed + ".";
}

std::string FailedStepInWords(const StepTag& step) {
    constexpr std::size_t kLongest = 26;  // bytes of a caption shown whole
    // Printable: an entry's text may come from a record, and nothing may break the line.
    std::string words = Printable(StepCaption(step));
    while (!words.empty() && (words.back() == ' ' || words.back() == '.' || words.back() == ':')) words.pop_back();
    if (words.empty()) return "a step of the " + PageName(step.page) + " page";
    if (words.size() > kLongest) {
        words = words.substr(0, CharacterStartAtOrBefore(words, kLongest));
        while (!words.empty() && words.back() == ' ') words.pop_back();
        words += "...";
    }
    return "\"" + words + "\"";
}

std::string StoppedText() { return "Optimize stopped: no undo record could be written."; }

int RunOptimise(RunContext& context, ButtonLock lock, std::string* firstFailed) {
    Form& form = context.form;
    // A selection that cannot be saved must not keep the page from being applied.
    RunStep(context, [&] { SaveSelection(form, context.platform); });

    // Never beside another run: its writes and ours would interleave.
    if (lock == ButtonLock::ForTheRun) LockButtons(form);
    const auto runLock = HoldRunLockForWindow(context);
    if (!runLock) {
        if (lock == ButtonLock::ForTheRun) UnlockButtons(form);
        return 1;
    }
    FailedSteps failed(context);
    // A caller that holds the buttons holds the run too: Auto's passes are one run.
    if (lock == ButtonLock::ForTheRun) context.startRun();
    for (Page page : RunOrder())
        if (form.pageVisible(page)) context.addPage(page);
    form.setProgressVisible(true);
    form.setLabel(Label::Wait, "Optimizing...");

    for (Page page : RunOrder()) {
        // Visibility is read as each phase is reached, not once up front.
        if (!form.pageVisible(page)) continue;
        RunNotes::Page(page);
        RunStep(context, [&] { RunPhase(context, page); });
    }

    if (lock == ButtonLock::ForTheRun) {
        UnlockButtons(form);
        context.startRun();
    }
    form.setProgressVisible(false);
    for (const StepFailure& f : failed.failures())
        RunNotes::Failure(EventItem(StepFields({f.step})) + (f.reason.empty() ? "" : ": " + f.reason));
    const std::string first = failed.count() ? FailedStepInWords(failed.failures().front().step) : std::string();
    form.setLabel(Label::Wait, CompletionText(failed.count(), first));
    if (firstFailed) *firstFailed = first;
    return failed.count();
}

RecordedRun RunWithUndoRecord(RunContext& context, const std::function<void(RunContext&)>& run, std::string_view name) {
    std::string root;
    try {
        root = DefaultUndoRoot(context.platform);
    } catch (const PlatformError&) {
        // No place for records: every change is refused, as when the disk is full.
    }
    RunRecorder recorder(context.platform, root);
    RunNotes notes;
    RecordedRun recorded = recorder.run(context.form, context.userName, run);
    if (!recorded.complete) context.form.setLabel(Label::Wait, StoppedText());
    notes.report(context.platform, name, recorded);
    return recorded;
}

}  // namespace quillon
