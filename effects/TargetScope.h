#pragma once
// Which part of the machine a target belongs to: the user's own settings
// (HKEY_CURRENT_USER), written at logon for each user, or the machine's
// (HKEY_LOCAL_MACHINE, services, files, folders, tools), written once for all.
#include "effects/EffectTarget.h"

namespace quillon {

enum class TargetScope { Machine, User };

TargetScope ScopeOf(const EffectTarget& target);

}  // namespace quillon
