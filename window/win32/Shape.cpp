#include "window/win32/Shape.h"

#include "controls/win32/WindowClass.h"
#include "controls/win32/WindowProcedure.h"
#include "window/Layout.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/Dpi.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonShape";
constexpr wchar_t kWidthProperty[] = L"QuillonTwips";

LRESULT CALLBACK ShapeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_NCPAINT:
        if (controls::win32::FrameDrawsNothing(window)) return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT: {
        PaintScope paint(window);
        RECT client;
        GetClientRect(window, &client);
        UniqueBrush fill(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA))));
        FillRect(paint.dc(), &client, fill.get());
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_NCDESTROY:
        RemovePropW(window, kWidthProperty);
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateShape(HWND parent, const RECT& pixels, int widthTwips, COLORREF fill) {
    controls::win32::RegisterControlClass(kClassName, ShapeProc, CS_CLASSDC);
    HWND shape = CreateChildWindow(kClassName, L"", 0, pixels, parent);
    SetWindowLongPtrW(shape, GWLP_USERDATA, static_cast<LONG_PTR>(fill));
    SetPropW(shape, kWidthProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(widthTwips)));
    return shape;
}

int ShapeWidthTwips(HWND shape) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(shape, kWidthProperty)));
}

void SetShapeWidthTwips(HWND shape, int twips) {
    SetPropW(shape, kWidthProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(twips)));
    RECT rect;
    GetClientRect(shape, &rect);
    SetWindowPos(shape, nullptr, 0, 0, ScreenPixels(twips < 0 ? 0 : twips), rect.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quillon::win32
