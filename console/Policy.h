#pragma once
// Defaults an administrator sets once for a whole domain through Group
// Policy (the administrative templates in policies/ write them): the undo
// store and the report file. What the command line gives wins.
#include <string>
#include <string_view>
#include <vector>

#include "console/Arguments.h"

namespace quillon {
class Platform;
}

namespace quillon::console {

inline constexpr std::string_view kPolicyKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Quillon";
inline constexpr std::string_view kUndoDirPolicy = "UndoDir";  // REG_SZ: /undodir for APPLY and UNDO
inline constexpr std::string_view kReportPolicy = "Report";    // REG_SZ: /report for STATUS, CHECK, APPLY, UNDO

// Fills what the request leaves open from the policy values that are set and
// sound (text, no part ending in a dot or a blank); returns a message for
// each value that is set and not, which is left out.
std::vector<std::string> TakePolicyDefaults(Request& request, Platform& platform);

}  // namespace quillon::console
