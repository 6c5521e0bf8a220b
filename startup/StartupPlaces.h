#pragma once
// The places Windows starts programs from at logon, in the order they are
// listed and treated: two Run keys, then two Startup folders.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/RegistryPath.h"

namespace quillon {

struct RunKey {
    RegRoot root;
    const char* subkey;    // below the root, as opened for listing
    const char* fullPath;  // as the registry tool is given it
};

inline constexpr std::array kRunKeys{
    RunKey{RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
           "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    RunKey{RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
           "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
};

// On 64-bit Windows, the Run key of the 32-bit view (where 32-bit programs
// enter themselves), named by its native path; listed after the native one.
inline constexpr RunKey kWow32RunKey{RegRoot::LocalMachine,
                                     "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                                     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"};

// One entry of the Startup page's list. An entry of the 32-bit view's Run key
// is that value alone; any other is its name in every place but that one (the
// name does not record which).
struct StartupEntry {
    std::string name;
    RegView view = RegView::Native;
    bool operator==(const StartupEntry&) const = default;
};

// The per-user folder first, then the All Users one, where the system keeps
// them. Without a user name the per-user folder would belong to nobody, so it
// is left out; so is a folder the system cannot tell.
std::vector<std::string> StartupFolders(Platform& machine, const std::string& userName);

// Whether a list entry may be joined to a Startup folder path: a name that
// could reach outside the folder (separators, a drive colon, "." or ".."
// itself) or that reads as a pattern never does. "Update..Helper.lnk" is an
// ordinary name.
bool IsPlainFileName(std::string_view name);

}  // namespace quillon
