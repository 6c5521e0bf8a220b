#include "engine/SecuritySteps.h"

#include <string>

#include "engine/DriveMask.h"
#include "engine/Form.h"
#include "engine/RegistryFlag.h"
#include "engine/SecurityKeys.h"
#include "engine/Step.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

using namespace security_keys;

void WriteDriveMask(RunContext& context, CheckList list, std::string_view valueName) {
    WriteRegValue(context.platform, kDrivePolicy, RegType::Dword, valueName,
                  MaskDigits(DriveMask(context.form, list)));
}

}  // namespace

void ApplyDownloadDirectory(RunContext& context) {
    // Empty keeps the browser's current directory; anything else, blanks included, is written as typed.
    const std::string path = context.form.txtPath();
    if (!path.empty()) WriteRegValue(context.platform, kIe, RegType::String, "downloadDirectory", path);
}

void ApplyHiddenDrives(RunContext& context) { WriteDriveMask(context, CheckList::Hide, "NoDrives"); }

void ApplyDrivesWithoutAccess(RunContext& context) { WriteDriveMask(context, CheckList::Not, "NoViewOnDrive"); }

void ApplyControlPanel(RunContext& context) {
    const bool ticked = context.form.ticked(24) || context.form.ticked(28);
    WriteRegValue(context.platform, kUserExplorerPolicy, RegType::Dword, "NoControlPanel",
                  ticked ? kFlagOn : kFlagOff);
}

void ApplyStartMenuShortcuts(RunContext& context) {
    Platform& platform = context.platform;
    if (!context.form.ticked(32)) {
        // The shortcuts are not re-created; only their display name is put back.
        WriteRegValue(platform, kDisplayNameCache, RegType::String, "@shell32.dll,-22075", "Windows Catalog");
        return;
    }
    const std::string menu = platform.shellFolder(ShellFolder::CommonStartMenu);
    if (menu.empty()) return;
    for (const char* name : {"Windows Catalog.lnk", "Windows Update.lnk"}) {
        const std::string path = menu + "\\" + name;
        RunStep(context, [&] {
            if (platform.visibleFileExists(path)) platform.deleteFile(path);
        });
    }
}

}  // namespace quillon
