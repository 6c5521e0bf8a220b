#pragma once
// What the Optimize button does: save the selection, lock the buttons, apply
// the page on view, unlock.
#include <functional>
#include <string>
#include <string_view>

#include "engine/RunContext.h"
#include "engine/StepTag.h"
#include "record/RunRecorder.h"

namespace quillon {

class Form;

enum class ButtonLock {
    ForTheRun,     // the run locks the ten buttons and gives them back
    HeldByCaller,  // Auto keeps them locked across its passes
};

// Returns how many steps failed; the status text says so and names the first,
// which `firstFailed`, when given, receives in words (empty when none failed).
int RunOptimise(RunContext& context, ButtonLock lock = ButtonLock::ForTheRun, std::string* firstFailed = nullptr);

// The ten command and page buttons, in the orders the run disables and enables them.
void LockButtons(Form& form);
void UnlockButtons(Form& form);

// Runs `run` (Optimize, Auto Optimize: its `name`) with its undo record in
// the machine's own place for records, and writes its event. A run stopped
// for want of a record says so in the status text.
RecordedRun RunWithUndoRecord(RunContext& context, const std::function<void(RunContext&)>& run,
                              std::string_view name = "Optimize");

// "Optimize complete!" when every step succeeded, else how many failed and,
// when known, which failed first.
std::string CompletionText(int failedSteps, const std::string& firstFailed = {});
// The step being run, in the words the window shows: its box's caption, the
// entry's text, the control's label, else its page.
std::string FailedStepInWords(const StepTag& step);
// The status text of a run stopped because no undo record could be written.
std::string StoppedText();

}  // namespace quillon
