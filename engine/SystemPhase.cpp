#include "engine/Catalogue.h"
#include "engine/Phases.h"
#include "engine/SystemCatalogue.h"

namespace quillon {

void RunSystemPhase(RunContext& context) {
    context.step = StepTag{Page::System, {-1, -1}, {}, -1, {}};
    RunCatalogue(context, SystemCatalogue());
}

}  // namespace quillon
