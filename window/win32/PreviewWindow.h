#pragma once
// "Preview changes...": a dialog over frmMain listing the plan (side, box,
// what, before, after) with the count under it and a Close button. Its
// headings sort, Ctrl+A selects every row, Ctrl+C and the right-click menu
// copy the selected rows; it only shows, and closing it changes nothing.
#include <windows.h>

#include "window/SystemMenuActions.h"

namespace quillon::win32 {

// Shows the table and returns when the dialog is closed; the owner is
// disabled meanwhile, as under a message box.
void ShowPreviewWindow(HWND owner, const PreviewTable& table);

}  // namespace quillon::win32
