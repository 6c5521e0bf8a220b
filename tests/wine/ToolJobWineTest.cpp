// A run ended from outside at any point of a tool's start leaves no tool
// behind: the program is in its job before the tool is born.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/RegistryWriter.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon {
namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Quillon tool job test";
const wchar_t* const kHoldAt = L"QUILLON_TEST_HOLD_AT";

std::wstring HeldSignal(const std::wstring& point) { return L"C:\\quillon-held-" + point; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether a regedit runs; `end`: ends each, so none is left for the tests after this one.
bool RegeditRuns(bool end = false) {
    win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szExeFile, L"regedit.exe") == 0) {
            found = true;
            win32::UniqueHandle process(end ? OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID) : nullptr);
            if (process) TerminateProcess(process.get(), 1);
        }
    return found;
}

// The one way this test waits: for a state, bounded.
template <class Condition>
bool Within(DWORD milliseconds, Condition condition) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start > milliseconds) return false;
    return true;
}

// In the child: at the point the parent names, say so and wait to be ended.
void HoldThere(const char* point) {
    wchar_t at[32] = {};
    if (!GetEnvironmentVariableW(kHoldAt, at, 32)) return;
    const std::wstring name(point, point + std::char_traits<char>::length(point));
    if (name != at) return;
    win32::UniqueHandle signal(
        CreateFileW(HeldSignal(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_WRITE_THROUGH, nullptr));
    Sleep(INFINITE);
}

TEST(ToolJobWine, AKillAtEveryPointOfAToolsStartLeavesNoToolAndTheNextWriteNoScript) {
    win32::Win32Platform platform;
    WriteRegValue(platform, kKey, RegType::Dword, "First", "00000001");
    EXPECT_TRUE(win32::ProgramInToolJob()) << "nested jobs are refused here";
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (const wchar_t* point : {L"started", L"placed", L"resumed"}) {
        SCOPED_TRACE(std::string(point, point + wcslen(point)));
        DeleteFileW(HeldSignal(point).c_str());
        std::wstring command = L"\"" + std::wstring(self) +
                               L"\" --gtest_also_run_disabled_tests --gtest_filter=ToolJobWineChild.DISABLED_WriteOneValue";
        SetEnvironmentVariableW(kHoldAt, point);
        STARTUPINFOW start{};
        start.cb = sizeof start;
        PROCESS_INFORMATION child{};
        const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                            &start, &child);
        SetEnvironmentVariableW(kHoldAt, nullptr);
        ASSERT_TRUE(started);
        win32::UniqueHandle process(child.hProcess), thread(child.hThread);
        const bool held = Within(120000, [&] {
            return Exists(HeldSignal(point)) || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
        });
        EXPECT_TRUE(held && Exists(HeldSignal(point))) << "the child never reached the point";
        TerminateProcess(process.get(), 9);
        WaitForSingleObject(process.get(), 10000);
        DeleteFileW(HeldSignal(point).c_str());

        // The tool ends with the program that started it.
        EXPECT_TRUE(Within(20000, [] { return !RegeditRuns(); }));
        RegeditRuns(true);
        // Held before it ran, the tool never wrote anything.
        if (std::wstring(point) != L"resumed") {
            EXPECT_FALSE(platform.registryValue(kKey, "Held"));
        }
        // The script a killed run leaves is the next write's to replace and remove.
        WriteRegValue(platform, kKey, RegType::Dword, "Next", "00000001");
        EXPECT_FALSE(Exists(L"C:\\tempreg.reg"));
        EXPECT_EQ(platform.registryValue(kKey, "Next"), DwordValue(1));
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Quillon tool job test");
}

TEST(ToolJobWineChild, DISABLED_WriteOneValue) {
    win32::ToolStartReached = HoldThere;
    win32::Win32Platform platform;
    WriteRegValue(platform, kKey, RegType::Dword, "Held", "00000001");
}

}  // namespace
}  // namespace quillon
