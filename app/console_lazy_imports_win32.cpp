// quillonc.exe binds the window-side functions of the shared Win32 platform
// (message boxes, the message pump, log-off) when they are first called.
// Loading user32 at start would more than double the time a short verb such
// as STATUS takes from start to exit, and most verbs never call them. Each
// pointer below stands in for the import-table entry of the same name, so the
// linker takes no import of user32; only quillonc.exe links this file (both
// programs bind shell32 and ole32 so: app/lazy_shell_imports_win32.cpp).
#include <windows.h>

#include "app/console_lazy_bind_win32.h"

namespace {

using quillon::lazy::Bind;

constexpr wchar_t kUser[] = L"user32.dll";

BOOL WINAPI LazyPeekMessage(LPMSG message, HWND window, UINT first, UINT last, UINT remove) {
    static const auto bound = Bind<decltype(&PeekMessageW)>(kUser, "PeekMessageW");
    return bound && bound(message, window, first, last, remove);
}
BOOL WINAPI LazyTranslateMessage(const MSG* message) {
    static const auto bound = Bind<decltype(&TranslateMessage)>(kUser, "TranslateMessage");
    return bound && bound(message);
}
LRESULT WINAPI LazyDispatchMessage(const MSG* message) {
    static const auto bound = Bind<decltype(&DispatchMessageW)>(kUser, "DispatchMessageW");
    return bound ? bound(message) : 0;
}
BOOL WINAPI LazyIsDialogMessage(HWND window, LPMSG message) {
    static const auto bound = Bind<decltype(&IsDialogMessageW)>(kUser, "IsDialogMessageW");
    return bound && bound(window, message);
}
DWORD WINAPI LazyMsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD timeout, DWORD mask) {
    static const auto bound = Bind<decltype(&MsgWaitForMultipleObjects)>(kUser, "MsgWaitForMultipleObjects");
    // Without user32 there are no window messages to wait for.
    return bound ? bound(count, handles, all, timeout, mask) : WaitForMultipleObjects(count, handles, all, timeout);
}
int WINAPI LazyMessageBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
    static const auto bound = Bind<decltype(&MessageBoxW)>(kUser, "MessageBoxW");
    return bound ? bound(owner, text, title, type) : 0;
}
// The folder browser's start folder is sent from its callback, when shell32
// has user32 loaded already.
LRESULT WINAPI LazySendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto bound = Bind<decltype(&SendMessageW)>(kUser, "SendMessageW");
    return bound ? bound(window, message, wParam, lParam) : 0;
}
BOOL WINAPI LazyExitWindowsEx(UINT flags, DWORD reason) {
    static const auto bound = Bind<decltype(&ExitWindowsEx)>(kUser, "ExitWindowsEx");
    return bound && bound(flags, reason);
}
}  // namespace

QUILLON_IMPORT_STAND_IN(PeekMessageW, "__imp__PeekMessageW@20", LazyPeekMessage)
QUILLON_IMPORT_STAND_IN(TranslateMessage, "__imp__TranslateMessage@4", LazyTranslateMessage)
QUILLON_IMPORT_STAND_IN(DispatchMessageW, "__imp__DispatchMessageW@4", LazyDispatchMessage)
QUILLON_IMPORT_STAND_IN(IsDialogMessageW, "__imp__IsDialogMessageW@8", LazyIsDialogMessage)
QUILLON_IMPORT_STAND_IN(MsgWaitForMultipleObjects, "__imp__MsgWaitForMultipleObjects@20", LazyMsgWaitForMultipleObjects)
QUILLON_IMPORT_STAND_IN(MessageBoxW, "__imp__MessageBoxW@16", LazyMessageBox)
QUILLON_IMPORT_STAND_IN(SendMessageW, "__imp__SendMessageW@16", LazySendMessage)
QUILLON_IMPORT_STAND_IN(ExitWindowsEx, "__imp__ExitWindowsEx@8", LazyExitWindowsEx)
