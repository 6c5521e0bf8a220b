// Registry reads with exact types and bytes, for plans and undo records.
#include <windows.h>

#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {
namespace {

HKEY RootKey(const std::string& root) {
    if (root == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    if (root == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (root == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (root == "HKEY_USERS") return HKEY_USERS;
    if (root == "HKEY_CURRENT_CONFIG") return HKEY_CURRENT_CONFIG;
    return nullptr;
}

// The native view, the one Windows reads and every change is made in; 32-bit Windows ignores the flag.
void Open(const std::string& normalised, UniqueKey& opened) {
    const HKEY root = RootKey(KeyRoot(normalised));
    HKEY key = nullptr;
    if (root && RegOpenKeyExW(root, Widen(KeyBelowRoot(normalised)).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) ==
                    ERROR_SUCCESS)
        *opened.put() = key;
}

}  // namespace

// Each open and close is a call into the system's registry service; a status
// listing reads about seventy values from fifty keys, many of them twice.
void Win32Platform::holdRegistryKeysOpen(bool hold) {
    holdKeys_ = hold;
    if (hold) return;
    if (keysCloseWithProcess_)
        for (auto& [path, key] : heldKeys_) key.abandon();
    heldKeys_.clear();
}

HKEY Win32Platform::readableKey(const std::string& key, UniqueKey& own) {
    const std::string normalised = NormalisedKey(key);
    if (!holdKeys_) {
        Open(normalised, own);
        return own.get();
    }
    const auto [held, added] = heldKeys_.try_emplace(Lower(normalised));
    if (added) Open(normalised, held->second);
    return held->second.get();
}

bool Win32Platform::registryKeyExists(const std::string& key) {
    UniqueKey own;
    return readableKey(key, own) != nullptr;
}

std::optional<RegValue> Win32Platform::registryValue(const std::string& key, const std::string& name) {
    UniqueKey own;
    const HKEY opened = readableKey(key, own);
    if (!opened) return std::nullopt;
    const std::wstring wideName = Widen(name);
    std::vector<BYTE> data(256);
    for (;;) {
        DWORD type = 0, size = static_cast<DWORD>(data.size());
        const LONG result = RegQueryValueExW(opened, wideName.c_str(), nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA) {
            data.resize(size + 2);
            continue;
        }
        if (result != ERROR_SUCCESS) return std::nullopt;
        return RegValue{type, std::vector<std::uint8_t>(data.begin(), data.begin() + size)};
    }
}

std::vector<NamedRegValue> Win32Platform::registryValues(const std::string& key) {
    std::vector<NamedRegValue> values;
    UniqueKey own;
    const HKEY opened = readableKey(key, own);
    if (!opened) return values;
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::vector<wchar_t> name(longestName + 2);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
        const LONG result = RegEnumValueW(opened, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA) {  // grown since the query
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 256);
            --index;
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        values.push_back({Narrow(std::wstring_view(name.data(), nameLength)),
                          RegValue{type, std::vector<std::uint8_t>(data.begin(), data.begin() + size)}});
    }
    return values;
}

std::vector<std::string> Win32Platform::registrySubkeys(const std::string& key) {
    std::vector<std::string> names;
    UniqueKey own;
    const HKEY opened = readableKey(key, own);
    if (!opened) return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring_view(name, length)));
    }
    return names;
}

LocalTime Win32Platform::localTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

LocalTime Win32Platform::universalTime() {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace quillon::win32
