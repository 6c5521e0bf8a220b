#pragma once
// The steps of a record's run that each change came from, so UNDO names what
// it puts back or keeps with the page, number and caption APPLY printed.
#include <string>
#include <vector>

#include "effects/EffectTarget.h"
#include "engine/StepTag.h"
#include "record/RecordChanges.h"
#include "record/RecordState.h"

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

private:
    std::vector<Change> changes_;
};

}  // namespace quillon::console
