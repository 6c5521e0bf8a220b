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
    target.view = e.view;  // Native for all but a key's effects
    return target;
}

TargetKey KeyOf(TargetKind kind, const std::string& path, const std::string& name) {
    if (kind == TargetKind::Tool) return {kind, path, {}};
    return {kind, Lower(path), Lower(name)};
}

}  // namespace quillon
