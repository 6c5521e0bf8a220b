#pragma once
#include <string>
#include <vector>

namespace quillon::console {

// What "quillonc /?" prints, VERSION line first.
std::vector<std::string> UsageLines();

}  // namespace quillon::console
