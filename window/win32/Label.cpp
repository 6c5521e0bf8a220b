#include "window/win32/Label.h"

#include <vector>

#include "controls/win32/WindowClass.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonLabel";

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void Paint(HWND label) {
    PaintScope paint(label);
    RECT client;
    GetClientRect(label, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    MemorySurface surface(paint.dc(), client.right, client.bottom);
    PaintContainerBackground(label, surface.dc());

    const std::wstring text = WindowText(label);
    HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, GWLP_USERDATA));
    Selection selected(surface.dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(surface.dc(), TRANSPARENT);
    SetTextColor(surface.dc(), GetSysColor(IsWindowEnabled(label) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const UINT align = (GetWindowLongW(label, GWL_STYLE) & kLabelCentred) ? DT_CENTER : DT_LEFT;
    // A label made tall enough for two lines holds text that was broken to fit.
    TEXTMETRICW metrics{};
    GetTextMetricsW(surface.dc(), &metrics);
    const UINT lines = client.bottom >= 2 * metrics.tmHeight ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(surface.dc(), text.c_str(), static_cast<int>(text.size()), &client, align | lines | DT_NOPREFIX | DT_TOP);
    surface.copyTo(paint.dc());
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(window);
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
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateLabel(HWND parent, const std::wstring& text, const RECT& pixels, DWORD style, HFONT font) {
    controls::win32::RegisterControlClass(kClassName, LabelProc, 0);
    return CreateChildWindow(kClassName, text.c_str(), WS_CLIPSIBLINGS | style, pixels, parent, 0, font);
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
