#include "window/OptimiseRun.h"

#include <array>

#include "engine/Form.h"
#include "engine/Phases.h"
#include "window/RunLockWait.h"
#include "engine/Step.h"
#include "record/RecordStore.h"
#include "settings/SelectionFile.h"

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

std::string CompletionText(int failedSteps) {
    if (failedSteps == 0) return "Optimize complete!";
    return "Optimize complete! " + std::to_string(failedSteps) + (failedSteps == 1 ? " step" : " steps") + " failed.";
}

std::string StoppedText() { return "Optimize stopped: no undo record could be written."; }

int RunOptimise(RunContext& context, ButtonLock lock) {
    Form& form = context.form;
    // A selection that cannot be saved must not keep the page from being applied.
    RunStep([&] { SaveSelection(form, context.platform); });

    // Never beside another run: its writes and ours would interleave.
    if (lock == ButtonLock::ForTheRun) LockButtons(form);
    const auto runLock = HoldRunLockForWindow(context);
    if (!runLock) {
        if (lock == ButtonLock::ForTheRun) UnlockButtons(form);
        return 1;
    }
    FailedStepCount failed;
    // A caller that holds the buttons holds the run too: Auto's passes are one run.
    if (lock == ButtonLock::ForTheRun) context.startRun();
    for (Page page : RunOrder())
        if (form.pageVisible(page)) context.addPage(page);
    form.setProgressVisible(true);
    form.setLabel(Label::Wait, "Optimizing...");

    for (Page page : RunOrder()) {
        // Visibility is read as each phase is reached, not once up front.
        if (form.pageVisible(page)) RunStep([&] { RunPhase(context, page); });
    }

    if (lock == ButtonLock::ForTheRun) {
        UnlockButtons(form);
        context.startRun();
    }
    form.setProgressVisible(false);
    form.setLabel(Label::Wait, CompletionText(failed.count()));
    return failed.count();
}

RecordedRun RunWithUndoRecord(RunContext& context, const std::function<void(RunContext&)>& run) {
    std::string root;
    try {
        root = DefaultUndoRoot(context.platform);
    } catch (const PlatformError&) {
        // No place for records: every change is refused, as when the disk is full.
    }
    RunRecorder recorder(context.platform, root);
    RecordedRun recorded = recorder.run(context.form, context.userName, run);
    if (!recorded.complete) context.form.setLabel(Label::Wait, StoppedText());
    return recorded;
}

}  // namespace quillon
