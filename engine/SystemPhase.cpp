#include "engine/Phases.h"

namespace quillon {

void RunSystemPhase(RunContext&) {}

}  // namespace quillon
