#include "engine/Catalogue.h"
#include "engine/Phases.h"
#include "engine/SecurityCatalogue.h"

namespace quillon {

void RunSecurityPhase(RunContext& context) {
    context.step = StepTag{Page::Security, {-1, -1}, {}, -1, {}};
    RunCatalogue(context, SecurityCatalogue());
}

}  // namespace quillon
