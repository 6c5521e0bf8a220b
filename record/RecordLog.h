#pragma once
// The lines of a record's changes.txt that name what was not done as asked:
// a change that failed and, in a restore's record, a target the restore kept
// as it is because it changed since the run. They are written for people;
// UNDO /show reads them back from here.
#include <string>
#include <vector>

namespace quillon {

class Platform;

// "KEPT", the page(s), number(s) and caption(s) of the steps whose change made
// the target, the target and why it stays, separated by tabs.
std::string KeptLogLine(const std::vector<std::string>& stepFields, const std::string& target, const std::string& why);

struct LoggedTarget {
    bool kept = false;                    // kept as it is; otherwise a change that failed
    std::string failure;                  // a failure as the log names it
    std::vector<std::string> stepFields;  // kept: page(s), number(s), caption(s)
    std::string target, why;              // kept
};

// What the record's log names as failed or kept, in its order; nothing when
// there is no log or it cannot be read (its lines may be cut off, never its state).
std::vector<LoggedTarget> LoggedTargets(Platform& machine, const std::string& recordFolder);

}  // namespace quillon
