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

// True when `window` has nothing in its non-client area (no border, edge or
// scroll bar), so the system's WM_NCPAINT would draw nothing. Under Wine it
// still fetches a device context and the monitor's settings each time the
// window is shown, several round trips to the window server per window.
inline bool FrameDrawsNothing(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE), extended = GetWindowLongW(window, GWL_EXSTYLE);
    return (style & WS_CHILD) && !(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL)) &&
           !(extended & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
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
