#include "startup/RemoveStartupItem.h"

#include "engine/Commands.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"
#include "startup/StartupPlaces.h"

namespace quillon {

void RemoveStartupItem(Platform& platform, const std::string& userName, const std::string& name,
                       std::vector<std::unique_ptr<StartedProcess>>& started) {
    // Quoted, so a name with blanks or quotes reaches the tool whole; the
    // unnamed default value has an option of its own.
    const std::string value = name.empty() ? " /ve" : " /v " + QuoteArgument(name);
    for (const RunKey& key : kRunKeys) {
        // Starting a process can take a moment; the window is served before each.
        platform.pumpEvents();
        started.push_back(RunHiddenCommand(platform, std::string("reg delete ") + key.fullPath + value + " /f"));
    }

    // A crafted value name must not lead a file step outside the two folders.
    if (!IsPlainFileName(name)) return;
    for (const std::string& folder : StartupFolders(platform, userName)) {
        const std::string path = folder + "\\" + name;
        if (platform.visibleFileExists(path)) platform.deleteFile(path);
    }
}

}  // namespace quillon
