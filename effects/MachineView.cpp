#include "effects/MachineView.h"

#include "platform/Platform.h"

namespace quillon {
namespace {

std::string Presence(bool present) { return present ? "present" : "absent"; }

std::string Optional(const std::optional<RegValue>& value) { return value ? DescribeValue(*value) : "absent"; }

std::string DefaultValue(const RegValue& value) { return "default value " + DescribeValue(value); }

}  // namespace

std::optional<RegValue> PlatformView::value(const std::string& key, const std::string& name) {
    return machine_.registryValue(key, name);
}
bool PlatformView::keyExists(const std::string& key) { return machine_.registryKeyExists(key); }
bool PlatformView::fileExists(const std::string& path) { return machine_.anyFileExists(path); }
bool PlatformView::folderExists(const std::string& path) { return machine_.directoryExists(path); }

Assessment Assess(const Effect& e, MachineView& view) {
    Assessment a;
    switch (e.kind) {
    case EffectKind::SetValue: {
        const auto now = view.value(e.target, e.name);
        a = {Optional(now), DescribeValue(e.data), now != e.data};
        break;
    }
    case EffectKind::DeleteValue: {
        const auto now = view.value(e.target, e.name);
        a = {Optional(now), "absent", now.has_value()};
        a.succeeds = a.changes;
        break;
    }
    case EffectKind::CreateKey: {
        const bool present = view.keyExists(e.target);
        a = {Presence(present), "present", !present};
        if (e.emptiesDefault) {
            const auto now = present ? view.value(e.target, "") : std::nullopt;
            if (now) a.before += ", " + DefaultValue(*now);
            a.after += ", " + DefaultValue(kEmptyDefault);
            a.changes = a.changes || now != kEmptyDefault;
        }
        break;
    }
    case EffectKind::DeleteKey: {
        const bool present = view.keyExists(e.target);
        a = {Presence(present), "absent", present};
        a.succeeds = present;
        break;
    }
    case EffectKind::CopyKey: {
        const bool source = view.keyExists(e.target);
        a = {"destination " + Presence(view.keyExists(e.destination)),
             source ? "a copy of " + e.target : "unchanged (no source)", source};
        a.succeeds = source;
        break;
    }
    case EffectKind::ServiceStart: {
        const std::string key = ServiceKey(e.target);
        if (!view.keyExists(key)) {
            a = {"no such service", "unchanged", false, false, false};
            break;
        }
        const auto now = view.value(key, "Start");
        const std::uint32_t unset = 0xffffffffu;  // no start mode has this number
        const std::uint32_t mode = now ? DwordOf(*now).value_or(unset) : unset;
        a = {mode != unset ? StartModeName(mode) : Optional(now), StartModeName(e.startMode), mode != e.startMode};
        break;
    }
    case EffectKind::DeleteFile: {
        const bool present = view.fileExists(e.target);
        a = {Presence(present), "absent", present};
        a.succeeds = present;
        break;
    }
    case EffectKind::RemoveFolder: {
        const bool present = view.folderExists(e.target);
        a = {Presence(present), "absent", present};
        a.succeeds = present;
        break;
    }
    case EffectKind::CreateFolder: {
        const bool present = view.folderExists(e.target);
        a = {Presence(present), "present", !present};
        break;
    }
    case EffectKind::CopyFile: {
        const bool present = view.fileExists(e.target);
        a = {Presence(present), "a copy of " + e.destination, !present};
        a.succeeds = !present;
        break;
    }
    case EffectKind::RunTool: a = {"unknown", "unknown", true, false}; break;
    }
    return a;
}

}  // namespace quillon
