#pragma once
// One change to one target, as a plan, a run read back or an undo record has
// it: the steps that made it and the target's state before and after, each
// state a value. Where it comes from decides only how it was read; the words
// for it are ChangeWords.h's alone.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "effects/Effect.h"
#include "effects/EffectTarget.h"
#include "engine/StepTag.h"
#include "platform/RegValue.h"

namespace quillon {

// What a target holds at one moment.
struct TargetState {
    enum class Is : std::uint8_t {
        Unknown,    // cannot be read back (a tool's work)
        Absent,     // no value, key, file or folder there
        Present,    // a key, file or folder (a tree: with `values` values)
        Holds,      // a value with `value` as its data
        StartMode,  // a service's Start value: `value`, shown as its mode
        NoService,  // the service whose start mode it is does not exist
        NotRead,    // a record keeps nothing of a tool before it ran
        Ran,        // a record's tool that ran
        CopyOf,     // what a copy leaves: a copy of `source`
        Unchanged,  // what a change that cannot be made leaves: a service the machine lacks
        NoSource,   // what a copy leaves whose source is missing: the destination as it was
    };
    TargetState() = default;
    TargetState(Is is, std::optional<RegValue> value = std::nullopt) : is(is), value(std::move(value)) {}

    Is is = Is::Unknown;
    std::optional<RegValue> value;  // Holds, StartMode
    int values = -1;                // a tree: how many values it holds; -1 for no tree
    int differing = 0;              // a tree whose count stayed: how many of its items changed
    std::optional<RegValue> defaultValue;  // a key's default value, shown with the key
    std::string source;             // CopyOf: the key or file copied
    bool destination = false;       // the state of a copy's destination, not of its source

    bool operator==(const TargetState&) const = default;
};

inline TargetState Presence(bool present) { return {present ? TargetState::Is::Present : TargetState::Is::Absent}; }
inline TargetState ValueState(const std::optional<RegValue>& value) {
    return {value ? TargetState::Is::Holds : TargetState::Is::Absent, value};
}

struct Change {
    std::vector<StepTag> steps;   // every step that touched the target, first first, no repeats
    EffectTarget target;          // what changes: a copy's destination, a service's Start value
    std::optional<Effect> effect; // the last effect on it, where it was read live; a record keeps none
    TargetState before, after;
    bool changed = false;   // before and after differ, or a tool ran whose effect cannot be read
    bool readable = true;   // false for a tool whose effect cannot be read back (chkntfs, sfc)
    bool present = true;    // false for a service the machine does not have
    bool missed = false;    // the machine does not hold what the last change to this value set
};

}  // namespace quillon
