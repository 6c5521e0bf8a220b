#pragma once
// A list box with a tick square before every entry; an entry is ticked when
// it is selected, so the list box itself holds the ticks.
#include <windows.h>

namespace quillon::win32 {

HWND CreateCheckList(HWND parent, const RECT& pixels, int id, HFONT font);
void DrawCheckListItem(const DRAWITEMSTRUCT& item);

}  // namespace quillon::win32
