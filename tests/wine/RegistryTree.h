#pragma once
// A key with everything below it, read through the registry API: for comparing
// a tree before and after, and for putting back what a test moved.
#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::test {

struct TreeValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const TreeValue&) const = default;
};

struct RegistryTree {
    std::wstring name;  // as stored; empty for the key that was read
    std::vector<TreeValue> values;                 // by name, case ignored
    std::map<std::wstring, RegistryTree> subkeys;  // by upper-case name
    bool operator==(const RegistryTree&) const = default;
};

// Readable failure messages: every key path with its value names and types.
void PrintTo(const RegistryTree& tree, std::ostream* out);

// Nothing when the key does not exist. `view`: KEY_WOW64_64KEY or KEY_WOW64_32KEY on 64-bit Windows.
std::optional<RegistryTree> ReadTree(HKEY root, const std::wstring& subkey, REGSAM view = 0);
// Creates the key and writes the tree into it.
void WriteTree(HKEY root, const std::wstring& subkey, const RegistryTree& tree);

}  // namespace quillon::test
