#pragma once
// What the Optimize button does: save the selection, lock the buttons, apply
// the page on view, unlock.
#include "engine/RunContext.h"

namespace quillon {

// The ten command and page buttons, in the order the run disables them.
void RunOptimise(RunContext& context);

}  // namespace quillon
