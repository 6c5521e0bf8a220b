#include "engine/Phases.h"

namespace quillon {

void RunServicesPhase(RunContext&) {}

}  // namespace quillon
