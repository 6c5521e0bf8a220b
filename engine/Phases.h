#pragma once
// One phase per page; each runs only while its page is on view.
#include <span>
#include <vector>

#include "engine/RunContext.h"

namespace quillon {

void RunServicesPhase(RunContext& context);  // engine/ServicesPhase.cpp
void RunSpeedPhase(RunContext& context);     // engine/SpeedPhase.cpp
void RunSystemPhase(RunContext& context);    // engine/SystemPhase.cpp
void RunSecurityPhase(RunContext& context);  // engine/SecurityPhase.cpp

using PhaseRun = void (*)(RunContext&);
// The Startup page's phase lives above the engine (startup/): the programs
// register it at their start, through RegisterStartupPhase().
void RegisterPhase(Page page, PhaseRun run);

// The five pages in the order one optimise run takes them.
std::span<const Page> RunOrder();
// The page's phase.
void RunPhase(RunContext& context, Page page);

// The steps of a page that read a control that is no box nor list entry
// (Combo2, txtPath, lstHide, lstNot), in the order the phase runs them.
std::vector<StepTag> ControlSteps(Page page);

}  // namespace quillon
