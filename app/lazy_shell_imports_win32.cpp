// Both programs bind shell32 and ole32 when they are first called: the
// folder browser (Browse, and OleInitialize before it) and the shell's
// folder lookup, which is answered where the shell records the folder when
// it can. Under Wine shell32 and ole32 bring rpcrt4, combase, shcore and
// shlwapi with them; loaded at start they delayed the window's first paint
// and a short console verb alike, and most runs never call them. Each pointer
// below stands in for the import-table entry of the same name, so the linker
// takes no import of these DLLs.
#include <windows.h>
#include <shlobj.h>

#include "app/console_lazy_bind_win32.h"
#include "platform/win32/ShellFolderRecord.h"

namespace {

using quillon::lazy::Bind;

constexpr wchar_t kShell[] = L"shell32.dll";
constexpr wchar_t kOle[] = L"ole32.dll";

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

QUILLON_IMPORT_STAND_IN(SHBrowseForFolderW, "__imp__SHBrowseForFolderW@4", LazyBrowseForFolder)
QUILLON_IMPORT_STAND_IN(SHGetPathFromIDListW, "__imp__SHGetPathFromIDListW@8", LazyPathFromIdList)
QUILLON_IMPORT_STAND_IN(SHGetFolderPathW, "__imp__SHGetFolderPathW@20", LazyFolderPath)
QUILLON_IMPORT_STAND_IN(OleInitialize, "__imp__OleInitialize@4", LazyOleInitialize)
QUILLON_IMPORT_STAND_IN(CoTaskMemFree, "__imp__CoTaskMemFree@4", LazyTaskMemFree)
