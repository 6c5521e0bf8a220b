#include "engine/SystemCatalogue.h"


#include "engine/SystemKeys.h"
#include "engine/SystemSteps.h"

namespace quillon {
namespace {

using namespace system_keys;
using enum RegType;

constexpr CatalogueStep kSteps[]{
    ProgressMark{2000},
    NamedStep{"CPU priority", ApplyCpuPriority, {56, -1}, "Combo3"},
    OnOffFlag(54, kCrash, "AutoReboot"),
    NamedStep{"Optimize Start Menu", OptimiseStartMenu, {76, -1}},
    OnOffFlag(67, kSystemRestore, "DisableSR"),
    RegistryFlag{66, kDebugger, "Auto", String, "0", "1"},
    OnOffFlag(65, kUpdatePolicy, "DisableWindowsUpdateAccess"),
    CommandToggle{57, "sc \\\\. config RDSessMgr start= disabled", "sc \\\\. config RDSessMgr start= demand"},
    CommandToggle{58, "sc \\\\. config ERSvc start= disabled", "sc \\\\. config ERSvc start= demand"},
    OnOffFlag(58, kUpdatePolicy, "DisableWindowsUpdateAccess"),
    ProgressMark{4000},
    OnOffFlag(59, kCleanupWizard, "NoRun"),
    CommandToggle{60, "sc \\\\. config wuauserv start= disabled", "sc \\\\. config wuauserv start= demand"},
    OnOffFlag(61, kUserExplorerPolicy, "NoSimpleStartMenu"),
    OnOffFlag(62, kUserExplorerPolicy, "NoWinKeys"),
    OnOffFlag(63, kSecurityCenter, "FirewallDisableNotify"),
    ProgressMark{6000},
    RegistryFlag{64, kMachineSystemPolicy, "LogonType", Dword, "00000000", "00000001"},
    OnOffFlag(68, kMediaPlayerPolicy, "DisableAutoUpdate"),
    OnOffFlag(72, kMemory, "DisablePagingExecutive"),
    RegistryFlag{43, kDesktop, "WaitToKillAppTimeout", String, "1000", "20000"},
    RegistryFlag{44, kDesktop, "AutoEndTasks", String, "1", "0"},
    RegistryFlag{70, kMemory, "ClearPageFileAtShutdown", String, "1", "0"},
    ProgressMark{7600},
    RegistryFlag{55, kMemory, "LargeSystemCache", String, "1", "0"},
    RegistryFlag{73, kDesktopClass, "MenuShowDelay", String, "1", "200"},
    OnOffFlag(69, kGroupPolicySystem, "DisableStatusMessages"),
    OnOffFlag(69, kMachineSystemPolicy, "DisableStatusMessages"),
    OnOffFlag(50, kUserExplorerPolicy, "NoRecycleFiles"),
    CommandToggle{53,
                  "reg delete HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify"
                  "\\IconStreams /f",
                  std::nullopt},
    CommandToggle{53,
                  "reg delete HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify"
                  "\\PastIconsStream /f",
                  std::nullopt},
    RegistryFlag{51, kExplorerAdvanced, "TaskbarGlomming", Dword, "00000000", "00000001"},
    RegistryFlag{71, kDesktop, "HungAppTimeout", String, "5000", std::nullopt},
    CommandToggle{74, "chkntfs /x c: d:", std::nullopt},
    ProgressMark{9000},
    NamedStep{"Optimize 2 level cache", ApplyCacheSize, {75, -1}, "Opt"},
    RegistryFlag{49, kMachineExplorer, "AlwaysUnloadDLL", String, "1", std::nullopt},
    RegistryFlag{48, kDebugger, "auto", String, "0", std::nullopt},
    RegistryFlag{47, kFileSystem, "ContigFileAllocSize", Dword, "00000400", std::nullopt},
    NamedStep{"Preread Setting", ApplyPrefetch, {-1, -1}, "Combo2"},
    ProgressMark{10905},
};

}  // namespace

std::span<const CatalogueStep> SystemCatalogue() { return kSteps; }

}  // namespace quillon
