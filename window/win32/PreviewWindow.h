#pragma once
// "Preview changes...": a resizable window with the plan as a list (page, box
// caption, what, before, after) and a count under it. It only shows; closing
// it changes nothing.
#include <windows.h>

#include "window/SystemMenuActions.h"

namespace quillon::win32 {

// Shows the table and returns when the window is closed; the owner is
// disabled meanwhile, as under a message box.
void ShowPreviewWindow(HWND owner, const PreviewTable& table);

}  // namespace quillon::win32
