#include "tests/wine/RegistryRead.h"

#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace quillon::test {

std::optional<StoredValue> ReadValue(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    win32::UniqueKey key;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValue value;
    value.type = type;
    if (type == REG_DWORD && size == sizeof(DWORD)) value.dword = *reinterpret_cast<const DWORD*>(data.data());
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        value.text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!value.text.empty() && value.text.back() == L'\0') value.text.pop_back();
    }
    return value;
}

bool KeyExists(HKEY root, const std::wstring& subkey) {
    win32::UniqueKey key;
    return RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::wstring& subkey) {
    {
        win32::UniqueKey key;
        if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
        wchar_t name[256];
        while (true) {
            DWORD length = 256;
            if (RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            const std::wstring child = subkey + L"\\" + name;
            DeleteTree(root, child);
            if (KeyExists(root, child)) break;  // could not delete: stop rather than loop
        }
    }
    RegDeleteKeyW(root, subkey.c_str());
}

}  // namespace quillon::test
