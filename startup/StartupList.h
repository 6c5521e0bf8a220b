#pragma once
// The Startup page's list: every Run value name and every Startup folder file,
// each a bare name, unticked.
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "startup/StartupPlaces.h"

namespace quillon {

class Form;
struct RunContext;

// Appends the name of every value of the key to lstStartup.
void EnumRegValues(Form& form, Platform& platform, RegRoot root, const std::string& subkey);

// One entry of the Startup page and where it comes from.
struct StartupItem {
    std::string name;
    const RunKey* runKey = nullptr;  // the Run key holding the value; none for a file
    std::string folder;              // the Startup folder holding the file
};

// Every Run value name of both Run keys, then every file of both Startup
// folders. A source that cannot be read contributes nothing.
std::vector<StartupItem> StartupItems(RunContext& context);
std::vector<std::string> StartupItemNames(RunContext& context);

// Clears lstStartup and lists StartupItemNames into it, serving the window's
// events every few dozen entries so a long list never freezes the window. A
// listing begun meanwhile (the page button pressed again, a run's own
// listing) takes the list over and this one stops adding.
void ListStartupItems(RunContext& context);

}  // namespace quillon
