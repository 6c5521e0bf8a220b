#pragma once
// The machine as a verb that only reads sees it: every read is asked of the
// machine once and then remembered. A plan reads the same keys and files many
// times over (each page, each box's before and after), and under a real
// registry each read is several calls into the system; STATUS must start and
// end about as fast as a program that does nothing. Anything that changes the
// machine goes straight through and forgets what was read.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ForwardingPlatform.h"

namespace quillon::console {

class CachedReads final : public ForwardingPlatform {
public:
    explicit CachedReads(Platform& machine) : ForwardingPlatform(machine) { machine_.holdRegistryKeysOpen(true); }
    ~CachedReads() override { machine_.holdRegistryKeysOpen(false); }

    bool visibleFileExists(const std::string& path) override;
    bool anyFileExists(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override;
    std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) override;
    bool registryKeyExists(const std::string& key) override;
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override;
    std::vector<NamedRegValue> registryValues(const std::string& key) override;
    std::vector<std::string> registrySubkeys(const std::string& key) override;
    std::vector<std::string> listSubfolders(const std::string& folder) override;
    // The System and Security pages each ask for the common Start menu: some
    // eight calls into the system each time (its key, its value, the folder).
    std::string shellFolder(ShellFolder which) override;

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        forget();
        return machine_.startHidden(commandLine);
    }
    void deleteFile(const std::string& path) override { forget(), machine_.deleteFile(path); }
    void removeEmptyDirectory(const std::string& path) override { forget(), machine_.removeEmptyDirectory(path); }
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        forget(), machine_.writeTextFile(path, lines);
    }
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        forget(), machine_.replaceTextFile(path, lines);
    }
    void copyFile(const std::string& from, const std::string& to) override { forget(), machine_.copyFile(from, to); }
    void copyFileFlushed(const std::string& from, const std::string& to) override {
        forget(), machine_.copyFileFlushed(from, to);
    }
    void createDirectory(const std::string& path) override { forget(), machine_.createDirectory(path); }
    void appendFileFlushed(const std::string& path, std::string_view bytes) override {
        forget(), machine_.appendFileFlushed(path, bytes);
    }
    void appendFile(const std::string& path, std::string_view bytes) override {
        forget(), machine_.appendFile(path, bytes);
    }
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override {
        forget();
        return machine_.writeHeldScript(path, lines);
    }

private:
    void forget();

    // Looked up through references to the caller's strings (std::less<>): a
    // plan asks thousands of times, and a copied key costs an allocation.
    std::map<std::tuple<int, std::string>, bool, std::less<>> files_;  // 0 visible, 1 any, 2 folder
    std::map<std::tuple<std::string, std::string>, std::vector<std::string>, std::less<>> listings_;
    // value names by root; subkeys (-1); subfolders (-2)
    std::map<std::tuple<int, std::string>, std::vector<std::string>, std::less<>> names_;
    // Keys and values, asked most, are hashed: under Wine a string compare
    // goes byte by byte, and key paths share long beginnings.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
        template <typename Key, typename Name>
        std::size_t operator()(const std::tuple<Key, Name>& value) const {
            const std::hash<std::string_view> hash;
            return hash(std::get<0>(value)) * 31 + hash(std::get<1>(value));
        }
    };
    std::unordered_map<std::string, bool, Hash, std::equal_to<>> keys_;
    std::unordered_map<std::tuple<std::string, std::string>, std::optional<RegValue>, Hash, std::equal_to<>> values_;
    std::map<std::string, std::vector<NamedRegValue>, std::less<>> allValues_;
    std::map<ShellFolder, std::string> shellFolders_;
};

}  // namespace quillon::console
