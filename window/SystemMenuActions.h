#pragma once
// What the three entries of the window's system menu do, apart from drawing:
// the preview of the page on view, the machine's state put on the page, and
// the newest undo record restored. The Win32 side shows the results.
#include <string>
#include <string_view>
#include <vector>

#include "engine/RunContext.h"
#include "effects/ChangeWords.h"
#include "restore/Restore.h"

namespace quillon {

struct PreviewTable {
    std::string title;
    std::vector<std::string> columns;               // the box's side, its caption, what, before, after
    std::vector<std::vector<std::string>> rows;     // as many cells as columns; What names the target briefly
    std::vector<std::string> whole;                 // each row's What in full, for the copied rows
    std::string lead;                               // the line over the list
    std::string count;                              // the line under the list
};

// The plan of the page on view for the selection on screen, changes only.
// Neither the form nor the machine is changed.
PreviewTable PreviewPageOnView(RunContext& context);

// The rows as tab-separated text with the column names on the first line,
// CR LF after each line, What in full: what Copy puts on the clipboard.
std::string PreviewRowsAsText(const PreviewTable& table, const std::vector<std::size_t>& rows);

// Whether the page on view is one whose boxes can show the machine's state.
bool CurrentStateCovers(const Form& form);

// Sets the controls of the page on view to the machine's state: boxes and
// list entries on ticked, partial greyed, off or unknown clear; the drive
// lists, download folder, combo boxes and option as the machine has them
// (Combo3 also with chk 56 off); the status line says so. False when the
// page on view has no state to show (Startup, Speed).
bool ShowCurrentState(RunContext& context);
inline constexpr std::string_view kCurrentStateShown =
    "Showing this computer's current settings; a grey tick is partly in place.";
// The status text after it: how many boxes of the page none of whose values
// is set (so Windows' own defaults hold) follows when there are any.
std::string CurrentStateText(int boxesAtDefaults);

struct UndoOffer {
    std::string folder;                 // empty: there is no record
    std::string made;                   // "YYYY-MM-DD HH:MM:SS" when the run began; empty when unknown
    std::string computer, user;         // who made it; empty when the record does not say
    std::vector<std::string> pages;     // the pages whose changes it holds, in run order
    int changes = 0;                    // changes the run made
    std::vector<std::string> lasting;   // what the run did that no record can take back (tools it ran)
    std::vector<std::string> failed;    // the run's failed steps, in words, in run order
    std::string refused;                // why the record cannot be restored; empty when it can
};
// The record "Undo last run..." offers: the newest of this computer and user
// that has not been undone and is not a restore's own record, read and
// checked whole as a restore would, so a bad one is named before anything is asked.
UndoOffer NewestUndoRecord(Platform& platform);
// Restores the offered record and, when nothing failed, marks it undone.
// Throws PlatformError when the record cannot be restored or marked.
RestoreReport RestoreOffer(Platform& platform, const UndoOffer& offer);

}  // namespace quillon
