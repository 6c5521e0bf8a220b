#include "window/win32/CutCombo.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "window/win32/Dpi.h"
#include "window/win32/Fonts.h"

namespace quillon::win32 {

bool IsCutCombo(HWND window) {
    wchar_t name[16];
    return IsWindow(window) && GetClassNameW(window, name, 16) && lstrcmpiW(name, L"ComboBox") == 0 &&
           (static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & kCutComboStyle) == kCutComboStyle;
}

namespace {

std::wstring EntryText(HWND combo, UINT index) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The one-character ellipsis, or three dots in a font that lacks it.
std::wstring Ellipsis(HDC dc) {
    WORD glyph = 0;
    if (GetGlyphIndicesW(dc, L"\u2026", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 && glyph != 0xFFFF)
        return L"\u2026";
    return L"...";
}

// The text as shown in `room` pixels: whole where it fits, else as much of it
// as fits with the ellipsis, clear of the focus frame on the box's last column.
std::wstring Shown(HDC dc, const std::wstring& text, int room) {
    if (TextWidth(dc, text) <= room) return text;
    const std::wstring ellipsis = Ellipsis(dc);
    const int left = room - Scaled(1) - TextWidth(dc, ellipsis);
    int fit = 0;
    SIZE size{};
    if (left <= 0 || !GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), left, &fit, nullptr, &size))
        fit = 0;
    std::wstring shown = text.substr(0, static_cast<std::size_t>(fit));
    while (!shown.empty() && shown.back() == L' ') shown.pop_back();
    return shown + ellipsis;
}

}  // namespace

void MakeCutCombo(HWND combo) {
    // An owner-drawn list asks its row height before it has its font.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0));
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, MeasureText(font, L"").cy);
}

void AddCutComboTooltip(HWND combo) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, combo, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tip) return;
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 from XP on
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(combo);  // asked for the text, which follows the choice
    tool.uId = reinterpret_cast<UINT_PTR>(combo);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// As the system draws a plain drop-down list (text one pixel in, and in the
// closed box one down; highlight and focus frame while it has the focus),
// but with Shown's text.
void DrawCutComboItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    const bool closedBox = item.itemState & ODS_COMBOBOXEDIT;
    if (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const bool selected = item.itemState & ODS_SELECTED;
        SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(item.itemState & ODS_DISABLED ? COLOR_GRAYTEXT
                                     : selected                   ? COLOR_HIGHLIGHTTEXT
                                                                  : COLOR_WINDOWTEXT));
        const std::wstring text = item.itemID == static_cast<UINT>(-1) ? std::wstring()
                                                                       : EntryText(item.hwndItem, item.itemID);
        const std::wstring shown = Shown(dc, text, rect.right - rect.left - 1);
        ExtTextOutW(dc, rect.left + 1, rect.top + (closedBox ? 1 : 0), ETO_OPAQUE | ETO_CLIPPED, &rect, shown.c_str(),
                    static_cast<UINT>(shown.size()), nullptr);
    }
    // Drawn by inversion: a focus change toggles it, a full redraw puts it back.
    if (((item.itemAction & ODA_FOCUS) || (item.itemState & ODS_FOCUS)) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &rect);
}

bool AnswerCutComboTooltip(LPARAM notification) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(notification);
    if (!info || info->hdr.code != TTN_GETDISPINFOW || !(info->uFlags & TTF_IDISHWND)) return false;
    HWND combo = reinterpret_cast<HWND>(info->hdr.idFrom);
    if (!IsCutCombo(combo)) return false;
    // Read by the tooltip after this returns; one tooltip shows at a time.
    static std::wstring chosen;
    const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    chosen = index == CB_ERR ? std::wstring() : EntryText(combo, static_cast<UINT>(index));
    info->lpszText = chosen.data();
    info->hinst = nullptr;
    return true;
}

}  // namespace quillon::win32
