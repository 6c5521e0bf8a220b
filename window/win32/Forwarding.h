#pragma once
// Controls tell their container what happened to them; frmMain keeps its
// handlers in one place, so each panel passes those messages on to it.
#include <windows.h>

namespace quillon::win32 {

void ForwardChildNotifications(HWND panel, HWND target);

}  // namespace quillon::win32
