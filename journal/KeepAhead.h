#pragma once
// Which planned changes the undo record may keep all at once, at the start of
// a page, in one flushed write instead of one per change. Only a value that
// no other planned effect of the page touches qualifies: not the same value
// again, nor a key above it that is made, removed or copied over. Whatever
// touches a target twice is kept as it comes, so the record's order of
// before and after stays the order of the run.
#include <string>
#include <vector>

#include "journal/Plan.h"

namespace quillon {

struct ValueSlot {
    std::string key, name;
};
// The registry value a value change (SetValue, DeleteValue, ServiceStart) acts on.
ValueSlot ValueOf(const Effect& effect);

std::vector<Effect> LoneValueChanges(const std::vector<PlannedEffect>& plan);

}  // namespace quillon
