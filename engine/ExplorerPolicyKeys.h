#pragma once
// The two Explorer policy keys both pages write to: the Start-menu values of
// "Optimize Start Menu" and of the Security page's Start Menu group are the
// same registry values, so both pages name them through one spelling.
#include <string_view>

namespace quillon::explorer_policy_keys {

inline constexpr std::string_view kMachineExplorerPolicy =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
inline constexpr std::string_view kUserExplorerPolicy =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

}  // namespace quillon::explorer_policy_keys
