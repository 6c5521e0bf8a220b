#include "window/win32/Themed.h"

#include <vector>

#include "window/win32/Gdi.h"

namespace quillon::win32 {
namespace {

using layout::Pixels;

constexpr wchar_t kPanelClass[] = L"QuillonPlainPanel";

void PaintPanel(HWND panel, HDC dc) {
    RECT client;
    GetClientRect(panel, &client);
    const bool header = GetWindowLongPtrW(panel, GWLP_USERDATA) == 0;
    Brush body(CreateSolidBrush(header ? RGB(224, 240, 248) : RGB(243, 243, 245)));
    FillRect(dc, &client, body.get());
    if (header) {
        RECT strip{1, 1, client.right - 1, 24};
        Brush fill(CreateSolidBrush(RGB(173, 214, 235)));
        FillRect(dc, &strip, fill.get());
        std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(panel)) + 1);
        GetWindowTextW(panel, text.data(), static_cast<int>(text.size()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 57, 85));
        DrawTextW(dc, text.data(), -1, &strip, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    Brush border(CreateSolidBrush(header ? RGB(136, 196, 226) : RGB(207, 210, 214)));
    FrameRect(dc, &client, border.get());
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(window);
        PaintPanel(window, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintPanel(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void RegisterThemedClasses(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PanelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPanelClass;
    RegisterClassW(&windowClass);
}

HWND CreatePanel(HWND parent, const layout::PanelSpec& spec, HINSTANCE instance) {
    HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"XPContainer", WS_CHILD | WS_CLIPCHILDREN,
                                 Pixels(spec.rect.left), Pixels(spec.rect.top), Pixels(spec.rect.width),
                                 Pixels(spec.rect.height), parent, nullptr, instance, nullptr);
    SetWindowLongPtrW(panel, GWLP_USERDATA, spec.style);
    return panel;
}

std::wstring PanelCaption(HWND panel) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(panel)) + 1);
    GetWindowTextW(panel, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void SetPanelCaption(HWND panel, const std::wstring& caption) { SetWindowTextW(panel, caption.c_str()); }

HWND CreatePushButton(HWND parent, const layout::ButtonSpec& spec, int id, HFONT font, HINSTANCE instance) {
    HWND button = CreateWindowExW(0, L"BUTTON", std::wstring(spec.caption.begin(), spec.caption.end()).c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_LEFT,
                                  Pixels(spec.rect.left), Pixels(spec.rect.top), Pixels(spec.rect.width),
                                  Pixels(spec.rect.height), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return button;
}

bool PushButtonEnabled(HWND button) { return IsWindowEnabled(button); }
void SetPushButtonEnabled(HWND button, bool enabled) { EnableWindow(button, enabled); }

}  // namespace quillon::win32
