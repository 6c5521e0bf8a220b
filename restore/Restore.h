#pragma once
// Takes back a run, and only what is still the run's own: a target is put
// back only where it still holds what the run left there; one changed since
// (by another tool, by the administrator) is kept and named. Values the run
// made are deleted one by one and a key it made goes only when nothing else
// is left in it; files, folders and start modes the same. The registry is
// written through "regedit /s" of a script the restore writes, start modes
// through "sc config" (so they take effect at once). The whole record is read
// and checked before anything is done. A restore keeps an undo record of its
// own; restoring one record twice changes nothing the second time.
#include <string>
#include <vector>

#include "effects/TargetScope.h"
#include "record/Journal.h"
#include "record/RecordHeader.h"

namespace quillon {

class Platform;

struct KeptTarget {
    std::string target;  // "KEY\NAME", a key, a file or a folder
    std::string why;     // "changed since the run", ...
    std::vector<StepTag> steps;  // the steps of the run whose change made it
};

struct RestoreReport {
    std::string undoFolder;  // the restore's own record; empty when it changed nothing
    int restored = 0;        // targets put back
    int failed = 0;          // targets that could not be put back
    std::vector<KeptTarget> kept;
    std::vector<std::string> notes;  // for people: copies put beside, what was never kept
    std::vector<RecordedEffect> effects;
};

// Reads and checks the whole record (RecordCheck.h), then restores it; the
// restore's own record goes beside it. Throws RecordRefused, with nothing
// changed, for a record that is damaged, of another computer or user, or
// reaches outside what a run touches.
RestoreReport RestoreRecord(Platform& machine, const std::string& recordFolder, const RecordHeader& header,
                            const std::string& computer, const std::string& user);
// Only one part of the record, read and checked as that part alone: the
// machine-wide part of another user's record can be taken back so, and its
// user part stays for that user.
// Whether the record holds anything of `part`; false when it cannot be read.
bool RecordHoldsPart(Platform& machine, const std::string& recordFolder, TargetScope part);

RestoreReport RestoreRecordPart(Platform& machine, const std::string& recordFolder, const RecordHeader& header,
                                const std::string& computer, const std::string& user, TargetScope part);

// The same for this computer and user (Platform::computerName(), userName()),
// with the record's own header; throws RecordRefused when the folder is not a record.
RestoreReport RestoreRecord(Platform& machine, const std::string& recordFolder);

}  // namespace quillon
