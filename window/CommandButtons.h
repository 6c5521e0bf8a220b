#pragma once
// The command buttons other than Optimize and the page buttons: Recommend,
// Auto, Reset, Browse and Exit. They change only the window's controls and
// start optimise runs; none writes the registry or a file itself.

#include "engine/Form.h"
#include "engine/RunContext.h"

namespace quillon {

// Ticks the recommended set of the page on view; never clears anything.
void Recommend(Form& form);

// After "Confirm": recommends and applies System, Security, Startup and
// Services in turn, processing events between the steps. The ten buttons stay
// locked until the last pass has ended.
void AutoOptimise(RunContext& context);

// Clears every box and list tick, combo boxes to their first entry; keeps Opt
// and txtPath.
void Reset(Form& form);

// The shell's folder browser; a cancelled browser keeps txtPath as it was.
void Browse(RunContext& context);

// Asks to log off and does so on OK. The caller closes the window afterwards,
// whatever the answer.
void Exit(RunContext& context);

}  // namespace quillon
