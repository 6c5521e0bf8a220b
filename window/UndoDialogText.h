#pragma once
// The words of "Undo last run...": the question naming the record, and the
// report after the restore. No path appears in either: a message box breaks
// a long path anywhere, and the record's time names it well enough. Only a
// refused record is named by its folder too, for whoever looks into it.
#include <string>

#include "restore/Restore.h"
#include "window/SystemMenuActions.h"

namespace quillon {

struct UndoOutcome {
    int restored = 0;    // values, keys, files and folders put back
    int kept = 0;        // left as they are: changed since the run
    int failed = 0;      // could not be put back
    bool recorded = false;  // the restore kept an undo record of its own
    std::string recordName; // its folder's name, which takes it back when named to the console
};
UndoOutcome OutcomeOf(const RestoreReport& report);

// "2026-12-08 06:10:22" -> "8 December 2026 at 06:10"; other text as it is.
std::string TimeInWords(const std::string& time);

std::string UndoQuestion(const UndoOffer& offer);
std::string UndoReport(const UndoOutcome& outcome);

// Why a record is not restored, as a sentence: "Its list of changes is
// damaged at line 3." for what the record check says in its own file names.
std::string ReasonInWords(const std::string& reason);
// The offered record refused before anything was asked: named by its time and
// its folder (a path, on a line of its own), with the reason.
std::string UndoRefusal(const UndoOffer& offer);

}  // namespace quillon
