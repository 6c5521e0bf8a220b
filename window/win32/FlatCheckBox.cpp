#include "window/win32/FlatCheckBox.h"

#include "controls/win32/WindowProcedure.h"
#include "window/win32/PerWindow.h"

namespace quillon::win32 {
namespace {

constexpr int kBoxSize = 13;

// Each box's procedure before it was made flat. Never destroyed, so a box
// that outlives the program's static objects still finds it.
PerWindow<WNDPROC>& originals = *new PerWindow<WNDPROC>;

WNDPROC Original(HWND box) { return originals.get(box); }

void Paint(HWND box, HDC dc) {
    const WNDPROC original = Original(box);
    RECT client{};
    GetClientRect(box, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const int top = (client.bottom - kBoxSize) / 2;
    RECT square{0, top, kBoxSize, top + kBoxSize};
    const LRESULT check = CallWindowProcW(original, box, BM_GETCHECK, 0, 0);
    const LRESULT state = CallWindowProcW(original, box, BM_GETSTATE, 0, 0);
    UINT look = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (check == BST_CHECKED) look |= DFCS_CHECKED;
    if (check == BST_INDETERMINATE) look |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (state & BST_PUSHED) look |= DFCS_PUSHED;
    if (!IsWindowEnabled(box)) look |= DFCS_INACTIVE;
    DrawFrameControl(dc, &square, DFC_BUTTON, look);
}

void PaintNow(HWND box) {
    if (!IsWindowVisible(box)) return;
    if (HDC dc = GetDC(box)) {
        Paint(box, dc);
        ReleaseDC(box, dc);
    }
}

// Messages after which the button may have drawn itself its own way.
bool MayDraw(HWND box, UINT message) {
    switch (message) {
    case BM_SETCHECK: case BM_SETSTATE: case BM_CLICK: case BM_SETSTYLE:
    case WM_ENABLE: case WM_SETFOCUS: case WM_KILLFOCUS: case WM_SETTEXT: case WM_SETFONT:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_CAPTURECHANGED:
    case WM_KEYDOWN: case WM_KEYUP: case WM_UPDATEUISTATE: case WM_SYSCOLORCHANGE:
        return true;
    case WM_MOUSEMOVE:
        return GetCapture() == box;  // a press follows the mouse in and out
    default:
        return false;
    }
}

LRESULT CALLBACK FlatBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = Original(box);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(box, &ps)) {
            Paint(box, dc);
            EndPaint(box, &ps);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(box, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCPAINT:
        if (controls::win32::FrameDrawsNothing(box)) return 0;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        originals.forget(box);
        return CallWindowProcW(original, box, message, wParam, lParam);
    default:
        break;
    }
    const LRESULT result = CallWindowProcW(original, box, message, wParam, lParam);
    if (MayDraw(box, message)) PaintNow(box);
    return result;
}

}  // namespace

void MakeFlatCheckBox(HWND box) {
    if (!box || originals.has(box)) return;
    originals.set(box, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_WNDPROC)));
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FlatBoxProc));
}

}  // namespace quillon::win32
