#include "effects/EffectTarget.h"

#include "platform/TextMatch.h"

namespace quillon {

namespace {

EffectTarget Target(const Effect& e) {
    switch (e.kind) {
    case EffectKind::SetValue:
    case EffectKind::DeleteValue: return {TargetKind::Value, e.target, e.name};
    case EffectKind::ServiceStart: return {TargetKind::Value, ServiceKey(e.target), "Start"};
    case EffectKind::CreateKey: return {TargetKind::Key, e.target, {}};
    case EffectKind::DeleteKey: return {TargetKind::Tree, e.target, {}};
    case EffectKind::CopyKey: return {TargetKind::Tree, e.destination, {}};
    case EffectKind::DeleteFile:
    case EffectKind::CopyFile: return {TargetKind::File, e.target, {}};
    case EffectKind::RemoveFolder:
    case EffectKind::CreateFolder: return {TargetKind::Folder, e.target, {}};
    case EffectKind::RunTool: break;
    }
    return {TargetKind::Tool, e.target, {}};
}

}  // namespace

EffectTarget TargetOf(const Effect& e) {
    EffectTarget target = Target(e);
    if (target.kind == TargetKind::Value || target.kind == TargetKind::Key || target.kind == TargetKind::Tree)
        target.view = ViewOfKey(target.path);
    return target;
}

std::string EffectTarget::identity() const {
    constexpr const char* kKinds[] = {"value", "key", "tree", "file", "folder", "tool"};
    const std::string kindName = kKinds[static_cast<int>(kind)];
    // A command line is compared as written: its case may matter to the tool.
    if (kind == TargetKind::Tool) return kindName + "|" + path;
    // The path names the view too: a key of the 32-bit view lies below Wow6432Node.
    return kindName + "|" + Lower(path) + "|" + Lower(name);
}

}  // namespace quillon
