#pragma once
#include <string>
#include <vector>

namespace quillon::console {

// What "quillonc VERSION" prints.
std::string VersionLine();
// What "quillonc /?" prints, the version line first.
std::vector<std::string> UsageLines();

}  // namespace quillon::console
