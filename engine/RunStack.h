#pragma once
// The one way a run's stack is built: the layers its changes pass through
// between the steps and the machine, bottom up (a planner, or the undo
// record's journal, at the ground; then what watches the net change and what
// filters changes), and the run made on top of them. Each layer is made as
// Layer(below, stack, more...) and stands in this stack for its life: it
// reads the step being run from here as each change arrives and hands it on
// with the change, so no layer is told the step by hand.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/RunContext.h"
#include "engine/StepTag.h"
#include "platform/Platform.h"

namespace quillon {

class RunStack {
public:
    explicit RunStack(Platform& machine) : machine_(machine) {}
    // The layers stand on each other: the top goes first.
    ~RunStack() {
        while (!layers_.empty()) layers_.pop_back();
    }
    RunStack(const RunStack&) = delete;
    RunStack& operator=(const RunStack&) = delete;

    // Puts Layer(top(), *this, more...) on top of the stack.
    template <class Layer, class... More>
    Layer& stack(More&&... more) {
        auto layer = std::make_unique<Layer>(top(), *this, std::forward<More>(more)...);
        Layer& made = *layer;
        layers_.push_back(std::move(layer));
        return made;
    }
    // What the run talks to: the top layer, or the machine while there is none.
    Platform& top() { return layers_.empty() ? machine_ : *layers_.back(); }

    // The step being run while run() runs; no step outside a run (a restore's changes).
    const StepTag& step() const { return running_ ? running_->step : none_; }

    // Runs `run` with a context of its own on top of the stack.
    void run(Form& form, const std::string& userName, const std::function<void(RunContext&)>& run) {
        RunContext context{form, top(), userName};
        struct Running {
            RunContext*& running;
            RunContext* outer;
            ~Running() { running = outer; }
        } running{running_, std::exchange(running_, &context)};
        run(context);
    }

private:
    Platform& machine_;
    std::vector<std::unique_ptr<Platform>> layers_;
    RunContext* running_ = nullptr;
    StepTag none_;
};

}  // namespace quillon
