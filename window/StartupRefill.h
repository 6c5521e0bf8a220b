#pragma once
// Where the Startup page button hands over to the startup listing.
#include "engine/RunContext.h"

namespace quillon {

// Clears lstStartup and lists the four startup sources into it.
void RefillStartupList(RunContext& context);

}  // namespace quillon
