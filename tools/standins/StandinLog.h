#pragma once
// Shared by the stand-ins for Windows tools that Wine lacks (tests only): each
// records the command line it was started with, one line per start, so a test
// can see what Quillon asked for.
#include <windows.h>

#include <string>

namespace standin {

inline constexpr wchar_t kLogPath[] = L"C:\\standin-commands.log";

inline std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

// Appends the whole command line in UTF-8 with CR LF. Several stand-ins may run
// at once, so the file is opened for appending only and shared; a sharing
// clash is retried for a moment.
inline bool LogCommandLine() {
    const std::string line = Utf8(GetCommandLineW()) + "\r\n";
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileW(kLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        return ok && written == line.size();
    }
    return false;
}

// Fault tests put this file in place to get a tool that never ends by itself.
inline constexpr wchar_t kHangFlagPath[] = L"C:\\standin-hang";

inline void HangWhenAsked() {
    if (GetFileAttributesW(kHangFlagPath) != INVALID_FILE_ATTRIBUTES) Sleep(INFINITE);
}

}  // namespace standin
