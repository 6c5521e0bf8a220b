#pragma once
// Keys the System page writes, each exactly as the script's section header
// must show it.
#include <string_view>

#include "engine/ExplorerPolicyKeys.h"

namespace quillon::system_keys {

using explorer_policy_keys::kMachineExplorerPolicy;
using explorer_policy_keys::kUserExplorerPolicy;

inline constexpr std::string_view kBios = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\BIOS";
inline constexpr std::string_view kCrash = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl";
inline constexpr std::string_view kSystemRestore =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";
inline constexpr std::string_view kDebugger = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
inline constexpr std::string_view kUpdatePolicy =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate";
inline constexpr std::string_view kCleanupWizard =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\CleanupWiz";
inline constexpr std::string_view kSecurityCenter = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Security Center";
inline constexpr std::string_view kMachineSystemPolicy =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
inline constexpr std::string_view kMediaPlayerPolicy = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";
inline constexpr std::string_view kMemory =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr std::string_view kPrefetch =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\PrefetchParameters";
inline constexpr std::string_view kDesktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
inline constexpr std::string_view kDesktopClass =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{00021400-0000-0000-C000-000000000046}";
// No separator between the closing brace and "Machine": that is the real key's name.
inline constexpr std::string_view kGroupPolicySystem =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\"
    "{93DA6881-55BF-487D-B0AE-C8EB3C54121A}Machine\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr std::string_view kExplorerAdvanced =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr std::string_view kMachineExplorer = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr std::string_view kFileSystem = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\FileSystem";

}  // namespace quillon::system_keys
