#pragma once
// frmMain's system menu (Alt+Space, or a right click on its taskbar button)
// carries three entries above the usual ones; the window itself is unchanged.
#include <windows.h>

namespace quillon::win32 {

// WM_SYSCOMMAND codes: below 0xF000 and with the low four bits clear, as the
// system keeps those for itself.
constexpr UINT kPreviewCommand = 0x0110;
constexpr UINT kShowStateCommand = 0x0120;
constexpr UINT kUndoCommand = 0x0130;

void AddSystemMenuEntries(HWND window);

}  // namespace quillon::win32
