#pragma once
// The Startup page's phase: removes the ticked startup entries.
#include "engine/RunContext.h"

namespace quillon {

void RunStartupPhase(RunContext& context);
// Makes the engine's phases run it for the Startup page; every program calls it once at its start.
void RegisterStartupPhase();

}  // namespace quillon
