#pragma once
// A font by name, point size and weight, as a control's caption asks for it.
#include <string>

namespace quillon::controls {

struct FontChoice {
    std::string name;
    double points = 0;
    bool bold = false;
    bool operator==(const FontChoice&) const = default;
};

}  // namespace quillon::controls
