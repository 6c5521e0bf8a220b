#include "window/StartUp.h"

#include "engine/Form.h"
#include "platform/Platform.h"
#include "settings/SelectionFile.h"

namespace quillon {

void LoadMainForm(RunContext& context) {
    context.form.setComboIndex(Combo::Prefetch, 0);
    context.form.setComboIndex(Combo::Priority, 0);
    try {
        context.userName = context.platform.userName();
    } catch (const PlatformError&) {
        context.userName.clear();  // the per-user Startup folder then holds no name
    }
}

void RestoreSelection(RunContext& context) { LoadSelection(context.form, context.platform); }

}  // namespace quillon
