#include "engine/Phases.h"

namespace quillon {

void RunSpeedPhase(RunContext&) {}

}  // namespace quillon
