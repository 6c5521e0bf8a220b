#pragma once
// A platform that passes every call to another one: the base of those that
// stand in front of the machine and change how a few calls behave.
#include "platform/Platform.h"

namespace quillon {

class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& machine) : machine_(machine) {}
    ForwardingPlatform(const ForwardingPlatform&) = delete;
    ForwardingPlatform& operator=(const ForwardingPlatform&) = delete;

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        return machine_.startHidden(commandLine);
    }
    bool visibleFileExists(const std::string& path) override { return machine_.visibleFileExists(path); }
    bool anyFileExists(const std::string& path) override { return machine_.anyFileExists(path); }
    bool directoryExists(const std::string& path) override { return machine_.directoryExists(path); }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override {
        return machine_.listVisibleFiles(folder, pattern);
    }
    void deleteFile(const std::string& path) override { machine_.deleteFile(path); }
    void removeEmptyDirectory(const std::string& path) override { machine_.removeEmptyDirectory(path); }
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        machine_.writeTextFile(path, lines);
    }
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        machine_.replaceTextFile(path, lines);
    }
    std::vector<std::string> readTextFile(const std::string& path) override { return machine_.readTextFile(path); }
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override {
        return machine_.writeHeldScript(path, lines);
    }
    bool wow64() override { return machine_.wow64(); }
    std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) override {
        return machine_.registryValueNames(root, subkey);
    }
    bool registryKeyExists(const std::string& key) override { return machine_.registryKeyExists(key); }
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override {
        return machine_.registryValue(key, name);
    }
    std::vector<NamedRegValue> registryValues(const std::string& key) override { return machine_.registryValues(key); }
    std::vector<std::string> registrySubkeys(const std::string& key) override { return machine_.registrySubkeys(key); }
    void holdRegistryKeysOpen(bool hold) override { machine_.holdRegistryKeysOpen(hold); }
    std::string readFileBytes(const std::string& path) override { return machine_.readFileBytes(path); }
    std::string readFileBytesAtMost(const std::string& path, std::size_t limit) override {
        return machine_.readFileBytesAtMost(path, limit);
    }
    void copyFile(const std::string& from, const std::string& to) override { machine_.copyFile(from, to); }
    void copyFileFlushed(const std::string& from, const std::string& to) override {
        machine_.copyFileFlushed(from, to);
    }
    void createDirectory(const std::string& path) override { machine_.createDirectory(path); }
    std::vector<std::string> listSubfolders(const std::string& folder) override { return machine_.listSubfolders(folder); }
    void appendFileFlushed(const std::string& path, std::string_view bytes) override {
        machine_.appendFileFlushed(path, bytes);
    }
    void appendFile(const std::string& path, std::string_view bytes) override { machine_.appendFile(path, bytes); }
    LocalTime localTime() override { return machine_.localTime(); }
    LocalTime universalTime() override { return machine_.universalTime(); }
    bool appendUnderLock(const std::string& path, std::string_view heading, std::string_view block,
                         std::chrono::milliseconds bound) override {
        return machine_.appendUnderLock(path, heading, block, bound);
    }
    std::string userName() override { return machine_.userName(); }
    std::string executableFolder() override { return machine_.executableFolder(); }
    std::string computerName() override { return machine_.computerName(); }
    std::string commonAppDataFolder() override { return machine_.commonAppDataFolder(); }
    std::string shellFolder(ShellFolder which) override { return machine_.shellFolder(which); }
    bool isLinkOrJunction(const std::string& path) override { return machine_.isLinkOrJunction(path); }
    void protectFolder(const std::string& path) override { machine_.protectFolder(path); }
    void pumpEvents() override { machine_.pumpEvents(); }
    std::unique_ptr<RunLock> holdRunLock(std::chrono::milliseconds bound) override {
        return machine_.holdRunLock(bound);
    }
    void reportEvent(RunEvent event, const std::string& text) noexcept override { machine_.reportEvent(event, text); }
    MessageBoxAnswer messageBox(const std::string& text, const std::string& title, MessageBoxKind kind) override {
        return machine_.messageBox(text, title, kind);
    }
    std::optional<std::string> browseForFolder(const std::string& title, const std::string& startAt) override {
        return machine_.browseForFolder(title, startAt);
    }
    void logOff() override { machine_.logOff(); }

protected:
    Platform& machine_;
};

}  // namespace quillon
