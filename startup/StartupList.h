#pragma once
// The Startup page's list: every Run value name and every Startup folder file,
// each a bare name, unticked.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace quillon {

class Form;
struct RunContext;

// Every Run value name of both Run keys, then every file of both Startup
// folders. A source that cannot be read contributes nothing.
std::vector<std::string> StartupItemNames(RunContext& context);

// Clears lstStartup and lists StartupItemNames into it, serving the window's
// events every few dozen entries so a long list never freezes the window. A
// listing begun meanwhile (the page button pressed again, a run's own
// listing) takes the list over and this one stops adding.
void ListStartupItems(RunContext& context);

}  // namespace quillon
