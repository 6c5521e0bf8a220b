#include "startup/StartupPlaces.h"

namespace quillon {

std::vector<std::string> StartupFolders(const std::string& userName) {
    std::vector<std::string> folders;
    if (!userName.empty())
        folders.push_back("C:\\Documents and Settings\\" + userName + "\\Start Menu\\Programs\\Startup");
    folders.push_back("C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup");
    return folders;
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:*?") == std::string_view::npos;
}

}  // namespace quillon
