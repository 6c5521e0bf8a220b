// Stand-in for the service-control tool under Wine, whose own sc has no
// "config". Records its command line; "sc [\\server] config NAME start= MODE"
// sets the service's Start value as the real tool does, and fails with the
// real tool's code when the service does not exist.
#include <windows.h>

#include <string>

#include "tools/standins/StandinLog.h"

namespace {

constexpr int kBadCommandLine = ERROR_INVALID_PARAMETER;

DWORD StartValue(const wchar_t* mode) {
    if (lstrcmpiW(mode, L"disabled") == 0) return SERVICE_DISABLED;
    if (lstrcmpiW(mode, L"demand") == 0) return SERVICE_DEMAND_START;
    if (lstrcmpiW(mode, L"auto") == 0) return SERVICE_AUTO_START;
    return 0;
}

int Config(const wchar_t* service, const wchar_t* mode) {
    const DWORD start = StartValue(mode);
    if (start == 0) return kBadCommandLine;
    const std::wstring key = std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + service;
    HKEY handle = nullptr;
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &handle);
    if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SERVICE_DOES_NOT_EXIST;
    if (opened != ERROR_SUCCESS) return static_cast<int>(opened);
    const LONG set = RegSetValueExW(handle, L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start),
                                    sizeof start);
    RegCloseKey(handle);
    return static_cast<int>(set);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    standin::LogCommandLine();
    standin::HangWhenAsked();
    int next = 1;
    if (next < argc && argv[next][0] == L'\\' && argv[next][1] == L'\\') {
        if (lstrcmpW(argv[next], L"\\\\.") != 0) return RPC_S_SERVER_UNAVAILABLE;  // only this machine is here
        ++next;
    }
    if (argc - next != 4 || lstrcmpiW(argv[next], L"config") != 0 || lstrcmpiW(argv[next + 2], L"start=") != 0)
        return kBadCommandLine;
    return Config(argv[next + 1], argv[next + 3]);
}
