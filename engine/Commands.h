#pragma once
// Hidden commands handed to the platform's own tools.
#include <chrono>
#include <memory>
#include <string>

namespace quillon {

class Platform;
class StartedProcess;

// Long enough for any registry tool on a slow machine; a tool that outlives it
// is taken as failed.
inline constexpr std::chrono::milliseconds kCommandBound{30000};

// The command as this Windows needs it. On 64-bit Windows the regedit and reg
// a 32-bit program is handed write the 32-bit view, which Windows does not
// read: "regedit /s FILE" becomes "reg import FILE /reg:64" and every other reg
// command takes "/reg:64". On 32-bit Windows (whose reg refuses the switch),
// the command as written.
std::string InNativeView(Platform& platform, const std::string& commandLine);

// Starts the command hidden (in the native view) and returns at once.
std::unique_ptr<StartedProcess> RunHiddenCommand(Platform& platform, const std::string& commandLine);

// Starts the command hidden (in the native view) and waits for it, processing window events.
// Throws PlatformError if it cannot be started or does not end within the bound.
void RunHiddenCommandAndWait(Platform& platform, const std::string& commandLine,
                             std::chrono::milliseconds bound = kCommandBound);

}  // namespace quillon
