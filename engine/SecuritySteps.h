#pragma once
// The Security page's steps that are more than one flag.
#include "engine/RunContext.h"

namespace quillon {

void ApplyDownloadDirectory(RunContext& context);  // txtPath
void ApplyHiddenDrives(RunContext& context);       // lstHide -> NoDrives
void ApplyDrivesWithoutAccess(RunContext& context);  // lstNot -> NoViewOnDrive
void ApplyControlPanel(RunContext& context);       // chk 24 or chk 28
void ApplyStartMenuShortcuts(RunContext& context);  // chk 32

}  // namespace quillon
