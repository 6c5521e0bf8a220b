#pragma once
// Once the optimise run has begun, a step that fails is skipped and the run
// goes on with the next one; the run counts the skipped steps to report them.
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace quillon {

// Counts the steps that fail while it lives. Runs never overlap (they all run
// on the one user-interface thread), so the newest counter is the one counting.
class FailedStepCount {
public:
    FailedStepCount() : outer_(std::exchange(current_, this)) {}
    ~FailedStepCount() { current_ = outer_; }
    FailedStepCount(const FailedStepCount&) = delete;
    FailedStepCount& operator=(const FailedStepCount&) = delete;

    int count() const { return count_; }
    // Told of each failed step as it is counted, with why it failed; a caller
    // that names failures reads the step being run from its own context.
    std::function<void(const std::string& why)> onFailure;

    static void Record(const char* why = "") noexcept {
        if (!current_) return;
        ++current_->count_;
        if (!current_->onFailure) return;
        try {
            current_->onFailure(why);
        } catch (...) {
        }
    }

private:
    inline static FailedStepCount* current_ = nullptr;
    FailedStepCount* outer_;
    int count_ = 0;
};

template <class Action>
void RunStep(Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
    } catch (const std::exception& error) {
        // Not retried and not shown now; the run's closing text tells how many.
        FailedStepCount::Record(error.what());
    }
}

}  // namespace quillon
