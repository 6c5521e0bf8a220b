// quillonc.exe binds the window-side functions of the shared Win32 platform
// (message boxes, the folder browser, the message pump, log-off) and the
// shell's folder lookup when they are first called. Loading user32, shell32
// and ole32 at start would more than double the time a short verb such as
// STATUS takes from start to exit, and most verbs never call them. Each
// pointer below stands in for the import-table entry of the same name, so the
// linker takes no import of these DLLs; only quillonc.exe links this file.
#include <windows.h>
#include <shlobj.h>

#include "app/console_lazy_bind_win32.h"
#include "platform/win32/ShellFolderRecord.h"

namespace {

using quillon::lazy::Bind;

constexpr wchar_t kUser[] = L"user32.dll";
constexpr wchar_t kShell[] = L"shell32.dll";
constexpr wchar_t kOle[] = L"ole32.dll";

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
BOOL WINAPI LazyExitWindowsEx(UINT flags, DWORD reason) {
    static const auto bound = Bind<decltype(&ExitWindowsEx)>(kUser, "ExitWindowsEx");
    return bound && bound(flags, reason);
}
PIDLIST_ABSOLUTE WINAPI LazyBrowseForFolder(LPBROWSEINFOW info) {
    static const auto bound = Bind<decltype(&SHBrowseForFolderW)>(kShell, "SHBrowseForFolderW");
    return bound ? bound(info) : nullptr;
}
BOOL WINAPI LazyPathFromIdList(PCIDLIST_ABSOLUTE item, LPWSTR path) {
    static const auto bound = Bind<decltype(&SHGetPathFromIDListW)>(kShell, "SHGetPathFromIDListW");
    return bound && bound(item, path);
}
HRESULT WINAPI LazyFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
    // The Start menu, Startup and application data folders are read where the
    // shell keeps them: STATUS and a CHECK of box 32 or 76 need the common Start
    // menu, and loading shell32 for it took longer than the whole verb.
    if (!owner && !token && flags == SHGFP_TYPE_CURRENT)
        if (const auto recorded = quillon::win32::RecordedShellFolder(folder)) {
            recorded->copy(path, recorded->size());
            path[recorded->size()] = L'\0';
            return S_OK;
        }
    static const auto bound = Bind<decltype(&SHGetFolderPathW)>(kShell, "SHGetFolderPathW");
    return bound ? bound(owner, folder, token, flags, path) : E_FAIL;
}
HRESULT WINAPI LazyOleInitialize(LPVOID reserved) {
    static const auto bound = Bind<decltype(&OleInitialize)>(kOle, "OleInitialize");
    return bound ? bound(reserved) : E_FAIL;
}
void WINAPI LazyTaskMemFree(LPVOID memory) {
    static const auto bound = Bind<decltype(&CoTaskMemFree)>(kOle, "CoTaskMemFree");
    if (bound) bound(memory);
}

}  // namespace

QUILLON_IMPORT_STAND_IN(PeekMessageW, "__imp__PeekMessageW@20", LazyPeekMessage)
QUILLON_IMPORT_STAND_IN(TranslateMessage, "__imp__TranslateMessage@4", LazyTranslateMessage)
QUILLON_IMPORT_STAND_IN(DispatchMessageW, "__imp__DispatchMessageW@4", LazyDispatchMessage)
QUILLON_IMPORT_STAND_IN(IsDialogMessageW, "__imp__IsDialogMessageW@8", LazyIsDialogMessage)
QUILLON_IMPORT_STAND_IN(MsgWaitForMultipleObjects, "__imp__MsgWaitForMultipleObjects@20", LazyMsgWaitForMultipleObjects)
QUILLON_IMPORT_STAND_IN(MessageBoxW, "__imp__MessageBoxW@16", LazyMessageBox)
QUILLON_IMPORT_STAND_IN(ExitWindowsEx, "__imp__ExitWindowsEx@8", LazyExitWindowsEx)
QUILLON_IMPORT_STAND_IN(SHBrowseForFolderW, "__imp__SHBrowseForFolderW@4", LazyBrowseForFolder)
QUILLON_IMPORT_STAND_IN(SHGetPathFromIDListW, "__imp__SHGetPathFromIDListW@8", LazyPathFromIdList)
QUILLON_IMPORT_STAND_IN(SHGetFolderPathW, "__imp__SHGetFolderPathW@20", LazyFolderPath)
QUILLON_IMPORT_STAND_IN(OleInitialize, "__imp__OleInitialize@4", LazyOleInitialize)
QUILLON_IMPORT_STAND_IN(CoTaskMemFree, "__imp__CoTaskMemFree@4", LazyTaskMemFree)
