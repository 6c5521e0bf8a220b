#include "window/StartupRefill.h"

#include "engine/Form.h"

namespace quillon {

void RefillStartupList(RunContext& context) { context.form.clearList(CheckList::Startup); }

}  // namespace quillon
