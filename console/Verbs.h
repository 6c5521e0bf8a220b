#pragma once
// The console tool: parses the arguments, does what the verb asks, and
// returns the exit status a batch file tests.
#include <span>
#include <string>

#include "console/Terminal.h"

namespace quillon {
class Platform;
}

namespace quillon::console {

enum ExitStatus {
    kDone = 0,
    kSomeStepsFailed = 1,
    kDrifted = 1,           // CHECK: the machine differs from the selection
    kBadUsage = 2,          // also a missing, unreadable or bad selection file; nothing was changed
    // APPLY could not keep its undo record: refused to start (nothing was
    // changed), or stopped part-way (what it changed before is in the record)
    kNoUndoRecord = 3,
    kReportInUse = 4,       // the verb ran, but its /report file stayed in use by another program through the wait
};

int RunConsole(std::span<const std::string> arguments, Terminal& terminal, Platform& platform);

}  // namespace quillon::console
