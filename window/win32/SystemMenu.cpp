#include "window/win32/SystemMenu.h"

namespace quillon::win32 {

// The access keys P, T and U are free beside the usual entries' R, M, S, N, X and C.
void AddSystemMenuEntries(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, kPreviewCommand, L"&Preview changes...");
    InsertMenuW(menu, 1, MF_BYPOSITION | MF_STRING, kShowStateCommand, L"Show current s&tate");
    InsertMenuW(menu, 2, MF_BYPOSITION | MF_STRING, kUndoCommand, L"&Undo last run...");
    InsertMenuW(menu, 3, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void EnableSystemMenuEntries(HWND window, const SystemMenuState& state) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    const auto enable = [menu](UINT command, bool on) {
        EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(kPreviewCommand, !state.running);
    enable(kShowStateCommand, !state.running && state.stateCovered);
    enable(kUndoCommand, !state.running && state.undoRecord);
}

}  // namespace quillon::win32
