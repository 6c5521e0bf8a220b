#include "window/win32/CheckList.h"

#include <vector>

#include "window/win32/ChildWindow.h"
#include "window/win32/Fonts.h"

namespace quillon::win32 {
namespace {

constexpr int kBoxSize = 13;

}  // namespace

HWND CreateCheckList(HWND parent, const RECT& pixels, int id, HFONT font) {
    HWND list = CreateChildWindow(L"LISTBOX", L"",
                                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_MULTIPLESEL |
                                      LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                  pixels, parent, id, font, WS_EX_CLIENTEDGE);
    const SIZE line = MeasureText(font, L"Ag");
    const int height = line.cy + 3 > kBoxSize + 3 ? line.cy + 3 : kBoxSize + 3;
    SendMessageW(list, LB_SETITEMHEIGHT, 0, height);
    return list;
}

void DrawCheckListItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    if (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
        const int top = row.top + (row.bottom - row.top - kBoxSize) / 2;
        RECT box{row.left + 2, top, row.left + 2 + kBoxSize, top + kBoxSize};
        const bool greyed = item.itemData == static_cast<ULONG_PTR>(kGreyedEntry);
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (greyed ? DFCS_INACTIVE : 0);
        if (item.itemState & ODS_SELECTED) state |= DFCS_CHECKED;
        DrawFrameControl(dc, &box, DFC_BUTTON, state);

        const auto length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
        std::vector<wchar_t> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
        SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
        RECT label{box.right + 4, row.top, row.right, row.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(greyed ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        DrawTextW(dc, text.data(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    // The focus frame is drawn by inversion: a focus change toggles it, a
    // full redraw of the focused entry puts it back.
    RECT focus{row.left + kBoxSize + 4, row.top, row.right, row.bottom};
    if ((item.itemAction & ODA_FOCUS) || (item.itemState & ODS_FOCUS)) DrawFocusRect(dc, &focus);
}

}  // namespace quillon::win32
