#pragma once
// Whether a record has been taken back: the mark a restore leaves in the
// record's folder (undone.txt), whole, partly, or one part at a time.
#include <string>

#include "effects/TargetScope.h"

namespace quillon {

class Platform;

bool RecordUndone(Platform& machine, const std::string& folder);
// Marks the record as restored, by the restore whose own record is `restoreFolder`.
// `kept`: targets left as they were because they changed since the run; the
// record is then partly undone, and not taken again unasked.
void MarkUndone(Platform& machine, const std::string& folder, const std::string& restoreFolder, int kept = 0);
// A restore that failed for some targets: the record stays open to be tried again.
void MarkPartlyUndone(Platform& machine, const std::string& folder, const std::string& restoreFolder);
// "open", "undone" or "partly undone".
std::string UndoneState(Platform& machine, const std::string& folder);
// One part of the record restored alone (UNDO /scope): the record stays open
// for the other part, and for the user whose part that is.
void MarkPartUndone(Platform& machine, const std::string& folder, TargetScope part, const std::string& restoreFolder);
bool PartUndone(Platform& machine, const std::string& folder, TargetScope part);

}  // namespace quillon
