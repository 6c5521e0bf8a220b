#pragma once
// The visual-styles push button, through uxtheme.dll loaded at run time (the
// program must start where it does not exist).
#include <windows.h>

namespace quillon::controls::win32 {

class VisualStyles {
public:
    VisualStyles();
    VisualStyles(const VisualStyles&) = delete;
    VisualStyles& operator=(const VisualStyles&) = delete;
    ~VisualStyles();

    // Opens (again) the "Button" theme data for a window; false when the
    // platform cannot draw themed buttons now.
    bool open(HWND window);
    // Push-button part in state 1 normal, 2 hot, 3 pressed, 4 disabled, 5 focused normal.
    bool drawPushButton(HDC dc, const RECT& bounds, int state) const;

private:
    using OpenThemeDataFunction = HANDLE(WINAPI*)(HWND, LPCWSTR);
    using CloseThemeDataFunction = HRESULT(WINAPI*)(HANDLE);
    using DrawThemeBackgroundFunction = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    using IsAppThemedFunction = BOOL(WINAPI*)();

    void close();

    HMODULE library_ = nullptr;
    OpenThemeDataFunction openThemeData_ = nullptr;
    CloseThemeDataFunction closeThemeData_ = nullptr;
    DrawThemeBackgroundFunction drawThemeBackground_ = nullptr;
    IsAppThemedFunction isAppThemed_ = nullptr;
    HANDLE theme_ = nullptr;
};

}  // namespace quillon::controls::win32
