#include "effects/TargetScope.h"

#include "platform/RegistryPath.h"

namespace quillon {

TargetScope ScopeOf(const EffectTarget& target) {
    const bool registry =
        target.kind == TargetKind::Value || target.kind == TargetKind::Key || target.kind == TargetKind::Tree;
    return registry && KeyRoot(target.path) == "HKEY_CURRENT_USER" ? TargetScope::User : TargetScope::Machine;
}

}  // namespace quillon
