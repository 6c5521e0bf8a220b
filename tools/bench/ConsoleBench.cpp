// quillonc STATUS from start to exit against a do-nothing console program,
// both started the same way from here; medians of five, ratio in one run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// Seconds from CreateProcess to the process's end; negative when it cannot start.
double StartToExit(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe + L"\"" + arguments;
    // Output goes to the null device, as in a batch file that only tests the status.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE sink = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = sink;
    startup.hStdError = sink;
    PROCESS_INFORMATION info{};
    const auto start = std::chrono::steady_clock::now();
    const BOOL started =
        CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    if (!started) {
        CloseHandle(sink);
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(sink);
    return seconds;
}

}  // namespace

int main() {
    const std::wstring console = Beside(L"quillonc.exe"), floor = Beside(L"do_nothing.exe");
    StartToExit(floor, L"");  // warm-up: the first start of any program fills Wine's caches
    StartToExit(console, L" STATUS");
    std::vector<double> statusTimes, floorTimes;
    for (int i = 0; i < 5; ++i) {  // interleaved, so a busy moment weighs on both
        floorTimes.push_back(StartToExit(floor, L""));
        statusTimes.push_back(StartToExit(console, L" STATUS"));
    }
    if (*std::min_element(statusTimes.begin(), statusTimes.end()) < 0 ||
        *std::min_element(floorTimes.begin(), floorTimes.end()) < 0) {
        std::puts("quillonc.exe or do_nothing.exe is missing beside the benchmark");
        return 2;
    }
    std::sort(statusTimes.begin(), statusTimes.end());
    std::sort(floorTimes.begin(), floorTimes.end());
    const double ratio = statusTimes[2] / floorTimes[2];
    std::printf("quillonc STATUS start to exit: %.0f ms; do-nothing console program: %.0f ms; ratio %.2f "
                "(target <= 1.5)\n",
                statusTimes[2] * 1000, floorTimes[2] * 1000, ratio);
    return ratio <= 1.5 ? 0 : 1;
}
