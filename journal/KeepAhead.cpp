#include "journal/KeepAhead.h"

#include <map>

#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

bool ChangesValue(EffectKind kind) {
    return kind == EffectKind::SetValue || kind == EffectKind::DeleteValue || kind == EffectKind::ServiceStart;
}

bool ChangesKey(EffectKind kind) {
    return kind == EffectKind::CreateKey || kind == EffectKind::DeleteKey || kind == EffectKind::CopyKey;
}

}  // namespace

ValueSlot ValueOf(const Effect& effect) {
    if (effect.kind == EffectKind::ServiceStart) return {ServiceKey(effect.target), "Start"};
    return {effect.target, effect.name};
}

std::vector<Effect> LoneValueChanges(const std::vector<PlannedEffect>& plan) {
    std::map<std::string, int> touches;  // by lower-case key and name
    std::vector<std::string> keys;       // keys made, removed or copied over
    for (const PlannedEffect& p : plan) {
        if (ChangesValue(p.effect.kind)) {
            const ValueSlot slot = ValueOf(p.effect);
            ++touches[Lower(slot.key) + '\n' + Lower(slot.name)];
        } else if (ChangesKey(p.effect.kind)) {
            keys.push_back(p.effect.kind == EffectKind::CopyKey ? p.effect.destination : p.effect.target);
        }
    }
    std::vector<Effect> lone;
    for (const PlannedEffect& p : plan) {
        if (!p.changes || !p.readable || !ChangesValue(p.effect.kind)) continue;
        const ValueSlot slot = ValueOf(p.effect);
        if (touches[Lower(slot.key) + '\n' + Lower(slot.name)] != 1) continue;
        bool underKey = false;
        for (const std::string& key : keys) underKey = underKey || KeyWithin(slot.key, key);
        if (!underKey) lone.push_back(p.effect);
    }
    return lone;
}

}  // namespace quillon
