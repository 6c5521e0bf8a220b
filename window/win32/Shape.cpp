#include "window/win32/Shape.h"

#include "window/Layout.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonShape";
constexpr int kFillSlot = 0;
constexpr int kWidthSlot = sizeof(LONG_PTR);

LRESULT CALLBACK ShapeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(window);
        RECT client;
        GetClientRect(window, &client);
        UniqueBrush fill(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, kFillSlot))));
        FillRect(paint.dc(), &client, fill.get());
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void RegisterShapeClass(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ShapeProc;
    windowClass.cbWndExtra = 2 * sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

HWND CreateShape(HWND parent, RECT pixels, int widthTwips, HINSTANCE instance) {
    HWND shape = CreateWindowExW(0, kClassName, L"", WS_CHILD, pixels.left, pixels.top, pixels.right - pixels.left,
                                 pixels.bottom - pixels.top, parent, nullptr, instance, nullptr);
    SetWindowLongPtrW(shape, kWidthSlot, widthTwips);
    return shape;
}

void SetShapeFill(HWND shape, COLORREF colour) {
    SetWindowLongPtrW(shape, kFillSlot, static_cast<LONG_PTR>(colour));
    InvalidateRect(shape, nullptr, FALSE);
}

int ShapeWidthTwips(HWND shape) { return static_cast<int>(GetWindowLongPtrW(shape, kWidthSlot)); }

void SetShapeWidthTwips(HWND shape, int twips) {
    SetWindowLongPtrW(shape, kWidthSlot, twips);
    RECT rect;
    GetClientRect(shape, &rect);
    SetWindowPos(shape, nullptr, 0, 0, layout::Pixels(twips < 0 ? 0 : twips), rect.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quillon::win32
