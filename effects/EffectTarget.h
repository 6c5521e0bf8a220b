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

// A target as the key of a map or set: the same target, case aside, is the
// same key. Its path is native (a key of the 32-bit view lies below
// Wow6432Node), so the view needs no place in it.
struct TargetKey {
    TargetKind kind = TargetKind::Tool;
    std::string path;  // lower case; a command line as written, its case may matter to the tool
    std::string name;  // lower case
    auto operator<=>(const TargetKey&) const = default;
};

TargetKey KeyOf(TargetKind kind, const std::string& path, const std::string& name = {});

struct EffectTarget {
    TargetKind kind = TargetKind::Tool;
    std::string path;
    std::string name;
    // The registry view a key target is in, as whoever made the target knew
    // it (the tool that wrote the key, the record that names it); Native for
    // every other kind.
    RegView view = RegView::Native;
    TargetKey key() const { return KeyOf(kind, path, name); }
    bool operator==(const EffectTarget&) const = default;
};

EffectTarget TargetOf(const Effect& effect);

}  // namespace quillon
