// The entry routine: the window is made (its load handler runs), shown on the
// System page, the saved selection is put back, and then the window's events
// are served until it closes.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/Win32Platform.h"
#include "startup/StartupPhase.h"
#include "window/StartUp.h"
#include "window/win32/MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    quillon::RegisterStartupPhase();
    quillon::win32::Win32Platform platform;
    try {
        quillon::win32::MainWindow frmMain(instance, platform, show == SW_HIDE ? SW_SHOWNORMAL : show);
        platform.setMainWindow(frmMain.handle());
        quillon::RestoreSelection(frmMain.context());

        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (frmMain.onKeyMessage(message)) continue;
            if (frmMain.handle() && IsDialogMessageW(frmMain.handle(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception&) {
        return 1;
    }
}
