#include "effects/ChangeSeam.h"

#include "effects/EffectReader.h"
#include "effects/Scratch.h"

namespace quillon {

std::unique_ptr<StartedProcess> ChangeSeam::startHidden(const std::string& commandLine) {
    return startTool(commandLine,
                     ReadCommandEffects(
                         commandLine, [&](const std::string& path) { return ReadScriptText(machine_, path); },
                         machine_.wow64()));
}

void ChangeSeam::deleteFile(const std::string& path) {
    // The program's own scratch script is no change to the machine.
    if (IsScratchFile(path)) return machine_.deleteFile(path);
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
