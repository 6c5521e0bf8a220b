#pragma once
// frmMain's load handler, apart from what the window draws, and what the
// entry routine does once the window is on screen.
#include "engine/RunContext.h"

namespace quillon {

// Combo boxes on their first entry, the current user name kept for the run.
void LoadMainForm(RunContext& context);

// Puts the selection saved in setup.dat back on the form.
void RestoreSelection(RunContext& context);

}  // namespace quillon
