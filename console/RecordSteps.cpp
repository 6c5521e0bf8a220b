#include "console/RecordSteps.h"

#include "record/RecordReader.h"
#include "record/RecordChanges.h"

namespace quillon::console {

RecordSteps::RecordSteps(Platform& machine, const std::string& recordFolder) {
    try {
        changes_ = RecordedChanges(ReadRecord(machine, recordFolder).lines);
    } catch (const std::exception&) {
    }
}

std::vector<StepTag> RecordSteps::of(const EffectTarget& target) const { return StepsOf(changes_, target); }

}  // namespace quillon::console
