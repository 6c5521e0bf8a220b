#include "engine/Commands.h"

#include "platform/Platform.h"
#include "platform/TextMatch.h"

namespace quillon {

std::string InNativeView(Platform& platform, const std::string& commandLine) {
    if (!platform.wow64()) return commandLine;
    constexpr std::string_view kRegedit = "regedit /s ";
    if (StartsWithNoCase(commandLine, kRegedit))
        return "reg import " + commandLine.substr(kRegedit.size()) + " /reg:64";
    if (StartsWithNoCase(commandLine, "reg ")) return commandLine + " /reg:64";
    return commandLine;
}

std::unique_ptr<StartedProcess> RunHiddenCommand(Platform& platform, const std::string& commandLine) {
    return platform.startHidden(InNativeView(platform, commandLine));
}

void RunHiddenCommandAndWait(Platform& platform, const std::string& commandLine,
                             std::chrono::milliseconds bound) {
    auto process = platform.startHidden(InNativeView(platform, commandLine));
    if (!process->waitPumping(bound)) {
        process->terminate();
        throw PlatformError("command did not end in time: " + commandLine);
    }
}

}  // namespace quillon
