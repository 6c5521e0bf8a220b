// Registry listing, the user and program, and the shell's dialogs.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {

std::vector<std::string> Win32Platform::registryValueNames(RegRoot root, const std::string& subkey) {
    std::vector<std::string> names;
    // Query, set, create subkey, enumerate, notify, create link: a user who may
    // only read the key lists nothing from it, since nothing could be removed.
    constexpr REGSAM kAccess = 0x3F;
    UniqueKey key;
    HKEY rootKey = root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (RegOpenKeyExW(rootKey, Widen(subkey).c_str(), 0, kAccess, key.put()) != ERROR_SUCCESS) return names;
    DWORD longestName = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    // Names only: a long command line in a value's data must not end the listing.
    std::vector<wchar_t> name(longestName + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG result =
            RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {  // a value added since the query
            name.resize(name.size() * 2 + 256);
            --index;
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring_view(name.data(), length)));
    }
    return names;
}

std::string Win32Platform::userName() {
    wchar_t buffer[257] = {};
    DWORD length = 257;
    if (!GetUserNameW(buffer, &length) || length == 0) return {};
    return Narrow(std::wstring_view(buffer, length - 1));  // the length counts the terminating zero
}

std::string Win32Platform::executableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == buffer.size())
        buffer.resize(buffer.size() * 2);
    std::wstring path(buffer.data(), length);
    return Narrow(path.substr(0, path.find_last_of(L'\\')));
}

std::string Win32Platform::computerName() {
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(buffer, &length) || length == 0)
        throw PlatformError("the computer's name cannot be read (" + std::to_string(GetLastError()) + ")");
    return Narrow(std::wstring_view(buffer, length));
}

std::string Win32Platform::commonAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    const HRESULT result = SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    if (FAILED(result) || path[0] == L'\0')
        throw PlatformError("the machine's application data folder cannot be found (" +
                            std::to_string(static_cast<unsigned long>(result)) + ")");
    return Narrow(path);
}

std::string Win32Platform::shellFolder(ShellFolder which) {
    wchar_t path[MAX_PATH] = {};
    if (which == ShellFolder::Windows) {
        const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
        return length > 0 && length < MAX_PATH ? Narrow(std::wstring_view(path, length)) : std::string();
    }
    const int folder = which == ShellFolder::Startup         ? CSIDL_STARTUP
                       : which == ShellFolder::CommonStartup ? CSIDL_COMMON_STARTUP
                                                             : CSIDL_COMMON_STARTMENU;
    if (FAILED(SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return Narrow(path);
}

MessageBoxAnswer Win32Platform::messageBox(const std::string& text, const std::string& title, MessageBoxKind kind) {
    UINT flags = MB_OKCANCEL;
    if (kind == MessageBoxKind::OkCancelExclamation) flags |= MB_ICONEXCLAMATION;
    if (kind == MessageBoxKind::OkCancelCancelFirst) flags |= MB_DEFBUTTON2;
    return MessageBoxW(mainWindow_, Widen(text).c_str(), Widen(title).c_str(), flags) == IDOK
               ? MessageBoxAnswer::Ok
               : MessageBoxAnswer::Cancel;
}

namespace {

// Selects the folder the browser was handed once it is ready; lParam is that folder's path.
int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

}  // namespace

std::optional<std::string> Win32Platform::browseForFolder(const std::string& title, const std::string& startAt) {
    // The folder browser needs OLE on this thread; starting it only now keeps
    // it off the program's start-up.
    if (!oleStarted_) oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
    const std::wstring wideTitle = Widen(title);
    BROWSEINFOW info{};
    info.hwndOwner = mainWindow_;
    info.lpszTitle = wideTitle.c_str();
    const std::wstring start = Widen(startAt);
    const DWORD attributes = start.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(start.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        info.lpfn = SelectStartFolder;
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    }
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return std::nullopt;
    wchar_t path[512] = {};
    const bool hasPath = SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
    if (!hasPath) return std::nullopt;
    return Narrow(path);
}

void Win32Platform::logOff() { ExitWindowsEx(0, 0); }

}  // namespace quillon::win32
