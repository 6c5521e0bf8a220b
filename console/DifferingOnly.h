#pragma once
// Test before set: only a change whose target differs from what the run
// wants, by the net change of the run's own plan, reaches the machine. A
// target that already holds it is not written again, no tool starts for it
// and the undo record never sees it. A tool whose effect cannot be read back
// always runs: running is what its box asks for.
#include "console/DroppedProcess.h"
#include "effects/ChangeSeam.h"
#include "effects/MachineView.h"
#include "planning/NetChange.h"

namespace quillon::console {

class DifferingOnly final : public ChangeSeam {
public:
    // `plan`: the net change of the same run planned, changes() already read.
    DifferingOnly(Platform& machine, const RunStack& stack, const NetChangeWatch& plan)
        : ChangeSeam(machine, stack), plan_(plan) {}

protected:
    std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                              const std::optional<std::vector<Effect>>& effects,
                                              const StepTag& step) override {
        bool needed = !effects;  // a command line the program does not know: let it tell
        bool succeeds = true;
        if (effects) {
            PlatformView view(machine_);
            for (const Effect& effect : *effects) {
                needed = needed || plan_.differs(effect);
                succeeds = succeeds && Assess(effect, view).succeeds;
            }
        }
        if (needed) return startBelow(commandLine, effects, step);
        // The step reads what the tool would have said (a key copied only when it is there).
        return std::make_unique<DroppedProcess>(succeeds ? 0 : 1);
    }
    void change(const Effect& effect, const StepTag&, const std::function<void()>& make) override {
        if (plan_.differs(effect)) make();
    }

private:
    const NetChangeWatch& plan_;
};

}  // namespace quillon::console
