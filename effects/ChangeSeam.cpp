#include "effects/ChangeSeam.h"

#include "effects/EffectReader.h"
#include "effects/Scratch.h"

namespace quillon {

ChangeSeam::ChangeSeam(Platform& below) : ForwardingPlatform(below), seamBelow_(dynamic_cast<ChangeSeam*>(&below)) {}

std::unique_ptr<StartedProcess> ChangeSeam::startHidden(const std::string& commandLine) {
    // The script is read as this layer sees it: a planner's is one it holds.
    return startTool(commandLine,
                     ReadCommandEffects(
                         commandLine, [&](const std::string& path) { return ReadScriptText(*this, path); }, wow64()));
}

std::unique_ptr<StartedProcess> ChangeSeam::startBelow(const std::string& commandLine,
                                                       const std::optional<std::vector<Effect>>& effects) {
    return seamBelow_ ? seamBelow_->startTool(commandLine, effects) : machine_.startHidden(commandLine);
}

void ChangeSeam::deleteFile(const std::string& path) {
    if (IsScratchFile(path)) return deleteScratch(path);
    change({EffectKind::DeleteFile, path, {}, {}, {}, 0, false}, [&] { machine_.deleteFile(path); });
}

void ChangeSeam::removeEmptyDirectory(const std::string& path) {
    change({EffectKind::RemoveFolder, path, {}, {}, {}, 0, false}, [&] { machine_.removeEmptyDirectory(path); });
}

void ChangeSeam::copyFile(const std::string& from, const std::string& to) {
    change({EffectKind::CopyFile, to, {}, {}, from, 0, false}, [&] { machine_.copyFile(from, to); });
}

void ChangeSeam::copyFileFlushed(const std::string& from, const std::string& to) {
    change({EffectKind::CopyFile, to, {}, {}, from, 0, false}, [&] { machine_.copyFileFlushed(from, to); });
}

void ChangeSeam::createDirectory(const std::string& path) {
    change({EffectKind::CreateFolder, path, {}, {}, {}, 0, false}, [&] { machine_.createDirectory(path); });
}

}  // namespace quillon
