// The unit tests run every page, as the programs do.
#include "startup/StartupPhase.h"

namespace {
const bool registered = (quillon::RegisterStartupPhase(), true);
}  // namespace
