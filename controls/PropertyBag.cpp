#include "controls/PropertyBag.h"

namespace quillon::controls {

std::optional<PropertyValue> MemoryPropertyBag::read(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

void MemoryPropertyBag::write(const std::string& name, const PropertyValue& value) { values_[name] = value; }

}  // namespace quillon::controls
