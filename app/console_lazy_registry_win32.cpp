// quillonc.exe binds its registry reads and the user-name query when first
// called, as it does the window-side functions: loading advapi32 (and what it
// needs) at start cost STATUS a seventh of a do-nothing program's whole life
// under Wine. Where kernelbase is already in the process and has every
// registry function used here (Wine, newer Windows), it serves them, with no
// load at all; elsewhere (Windows XP) advapi32 is loaded on first use. One
// module serves the whole set, so a key is never opened by one and closed by
// another.
#include <windows.h>
#include <sddl.h>

#include <initializer_list>

#include "app/console_lazy_bind_win32.h"

namespace {

using quillon::lazy::Bind;
using quillon::lazy::BindFrom;

HMODULE RegistryModule() {
    static const HMODULE module = [] {
        const HMODULE base = GetModuleHandleW(L"kernelbase.dll");
        for (const char* name : {"RegOpenKeyExW", "RegCloseKey", "RegQueryValueExW", "RegEnumValueW",
                                 "RegEnumKeyExW", "RegQueryInfoKeyW", "RegCreateKeyExW", "RegSetValueExW"})
            if (!base || !GetProcAddress(base, name)) return LoadLibraryW(L"advapi32.dll");
        return base;
    }();
    return module;
}

template <typename Function>
Function BindRegistry(const char* name) {
    return BindFrom<Function>(RegistryModule(), name);
}

LONG WINAPI LazyRegOpenKeyEx(HKEY parent, LPCWSTR subkey, DWORD options, REGSAM access, PHKEY opened) {
    static const auto bound = BindRegistry<decltype(&RegOpenKeyExW)>("RegOpenKeyExW");
    return bound ? bound(parent, subkey, options, access, opened) : ERROR_PROC_NOT_FOUND;
}
LONG WINAPI LazyRegCloseKey(HKEY key) {
    static const auto bound = BindRegistry<decltype(&RegCloseKey)>("RegCloseKey");
    return bound ? bound(key) : ERROR_PROC_NOT_FOUND;
}
LONG WINAPI LazyRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    static const auto bound = BindRegistry<decltype(&RegQueryValueExW)>("RegQueryValueExW");
    return bound ? bound(key, name, reserved, type, data, size) : ERROR_PROC_NOT_FOUND;
}
LONG WINAPI LazyRegEnumValue(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD size) {
    static const auto bound = BindRegistry<decltype(&RegEnumValueW)>("RegEnumValueW");
    return bound ? bound(key, index, name, nameLength, reserved, type, data, size) : ERROR_PROC_NOT_FOUND;
}
LONG WINAPI LazyRegEnumKeyEx(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR kind,
                             LPDWORD kindLength, PFILETIME written) {
    static const auto bound = BindRegistry<decltype(&RegEnumKeyExW)>("RegEnumKeyExW");
    return bound ? bound(key, index, name, nameLength, reserved, kind, kindLength, written) : ERROR_PROC_NOT_FOUND;
}
LONG WINAPI LazyRegQueryInfoKey(HKEY key, LPWSTR kind, LPDWORD kindLength, LPDWORD reserved, LPDWORD subkeys,
                                LPDWORD longestSubkey, LPDWORD longestKind, LPDWORD values, LPDWORD longestName,
                                LPDWORD longestData, LPDWORD security, PFILETIME written) {
    static const auto bound = BindRegistry<decltype(&RegQueryInfoKeyW)>("RegQueryInfoKeyW");
    return bound ? bound(key, kind, kindLength, reserved, subkeys, longestSubkey, longestKind, values, longestName,
                         longestData, security, written)
                 : ERROR_PROC_NOT_FOUND;
}
// Registering the event source, the program's one registry write of its own.
LONG WINAPI LazyRegCreateKeyEx(HKEY parent, LPCWSTR subkey, DWORD reserved, LPWSTR kind, DWORD options, REGSAM access,
                               LPSECURITY_ATTRIBUTES security, PHKEY made, LPDWORD disposition) {
    static const auto bound = BindRegistry<decltype(&RegCreateKeyExW)>("RegCreateKeyExW");
    return bound ? bound(parent, subkey, reserved, kind, options, access, security, made, disposition)
                 : ERROR_PROC_NOT_FOUND;
}
LONG WINAPI LazyRegSetValueEx(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    static const auto bound = BindRegistry<decltype(&RegSetValueExW)>("RegSetValueExW");
    return bound ? bound(key, name, reserved, type, data, size) : ERROR_PROC_NOT_FOUND;
}
// The Application log: once, at the end of APPLY or UNDO.
HANDLE WINAPI LazyRegisterEventSource(LPCWSTR server, LPCWSTR source) {
    static const auto bound = Bind<decltype(&RegisterEventSourceW)>(L"advapi32.dll", "RegisterEventSourceW");
    if (bound) return bound(server, source);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}
