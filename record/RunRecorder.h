#pragma once
// The one way a run is made with its undo record: the journal in front of the
// machine, whatever else the caller stacks on it (each following the run's
// step), the run, and then the record finished and the old ones pruned. The
// window's Optimize and Auto Optimize and the console's APPLY all run so.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunContext.h"
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
    ~RunRecorder();
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // Whether a record can be written; makes none. True for a run without one.
    bool begin() { return !journal_ || journal_->begin(); }

    // Puts Layer(top, args...) on top of the stack; it follows the run's step.
    template <class Layer, class... Args>
    Layer& stack(Args&&... args) {
        auto layer = std::make_unique<Layer>(top(), std::forward<Args>(args)...);
        Layer& made = *layer;
        followers_.push_back([&made](const StepTag& step) { made.follow(step); });
        layers_.push_back(std::move(layer));
        return made;
    }
    // What the run talks to.
    Platform& top();
    // The journal itself, for a layer that must sit right on it; null without a record.
    Platform* journal() { return journal_.get(); }

    // Runs `run` through the stack, then finishes and prunes the record.
    RecordedRun run(Form& form, const std::string& userName, const std::function<void(RunContext&)>& run);

private:
    Platform& machine_;
    std::unique_ptr<JournalPlatform> journal_;
    std::vector<std::unique_ptr<Platform>> layers_;
    std::vector<std::function<void(const StepTag&)>> followers_;
};

}  // namespace quillon
