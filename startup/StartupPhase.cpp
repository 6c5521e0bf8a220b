#include "engine/Phases.h"

namespace quillon {

void RunStartupPhase(RunContext&) {}

}  // namespace quillon