BOOL WINAPI LazyDeregisterEventSource(HANDLE source) {
    static const auto bound = Bind<decltype(&DeregisterEventSource)>(L"advapi32.dll", "DeregisterEventSource");
    return bound ? bound(source) : FALSE;
}
BOOL WINAPI LazyReportEvent(HANDLE source, WORD type, WORD category, DWORD id, PSID user, WORD count, DWORD size,
                            LPCWSTR* strings, LPVOID data) {
    static const auto bound = Bind<decltype(&ReportEventW)>(L"advapi32.dll", "ReportEventW");
    if (bound) return bound(source, type, category, id, user, count, size, strings, data);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}
// The undo folders' access list: only when a record is made.
BOOL WINAPI LazyConvertStringSecurityDescriptor(LPCWSTR text, DWORD revision, PSECURITY_DESCRIPTOR* descriptor,
                                                PULONG size) {
    static const auto bound = Bind<BOOL(WINAPI*)(LPCWSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG)>(
        L"advapi32.dll", "ConvertStringSecurityDescriptorToSecurityDescriptorW");
    if (bound) return bound(text, revision, descriptor, size);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}
BOOL WINAPI LazySetFileSecurity(LPCWSTR path, SECURITY_INFORMATION parts, PSECURITY_DESCRIPTOR descriptor) {
    static const auto bound = Bind<decltype(&SetFileSecurityW)>(L"advapi32.dll", "SetFileSecurityW");
    if (bound) return bound(path, parts, descriptor);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}
BOOL WINAPI LazyGetUserName(LPWSTR name, LPDWORD length) {
    static const auto bound = Bind<decltype(&GetUserNameW)>(L"advapi32.dll", "GetUserNameW");
    if (bound) return bound(name, length);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}

}  // namespace

QUILLON_IMPORT_STAND_IN(RegOpenKeyExW, "__imp__RegOpenKeyExW@20", LazyRegOpenKeyEx)
QUILLON_IMPORT_STAND_IN(RegCloseKey, "__imp__RegCloseKey@4", LazyRegCloseKey)
QUILLON_IMPORT_STAND_IN(RegQueryValueExW, "__imp__RegQueryValueExW@24", LazyRegQueryValueEx)
QUILLON_IMPORT_STAND_IN(RegEnumValueW, "__imp__RegEnumValueW@32", LazyRegEnumValue)
QUILLON_IMPORT_STAND_IN(RegEnumKeyExW, "__imp__RegEnumKeyExW@32", LazyRegEnumKeyEx)
QUILLON_IMPORT_STAND_IN(RegQueryInfoKeyW, "__imp__RegQueryInfoKeyW@48", LazyRegQueryInfoKey)
QUILLON_IMPORT_STAND_IN(GetUserNameW, "__imp__GetUserNameW@8", LazyGetUserName)
QUILLON_IMPORT_STAND_IN(ConvertStringSecurityDescriptorToSecurityDescriptorW,
                        "__imp__ConvertStringSecurityDescriptorToSecurityDescriptorW@16",
                        LazyConvertStringSecurityDescriptor)
QUILLON_IMPORT_STAND_IN(SetFileSecurityW, "__imp__SetFileSecurityW@12", LazySetFileSecurity)
QUILLON_IMPORT_STAND_IN(RegCreateKeyExW, "__imp__RegCreateKeyExW@36", LazyRegCreateKeyEx)
QUILLON_IMPORT_STAND_IN(RegSetValueExW, "__imp__RegSetValueExW@24", LazyRegSetValueEx)
QUILLON_IMPORT_STAND_IN(RegisterEventSourceW, "__imp__RegisterEventSourceW@8", LazyRegisterEventSource)
QUILLON_IMPORT_STAND_IN(DeregisterEventSource, "__imp__DeregisterEventSource@4", LazyDeregisterEventSource)
QUILLON_IMPORT_STAND_IN(ReportEventW, "__imp__ReportEventW@36", LazyReportEvent)
