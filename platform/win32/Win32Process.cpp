// Starting the platform's tools hidden, and waiting for them without letting
// the window freeze.
#include <windows.h>

#include <array>

#include "platform/CommandLine.h"
#include "platform/TextMatch.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {
namespace {

class Win32Process : public StartedProcess {
public:
    Win32Process(UniqueHandle process, HWND dialogWindow) : process_(std::move(process)), dialogWindow_(dialogWindow) {}

    bool waitPumping(std::chrono::milliseconds bound) override {
        const DWORD start = GetTickCount();
        const DWORD limit = static_cast<DWORD>(bound.count());
        HANDLE handle = process_.get();
        while (true) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= limit) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, limit - elapsed, QS_ALLINPUT);
            if (result == WAIT_OBJECT_0) return true;
            if (result == WAIT_OBJECT_0 + 1) PumpPendingMessages(dialogWindow_);
            else if (result == WAIT_FAILED) return false;
        }
    }

    // Ending is not instant; the caller may want to delete what the process had open.
    void terminate() override {
        if (TerminateProcess(process_.get(), 1)) WaitForSingleObject(process_.get(), 2000);
    }

    std::optional<int> exitCode() const override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process_.get(), &code) || code == STILL_ACTIVE) return std::nullopt;
        return static_cast<int>(code);
    }

private:
    UniqueHandle process_;
    HWND dialogWindow_;
};

struct ToolJobState {
    HANDLE job = nullptr;
    bool programInside = false;
};

// The job every tool of this program runs in. Its handle is never closed: the
// program is in the job, and closing it would end the program before its
// exit status is set. When the program ends, however it ends, the system
// closes it and the job ends every tool still running, so a killed run's
// import can never land after the next run's changes. The program enters it
// before its first tool, so each tool is born in it: no kill can fall between
// a tool's start and its placing in the job.
const ToolJobState& ToolJob() {
    static const ToolJobState state = [] {
        ToolJobState made;
        made.job = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (made.job && !SetInformationJobObject(made.job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            CloseHandle(made.job);
            made.job = nullptr;
        }
        made.programInside = made.job && AssignProcessToJobObject(made.job, GetCurrentProcess());
        return made;
    }();
    return state;
}

void Reached(const char* point) {
    if (ToolStartReached) ToolStartReached(point);
}

std::wstring Folder(UINT (WINAPI* query)(LPWSTR, UINT)) {
    std::array<wchar_t, MAX_PATH + 1> buffer{};
    const UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    return length > 0 && length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

}  // namespace

void (*ToolStartReached)(const char* point) = nullptr;

bool ProgramInToolJob() { return ToolJob().programInside; }

std::wstring ToolPath(const std::string& commandLine) {
    const auto args = SplitCommandLine(commandLine);
    if (args.empty()) return {};
    const std::string tool = Lower(args[0]);
    if (tool == "regedit") return Folder(GetWindowsDirectoryW) + L"\\regedit.exe";
    if (tool == "reg" || tool == "sc" || tool == "sfc" || tool == "chkntfs")
        return Folder(GetSystemDirectoryW) + L"\\" + Widen(tool) + L".exe";
    return {};
}

void PumpPendingMessages(HWND dialogWindow) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) ExitProcess(static_cast<UINT>(message.wParam));
        if (dialogWindow && IsDialogMessageW(dialogWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::unique_ptr<StartedProcess> Win32Platform::startHidden(const std::string& commandLine) {
    const std::wstring application = ToolPath(commandLine);
    if (application.empty()) throw PlatformError("not a known tool: " + commandLine);
    holdRegistryKeysOpen(false);  // the tool may change what a held key shows
    const auto start = [&](DWORD flags, UniqueHandle& thread) {
        std::wstring mutableLine = Widen(commandLine);  // CreateProcessW may write to it
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION info{};
        // Suspended until it is in the job (where the program could not enter
        // it first), so nothing it starts can escape it.
        if (!CreateProcessW(application.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                            CREATE_NO_WINDOW | CREATE_SUSPENDED | flags, nullptr, nullptr, &startup, &info))
            return UniqueHandle();
        thread = UniqueHandle(info.hThread);
        return UniqueHandle(info.hProcess);
    };
    const ToolJobState& job = ToolJob();
    UniqueHandle thread;
    UniqueHandle process = start(0, thread);
    if (!process) throw PlatformError("cannot start: " + commandLine + ": " + SystemMessage(GetLastError()));
    Reached("started");
    if (job.job && !job.programInside && !AssignProcessToJobObject(job.job, process.get())) {
        // Before Windows 8 a program already in a job (the compatibility
        // assistant's, a service host's) can neither enter a job of its own nor
        // put its tools in one unless they break away from the outer job; where
        // that is not allowed either, the tool runs in the outer job, as it
        // would without ours.
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);  // it never ran: it ends at once
        UniqueHandle awayThread;
        UniqueHandle away = start(CREATE_BREAKAWAY_FROM_JOB, awayThread);
        if (away && AssignProcessToJobObject(job.job, away.get())) {
            process = std::move(away), thread = std::move(awayThread);
        } else {
            if (away) TerminateProcess(away.get(), 1), WaitForSingleObject(away.get(), INFINITE);
            process = start(0, thread);
            if (!process) throw PlatformError("cannot start: " + commandLine + ": " + SystemMessage(GetLastError()));
        }
    }
    Reached("placed");
    ResumeThread(thread.get());
    Reached("resumed");
    return std::make_unique<Win32Process>(std::move(process), mainWindow_);
}

void Win32Platform::pumpEvents() { PumpPendingMessages(mainWindow_); }

}  // namespace quillon::win32
