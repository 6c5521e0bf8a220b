#include "window/win32/Label.h"

#include <vector>

#include "controls/win32/WindowClass.h"
#include "controls/win32/WindowProcedure.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/Fonts.h"
#include "window/win32/Gdi.h"
#include "window/win32/PerWindow.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonLabel";
struct FocusOwner {
    HWND label = nullptr;       // the label that shows the control's focus
    WNDPROC previous = nullptr;  // the procedure the control had
};
// Never destroyed, so a window that outlives the program's static objects
// still finds them.
PerWindow<FocusOwner>& focusOwners = *new PerWindow<FocusOwner>;  // by control
PerWindow<HWND>& ownerOfLabel = *new PerWindow<HWND>;  // by label: the control whose focus it shows

bool ShowsFocus(HWND label) {
    HWND owner = ownerOfLabel.get(label);
    if (!owner || GetFocus() != owner) return false;
    return !(SendMessageW(owner, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

LRESULT CALLBACK FocusOwnerProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto [label, previous] = focusOwners.get(control);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        focusOwners.forget(control);
        if (ownerOfLabel.get(label) == control) ownerOfLabel.forget(label);
    }
    const LRESULT result = CallWindowProcW(previous, control, message, wParam, lParam);
    if (label && (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_UPDATEUISTATE))
        InvalidateRect(label, nullptr, FALSE);
    return result;
}

constexpr int kInkAir = 1;  // pixels kept free beside the ink

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The text is placed by its ink, not by its advance width, so a glyph that
// reaches past either end of the advance still fits the window.
void PaintTo(HWND label, HDC target) {
    RECT client;
    GetClientRect(label, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    MemorySurface surface(target, client.right, client.bottom);
    PaintContainerBackground(label, surface.dc());

    const std::wstring text = WindowText(label);
    HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, GWLP_USERDATA));
    Selection selected(surface.dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(surface.dc(), TRANSPARENT);
    SetTextColor(surface.dc(), GetSysColor(IsWindowEnabled(label) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const bool centred = GetWindowLongW(label, GWL_STYLE) & kLabelCentred;
    // A label made tall enough for two lines holds text that was broken to fit.
    TEXTMETRICW metrics{};
    GetTextMetricsW(surface.dc(), &metrics);
    if (client.bottom >= 2 * metrics.tmHeight) {
        DrawTextW(surface.dc(), text.c_str(), static_cast<int>(text.size()), &client,
                  (centred ? DT_CENTER : DT_LEFT) | DT_WORDBREAK | DT_NOPREFIX | DT_TOP);
    } else {
        const TextInk ink = MeasureInk(surface.dc(), text);
        RECT place = client;
        place.left = (centred ? (client.right - ink.width()) / 2 : kInkAir) - ink.left;
        DrawTextW(surface.dc(), text.c_str(), static_cast<int>(text.size()), &place,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_TOP | DT_NOCLIP);
    }
    if (ShowsFocus(label)) DrawFocusRect(surface.dc(), &client);
    surface.copyTo(target);
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_NCPAINT:
        if (controls::win32::FrameDrawsNothing(window)) return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT: {
        PaintScope paint(window);
        PaintTo(window, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETFONT:
        SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam)) InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(window, GWLP_USERDATA);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // a click on a label does nothing
    case WM_NCDESTROY:
        ownerOfLabel.forget(window);
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateLabel(HWND parent, const std::wstring& text, const RECT& pixels, DWORD style, HFONT font) {
    controls::win32::RegisterControlClass(kClassName, LabelProc, 0);
    return CreateChildWindow(kClassName, text.c_str(), WS_CLIPSIBLINGS | style, pixels, parent, 0, font);
}

void ShowFocusOnLabel(HWND control, HWND label) {
    if (!control || !label || focusOwners.has(control)) return;
    focusOwners.set(control, {label, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC))});
    ownerOfLabel.set(label, control);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FocusOwnerProc));
}

RECT FittedLabelRect(HFONT font, const std::wstring& text, int left, int top) {
    const TextInk ink = MeasureInk(font, text);
    const int windowLeft = left + ink.left - kInkAir;
    return {windowLeft, top, windowLeft + ink.width() + 2 * kInkAir, top + ink.height};
}

RECT FixedLabelRect(RECT pixels) {
    pixels.left -= kInkAir;
    return pixels;
}

void PaintContainerBackground(HWND child, HDC target) {
    HWND parent = GetParent(child);
    RECT client;
    GetClientRect(child, &client);
    FillRect(target, &client, GetSysColorBrush(COLOR_BTNFACE));
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    POINT previous;
    SetViewportOrgEx(target, -origin.x, -origin.y, &previous);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(target, previous.x, previous.y, nullptr);
}

}  // namespace quillon::win32
