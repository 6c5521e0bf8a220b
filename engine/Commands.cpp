#include "engine/Commands.h"

#include "platform/Platform.h"

namespace quillon {

std::unique_ptr<StartedProcess> RunHiddenCommand(Platform& platform, const std::string& commandLine) {
    return platform.startHidden(commandLine);
}

void RunHiddenCommandAndWait(Platform& platform, const std::string& commandLine,
                             std::chrono::milliseconds bound) {
    auto process = platform.startHidden(commandLine);
    if (!process->waitPumping(bound)) {
        process->terminate();
        throw PlatformError("command did not end in time: " + commandLine);
    }
}

}  // namespace quillon
