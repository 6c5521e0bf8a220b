#include "tests/wine/RegistryTree.h"

#include <algorithm>

#include "platform/win32/UniqueHandle.h"

namespace quillon::test {
namespace {

std::wstring Upper(std::wstring text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

RegistryTree ReadOpen(HKEY key, REGSAM view) {
    RegistryTree tree;
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 16384, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        TreeValue value{std::wstring(name, nameLength), type, std::vector<BYTE>(size)};
        nameLength = 16384;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, value.data.data(), &size);
        value.data.resize(size);
        tree.values.push_back(std::move(value));
    }
    std::sort(tree.values.begin(), tree.values.end(),
              [](const TreeValue& a, const TreeValue& b) { return Upper(a.name) < Upper(b.name); });
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        win32::UniqueKey child;
        if (RegOpenKeyExW(key, name, 0, KEY_READ | view, child.put()) != ERROR_SUCCESS) continue;
        RegistryTree& sub = tree.subkeys[Upper(name)] = ReadOpen(child.get(), view);
        sub.name.assign(name, nameLength);
    }
    return tree;
}

}  // namespace

std::optional<RegistryTree> ReadTree(HKEY root, const std::wstring& subkey, REGSAM view) {
    win32::UniqueKey key;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return std::nullopt;
    return ReadOpen(key.get(), view);
}

void WriteTree(HKEY root, const std::wstring& subkey, const RegistryTree& tree) {
    win32::UniqueKey key;
    if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const TreeValue& v : tree.values)
        RegSetValueExW(key.get(), v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    for (const auto& [upper, child] : tree.subkeys) WriteTree(root, subkey + L"\\" + child.name, child);
}

namespace {

void PrintKey(const RegistryTree& tree, const std::string& path, std::ostream& out) {
    out << "[" << path << "]";
    for (const TreeValue& v : tree.values)
        out << " " << (v.name.empty() ? "@" : std::string(v.name.begin(), v.name.end())) << ":" << v.type << "/"
            << v.data.size();
    out << ";";
    for (const auto& [upper, child] : tree.subkeys)
        PrintKey(child, path + "\\" + std::string(child.name.begin(), child.name.end()), out);
}

}  // namespace

void PrintTo(const RegistryTree& tree, std::ostream* out) { PrintKey(tree, "", *out); }

}  // namespace quillon::test
