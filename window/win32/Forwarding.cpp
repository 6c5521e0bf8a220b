#include "window/win32/Forwarding.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kTargetProperty[] = L"QuillonForwardTarget";
constexpr wchar_t kProcProperty[] = L"QuillonForwardProc";

bool IsNotification(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK ForwardingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kProcProperty));
    auto target = static_cast<HWND>(GetPropW(window, kTargetProperty));
    if (target && IsNotification(message)) return SendMessageW(target, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(window, kProcProperty);
        RemovePropW(window, kTargetProperty);
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

}  // namespace

void ForwardChildNotifications(HWND panel, HWND target) {
    SetPropW(panel, kTargetProperty, target);
    SetPropW(panel, kProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(panel, GWLP_WNDPROC)));
    SetWindowLongPtrW(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardingProc));
}

}  // namespace quillon::win32
