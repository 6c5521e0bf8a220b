#include "controls/win32/VisualStyles.h"

#include <string>

namespace quillon::controls::win32 {
namespace {

template <typename Function>
Function Find(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// From the system folder only, so a planted copy beside the program is never loaded.
HMODULE LoadUxTheme() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\uxtheme.dll").c_str());
}

}  // namespace

VisualStyles::VisualStyles() {
    library_ = LoadUxTheme();
    if (!library_) return;
    openThemeData_ = Find<OpenThemeDataFunction>(library_, "OpenThemeData");
    closeThemeData_ = Find<CloseThemeDataFunction>(library_, "CloseThemeData");
    drawThemeBackground_ = Find<DrawThemeBackgroundFunction>(library_, "DrawThemeBackground");
    isAppThemed_ = Find<IsAppThemedFunction>(library_, "IsAppThemed");
}

VisualStyles::~VisualStyles() {
    close();
    if (library_) FreeLibrary(library_);
}

void VisualStyles::close() {
    if (theme_ && closeThemeData_) closeThemeData_(theme_);
    theme_ = nullptr;
}

bool VisualStyles::open(HWND window) {
    close();
    if (!openThemeData_ || !closeThemeData_ || !drawThemeBackground_) return false;
    if (isAppThemed_ && !isAppThemed_()) return false;
    theme_ = openThemeData_(window, L"Button");
    return theme_ != nullptr;
}

bool VisualStyles::drawPushButton(HDC dc, const RECT& bounds, int state) const {
    constexpr int kPushButtonPart = 1;
    return theme_ && SUCCEEDED(drawThemeBackground_(theme_, dc, kPushButtonPart, state, &bounds, nullptr));
}

}  // namespace quillon::controls::win32
