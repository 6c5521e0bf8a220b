// The System phase through the Win32 platform, against Wine's real regedit,
// reg and registry. Service and disk-check results are not looked at: Wine
// has no such tools of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Phases.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/RegistryRead.h"

namespace quillon {
namespace {

struct Expected {
    HKEY root;
    const wchar_t* subkey;
    const wchar_t* name;
    DWORD type;
    DWORD dword;          // REG_DWORD
    const wchar_t* text;  // REG_SZ
};

constexpr const wchar_t* kMachinePolicy = L"Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
constexpr const wchar_t* kUserPolicy = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const wchar_t* kMemory = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
constexpr const wchar_t* kMachineSystem = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
constexpr const wchar_t* kDebugger = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
constexpr const wchar_t* kDesktop = L"Control Panel\\Desktop";
const std::wstring kStartMenu = win32::Widen(win32::Win32Platform().shellFolder(ShellFolder::CommonStartMenu));

Expected Dword(HKEY root, const wchar_t* subkey, const wchar_t* name, DWORD data) {
    return {root, subkey, name, REG_DWORD, data, nullptr};
}
Expected Text(HKEY root, const wchar_t* subkey, const wchar_t* name, const wchar_t* data) {
    return {root, subkey, name, REG_SZ, 0, data};
}

void ExpectStored(const Expected& e) {
    auto value = test::ReadValue(e.root, e.subkey, e.name);
    ASSERT_TRUE(value) << "missing: " << win32::Narrow(e.subkey) << " " << win32::Narrow(e.name);
    EXPECT_EQ(value->type, e.type) << win32::Narrow(e.name);
    if (e.type == REG_DWORD) EXPECT_EQ(value->dword, e.dword) << win32::Narrow(e.name);
    else EXPECT_EQ(value->text, e.text) << win32::Narrow(e.name);
}

void DeleteValue(HKEY root, const wchar_t* subkey, const wchar_t* name) {
    win32::UniqueKey key;
    if (RegOpenKeyExW(root, subkey, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) RegDeleteValueW(key.get(), name);
}

struct SystemPhaseWine : ::testing::Test {
    win32::Win32Platform platform;
    test::MemoryForm form;
    void run() {
        RunContext context{form, platform, "Tester"};
        RunSystemPhase(context);
    }
};

TEST_F(SystemPhaseWine, ChosenSelectionIsStoredWithItsTypesAndData) {
    for (int box : {54, 56, 43, 70, 64, 51, 58, 75, 47})
        form.setChk(box, kTicked);
    form.setChk(20, kTicked);  // a Start-menu restriction the System page must spare
    form.setComboIndex(Combo::Priority, 1);
    form.setComboIndex(Combo::Prefetch, -1);
    form.selectOpt(1);
    for (const wchar_t* name : {L"NoFind", L"StartMenuLogOff"}) DeleteValue(HKEY_LOCAL_MACHINE, kMachinePolicy, name);
    run();

    const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER;
    const std::vector<Expected> expected{
        Dword(lm, L"System\\CurrentControlSet\\Services\\VxD\\BIOS", L"CPUPriority", 2),
        Dword(lm, L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot", 1),
        Dword(lm, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore", L"DisableSR", 0),
        Text(lm, kDebugger, L"Auto", L"1"),
        Dword(cu, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate",
              L"DisableWindowsUpdateAccess", 1),
        Dword(cu, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\CleanupWiz", L"NoRun", 0),
        Dword(cu, kUserPolicy, L"NoSimpleStartMenu", 0),
        Dword(cu, kUserPolicy, L"NoWinKeys", 0),
        Dword(lm, L"SOFTWARE\\Microsoft\\Security Center", L"FirewallDisableNotify", 0),
        Dword(lm, kMachineSystem, L"LogonType", 0),
        Dword(lm, L"SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer", L"DisableAutoUpdate", 0),
        Dword(lm, kMemory, L"DisablePagingExecutive", 0),
        Text(cu, kDesktop, L"WaitToKillAppTimeout", L"1000"),
        Text(cu, kDesktop, L"AutoEndTasks", L"0"),
        Text(lm, kMemory, L"ClearPageFileAtShutdown", L"1"),
        Text(lm, kMemory, L"LargeSystemCache", L"0"),
        Text(lm, L"SOFTWARE\\Classes\\CLSID\\{00021400-0000-0000-C000-000000000046}", L"MenuShowDelay", L"200"),
        Dword(cu,
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\{93DA6881-55BF-487D-B0AE-"
              L"C8EB3C54121A}Machine\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
              L"DisableStatusMessages", 0),
        Dword(lm, kMachineSystem, L"DisableStatusMessages", 0),
        Dword(cu, kUserPolicy, L"NoRecycleFiles", 0),
        Dword(cu, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", L"TaskbarGlomming", 0),
        Text(lm, kMemory, L"SecondLevelDataCache", L"00000080"),
        Dword(lm, L"SYSTEM\\CurrentControlSet\\Control\\FileSystem", L"ContigFileAllocSize", 0x400),
        Text(lm, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\PrefetchParameters",
             L"EnablePrefetcher", L"3"),
        Dword(lm, kMachinePolicy, L"NoSetFolders", 0),
        Dword(lm, kMachinePolicy, L"NoSetTaskbar", 0),
        Dword(lm, kMachinePolicy, L"NoSMHelp", 0),
        Dword(lm, kMachinePolicy, L"NoRecentDocsMenu", 0),
        Dword(lm, kMachinePolicy, L"NoLogoff", 0),
    };
    for (const Expected& e : expected) ExpectStored(e);
    EXPECT_FALSE(test::ReadValue(lm, kMachinePolicy, L"NoFind"));
    EXPECT_FALSE(test::ReadValue(lm, kMachinePolicy, L"StartMenuLogOff"));
    EXPECT_EQ(form.progressHistory(), (std::vector<int>{2000, 4000, 6000, 7600, 9000, 10905}));
}

class StartMenuFolder {
public:
    StartMenuFolder() {
        // Made as far as it is missing, and only that much taken away again.
        for (std::wstring path = kStartMenu; !path.empty() && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
             path = path.substr(0, path.find_last_of(L'\\')))
            created_.push_back(path);
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) CreateDirectoryW(it->c_str(), nullptr);
    }
    ~StartMenuFolder() {
        for (const wchar_t* name : {L"\\a.lnk", L"\\B.LNK", L"\\hidden.lnk", L"\\notes.txt"}) {
            const std::wstring file = kStartMenu + std::wstring(name);
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        for (const std::wstring& folder : created_) RemoveDirectoryW(folder.c_str());
    }
    StartMenuFolder(const StartMenuFolder&) = delete;
    StartMenuFolder& operator=(const StartMenuFolder&) = delete;

    static void Put(const wchar_t* name) {
        const std::wstring path = kStartMenu + std::wstring(name);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << win32::Narrow(path);
        CloseHandle(file);
    }
    static bool Exists(const wchar_t* name) {
        return GetFileAttributesW((kStartMenu + std::wstring(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    std::vector<std::wstring> created_;  // deepest first
};

TEST_F(SystemPhaseWine, EverythingTickedDeletesVisibleShortcutsOfTheCommonStartMenu) {
    StartMenuFolder folder;
    for (const wchar_t* name : {L"\\a.lnk", L"\\B.LNK", L"\\hidden.lnk", L"\\notes.txt"}) StartMenuFolder::Put(name);
    ASSERT_TRUE(SetFileAttributesW((kStartMenu + std::wstring(L"\\hidden.lnk")).c_str(), FILE_ATTRIBUTE_HIDDEN));
    for (int box = 43; box <= 76; ++box)
        if (box != 45 && box != 46 && box != 52) form.setChk(box, kTicked);
    run();

    EXPECT_FALSE(StartMenuFolder::Exists(L"\\a.lnk"));
    EXPECT_FALSE(StartMenuFolder::Exists(L"\\B.LNK"));
    EXPECT_TRUE(StartMenuFolder::Exists(L"\\hidden.lnk"));
    EXPECT_TRUE(StartMenuFolder::Exists(L"\\notes.txt"));
    for (const wchar_t* name : {L"NoSMHelp", L"NoSetFolders", L"NoSetTaskbar", L"NoFind", L"NoRecentDocsMenu",
                                L"StartMenuLogOff"})
        ExpectStored(Dword(HKEY_LOCAL_MACHINE, kMachinePolicy, name, 1));
    ExpectStored(Dword(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\VxD\\BIOS", L"CPUPriority", 1));
    ExpectStored(Dword(HKEY_LOCAL_MACHINE, kMemory, L"SecondLevelDataCache", 0x40));
    ExpectStored(Text(HKEY_LOCAL_MACHINE, kDebugger, L"Auto", L"0"));
    ExpectStored(Text(HKEY_CURRENT_USER, kDesktop, L"HungAppTimeout", L"5000"));
    ExpectStored(Text(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer",
                      L"AlwaysUnloadDLL", L"1"));
}

}  // namespace
}  // namespace quillon
