#pragma once
// The words of "Undo last run...": the question naming the record, and the
// report after the restore. No path appears in either: a message box breaks
// a long path anywhere, and the record's time names it well enough.
#include <string>

#include "restore/Restore.h"
#include "window/SystemMenuActions.h"

namespace quillon {

struct UndoOutcome {
    int restored = 0;    // changes put back
    int kept = 0;        // left as they are: changed since the run
    int failed = 0;      // could not be put back
    bool recorded = false;  // the restore kept an undo record of its own
};
UndoOutcome OutcomeOf(const RestoreReport& report);

// "2026-12-08 06:10:22" -> "8 December 2026 at 06:10"; other text as it is.
std::string TimeInWords(const std::string& time);

std::string UndoQuestion(const UndoOffer& offer);
std::string UndoReport(const UndoOutcome& outcome);

}  // namespace quillon
