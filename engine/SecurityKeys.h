#pragma once
// Keys the Security page writes, each exactly as the script's section header
// must show it.
#include <string_view>

#include "engine/ExplorerPolicyKeys.h"

namespace quillon::security_keys {

using explorer_policy_keys::kMachineExplorerPolicy;
using explorer_policy_keys::kUserExplorerPolicy;

inline constexpr std::string_view kIePanel =
    "HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
inline constexpr std::string_view kIeRestrictions =
    "HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";
inline constexpr std::string_view kZone3 =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
inline constexpr std::string_view kIe = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer";
// The drive masks go to the machine Explorer policy key spelt with "SOFTWARE";
// the Start-menu and shell flags to the same key spelt with "Software".
inline constexpr std::string_view kDrivePolicy =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
inline constexpr std::string_view kUserSystemPolicy =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr std::string_view kActiveDesktopPolicy =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\ActiveDesktop";
inline constexpr std::string_view kDesktopPolicy =
    "HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
inline constexpr std::string_view kAppletBlockList =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowCpl";
inline constexpr std::string_view kHiddenNamespace =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\NonEnum";
inline constexpr std::string_view kDisplayNameCache =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";

}  // namespace quillon::security_keys
