#include "platform/RegistryPath.h"

#include "platform/TextMatch.h"

namespace quillon {
namespace {

struct RootName {
    const char* shortName;
    const char* fullName;
};
constexpr RootName kRoots[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKCU", "HKEY_CURRENT_USER"}, {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKU", "HKEY_USERS"},          {"HKCC", "HKEY_CURRENT_CONFIG"},
};

}  // namespace

std::string NormalisedKey(std::string_view key) {
    while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    const auto slash = key.find('\\');
    const std::string_view root = key.substr(0, slash);
    const std::string_view rest = slash == std::string_view::npos ? std::string_view() : key.substr(slash);
    for (const RootName& r : kRoots)
        if (EqualNoCase(root, r.shortName) || EqualNoCase(root, r.fullName)) return r.fullName + std::string(rest);
    return {};
}

bool IsNormalisedKey(std::string_view key) {
    if (key.empty() || key.back() == '\\') return false;
    const std::string_view root = key.substr(0, key.find('\\'));
    for (const RootName& r : kRoots)
        if (root == r.fullName) return true;
    return false;
}

bool KeyWithin(std::string_view key, std::string_view ancestor) {
    if (key.size() < ancestor.size()) return false;
    // The boundary first: it rules out most keys before any text is compared.
    return (key.size() == ancestor.size() || key[ancestor.size()] == '\\') && StartsWithNoCase(key, ancestor);
}

std::string KeyBelowRoot(std::string_view normalisedKey) {
    const auto slash = normalisedKey.find('\\');
    return slash == std::string_view::npos ? std::string() : std::string(normalisedKey.substr(slash + 1));
}

std::string KeyRoot(std::string_view normalisedKey) { return std::string(normalisedKey.substr(0, normalisedKey.find('\\'))); }

std::string ParentPath(std::string_view path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace quillon
