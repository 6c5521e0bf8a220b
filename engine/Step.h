#pragma once
// Once the optimise run has begun, a step that fails is skipped and the run
// goes on with the next one; the run counts the skipped steps to report them.
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "engine/RunContext.h"
#include "engine/StepTag.h"

namespace quillon {

// A step that could not do its part, and why in the system's words.
struct StepFailure {
    StepTag step;
    std::string reason;
};

// The steps of a run that fail while it counts them: the counter of the
// context it is given, until it goes (then the one before it counts again).
// A context without one, a plan or a reading, counts no failures.
class FailedSteps {
public:
    explicit FailedSteps(RunContext& context) : context_(context), outer_(std::exchange(context.failures, this)) {}
    ~FailedSteps() { context_.failures = outer_; }
    FailedSteps(const FailedSteps&) = delete;
    FailedSteps& operator=(const FailedSteps&) = delete;

    int count() const { return static_cast<int>(failures_.size()); }
    // Every failed step with its reason, in the order they failed.
    const std::vector<StepFailure>& failures() const { return failures_; }
    void add(const StepTag& step, const char* reason) noexcept {
        try {
            failures_.push_back({step, reason});
        } catch (...) {
        }
    }

private:
    RunContext& context_;
    FailedSteps* outer_;
    std::vector<StepFailure> failures_;
};

template <class Action>
void RunStep(RunContext& context, Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
    } catch (const std::exception& error) {
        // Not retried and not shown now; the run's closing text tells how many.
        if (context.failures) context.failures->add(context.step, error.what());
    }
}

}  // namespace quillon
