#pragma once
// One phase per page; each runs only while its page is on view.
#include <span>

#include "engine/RunContext.h"

namespace quillon {

void RunStartupPhase(RunContext& context);   // startup/StartupPhase.cpp
void RunServicesPhase(RunContext& context);  // engine/ServicesPhase.cpp
void RunSpeedPhase(RunContext& context);     // engine/SpeedPhase.cpp
void RunSystemPhase(RunContext& context);    // engine/SystemPhase.cpp
void RunSecurityPhase(RunContext& context);  // engine/SecurityPhase.cpp

// The five pages in the order one optimise run takes them.
std::span<const Page> RunOrder();
// The page's phase.
void RunPhase(RunContext& context, Page page);

}  // namespace quillon
