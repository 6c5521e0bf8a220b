#include "platform/win32/ShellFolderRecord.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace quillon::win32 {
namespace {

struct Recorded {
    int csidl;
    bool machine;  // the machine's folders, or the user's own
    const wchar_t* name;
};
constexpr Recorded kRecorded[] = {
    {CSIDL_STARTUP, false, L"Startup"},
    {CSIDL_COMMON_STARTUP, true, L"Common Startup"},
    {CSIDL_COMMON_STARTMENU, true, L"Common Start Menu"},
    {CSIDL_COMMON_APPDATA, true, L"Common AppData"},
};
constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::optional<std::wstring> Value(HKEY root, const wchar_t* name) {
    UniqueKey key;
    if (RegOpenKeyExW(root, kUserShellFolders, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::nullopt;
    // A buffer of a path's length takes the value in one call; a longer value is asked for again.
    std::vector<wchar_t> text(MAX_PATH + 1, L'\0');
    DWORD type = 0, size = MAX_PATH * sizeof(wchar_t);
    LONG result = RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    if (result == ERROR_MORE_DATA) {
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        result = RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    }
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size < sizeof(wchar_t))
        return std::nullopt;
    std::wstring value(text.data());
    if (type == REG_SZ) return value;
    const DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> expanded(needed + 1, L'\0');
    if (ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed + 1) == 0) return std::nullopt;
    return std::wstring(expanded.data());
}

// A whole path on a drive or a share, every variable in it known.
bool Whole(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return (drive || share) && path.find(L'%') == std::wstring::npos && path.back() != L'\\' && path.size() < MAX_PATH;
}

}  // namespace

std::optional<std::wstring> RecordedShellFolder(int csidl) {
    for (const Recorded& recorded : kRecorded) {
        if (recorded.csidl != csidl) continue;
        auto path = Value(recorded.machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, recorded.name);
        // A folder that is missing is the shell's to report (it fails then).
        if (!path || !Whole(*path)) return std::nullopt;
        const DWORD attributes = GetFileAttributesW(path->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
        return path;
    }
    return std::nullopt;
}

}  // namespace quillon::win32
