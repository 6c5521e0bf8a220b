#pragma once
// Making one child control of frmMain, in pixels of its container.
#include <windows.h>

namespace quillon::win32 {

inline HWND CreateChildWindow(const wchar_t* windowClass, const wchar_t* text, DWORD style, const RECT& rect,
                              HWND parent, int id = 0, HFONT font = nullptr, DWORD exStyle = 0) {
    HWND child = CreateWindowExW(exStyle, windowClass, text, WS_CHILD | style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

}  // namespace quillon::win32
