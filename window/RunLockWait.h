#pragma once
// One run at a time on a machine: the window's runs and the console's take
// the same lock, and a second run waits for the first to end.
#include <chrono>
#include <memory>

#include "engine/RunContext.h"
#include "platform/Platform.h"

namespace quillon {

// The lock for a run the window starts. While another run holds it the
// status text says so and events are served; when that run has not ended
// within the bound the status text says nothing was changed, and this is null.
std::unique_ptr<RunLock> HoldRunLockForWindow(RunContext& context);

}  // namespace quillon
