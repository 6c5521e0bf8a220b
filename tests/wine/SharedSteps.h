#pragma once
// Small steps several Wine tests take alike.
#include <windows.h>

#include <string>

#include "platform/win32/UniqueHandle.h"
#include "tests/wine/StandinCommands.h"

namespace quillon::test {

// A left click in the middle of a button, posted as the mouse would send it.
inline void Click(HWND button) {
    RECT client{};
    GetClientRect(button, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(button, WM_LBUTTONUP, 0, at);
}

// A file's bytes, read while a program may still hold it open; empty when absent.
inline std::string ReadAll(const std::wstring& path) {
    win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (file && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

// Waits, up to `tenths` tenths of a second, until a stand-in command line
// naming `tool` has started; says whether one did.
inline bool WaitForStandin(const std::string& tool, int tenths) {
    const auto started = [&] {
        for (const std::string& line : StandinCommands())
            if (line.find(tool) != std::string::npos) return true;
        return false;
    };
    for (int i = 0; i < tenths && !started(); ++i) Sleep(100);
    return started();
}

}  // namespace quillon::test
