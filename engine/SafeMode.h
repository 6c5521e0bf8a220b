#pragma once
#include "engine/RunContext.h"

namespace quillon {

// chk 39: moves the safe-boot keys Minimal and Network aside to Minimal1 and
// Network1 when ticked, and back when not.
void ApplySafeMode(RunContext& context);

}  // namespace quillon
