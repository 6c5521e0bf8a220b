#pragma once
// A list box with a tick square before every entry; an entry is ticked when
// it is selected, so the list box itself holds the ticks.
#include <windows.h>

namespace quillon::win32 {

// An entry whose item data is this is drawn greyed: it stands for nothing here.
constexpr LPARAM kGreyedEntry = 1;

HWND CreateCheckList(HWND parent, const RECT& pixels, int id, HFONT font);
void DrawCheckListItem(const DRAWITEMSTRUCT& item);

}  // namespace quillon::win32
