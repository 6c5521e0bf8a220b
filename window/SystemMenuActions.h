#pragma once
// What the three entries of the window's system menu do, apart from drawing:
// the preview of the page on view, the machine's state put on the page, and
// the newest undo record restored. The Win32 side shows the results.
#include <array>
#include <string>
#include <vector>

#include "engine/RunContext.h"
#include "journal/Restore.h"

namespace quillon {

struct PreviewTable {
    std::string title;
    std::array<std::string, 5> columns;                // page, box caption, what, before, after
    std::vector<std::array<std::string, 5>> rows;
    std::string count;                                 // the line under the list
};

// The plan of the page on view for the selection on screen, changes only.
// Neither the form nor the machine is changed.
PreviewTable PreviewPageOnView(RunContext& context);

// Sets the controls of the page on view to the machine's state: boxes and
// list entries on ticked, partial greyed, off or unknown clear; the drive
// lists, download folder, combo boxes and option as the machine has them.
// False when the page on view has no state to show (Startup, Speed).
bool ShowCurrentState(RunContext& context);

struct UndoOffer {
    std::string folder;               // empty: there is no record
    std::vector<std::string> restores;  // what it puts back, one line each
};
// The record "Undo last run..." offers: the newest of this computer and user
// that has not been undone and is not a restore's own record.
UndoOffer NewestUndoRecord(Platform& platform);
// Restores the offered record and, when nothing failed, marks it undone.
// Throws PlatformError when the record cannot be restored or marked.
RestoreReport RestoreOffer(Platform& platform, const UndoOffer& offer);

}  // namespace quillon
