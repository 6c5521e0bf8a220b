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

// Starts the command hidden and returns at once.
std::unique_ptr<StartedProcess> RunHiddenCommand(Platform& platform, const std::string& commandLine);

// Starts the command hidden and waits for it, processing window events.
// Throws PlatformError if it cannot be started or does not end within the bound.
void RunHiddenCommandAndWait(Platform& platform, const std::string& commandLine,
                             std::chrono::milliseconds bound = kCommandBound);

}  // namespace quillon
