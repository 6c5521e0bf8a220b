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

// One entry of the Startup page and where it comes from.
struct StartupItem {
    std::string name;
    RegView view = RegView::Native;  // the Run key's registry view
    const RunKey* runKey = nullptr;  // the Run key holding the value; none for a file
    std::string folder;              // the Startup folder holding the file
    StartupEntry entry() const { return {name, view}; }
};

// Every Run value name of both Run keys (on 64-bit Windows the machine's of
// both views: a name in each is two entries), then every file of both Startup
// folders. A source that cannot be read contributes nothing.
std::vector<StartupItem> StartupItems(RunContext& context);

// The entry lstStartup shows at `index`, as the last listing found it; an
// entry the list gained otherwise is of the native view.
StartupEntry ListedStartupEntry(Form& form, int index);

// Clears lstStartup and lists StartupItems into it, serving the window's
// events every few dozen entries so a long list never freezes the window. A
// listing begun meanwhile (the page button pressed again, a run's own
// listing) takes the list over and this one stops adding.
void ListStartupItems(RunContext& context);

}  // namespace quillon
