#include "platform/DevicePath.h"

#include "platform/TextMatch.h"

namespace quillon {

bool IsDevicePath(const std::string& path) {
    if (path.starts_with("\\\\.\\") || path.starts_with("//./")) return true;
    if (path.starts_with("\\\\?\\")) {
        const std::string rest = path.substr(4);
        const bool drive = rest.size() >= 3 && rest[1] == ':' && rest[2] == '\\';
        if (!drive) return true;
    }
    std::string whole = path;
    while (!whole.empty() && whole.back() == ':') whole.pop_back();  // "COM1:" is COM1
    const auto slash = whole.find_last_of("\\/:");
    std::string name = Lower(slash == std::string::npos ? whole : whole.substr(slash + 1));
    if (const auto dot = name.find('.'); dot != std::string::npos) name.resize(dot);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    if (name == "con" || name == "prn" || name == "aux" || name == "nul" || name == "conin$" || name == "conout$")
        return true;
    return name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt")) && name[3] >= '1' &&
           name[3] <= '9';
}

}  // namespace quillon
