#include "window/win32/Label.h"

#include <algorithm>
#include <vector>

#include "controls/win32/WindowClass.h"
#include "controls/win32/WindowProcedure.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/Dpi.h"
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
// Pixels a label grew by on each side to frame its focus.
struct Room {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// Never destroyed, so a window that outlives the program's static objects
// still finds them.
PerWindow<FocusOwner>& focusOwners = *new PerWindow<FocusOwner>;  // by control
PerWindow<HWND>& ownerOfLabel = *new PerWindow<HWND>;  // by label: the control whose focus it shows
PerWindow<Room>& roomOfLabel = *new PerWindow<Room>;   // by label, while it frames its focus
constexpr int kFocusGap96 = 2;  // pixels between the ink and the dotted frame at 96 DPI

bool ShowsFocus(HWND label) {
    HWND owner = ownerOfLabel.get(label);
    if (!owner || GetFocus() != owner) return false;
    return !(SendMessageW(owner, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The label's own place grown by the gap on every side, each side held back
// where the grown frame would reach another control of its container or the
// container's edge: the frame is drawn over nothing but the label's own
// background.
RECT FocusFrame(HWND label, const RECT& own) {
    HWND parent = GetParent(label);
    RECT frame = own;
    // Beside the text the label keeps a pixel clear already; above and below, its
    // cell's own rows may hold ink (accents, descenders).
    const int gap = Scaled(kFocusGap96);
    InflateRect(&frame, gap, gap + 1);
    RECT inside;
    GetClientRect(parent, &inside);
    InflateRect(&inside, -1, -1);  // a panel's border
    frame = {std::max(frame.left, std::min(own.left, inside.left)), std::max(frame.top, std::min(own.top, inside.top)),
             std::min(frame.right, std::max(own.right, inside.right)),
             std::min(frame.bottom, std::max(own.bottom, inside.bottom))};
    for (HWND other = GetWindow(parent, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == label || !IsWindowVisible(other)) continue;
        const RECT r = RectInParent(other);
        RECT both;
        if (!IntersectRect(&both, &frame, &r)) continue;
        if (r.left >= own.right) frame.right = std::min(frame.right, r.left);
        else if (r.right <= own.left) frame.left = std::max(frame.left, r.right);
        else if (r.top >= own.bottom) frame.bottom = std::min(frame.bottom, r.top);
        else if (r.bottom <= own.top) frame.top = std::max(frame.top, r.bottom);
    }
    return frame;
}

// A label showing focus grows to frame its text with a gap; otherwise it
// keeps the place it was made with.
void FitFocusFrame(HWND label) {
    const Room room = roomOfLabel.get(label);
    const RECT now = RectInParent(label);
    const RECT own = {now.left + room.left, now.top + room.top, now.right - room.right, now.bottom - room.bottom};
    const RECT place = ShowsFocus(label) ? FocusFrame(label, own) : own;
    const Room grown{own.left - place.left, own.top - place.top, place.right - own.right, place.bottom - own.bottom};
    if (grown.left | grown.top | grown.right | grown.bottom)
        roomOfLabel.set(label, grown);
    else
        roomOfLabel.forget(label);
    if (!EqualRect(&place, &now))
        SetWindowPos(label, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

LRESULT CALLBACK FocusOwnerProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto [label, previous] = focusOwners.get(control);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        focusOwners.forget(control);
        if (ownerOfLabel.get(label) == control) ownerOfLabel.forget(label);
    }
    const LRESULT result = CallWindowProcW(previous, control, message, wParam, lParam);
    if (label && (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_UPDATEUISTATE)) {
        FitFocusFrame(label);
        InvalidateRect(label, nullptr, FALSE);
    }
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

    // The text keeps its place however far the label grew to frame its focus.
    const Room room = roomOfLabel.get(label);
    const RECT area{room.left, room.top, client.right - room.right, client.bottom - room.bottom};
    const std::wstring text = WindowText(label);
    HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, GWLP_USERDATA));
    Selection selected(surface.dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(surface.dc(), TRANSPARENT);
    SetTextColor(surface.dc(), GetSysColor(IsWindowEnabled(label) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const bool centred = GetWindowLongW(label, GWL_STYLE) & kLabelCentred;
    // A label made tall enough for two lines holds text that was broken to fit.
    TEXTMETRICW metrics{};
    GetTextMetricsW(surface.dc(), &metrics);
    if (area.bottom - area.top >= 2 * metrics.tmHeight) {
        RECT lines = area;
        DrawTextW(surface.dc(), text.c_str(), static_cast<int>(text.size()), &lines,
                  (centred ? DT_CENTER : DT_LEFT) | DT_WORDBREAK | DT_NOPREFIX | DT_TOP);
    } else {
        const TextInk ink = MeasureInk(surface.dc(), text);
        RECT place = area;
        place.left = area.left + (centred ? (area.right - area.left - ink.width()) / 2 : kInkAir) - ink.left;
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
        roomOfLabel.forget(window);
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateLabel(HWND parent, const std::wstring& text, const RECT& pixels, DWORD style, HFONT font) {
    // One device context for every label: Wine makes each window its own until
    // 64 exist, asking the window server about the display for each.
    controls::win32::RegisterControlClass(kClassName, LabelProc, CS_CLASSDC);
    return CreateChildWindow(kClassName, text.c_str(), WS_CLIPSIBLINGS | style, pixels, parent, 0, font);
}

void ShowFocusOnLabel(HWND control, HWND label) {
    if (!control || !label || focusOwners.has(control)) return;
    focusOwners.set(control, {label, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC))});
    ownerOfLabel.set(label, control);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FocusOwnerProc));
}

HWND FocusLabelOf(HWND control) { return focusOwners.get(control).label; }

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
