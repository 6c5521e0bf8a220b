#pragma once
// Reads values back through the registry API, for checking what the real
// regedit and reg stored.
#include <windows.h>

#include <optional>
#include <string>

namespace quillon::test {

struct StoredValue {
    DWORD type = REG_NONE;
    std::wstring text;  // REG_SZ
    DWORD dword = 0;    // REG_DWORD
};

std::optional<StoredValue> ReadValue(HKEY root, const std::wstring& subkey, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& subkey);
// Deletes the key and everything below it (RegDeleteTree is not on XP).
void DeleteTree(HKEY root, const std::wstring& subkey);

}  // namespace quillon::test
