#include "window/RunLockWait.h"

#include "engine/Form.h"
#include "window/RunEvents.h"

namespace quillon {

std::unique_ptr<RunLock> HoldRunLockForWindow(RunContext& context) {
    if (auto lock = context.platform.holdRunLock(std::chrono::milliseconds(0))) return lock;
    context.form.setLabel(Label::Wait, "Waiting for another Quillon run to end...");
    auto lock = context.platform.holdRunLock(kRunLockBound);
    if (!lock) {
        context.form.setLabel(Label::Wait, "Another Quillon run is still going on; nothing was changed.");
        RunNotes::Refusal("another Quillon run is still going on; nothing was changed");
    }
    return lock;
}

}  // namespace quillon
