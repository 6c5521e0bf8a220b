#pragma once
// Lines of a registration script that regedit (Windows XP's too) imports with
// every value exactly: its type and bytes, long hex data split over lines.
// No name or text ever reaches a script in a form that could start a line or
// a section of its own.
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/RegValue.h"

namespace quillon {

inline constexpr const char* kScriptHeader = "Windows Registry Editor Version 5.00";

// A key or value name a script cannot carry exactly (it holds a control
// character, a line break above all): whatever needed it is not done.
class UnscriptableName : public PlatformError {
public:
    using PlatformError::PlatformError;
};

// Whether a script carries the name exactly.
bool ScriptCarries(const std::string& name);

// "[KEY]", or "[-KEY]" for removing the key with everything below it.
// Throws UnscriptableName.
std::string ScriptSection(const std::string& key, bool remove = false);

// "\"name\"=data" ("@=" for the unnamed value); "\"name\"=-" when there is no
// value. Text holding a control character is written in the hex(1)/hex(2)
// form. Throws UnscriptableName.
std::string ScriptValueLine(const std::string& name, const std::optional<RegValue>& value);

}  // namespace quillon
