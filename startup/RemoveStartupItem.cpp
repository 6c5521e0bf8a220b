#include "startup/RemoveStartupItem.h"

#include "engine/Commands.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"
#include "startup/StartupPlaces.h"

namespace quillon {

namespace {

void DeleteRunValue(Platform& platform, const RunKey& key, const std::string& name,
                    std::vector<std::unique_ptr<StartedProcess>>& started) {
    // Quoted, so a name with blanks or quotes reaches the tool whole; the
    // unnamed default value has an option of its own.
    const std::string value = name.empty() ? " /ve" : " /v " + QuoteArgument(name);
    // Starting a process can take a moment; the window is served before each.
    platform.pumpEvents();
    started.push_back(RunHiddenCommand(platform, std::string("reg delete ") + key.fullPath + value + " /f"));
}

}  // namespace

void RemoveStartupItem(Platform& platform, const std::string& userName, const StartupEntry& entry,
                       std::vector<std::unique_ptr<StartedProcess>>& started) {
    if (entry.view == RegView::Wow32) return DeleteRunValue(platform, kWow32RunKey, entry.name, started);
    RemoveStartupItem(platform, userName, entry.name, started);
}

void RemoveStartupItem(Platform& platform, const std::string& userName, const std::string& name,
                       std::vector<std::unique_ptr<StartedProcess>>& started) {
    for (const RunKey& key : kRunKeys) DeleteRunValue(platform, key, name, started);

    // A crafted value name must not lead a file step outside the two folders.
    if (!IsPlainFileName(name)) return;
    for (const std::string& folder : StartupFolders(platform, userName)) {
        const std::string path = folder + "\\" + name;
        if (platform.visibleFileExists(path)) platform.deleteFile(path);
    }
}

}  // namespace quillon
