#pragma once
// A drop-down list whose closed box is narrower than its entries and cannot
// grow: its owner draws it, so a cut entry ends in an ellipsis instead of
// stopping mid-letter, and a tooltip names the whole chosen entry. The
// entries keep their full text (WM_GETTEXT, CB_GETLBTEXT); an entry that
// fits is drawn as the system draws it.
#include <windows.h>

namespace quillon::win32 {

// Style bits of a cut combo, beside CBS_DROPDOWNLIST.
constexpr DWORD kCutComboStyle = CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;

bool IsCutCombo(HWND window);

// After the combo has its font: list rows as tall as a plain list's.
void MakeCutCombo(HWND combo);
// The tooltip naming the whole chosen entry: a window of its own that only a
// pointer resting on the combo needs, so it is made after the first paint.
void AddCutComboTooltip(HWND combo);

// WM_DRAWITEM of a cut combo (the closed box and the open list's rows).
void DrawCutComboItem(const DRAWITEMSTRUCT& item);

// WM_NOTIFY: true when it was the tooltip of a cut combo asking for its text.
bool AnswerCutComboTooltip(LPARAM notification);

}  // namespace quillon::win32
