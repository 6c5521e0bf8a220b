#include "console/CachedReads.h"

namespace quillon::console {
namespace {

template <typename Map, typename Key, typename Read>
typename Map::mapped_type Remembered(Map& map, Key&& key, Read&& read) {
    auto found = map.find(key);
    if (found == map.end()) found = map.emplace(typename Map::key_type(std::forward<Key>(key)), read()).first;
    return found->second;
}

}  // namespace

bool CachedReads::visibleFileExists(const std::string& path) {
    return Remembered(files_, std::forward_as_tuple(0, path), [&] { return machine_.visibleFileExists(path); });
}

bool CachedReads::anyFileExists(const std::string& path) {
    return Remembered(files_, std::forward_as_tuple(1, path), [&] { return machine_.anyFileExists(path); });
}

bool CachedReads::directoryExists(const std::string& path) {
    return Remembered(files_, std::forward_as_tuple(2, path), [&] { return machine_.directoryExists(path); });
}

std::vector<std::string> CachedReads::listVisibleFiles(const std::string& folder, const std::string& pattern) {
    return Remembered(listings_, std::tie(folder, pattern), [&] { return machine_.listVisibleFiles(folder, pattern); });
}

std::vector<std::string> CachedReads::registryValueNames(RegRoot root, const std::string& subkey) {
    return Remembered(names_, std::forward_as_tuple(static_cast<int>(root), subkey),
                      [&] { return machine_.registryValueNames(root, subkey); });
}

std::vector<std::string> CachedReads::registrySubkeys(const std::string& key) {
    return Remembered(names_, std::forward_as_tuple(-1, key), [&] { return machine_.registrySubkeys(key); });
}

std::vector<std::string> CachedReads::listSubfolders(const std::string& folder) {
    return Remembered(names_, std::forward_as_tuple(-2, folder), [&] { return machine_.listSubfolders(folder); });
}

bool CachedReads::registryKeyExists(const std::string& key) {
    return Remembered(keys_, key, [&] { return machine_.registryKeyExists(key); });
}

std::optional<RegValue> CachedReads::registryValue(const std::string& key, const std::string& name) {
    return Remembered(values_, std::tie(key, name), [&] { return machine_.registryValue(key, name); });
}

std::vector<NamedRegValue> CachedReads::registryValues(const std::string& key) {
    return Remembered(allValues_, key, [&] { return machine_.registryValues(key); });
}

std::string CachedReads::shellFolder(ShellFolder which) {
    return Remembered(shellFolders_, which, [&] { return machine_.shellFolder(which); });
}

void CachedReads::forget() {
    files_.clear();
    listings_.clear();
    names_.clear();
    keys_.clear();
    values_.clear();
    allValues_.clear();
    shellFolders_.clear();
}

}  // namespace quillon::console
