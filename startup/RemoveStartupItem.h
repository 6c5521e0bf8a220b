#pragma once
// Removing one startup entry from every place it could come from, since an
// entry does not record its source.
#include <memory>
#include <string>
#include <vector>

#include "startup/StartupPlaces.h"

namespace quillon {

class Platform;
class StartedProcess;

// Starts "reg delete" for the name in both Run keys, processing window events
// before each start, then deletes a visible file of that name from the
// per-user and the All Users Startup folder. The registry commands are not waited for: they are added to `started` as they
// begin, so the caller can wait for them even when a later step fails.
// Throws PlatformError at the first step that fails; the steps after it are
// not taken for this name.
void RemoveStartupItem(Platform& platform, const std::string& userName, const std::string& name,
                       std::vector<std::unique_ptr<StartedProcess>>& started);
// The same for an entry of either view: one of the 32-bit view's Run key is
// removed from that key alone, in the view it came from.
void RemoveStartupItem(Platform& platform, const std::string& userName, const StartupEntry& entry,
                       std::vector<std::unique_ptr<StartedProcess>>& started);

}  // namespace quillon
