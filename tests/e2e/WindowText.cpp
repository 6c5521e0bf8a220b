// For the end-to-end scripts: prints the text of every child window of the
// shown top-level windows whose title is the first argument, one a line, in
// UTF-8. What a message box says cannot be read from the X side.
// With --idle first, waits instead until the thread of the shown window of
// that title serves its messages again (exit 0), or 1 when there is none or
// it does not within 30 s: a state the scripts wait for, not a time.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Print(HWND window) {
    wchar_t text[4096];
    const int length = GetWindowTextW(window, text, 4096);
    if (length <= 0) return;
    char bytes[16384];
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, bytes, sizeof bytes, nullptr, nullptr);
    std::fwrite(bytes, 1, static_cast<std::size_t>(size), stdout);
    std::fputc('\n', stdout);
}

BOOL CALLBACK EachChild(HWND child, LPARAM) {
    Print(child);
    return TRUE;
}

BOOL CALLBACK EachTop(HWND window, LPARAM title) {
    wchar_t text[512];
    GetWindowTextW(window, text, 512);
    if (IsWindowVisible(window) && *reinterpret_cast<const std::wstring*>(title) == text)
        EnumChildWindows(window, EachChild, 0);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--idle") {
        HWND window = FindWindowW(nullptr, argv[2]);
        DWORD_PTR result = 0;
        return window && IsWindowVisible(window) &&
                       SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &result)
                   ? 0
                   : 1;
    }
    if (argc != 2) return 2;
    const std::wstring title = argv[1];
    EnumWindows(EachTop, reinterpret_cast<LPARAM>(&title));
    return 0;
}
