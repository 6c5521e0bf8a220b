#pragma once
// A platform for planning: every read goes to the machine (as changed by the
// effects recorded so far), every change is recorded as an effect instead of
// being made, and a started command ends at once with the status the tool
// would give.
#include <map>
#include <set>

#include "effects/EffectTarget.h"
#include "effects/MachineView.h"
#include "planning/Plan.h"
#include "platform/Platform.h"

namespace quillon {

class PlanningPlatform : public Platform, private MachineView {
public:
    explicit PlanningPlatform(Platform& machine) : machine_(machine), now_(machine) {}
    // The step whose effects are being recorded; read as each effect arrives.
    void follow(const StepTag& step) { step_ = &step; }
    const std::vector<PlannedEffect>& effects() const { return effects_; }

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override;
    // The same with the command's effects as a watch above read them already
    // (EffectReader.h), so they are not read twice.
    std::unique_ptr<StartedProcess> startRead(const std::string& commandLine,
                                              const std::optional<std::vector<Effect>>& effects);
    bool visibleFileExists(const std::string& path) override;
    bool anyFileExists(const std::string& path) override { return fileExists(path); }
    bool directoryExists(const std::string& path) override { return folderExists(path); }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override;
    void deleteFile(const std::string& path) override;
    void removeEmptyDirectory(const std::string& path) override;
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    std::vector<std::string> readTextFile(const std::string& path) override;
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override;
    bool wow64() override { return machine_.wow64(); }
    std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) override;
    bool registryKeyExists(const std::string& key) override { return keyExists(key); }
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override {
        return value(key, name);
    }
    std::vector<NamedRegValue> registryValues(const std::string& key) override { return machine_.registryValues(key); }
    std::vector<std::string> registrySubkeys(const std::string& key) override { return machine_.registrySubkeys(key); }
    std::string readFileBytes(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void createDirectory(const std::string& path) override;
    std::vector<std::string> listSubfolders(const std::string& folder) override;
    void appendFileFlushed(const std::string&, std::string_view) override {}
    LocalTime localTime() override { return machine_.localTime(); }
    LocalTime universalTime() override { return machine_.universalTime(); }
    bool appendUnderLock(const std::string&, std::string_view, std::string_view, std::chrono::milliseconds) override {
        return true;
    }
    std::string userName() override { return machine_.userName(); }
    std::string executableFolder() override { return machine_.executableFolder(); }
    std::string computerName() override { return machine_.computerName(); }
    std::string commonAppDataFolder() override { return machine_.commonAppDataFolder(); }
    std::string shellFolder(ShellFolder which) override { return machine_.shellFolder(which); }
    bool isLinkOrJunction(const std::string& path) override { return machine_.isLinkOrJunction(path); }
    void pumpEvents() override {}
    MessageBoxAnswer messageBox(const std::string&, const std::string&, MessageBoxKind) override {
        return MessageBoxAnswer::Cancel;
    }
    std::optional<std::string> browseForFolder(const std::string&) override { return std::nullopt; }
    void logOff() override {}

private:
    // MachineView: the machine with the recorded effects applied.
    std::optional<RegValue> value(const std::string& key, const std::string& name) override;
    bool keyExists(const std::string& key) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    std::optional<RegValue> valueBefore(std::size_t end, const std::string& key, const std::string& name);
    bool keyExistsBefore(std::size_t end, const std::string& key);

    Assessment record(const Effect& effect);

    Platform& machine_;
    PlatformView now_;
    const StepTag* step_ = nullptr;
    std::vector<PlannedEffect> effects_;
    // Each effect's target, worked out once: every read walks back through them.
    std::vector<EffectTarget> targets_;
    // The value read last, as it stood after that many effects: one change
    // reads its value several times over (whether it changes, its state
    // before, the plan's line), each a walk back through the effects.
    struct LastRead {
        std::size_t effects = 0;
        std::string key, name;
        std::optional<RegValue> value;
    };
    std::optional<LastRead> lastRead_;
    std::map<std::string, std::string> scratch_;  // files the steps write for their tools, by lower-case path
    std::map<std::string, bool> paths_;           // files and folders the plan removed (false) or made (true)
};

}  // namespace quillon
