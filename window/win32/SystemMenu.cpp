#include "window/win32/SystemMenu.h"

namespace quillon::win32 {

void AddSystemMenuEntries(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, kPreviewCommand, L"Preview changes...");
    InsertMenuW(menu, 1, MF_BYPOSITION | MF_STRING, kShowStateCommand, L"Show current state");
    InsertMenuW(menu, 2, MF_BYPOSITION | MF_STRING, kUndoCommand, L"Undo last run...");
    InsertMenuW(menu, 3, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

}  // namespace quillon::win32
