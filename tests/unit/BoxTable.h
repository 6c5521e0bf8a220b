#pragma once
// What each box of the System and Security pages writes, and the services the
// Services page names, typed once here from the system's own description and
// not from the catalogues: the tests check the catalogues and the phases
// against this table, never a table against itself.
#include <array>
#include <optional>
#include <string_view>

#include "engine/Form.h"

namespace quillon::test {

// A value one box writes: DWORD data as eight hex digits, strings as text;
// nothing on a side that writes nothing.
struct BoxValue {
    Page page;
    int box;
    std::string_view key;
    std::string_view name;
    bool dword;
    std::optional<std::string_view> ticked, unticked;
};

namespace box_keys {
inline constexpr std::string_view kCrash = "HKLM\\System\\CurrentControlSet\\Control\\CrashControl";
inline constexpr std::string_view kRestore = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";
inline constexpr std::string_view kDebugger = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
inline constexpr std::string_view kUpdate = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate";
inline constexpr std::string_view kCleanup = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\CleanupWiz";
inline constexpr std::string_view kUserPolicy = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr std::string_view kUserSystem = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr std::string_view kSecurityCenter = "HKLM\\SOFTWARE\\Microsoft\\Security Center";
inline constexpr std::string_view kMachineSystem = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
inline constexpr std::string_view kMachinePolicy = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
inline constexpr std::string_view kMediaPlayer = "HKLM\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";
inline constexpr std::string_view kMemory = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr std::string_view kDesktop = "HKCU\\Control Panel\\Desktop";
inline constexpr std::string_view kDesktopClass = "HKLM\\SOFTWARE\\Classes\\CLSID\\{00021400-0000-0000-C000-000000000046}";
inline constexpr std::string_view kGroupPolicy =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\"
    "{93DA6881-55BF-487D-B0AE-C8EB3C54121A}Machine\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr std::string_view kAdvanced = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr std::string_view kMachineExplorer = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr std::string_view kFileSystem = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\FileSystem";
inline constexpr std::string_view kPanel = "HKCU\\Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
inline constexpr std::string_view kRestrictions = "HKCU\\Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";
inline constexpr std::string_view kZone3 = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
inline constexpr std::string_view kActiveDesktop = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\ActiveDesktop";
inline constexpr std::string_view kDesktopPolicy = "HKCU\\Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
inline constexpr std::string_view kBlockList = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowCpl";
inline constexpr std::string_view kNonEnum = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\NonEnum";
}  // namespace box_keys

inline constexpr std::string_view kOn = "00000001", kOff = "00000000";

inline constexpr auto kBoxValues = [] {
    using namespace box_keys;
    constexpr Page S = Page::System, X = Page::Security;
    return std::array{
        BoxValue{S, 54, kCrash, "AutoReboot", true, kOn, kOff},
        BoxValue{S, 67, kRestore, "DisableSR", true, kOn, kOff},
        BoxValue{S, 66, kDebugger, "Auto", false, "0", "1"},
        BoxValue{S, 65, kUpdate, "DisableWindowsUpdateAccess", true, kOn, kOff},
        BoxValue{S, 58, kUpdate, "DisableWindowsUpdateAccess", true, kOn, kOff},
        BoxValue{S, 59, kCleanup, "NoRun", true, kOn, kOff},
        BoxValue{S, 61, kUserPolicy, "NoSimpleStartMenu", true, kOn, kOff},
        BoxValue{S, 62, kUserPolicy, "NoWinKeys", true, kOn, kOff},
        BoxValue{S, 63, kSecurityCenter, "FirewallDisableNotify", true, kOn, kOff},
        BoxValue{S, 64, kMachineSystem, "LogonType", true, kOff, kOn},
        BoxValue{S, 68, kMediaPlayer, "DisableAutoUpdate", true, kOn, kOff},
        BoxValue{S, 72, kMemory, "DisablePagingExecutive", true, kOn, kOff},
        BoxValue{S, 43, kDesktop, "WaitToKillAppTimeout", false, "1000", "20000"},
        BoxValue{S, 44, kDesktop, "AutoEndTasks", false, "1", "0"},
        BoxValue{S, 70, kMemory, "ClearPageFileAtShutdown", false, "1", "0"},
        BoxValue{S, 55, kMemory, "LargeSystemCache", false, "1", "0"},
        BoxValue{S, 73, kDesktopClass, "MenuShowDelay", false, "1", "200"},
        BoxValue{S, 69, kGroupPolicy, "DisableStatusMessages", true, kOn, kOff},
        BoxValue{S, 69, kMachineSystem, "DisableStatusMessages", true, kOn, kOff},
        BoxValue{S, 50, kUserPolicy, "NoRecycleFiles", true, kOn, kOff},
        BoxValue{S, 51, kAdvanced, "TaskbarGlomming", true, kOff, kOn},
        BoxValue{S, 71, kDesktop, "HungAppTimeout", false, "5000", std::nullopt},
        BoxValue{S, 49, kMachineExplorer, "AlwaysUnloadDLL", false, "1", std::nullopt},
        BoxValue{S, 48, kDebugger, "auto", false, "0", std::nullopt},
        BoxValue{S, 47, kFileSystem, "ContigFileAllocSize", true, "00000400", std::nullopt},

        BoxValue{X, 0, kPanel, "GeneralTab", true, kOn, kOff},
        BoxValue{X, 1, kPanel, "SecurityTab", true, kOn, kOff},
        BoxValue{X, 2, kPanel, "PrivacyTab", true, kOn, kOff},
        BoxValue{X, 3, kPanel, "ContentTab", true, kOn, kOff},
        BoxValue{X, 4, kPanel, "ConnectionsTab", true, kOn, kOff},
        BoxValue{X, 5, kPanel, "ProgramsTab", true, kOn, kOff},
        BoxValue{X, 6, kPanel, "AdvancedTab", true, kOn, kOff},
        BoxValue{X, 7, kRestrictions, "NoFileOpen", true, kOn, kOff},
        BoxValue{X, 8, kRestrictions, "NoBrowserSaveAs", true, kOn, kOff},
        BoxValue{X, 9, kRestrictions, "NoFavorites", true, kOn, kOff},
        BoxValue{X, 10, kRestrictions, "NoBrowserOptions", true, kOn, kOff},
        BoxValue{X, 11, kRestrictions, "NoBrowserContextMenu", true, kOn, kOff},
        BoxValue{X, 12, kZone3, "1803", true, "00000003", kOff},
        BoxValue{X, 13, kRestrictions, "NoFileNew", true, kOn, kOff},
        BoxValue{X, 14, kUserSystem, "NoDispAppearancePage", true, kOn, kOff},
        BoxValue{X, 15, kUserSystem, "NoDispBackgroundPage", true, kOn, kOff},
        BoxValue{X, 16, kUserSystem, "NoDispScrSavPage", true, kOn, kOff},
        BoxValue{X, 17, kActiveDesktop, "NoDispBackgroundPage", true, kOn, kOff},
        BoxValue{X, 18, kDesktopPolicy, "ScreenSaveActive", true, kOff, kOn},
        BoxValue{X, 19, kMachinePolicy, "noRun", true, kOn, kOff},
        BoxValue{X, 20, kMachinePolicy, "noFind", true, kOn, kOff},
        BoxValue{X, 21, kMachinePolicy, "NoSetFolders", true, kOn, kOff},
        BoxValue{X, 21, kMachinePolicy, "NoSetTaskbar", true, kOn, kOff},
        BoxValue{X, 22, kMachinePolicy, "NoRecentDocsMenu", true, kOn, kOff},
        BoxValue{X, 23, kMachinePolicy, "NoSMHelp", true, kOn, kOff},
        BoxValue{X, 25, kUserSystem, "DisableTaskMgr", true, kOn, kOff},
        BoxValue{X, 26, kUserPolicy, "NoViewContextMenu", true, kOn, kOff},
        BoxValue{X, 27, kUserPolicy, "DisallowCpl", true, kOn, kOff},
        BoxValue{X, 27, kBlockList, "1", false, "Appwiz.cpl", ""},
        BoxValue{X, 29, kUserSystem, "DisableChangePassword", true, kOn, kOff},
        BoxValue{X, 30, kNonEnum, "{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true, kOn, kOff},
        BoxValue{X, 31, kUserPolicy, "NoFileMenu", true, kOn, kOff},
        BoxValue{X, 33, kUserPolicy, "NoChangeStartMenu", true, kOn, kOff},
        BoxValue{X, 34, kMachinePolicy, "NoSetTaskbar", true, kOn, kOff},
        BoxValue{X, 35, kMachinePolicy, "noRun", true, kOn, kOff},
        BoxValue{X, 36, kUserPolicy, "NoNetHood", true, kOn, kOff},
        BoxValue{X, 38, kUserPolicy, "NoManageMyComputerVerb", true, kOn, kOff},
        BoxValue{X, 40, kUserPolicy, "NoFolderOptions", true, kOn, kOff},
    };
}();

// The Services page's entries by their place in the list: the service each names.
inline constexpr std::array<std::string_view, 19> kServiceNames{
    "Alerter",     "wuauserv",       "ClipSrv",    "ERSvc",     "FastUserSwitchingCompatibility",
    "Helpsvc",     "PolicyAgent",    "Messenger",  "Spooler",   "RemoteRegistry",
    "wscsvc",      "lanmanserver",   "ShellHWDetection", "SSDPSRV", "Schedule",
    "WebClient",   "SharedAccess",   "W32Time",    "WZCSVC"};

// The page each box is on: Security 0 to 40, Speed 41, 42, 45, 46 and 52,
// System the rest.
constexpr Page BoxPage(int box) {
    if (box <= 40) return Page::Security;
    if (box == 41 || box == 42 || box == 45 || box == 46 || box == 52) return Page::Speed;
    return Page::System;
}

// The boxes Recommend ticks on each page (none on Services and Startup).
inline constexpr std::array kRecommendedSecurity{17, 20, 21, 22, 23, 24, 29, 32, 36, 40};
inline constexpr std::array kRecommendedSystem{43, 44, 47, 48, 49, 51, 53, 57, 58, 59, 60, 61,
                                               62, 63, 64, 65, 66, 67, 68, 69, 71, 73, 74, 76};
inline constexpr std::array kRecommendedSpeed{41};

// The widths a page's phase sets the progress bar to, in order, whatever is ticked.
struct PageProgress {
    Page page;
    std::array<int, 7> widths;  // ends at the first 0
};
inline constexpr std::array kProgressWidths{
    PageProgress{Page::System, {2000, 4000, 6000, 7600, 9000, 10905}},
    PageProgress{Page::Security, {500, 3500, 6800, 8000, 9000, 9900, 10905}},
    PageProgress{Page::Services, {1000, 2000, 5000, 10905}},
    PageProgress{Page::Speed, {5000, 9000, 10905}},
};

}  // namespace quillon::test
