#pragma once
// A platform for planning: every read goes to the machine (as changed by the
// effects recorded so far), every change the seam sees is recorded as an
// effect instead of being made, and a started command ends at once with the
// status the tool would give. The files the steps write for their tools stay
// here.
#include <map>
#include <set>

#include "effects/ChangeSeam.h"
#include "effects/EffectTarget.h"
#include "effects/MachineView.h"
#include "planning/Plan.h"
#include "platform/Platform.h"

namespace quillon {

class PlanningPlatform : public ChangeSeam, private MachineView {
public:
    PlanningPlatform(Platform& machine, const RunStack& stack) : ChangeSeam(machine, stack), now_(machine) {}
    const std::vector<PlannedEffect>& effects() const { return effects_; }

    bool visibleFileExists(const std::string& path) override;
    bool anyFileExists(const std::string& path) override { return fileExists(path); }
    bool directoryExists(const std::string& path) override { return folderExists(path); }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override;
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    std::vector<std::string> readTextFile(const std::string& path) override;
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override;
    bool registryKeyExists(const std::string& key) override { return keyExists(key); }
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override {
        return value(key, name);
    }
    void holdRegistryKeysOpen(bool) override {}
    std::string readFileBytes(const std::string& path) override;
    std::string readFileBytesAtMost(const std::string& path, std::size_t limit) override {
        return Platform::readFileBytesAtMost(path, limit);
    }
    std::vector<std::string> listSubfolders(const std::string& folder) override;
    void appendFileFlushed(const std::string&, std::string_view) override {}
    void appendFile(const std::string&, std::string_view) override {}
    bool appendUnderLock(const std::string&, std::string_view, std::string_view, std::chrono::milliseconds) override {
        return true;
    }
    void protectFolder(const std::string&) override {}
    std::unique_ptr<RunLock> holdRunLock(std::chrono::milliseconds bound) override {
        return Platform::holdRunLock(bound);
    }
    void pumpEvents() override {}
    MessageBoxAnswer messageBox(const std::string&, const std::string&, MessageBoxKind) override {
        return MessageBoxAnswer::Cancel;
    }
    std::optional<std::string> browseForFolder(const std::string&, const std::string&) override { return std::nullopt; }
    void logOff() override {}

protected:
    std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                              const std::optional<std::vector<Effect>>& effects,
                                              const StepTag& step) override;
    void change(const Effect& effect, const StepTag& step, const std::function<void()>& make) override;
    void deleteScratch(const std::string& path) override;

private:
    // MachineView: the machine with the recorded effects applied.
    std::optional<RegValue> value(const std::string& key, const std::string& name) override;
    bool keyExists(const std::string& key) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    std::optional<RegValue> valueBefore(std::size_t end, const std::string& key, const std::string& name);
    bool keyExistsBefore(std::size_t end, const std::string& key);

    Assessment record(const Effect& effect, const StepTag& step);

    PlatformView now_;
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
