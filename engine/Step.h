#pragma once
// Once the optimise run has begun, a step that fails is skipped silently and
// the run goes on with the next one.
#include <exception>
#include <utility>

namespace quillon {

template <class Action>
void RunStep(Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
    } catch (const std::exception&) {
        // Deliberately ignored: no failure is shown and no step is retried.
    }
}

}  // namespace quillon
