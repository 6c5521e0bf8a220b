#pragma once
// A run of /scope machine or /scope user: only changes to targets of that
// part reach the machine, so a startup script can apply the machine-wide part
// and each user's logon script that user's own. Every step still runs.
#include "console/DroppedProcess.h"
#include "effects/ChangeSeam.h"
#include "effects/TargetScope.h"

namespace quillon::console {

class InScopeOnly final : public ChangeSeam {
public:
    InScopeOnly(Platform& machine, const RunStack& stack, TargetScope scope)
        : ChangeSeam(machine, stack), scope_(scope) {}

protected:
    std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                              const std::optional<std::vector<Effect>>& effects,
                                              const StepTag& step) override {
        bool in = !effects;  // a command line the program does not know: let it tell
        if (effects)
            for (const Effect& effect : *effects) in = in || ScopeOf(TargetOf(effect)) == scope_;
        if (in) return startBelow(commandLine, effects, step);
        return std::make_unique<DroppedProcess>();
    }
    void change(const Effect& effect, const StepTag&, const std::function<void()>& make) override {
        if (ScopeOf(TargetOf(effect)) == scope_) make();
    }

private:
    TargetScope scope_;
};

}  // namespace quillon::console
