#include "window/StartupRefill.h"

#include "startup/StartupList.h"

namespace quillon {

void RefillStartupList(RunContext& context) { ListStartupItems(context); }

}  // namespace quillon
