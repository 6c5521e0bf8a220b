#include "engine/SecurityCatalogue.h"

#include "engine/SafeMode.h"
#include "engine/SecurityKeys.h"
#include "engine/SecuritySteps.h"

namespace quillon {
namespace {

using namespace security_keys;
using enum RegType;

constexpr CatalogueStep kSteps[]{
    // IE Settings
    OnOffFlag(0, kIePanel, "GeneralTab"),
    ProgressMark{500},
    OnOffFlag(1, kIePanel, "SecurityTab"),
    OnOffFlag(2, kIePanel, "PrivacyTab"),
    OnOffFlag(3, kIePanel, "ContentTab"),
    OnOffFlag(4, kIePanel, "ConnectionsTab"),
    OnOffFlag(5, kIePanel, "ProgramsTab"),
    OnOffFlag(6, kIePanel, "AdvancedTab"),
    OnOffFlag(7, kIeRestrictions, "NoFileOpen"),
    OnOffFlag(8, kIeRestrictions, "NoBrowserSaveAs"),
    ProgressMark{3500},
    OnOffFlag(9, kIeRestrictions, "NoFavorites"),
    OnOffFlag(10, kIeRestrictions, "NoBrowserOptions"),
    OnOffFlag(11, kIeRestrictions, "NoBrowserContextMenu"),
    RegistryFlag{12, kZone3, "1803", Dword, "00000003", "00000000"},
    OnOffFlag(13, kIeRestrictions, "NoFileNew"),
    NamedStep{"Download File Path Set", ApplyDownloadDirectory, {-1, -1}, "txtPath"},
    ProgressMark{6800},
    NamedStep{"Hide Drive", ApplyHiddenDrives, {-1, -1}, "lstHide"},
    NamedStep{"Disabled Drive", ApplyDrivesWithoutAccess, {-1, -1}, "lstNot"},
    // Display Properties and Start Menu
    OnOffFlag(14, kUserSystemPolicy, "NoDispAppearancePage"),
    OnOffFlag(15, kUserSystemPolicy, "NoDispBackgroundPage"),
    OnOffFlag(16, kUserSystemPolicy, "NoDispScrSavPage"),
    ProgressMark{8000},
    OnOffFlag(17, kActiveDesktopPolicy, "NoDispBackgroundPage"),
    RegistryFlag{18, kDesktopPolicy, "ScreenSaveActive", Dword, "00000000", "00000001"},
    OnOffFlag(19, kMachineExplorerPolicy, "noRun"),
    OnOffFlag(20, kMachineExplorerPolicy, "noFind"),
    OnOffFlag(21, kMachineExplorerPolicy, "NoSetFolders"),
    OnOffFlag(21, kMachineExplorerPolicy, "NoSetTaskbar"),
    OnOffFlag(22, kMachineExplorerPolicy, "NoRecentDocsMenu"),
    ProgressMark{9000},
    OnOffFlag(23, kMachineExplorerPolicy, "NoSMHelp"),
    // Other
    NamedStep{"Disabled Control Panel", ApplyControlPanel, {24, 28}},
    OnOffFlag(25, kUserSystemPolicy, "DisableTaskMgr"),
    OnOffFlag(26, kUserExplorerPolicy, "NoViewContextMenu"),
    OnOffFlag(27, kUserExplorerPolicy, "DisallowCpl"),
    CommandToggle{27,
                  "reg add HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
                  "DisallowCpl\\ /f",
                  "reg delete HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
                  "DisallowCpl\\ /f"},
    RegistryFlag{27, kAppletBlockList, "1", String, "Appwiz.cpl", ""},
    ProgressMark{9900},
    OnOffFlag(29, kUserSystemPolicy, "DisableChangePassword"),
    OnOffFlag(30, kHiddenNamespace, "{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
    OnOffFlag(31, kUserExplorerPolicy, "NoFileMenu"),
    NamedStep{"Delete Start Menu [Windows Catalog.Update] etc.", ApplyStartMenuShortcuts, {32, -1}},
    OnOffFlag(33, kUserExplorerPolicy, "NoChangeStartMenu"),
    OnOffFlag(34, kMachineExplorerPolicy, "NoSetTaskbar"),
    OnOffFlag(35, kMachineExplorerPolicy, "noRun"),
    OnOffFlag(36, kUserExplorerPolicy, "NoNetHood"),
    CommandToggle{37,
                  "reg delete HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\"
                  "NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E} /f",
                  "reg add HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\"
                  "NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E} /f"},
    OnOffFlag(38, kUserExplorerPolicy, "NoManageMyComputerVerb"),
    NamedStep{"Disabled safe mode", ApplySafeMode, {39, -1}},
    OnOffFlag(40, kUserExplorerPolicy, "NoFolderOptions"),
    ProgressMark{10905},
};

}  // namespace

std::span<const CatalogueStep> SecurityCatalogue() { return kSteps; }

}  // namespace quillon
