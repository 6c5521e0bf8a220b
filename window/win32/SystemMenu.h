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

// What the three entries can do as the menu opens.
struct SystemMenuState {
    bool running = false;      // a run or a restore is going on: none can act
    bool stateCovered = false; // the page on view can show the machine's state
    bool undoRecord = false;   // there is a record to undo
};
void EnableSystemMenuEntries(HWND window, const SystemMenuState& state);

}  // namespace quillon::win32
