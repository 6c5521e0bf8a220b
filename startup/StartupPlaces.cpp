#include "startup/StartupPlaces.h"

#include <algorithm>
#include <cctype>

namespace quillon {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The shell names the Startup folder of the user running; another user's is
// the same place in their own profile, the folder named for them.
std::string UserStartupFolder(Platform& machine, const std::string& userName) {
    std::string folder = machine.shellFolder(ShellFolder::Startup);
    std::string running;
    try {
        running = machine.userName();
    } catch (const PlatformError&) {
        return folder;
    }
    if (running.empty() || SameText(running, userName)) return folder;
    const std::string part = "\\" + running + "\\";
    for (std::size_t at = 0; at + part.size() <= folder.size(); ++at)
        if (SameText(std::string_view(folder).substr(at, part.size()), part))
            return folder.substr(0, at + 1) + userName + folder.substr(at + part.size() - 1);
    return {};  // a profile not named for its user: no place to name for another
}

}  // namespace

std::vector<std::string> StartupFolders(Platform& machine, const std::string& userName) {
    std::vector<std::string> folders;
    if (!userName.empty()) folders.push_back(UserStartupFolder(machine, userName));
    folders.push_back(machine.shellFolder(ShellFolder::CommonStartup));
    std::erase(folders, std::string());
    return folders;
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:*?") == std::string_view::npos;
}

}  // namespace quillon
