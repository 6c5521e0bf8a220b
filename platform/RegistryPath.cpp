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

// Keys below HKEY_LOCAL_MACHINE\SOFTWARE that both views share on Windows 7 and later.
constexpr std::string_view kSharedKeys[] = {
    "Classes\\HCP",
    "Microsoft\\COM3",
    "Microsoft\\Cryptography\\Calais",
    "Microsoft\\CTF\\SystemShared",
    "Microsoft\\CTF\\TIP",
    "Microsoft\\DFS",
    "Microsoft\\Driver Signing",
    "Microsoft\\EnterpriseCertificates",
    "Microsoft\\EventSystem",
    "Microsoft\\MSMQ",
    "Microsoft\\Non-Driver Signing",
    "Microsoft\\Notepad\\DefaultFonts",
    "Microsoft\\OLE",
    "Microsoft\\RAS",
    "Microsoft\\RPC",
    "Microsoft\\Shared Tools\\MSInfo",
    "Microsoft\\SystemCertificates",
    "Microsoft\\TermServLicensing",
    "Microsoft\\TransactionServer",
    "Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\Schemes",
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers",
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons",
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\KindMap",
    "Microsoft\\Windows\\CurrentVersion\\Group Policy",
    "Microsoft\\Windows\\CurrentVersion\\Policies",
    "Microsoft\\Windows\\CurrentVersion\\PreviewHandlers",
    "Microsoft\\Windows\\CurrentVersion\\Setup",
    "Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations",
    "Microsoft\\Windows NT\\CurrentVersion\\Console",
    "Microsoft\\Windows NT\\CurrentVersion\\FontDpi",
    "Microsoft\\Windows NT\\CurrentVersion\\FontLink",
    "Microsoft\\Windows NT\\CurrentVersion\\FontMapper",
    "Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    "Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
    "Microsoft\\Windows NT\\CurrentVersion\\Gre_Initialize",
    "Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options",
    "Microsoft\\Windows NT\\CurrentVersion\\LanguagePack",
    "Microsoft\\Windows NT\\CurrentVersion\\NetworkCards",
    "Microsoft\\Windows NT\\CurrentVersion\\Perflib",
    "Microsoft\\Windows NT\\CurrentVersion\\Ports",
    "Microsoft\\Windows NT\\CurrentVersion\\Print",
    "Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
    "Microsoft\\Windows NT\\CurrentVersion\\Time Zones",
    "Policies",
    "RegisteredApplications",
};

constexpr std::string_view kSoftware = "HKEY_LOCAL_MACHINE\\SOFTWARE";

}  // namespace

std::string KeyOf32BitView(std::string_view key) {
    // SOFTWARE itself and what lies outside it are one key in both views, and
    // the 32-bit view's own node is not redirected again.
    if (key.size() == kSoftware.size() || !KeyWithin(key, kSoftware) || KeyWithin(key, kWow32Node))
        return std::string(key);
    const std::string_view below = key.substr(kSoftware.size() + 1);
    for (std::string_view shared : kSharedKeys)
        if (KeyWithin(below, shared)) return std::string(key);
    return std::string(kWow32Node) + "\\" + std::string(below);
}

RegView ViewOfKey(std::string_view key) { return KeyWithin(key, kWow32Node) ? RegView::Wow32 : RegView::Native; }

const char* ViewName(RegView view) { return view == RegView::Wow32 ? "32-bit" : "64-bit"; }

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
