#pragma once
// Which target an effect touches: asked by the plan, the net change, the undo
// record and the record check alike, so they can never disagree about it.
#include <string>

#include "effects/Effect.h"
#include "platform/RegistryPath.h"

namespace quillon {

enum class TargetKind {
    Value,   // path: key, name: value name (a service's start mode is its Start value)
    Key,     // path: key, made (its values stay the machine's)
    Tree,    // path: key, with everything below it (removed, or copied over)
    File,    // path: file
    Folder,  // path: folder
    Tool,    // path: a command line whose effect cannot be read back
};

struct EffectTarget {
    TargetKind kind = TargetKind::Tool;
    std::string path;
    std::string name;
    // The registry view a key target is in: on 64-bit Windows the 32-bit
    // view's keys are named by their native path (RegistryPath.h), so the
    // path and its view always agree; Native for every other kind.
    RegView view = RegView::Native;
    // Two effects on the same target (in the same view) have the same identity (case aside).
    std::string identity() const;
};

EffectTarget TargetOf(const Effect& effect);

}  // namespace quillon
