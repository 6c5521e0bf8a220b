#pragma once
// Lines of a registration script that regedit (Windows XP's too) imports with
// every value exactly: its type and bytes, long hex data split over lines.
#include <optional>
#include <string>

#include "platform/RegValue.h"

namespace quillon {

inline constexpr const char* kScriptHeader = "Windows Registry Editor Version 5.00";

// "\"name\"=data" ("@=" for the unnamed value); "\"name\"=-" when there is no value.
std::string ScriptValueLine(const std::string& name, const std::optional<RegValue>& value);

}  // namespace quillon
