#include "effects/MachineView.h"

#include "platform/Platform.h"

namespace quillon {

std::optional<RegValue> PlatformView::value(const std::string& key, const std::string& name) {
    return machine_.registryValue(key, name);
}
bool PlatformView::keyExists(const std::string& key) { return machine_.registryKeyExists(key); }
bool PlatformView::fileExists(const std::string& path) { return machine_.anyFileExists(path); }
bool PlatformView::folderExists(const std::string& path) { return machine_.directoryExists(path); }

Assessment Assess(const Effect& e, MachineView& view) {
    using Is = TargetState::Is;
    Assessment a;
    switch (e.kind) {
    case EffectKind::SetValue: {
        const auto now = view.value(e.target, e.name);
        a = {ValueState(now), ValueState(e.data), now != e.data};
        break;
    }
    case EffectKind::DeleteValue: {
        const auto now = view.value(e.target, e.name);
        a = {ValueState(now), {Is::Absent}, now.has_value()};
        a.succeeds = a.changes;
        break;
    }
    case EffectKind::CreateKey: {
        const bool present = view.keyExists(e.target);
        a = {Presence(present), Presence(true), !present};
        if (e.emptiesDefault) {
            const auto now = present ? view.value(e.target, "") : std::nullopt;
            a.before.defaultValue = now;
            a.after.defaultValue = kEmptyDefault;
            a.changes = a.changes || now != kEmptyDefault;
        }
        break;
    }
    case EffectKind::DeleteKey: {
        const bool present = view.keyExists(e.target);
        a = {Presence(present), Presence(false), present};
        a.succeeds = present;
        break;
    }
    case EffectKind::CopyKey: {
        const bool source = view.keyExists(e.target);
        a = {Presence(view.keyExists(e.destination)), {source ? Is::CopyOf : Is::NoSource}, source};
        a.before.destination = true;
        if (source) a.after.source = e.target;
        a.succeeds = source;
        break;
    }
    case EffectKind::ServiceStart: {
        const std::string key = ServiceKey(e.target);
        if (!view.keyExists(key)) {
            a = {{Is::NoService}, {Is::Unchanged}, false, false, false};
            break;
        }
        const auto now = view.value(key, "Start");
        a = {{Is::StartMode, now}, {Is::StartMode, DwordValue(e.startMode)}, !now || DwordOf(*now) != e.startMode};
        break;
    }
    case EffectKind::DeleteFile: {
        const bool present = view.fileExists(e.target);
        a = {Presence(present), Presence(false), present};
        a.succeeds = present;
        break;
    }
    case EffectKind::RemoveFolder: {
        const bool present = view.folderExists(e.target);
        a = {Presence(present), Presence(false), present};
        a.succeeds = present;
        break;
    }
    case EffectKind::CreateFolder: {
        const bool present = view.folderExists(e.target);
        a = {Presence(present), Presence(true), !present};
        break;
    }
    case EffectKind::CopyFile: {
        const bool present = view.fileExists(e.target);
        a = {Presence(present), {Is::CopyOf}, !present};
        a.after.source = e.destination;
        a.succeeds = !present;
        break;
    }
    case EffectKind::RunTool: a = {{Is::Unknown}, {Is::Unknown}, true, false}; break;
    }
    return a;
}

}  // namespace quillon
