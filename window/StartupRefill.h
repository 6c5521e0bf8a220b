#pragma once
// Where the Startup page button hands over to the startup listing.
#include <cstddef>
#include <string>

#include "engine/RunContext.h"

namespace quillon {

// Clears lstStartup and lists the four startup sources into it.
void RefillStartupList(RunContext& context);

// Lists the startup sources again after something else may have changed them
// (a run, an undo), keeping each ticked entry ticked wherever it now stands:
// a tick follows its entry, never its position. An entry that is gone takes
// its tick with it.
void RefreshStartupList(RunContext& context);

// Bytes of a status text that its three lines between the bottom buttons
// always hold, whatever its words.
inline constexpr std::size_t kStatusLineRoom = 84;

// What the entry at `index` of lstStartup is, for the status text: the
// command a Run value starts and which Run key holds it, or which Startup
// folder holds a file, within kStatusLineRoom (a long command or folder is
// cut in its middle). Empty when the list no longer matches the machine.
std::string StartupEntryInWords(RunContext& context, int index);

}  // namespace quillon
