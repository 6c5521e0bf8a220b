#pragma once
// The trampoline each control's window class uses: it stores the owning object
// at WM_NCCREATE (passed as the creation parameter), forwards every message to
// the object's noexcept handle(), and forgets the object at WM_NCDESTROY.
// The owner keeps its handle in hwnd_ and befriends the trampoline.
#include <windows.h>

namespace quillon::controls::win32 {

template <typename Owner>
LRESULT CALLBACK WindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

// Answers WM_PAINT by handing the paint DC to `paint`.
template <typename Paint>
LRESULT PaintNow(HWND window, Paint&& paint) {
    PAINTSTRUCT ps;
    if (HDC dc = BeginPaint(window, &ps)) {
        paint(dc);
        EndPaint(window, &ps);
    }
    return 0;
}

}  // namespace quillon::controls::win32
