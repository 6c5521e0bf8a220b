#include "tests/sim/SimTools.h"

#include "effects/EffectReader.h"
#include "platform/CommandLine.h"
#include "platform/TextMatch.h"
#include "tests/sim/SimFileSystem.h"
#include "tests/sim/SimRegistry.h"
#include "tests/sim/SimText.h"

namespace quillon::sim {
namespace {

// What the tool would report for one effect on this machine.
bool Apply(const Effect& effect, SimRegistry& registry) {
    switch (effect.kind) {
    case EffectKind::SetValue: registry.setValue(effect.target, effect.name, Value::Of(effect.data)); return true;
    case EffectKind::DeleteValue: return registry.deleteValue(effect.target, effect.name);
    case EffectKind::CreateKey: registry.createKey(effect.target); return true;
    case EffectKind::DeleteKey: return registry.deleteKey(effect.target);
    case EffectKind::CopyKey: return registry.copyKey(effect.target, effect.destination, effect.recursive);
    case EffectKind::ServiceStart:
        if (!registry.keyExists(ServiceKey(effect.target))) return false;  // no such service
        // Boot and system are drivers' start modes: sc refuses them for a service (error 87).
        if (effect.startMode < 2) return false;
        registry.setValue(ServiceKey(effect.target), "Start", Value::Dword(effect.startMode));
        return true;
    default: return true;  // sfc and chkntfs change nothing the tests look at
    }
}

}  // namespace

void ImportRegistrationScript(const std::string& script, SimRegistry& registry) {
    for (const Effect& effect : ReadScriptEffects(script)) Apply(effect, registry);
}

bool IsKnownTool(const std::string& commandLine) {
    const std::string tool = ToolName(commandLine);
    return tool == "regedit" || tool == "reg" || tool == "sc" || tool == "sfc" || tool == "chkntfs";
}

int RunTool(const std::string& commandLine, SimRegistry& registry, SimFileSystem& files, bool regAddBlanksDefault,
            bool wow64) {
    bool scriptRead = true;
    const auto effects = ReadCommandEffects(commandLine, [&](const std::string& path) -> std::optional<std::string> {
        auto content = files.content(path);
        scriptRead = content.has_value();
        if (!content) return std::nullopt;
        return DecodeFileText(*content);
    }, wow64);
    if (!effects || !scriptRead) return 1;
    bool succeeded = true;
    for (const Effect& effect : *effects) {
        succeeded = Apply(effect, registry) && succeeded;
        if (regAddBlanksDefault && effect.emptiesDefault)
            registry.setValue(effect.target, "", Value::String(""));
    }
    // An import reports success for a script it could read, whatever its lines did.
    return succeeded || ImportsScript(commandLine) ? 0 : 1;
}

}  // namespace quillon::sim
