#include "engine/Catalogue.h"
#include "engine/Phases.h"
#include "engine/SecurityCatalogue.h"

namespace quillon {

void RunSecurityPhase(RunContext& context) { RunCatalogue(context, SecurityCatalogue()); }

}  // namespace quillon
