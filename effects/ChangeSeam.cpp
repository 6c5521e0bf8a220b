#include "effects/ChangeSeam.h"

#include "effects/EffectReader.h"
#include "effects/Scratch.h"

namespace quillon {

ChangeSeam::ChangeSeam(Platform& below, const RunStack& stack)
    : ForwardingPlatform(below), seamBelow_(dynamic_cast<ChangeSeam*>(&below)), stack_(stack) {}

std::unique_ptr<StartedProcess> ChangeSeam::startHidden(const std::string& commandLine) {
    // The script is read as this layer sees it: a planner's is one it holds.
    return startTool(commandLine,
                     ReadCommandEffects(
                         commandLine, [&](const std::string& path) { return ReadScriptText(*this, path); }, wow64()),
                     stack_.step());
}

std::unique_ptr<StartedProcess> ChangeSeam::startBelow(const std::string& commandLine,
                                                       const std::optional<std::vector<Effect>>& effects,
                                                       const StepTag& step) {
    return seamBelow_ ? seamBelow_->startTool(commandLine, effects, step) : machine_.startHidden(commandLine);
}

void ChangeSeam::deleteFile(const std::string& path) {
    if (IsScratchFile(path)) return deleteScratch(path);
    change({EffectKind::DeleteFile, path, {}, {}, {}, 0, false}, stack_.step(),
           [&] { machine_.deleteFile(path); });
}

void ChangeSeam::removeEmptyDirectory(const std::string& path) {
    change({EffectKind::RemoveFolder, path, {}, {}, {}, 0, false}, stack_.step(),
           [&] { machine_.removeEmptyDirectory(path); });
}

void ChangeSeam::copyFile(const std::string& from, const std::string& to) {
    change({EffectKind::CopyFile, to, {}, {}, from, 0, false}, stack_.step(),
           [&] { machine_.copyFile(from, to); });
}

void ChangeSeam::copyFileFlushed(const std::string& from, const std::string& to) {
    change({EffectKind::CopyFile, to, {}, {}, from, 0, false}, stack_.step(),
           [&] { machine_.copyFileFlushed(from, to); });
}

void ChangeSeam::createDirectory(const std::string& path) {
    change({EffectKind::CreateFolder, path, {}, {}, {}, 0, false}, stack_.step(),
           [&] { machine_.createDirectory(path); });
}

}  // namespace quillon
