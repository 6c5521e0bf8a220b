#include "tests/wine/StandinCommands.h"

#include <algorithm>

#include "platform/win32/UniqueHandle.h"

namespace quillon::test {
namespace {

constexpr wchar_t kLogPath[] = L"C:\\standin-commands.log";

}  // namespace

std::vector<std::string> StandinCommands() {
    std::vector<std::string> lines;
    win32::UniqueHandle file(CreateFileW(kLogPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lines;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

void ClearStandinCommands() { DeleteFileW(kLogPath); }

bool WaitForStandinCommand(const std::string& commandLine, DWORD boundMilliseconds) {
    const DWORD begin = GetTickCount();
    while (true) {
        const auto lines = StandinCommands();
        if (std::find(lines.begin(), lines.end(), commandLine) != lines.end()) return true;
        if (GetTickCount() - begin >= boundMilliseconds) return false;
        Sleep(50);
    }
}

}  // namespace quillon::test
