#pragma once
// The steps of a record's run that each change came from, so UNDO names what
// it puts back or keeps with the page, number and caption APPLY printed.
#include <string>
#include <vector>

#include "effects/EffectTarget.h"
#include "engine/StepTag.h"
#include "record/RecordLines.h"

namespace quillon {
class Platform;
}

namespace quillon::console {

class RecordSteps {
public:
    // Nothing is named when the record cannot be read.
    RecordSteps(Platform& machine, const std::string& recordFolder);
    // The steps whose change touched `target`: the same target, or a tree holding it.
    std::vector<StepTag> of(const EffectTarget& target) const;
    // The same for a target as a restore names it ("KEY\NAME", "KEY\(Default)", a key or a path).
    std::vector<StepTag> ofNamed(const std::string& named) const;

private:
    std::vector<StateLine> changes_;
};

// page(s), number(s), caption(s) of the steps, joined as a net change joins them; "-" for none.
std::vector<std::string> StepFields(const std::vector<StepTag>& steps);

}  // namespace quillon::console
