#include "engine/Catalogue.h"
#include "engine/Phases.h"
#include "engine/SystemCatalogue.h"

namespace quillon {

void RunSystemPhase(RunContext& context) { RunCatalogue(context, SystemCatalogue()); }

}  // namespace quillon
