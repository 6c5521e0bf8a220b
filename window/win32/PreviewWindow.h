#pragma once
// "Preview changes...": a dialog over frmMain listing the plan (side, box,
// what, before, after) under a line on the unticked boxes, with the count
// under it and a Close button. Its
// headings sort, Ctrl+A selects every row, Ctrl+C and the right-click menu
// copy the selected rows; it only shows, and closing it changes nothing.
#include <windows.h>

#include <functional>

#include "window/SystemMenuActions.h"

namespace quillon::win32 {

// Shows the table and returns when the dialog is closed; the owner is
// disabled meanwhile, as under a message box. `shown`, when given, is called
// with the dialog once it is on screen (tests look at it and close it).
void ShowPreviewWindow(HWND owner, const PreviewTable& table, const std::function<void(HWND)>& shown = {});

}  // namespace quillon::win32
