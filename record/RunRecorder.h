#pragma once
// The one way a run is made with its undo record: a run's stack (RunStack.h)
// with the journal at its ground, whatever else the caller stacks on it, the
// run, and then the record finished and the old ones pruned. The window's
// Optimize and Auto Optimize and the console's APPLY all run so.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunStack.h"
#include "record/Journal.h"

namespace quillon {

struct RecordedRun {
    std::string folder;     // the record kept; empty when the run left nothing to take back
    bool complete = false;  // the record holds every change the run made (none was refused)
    std::string stopReason; // why changes were refused; empty when none was
    std::vector<RecordedEffect> effects;
};

class RunRecorder {
public:
    // Records go under `undoRoot`; "" when the machine has no place for them
    // (every change is then refused); none: a run without a record.
    RunRecorder(Platform& machine, std::optional<std::string> undoRoot);

    // Whether a record can be written; makes none. True for a run without one.
    bool begin() { return !journal_ || journal_->begin(); }

    // Puts Layer(top, stack, more...) on top of the stack.
    template <class Layer, class... More>
    Layer& stack(More&&... more) {
        return stack_.stack<Layer>(std::forward<More>(more)...);
    }

    // Runs `run` through the stack, then finishes and prunes the record.
    RecordedRun run(Form& form, const std::string& userName, const std::function<void(RunContext&)>& run);

private:
    RunStack stack_;
    JournalPlatform* journal_ = nullptr;
};

}  // namespace quillon
