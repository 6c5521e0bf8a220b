#include "engine/SafeMode.h"

#include <string>
#include <string_view>

#include "engine/Commands.h"
#include "engine/Form.h"
#include "engine/Step.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

constexpr std::string_view kSafeBoot = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\";

std::string KeyArgument(std::string_view name) { return std::string(kSafeBoot) + std::string(name) + "\\"; }

// A copy that ended on its own and said it succeeded; anything else leaves
// the source where it is.
bool Copied(Platform& platform, std::string_view from, std::string_view to) {
    try {
        // With /s the backup holds every subkey, which the deletion of the source takes with it.
        auto process = platform.startHidden(
            InNativeView(platform, "reg copy " + KeyArgument(from) + " " + KeyArgument(to) + " /s /f"));
        if (!process->waitPumping(kCommandBound)) {
            process->terminate();
            return false;
        }
        return process->exitCode().value_or(0) == 0;
    } catch (const PlatformError&) {
        return false;
    }
}

void DeleteKey(RunContext& context, std::string_view name) {
    RunStep(context, [&] { RunHiddenCommandAndWait(context.platform, "reg delete " + KeyArgument(name) + " /f"); });
}

// Copy both, then delete both, each command ended before the next begins; a
// source is deleted only once its own copy has succeeded.
void Move(RunContext& context, std::string_view minimal, std::string_view minimalTo, std::string_view network,
          std::string_view networkTo) {
    const bool minimalCopied = Copied(context.platform, minimal, minimalTo);
    const bool networkCopied = Copied(context.platform, network, networkTo);
    if (minimalCopied) DeleteKey(context, minimal);
    if (networkCopied) DeleteKey(context, network);
}

}  // namespace

void ApplySafeMode(RunContext& context) {
    if (context.form.ticked(39)) Move(context, "Minimal", "Minimal1", "Network", "Network1");
    else Move(context, "Minimal1", "Minimal", "Network1", "Network");
}

}  // namespace quillon
