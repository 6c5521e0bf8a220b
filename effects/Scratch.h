#pragma once
// The registry writer's script is the program's own scratch file: writing and
// deleting it is no change to the machine, so neither plans nor records show it.
#include <string>

#include "engine/RegistryWriter.h"
#include "platform/TextMatch.h"

namespace quillon {

inline bool IsScratchFile(const std::string& path) { return EqualNoCase(path, kScriptPath); }

}  // namespace quillon
