#pragma once
// Test before set: only a change whose target differs from what the run
// wants, by the net change of the run's own plan, reaches the machine. A
// target that already holds it is not written again, no tool starts for it
// and the undo record never sees it. A tool whose effect cannot be read back
// always runs: running is what its box asks for.
#include "console/DroppedProcess.h"
#include "planning/NetChange.h"
#include "effects/EffectReader.h"
#include "effects/MachineView.h"
#include "effects/Scratch.h"
#include "platform/ForwardingPlatform.h"

namespace quillon::console {

class DifferingOnly final : public ForwardingPlatform {
public:
    // `plan`: the net change of the same run planned, changes() already read.
    DifferingOnly(Platform& machine, const NetChangeWatch& plan) : ForwardingPlatform(machine), plan_(plan) {}
    void follow(const StepTag&) {}

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        const auto effects = ReadCommandEffects(
            commandLine, [&](const std::string& path) { return ReadScriptText(machine_, path); });
        bool needed = !effects;  // a command line the program does not know: let it tell
        bool succeeds = true;
        if (effects) {
            PlatformView view(machine_);
            for (const Effect& effect : *effects) {
                needed = needed || plan_.differs(effect);
                succeeds = succeeds && Assess(effect, view).succeeds;
            }
        }
        if (needed) return machine_.startHidden(commandLine);
        // The step reads what the tool would have said (a key copied only when it is there).
        return std::make_unique<DroppedProcess>(succeeds ? 0 : 1);
    }
    void deleteFile(const std::string& path) override {
        if (IsScratchFile(path) || differs(EffectKind::DeleteFile, path)) machine_.deleteFile(path);
    }
    void removeEmptyDirectory(const std::string& path) override {
        if (differs(EffectKind::RemoveFolder, path)) machine_.removeEmptyDirectory(path);
    }
    void copyFile(const std::string& from, const std::string& to) override {
        if (differs(EffectKind::CopyFile, to)) machine_.copyFile(from, to);
    }
    void createDirectory(const std::string& path) override {
        if (differs(EffectKind::CreateFolder, path)) machine_.createDirectory(path);
    }

private:
    bool differs(EffectKind kind, const std::string& path) const {
        Effect effect;
        effect.kind = kind;
        effect.target = path;
        return plan_.differs(effect);
    }

    const NetChangeWatch& plan_;
};

}  // namespace quillon::console
