// quillonc SUMMARY of a report folder of 10,000 machines, each file as a
// CHECK of the System, Security and Services pages writes it (about 100 rows,
// some drifting): its start-to-exit time and its peak memory, which must not
// grow with the fleet (each file is read, counted and let go).
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// One machine's report: a heading, a row per box, entry and control, a summary row.
std::string MachineFile(int machine) {
    const std::string computer = "PC-" + std::to_string(machine);
    const std::string head = computer + ",Tester,2026-12-08T13:40:00Z,CHECK,";
    std::string text = "\xEF\xBB\xBF" "computer,user,time,verb,page,number,caption,result,now,wanted,run,target\r\n";
    const auto row = [&](const std::string& page, const std::string& number, const std::string& result,
                         const std::string& now, const std::string& wanted, const std::string& target) {
        text += head + page + "," + number + ",Caption of " + number + "," + result + "," + now + "," + wanted + "," +
                computer + " run," + target + "\r\n";
    };
    for (int box = 0; box < 60; ++box) {
        const bool drift = (machine + box) % 17 == 0;
        row(box < 30 ? "System" : "Security", std::to_string(box), drift ? "drift" : "ok", drift ? "set 0" : "on",
            drift ? "set 1" : "on", drift ? "set HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench\\Value" : "");
    }
    for (int entry = 0; entry < 19; ++entry)
        row("Services", std::to_string(entry), entry == machine % 19 ? "not present" : "ok", "", "off", "");
    row("Security", "txtPath", machine % 5 ? "ok" : "drift", "C:\\Users\\" + computer, "D:\\Downloads", "");
    text += head + ",,summary,exit 1,ok 78; drift 3,," + computer + " run,\r\n";
    return text;
}

bool WriteWhole(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

}  // namespace

int main() {
    constexpr int kMachines = 10000;
    const std::wstring folder = Beside(L"bench-fleet");
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int machine = 0; machine < kMachines; ++machine)
        if (!WriteWhole(folder + L"\\PC-" + std::to_wstring(machine) + L".csv", MachineFile(machine))) {
            std::printf("cannot write the fleet's files in bench-fleet\n");
            return 1;
        }
    std::wstring line = L"\"" + Beside(L"quillonc.exe") + L"\" SUMMARY \"" + folder + L"\"";
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
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        std::printf("quillonc.exe cannot be started\n");
        return 1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory);
    DWORD status = 0;
    GetExitCodeProcess(info.hProcess, &status);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(sink);
    // Wine reports no other process's counters (0 MB): there, watch quillonc.exe's resident size from outside.
    std::printf("SUMMARY of %d machine files: %.2f s (at most 10 s), peak working set %.1f MB, peak private %.1f MB, "
                "exit %lu\n",
                kMachines, seconds, memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0,
                static_cast<unsigned long>(status));
    // The fleet is 100 MB of files: it goes with the run.
    for (int machine = 0; machine < kMachines; ++machine)
        DeleteFileW((folder + L"\\PC-" + std::to_wstring(machine) + L".csv").c_str());
    RemoveDirectoryW(folder.c_str());
    return seconds <= 10 && status == 1 ? 0 : 1;
}
