#include "engine/Phases.h"

namespace quillon {

void RunSecurityPhase(RunContext&) {}

}  // namespace quillon
