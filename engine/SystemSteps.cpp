#include "engine/SystemSteps.h"

#include <array>
#include <string>

#include "engine/Form.h"
#include "engine/RegistryFlag.h"
#include "engine/SharedValues.h"
#include "engine/Step.h"
#include "engine/SystemKeys.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

using namespace system_keys;

void WriteStartMenuFlag(RunContext& context, std::string_view valueName, std::string_view data) {
    RunStep(context, [&] { WriteRegValue(context.platform, kMachineExplorerPolicy, RegType::Dword, valueName, data); });
}

// The Security page's Start-menu boxes share these values; a restriction chosen
// there must survive this page's reset, so only an exactly-unticked box lets go.
struct SharedStartMenuValues {
    int securityBox;
    std::array<std::string_view, 2> values;  // empty name: none
};
constexpr std::array kWriteBacks{
    SharedStartMenuValues{20, {"NoFind", ""}},
    SharedStartMenuValues{21, {"NoSetFolders", "NoSetTaskbar"}},
    SharedStartMenuValues{23, {"NoSMHelp", ""}},
    SharedStartMenuValues{22, {"NoRecentDocsMenu", ""}},
};

void DeleteCommonShortcuts(RunContext& context) {
    Platform& platform = context.platform;
    const std::string folder = platform.shellFolder(ShellFolder::CommonStartMenu);
    if (folder.empty()) return;
    for (const std::string& name : platform.listVisibleFiles(folder, "*.lnk"))
        RunStep(context, [&] { platform.deleteFile(folder + "\\" + name); });
}

}  // namespace

void ApplyCpuPriority(RunContext& context) {
    std::string_view data = "00000003";
    if (context.form.ticked(56)) data = context.form.comboIndex(Combo::Priority) == 0 ? "00000001" : "00000002";
    WriteRegValue(context.platform, kBios, RegType::Dword, "CPUPriority", data);
}

void OptimiseStartMenu(RunContext& context) {
    if (context.form.ticked(76)) {
        for (std::string_view name :
             {"NoSMHelp", "NoSetFolders", "NoSetTaskbar", "NoFind", "NoRecentDocsMenu", "StartMenuLogOff"})
            WriteStartMenuFlag(context, name, kFlagOn);
        DeleteCommonShortcuts(context);
        return;
    }
    for (const SharedStartMenuValues& shared : kWriteBacks) {
        if (!context.form.unticked(shared.securityBox)) continue;
        for (std::string_view name : shared.values)
            if (!name.empty() && !TickedSideHolds(context, kMachineExplorerPolicy, name))
                WriteStartMenuFlag(context, name, kFlagOff);
    }
    WriteStartMenuFlag(context, "NoLogoff", kFlagOff);
}

void ApplyCacheSize(RunContext& context) {
    if (!context.form.ticked(75)) return;
    // "64K" alone is a DWORD; the larger sizes are the same digits as strings.
    constexpr std::array<std::string_view, kOptionCount> kSizes{"00000040", "00000080", "00000100", "00000200",
                                                                "00000400"};
    for (int i = 0; i < kOptionCount; ++i) {
        if (!context.form.opt(i)) continue;
        WriteRegValue(context.platform, kMemory, i == 0 ? RegType::Dword : RegType::String, "SecondLevelDataCache",
                      kSizes[i]);
        return;
    }
}

void ApplyPrefetch(RunContext& context) {
    const bool applications = context.form.comboIndex(Combo::Prefetch) == 0;
    WriteRegValue(context.platform, kPrefetch, RegType::String, "EnablePrefetcher", applications ? "5" : "3");
}

}  // namespace quillon
