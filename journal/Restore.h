#pragma once
// Puts a machine back as an undo record found it: the registry through
// "regedit /s" of the record's undo.reg, service start modes through
// "sc config" (so they take effect at once), kept files copied back (beside a
// file that has since been made under the same name, never over it), removed
// folders made again. A restore has an undo record of its own, and restoring
// one record twice leaves the machine as restoring it once.
#include <string>
#include <vector>

#include "journal/Journal.h"

namespace quillon {

class Platform;

struct RestoreReport {
    std::string undoFolder;  // the restore's own record; empty when none could be written
    int failed = 0;          // steps of the restore that failed
    std::vector<RecordedEffect> effects;
};

// What restoring `recordFolder` would put back, one line each, for people.
std::vector<std::string> DescribeRecord(Platform& machine, const std::string& recordFolder);

// Throws PlatformError when the folder holds no undo record.
RestoreReport RestoreRecord(Platform& machine, const std::string& recordFolder);

}  // namespace quillon
