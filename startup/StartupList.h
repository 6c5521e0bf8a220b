#pragma once
// The Startup page's list: every Run value name and every Startup folder file,
// each a bare name, unticked.
#include <string>

#include "platform/Platform.h"

namespace quillon {

class Form;
struct RunContext;

// Appends the name of every value of the key to lstStartup.
void EnumRegValues(Form& form, Platform& platform, RegRoot root, const std::string& subkey);

// Clears lstStartup and lists both Run keys, then both Startup folders. A
// source that cannot be read contributes nothing; nothing is reported.
void ListStartupItems(RunContext& context);

}  // namespace quillon
