// The undo record against Wine's real regedit, reg and registry: a machine
// with awkward prior state, everything ticked on every page, then restored;
// also after a run ended from outside half-way, and by undo.reg alone.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "window/OptimiseRun.h"
#include "engine/ServiceCatalogue.h"
#include "engine/SystemSteps.h"
#include "record/Journal.h"
#include "record/RecordStore.h"
#include "tests/support/UndoRecords.h"
#include "planning/Plan.h"
#include "restore/Restore.h"
#include "platform/CommandLine.h"
#include "platform/RegistryPath.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "startup/StartupList.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/RegistryRead.h"
#include "tests/wine/RegistryTree.h"
#include "tests/wine/StandinCommands.h"

namespace quillon {
namespace {

using win32::Widen;

const std::string kSafeBoot = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\SafeBoot";
std::wstring Folder(ShellFolder which) { return Widen(win32::Win32Platform().shellFolder(which)); }
const std::wstring kCommonStartup = Folder(ShellFolder::CommonStartup);
const std::wstring kCommonStartMenu = Folder(ShellFolder::CommonStartMenu);
const std::wstring kIme = Folder(ShellFolder::Windows) + L"\\Ime\\chtime";

std::pair<HKEY, std::wstring> Split(const std::string& key) {
    const std::string n = NormalisedKey(key);
    return {KeyRoot(n) == "HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, Widen(KeyBelowRoot(n))};
}

void Set(const std::string& key, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
    const auto [root, sub] = Split(key);
    win32::UniqueKey handle;
    ASSERT_EQ(RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
}

std::vector<BYTE> Wide(const std::wstring& text, bool multi = false) {
    std::wstring with = text + L'\0' + (multi ? std::wstring(1, L'\0') : std::wstring());
    const BYTE* b = reinterpret_cast<const BYTE*>(with.data());
    return std::vector<BYTE>(b, b + with.size() * sizeof(wchar_t));
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void MakeFolders(const std::wstring& path) {
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

// Names and bytes of everything in a folder, its subfolders included; "<none>" when it is missing.
void Snapshot(const std::wstring& folder, std::vector<std::string>& out) {
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return out.push_back(win32::Narrow(folder) + " <none>");
    out.push_back(win32::Narrow(folder) + "\\");
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    win32::Win32Platform platform;
    for (const std::wstring& name : names) {
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) Snapshot(path, out);
        else out.push_back(win32::Narrow(path) + "=" + platform.readFileBytes(win32::Narrow(path)));
    }
}

void RemoveFolderTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolderTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void EndProcessesNamed(const wchar_t* exe) {
    win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, exe) != 0) continue;
        win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 5000);
        }
    }
}

bool ProcessNamedRuns(const wchar_t* exe) {
    win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szExeFile, exe) == 0) return true;
    return false;
}

// Waits (bounded) until no process of that name is left.
bool NoProcessNamed(const wchar_t* exe, DWORD boundMilliseconds) {
    for (const DWORD start = GetTickCount(); ProcessNamedRuns(exe); Sleep(50))
        if (GetTickCount() - start > boundMilliseconds) return false;
    return true;
}

// Everything ticked, every list entry and startup entry chosen.
void SelectEverything(test::MemoryForm& form, Platform& platform) {
    RunContext context{form, platform, platform.userName()};
    ListStartupItems(context);
    for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, kTicked);
    for (CheckList list : {CheckList::Hide, CheckList::Not, CheckList::Service, CheckList::Startup})
        for (int i = 0; i < form.listCount(list); ++i) form.setListSelected(list, i, true);
    form.setTxtPath("C:\\Downloads \xe6\x97\xa5");
}

class UndoRecordWine : public testing::Test {
protected:
    void SetUp() override {
        userStartup_ = Folder(ShellFolder::Startup);
        Furnish();
        test::MemoryForm form;
        SelectEverything(form, platform_);
        // The trees to compare: every key the plan of the whole run touches.
        for (const PlannedEffect& p : PlanRun(form, platform_, platform_.userName(), RunOrder())) {
            const Effect& e = p.effect;
            if (e.kind == EffectKind::ServiceStart) keys_.insert(ServiceKey(e.target));
            else if (e.kind == EffectKind::CopyKey) keys_.insert(e.destination), keys_.insert(e.target);
            else if (e.kind <= EffectKind::DeleteKey) keys_.insert(e.target);
        }
        keys_.insert(kSafeBoot);
        saved_ = Trees();
        files_ = Files();
    }

    void TearDown() override {
        for (const auto& [key, tree] : saved_) {
            const auto [root, sub] = Split(key);
            test::DeleteTree(root, sub);
            if (tree) test::WriteTree(root, sub, *tree);
        }
        for (const std::string& key : createdServices_) test::DeleteTree(HKEY_LOCAL_MACHINE, Widen(KeyBelowRoot(key)));
        for (const std::wstring& folder : {userStartup_, kCommonStartup}) {
            DeleteFileW((folder + L"\\Quillon test \x65e5.lnk").c_str());
            DeleteFileW((folder + L"\\Quillon test \x65e5 (restored).lnk").c_str());
        }
        for (const wchar_t* name : {L"Windows Catalog.lnk", L"Windows Update.lnk", L"Quillon \x03a9.lnk"})
            DeleteFileW((kCommonStartMenu + L"\\" + name).c_str());
        RemoveDirectoryW(kIme.c_str());
        DeleteFileW(Widen(platform_.executableFolder() + "\\setup.dat").c_str());
        RemoveFolderTree(Widen(DefaultUndoRoot(platform_)));
        DeleteFileW(L"C:\\standin-hang");
    }

    void Furnish() {
        const std::string desktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
        Set(desktop, L"HungAppTimeout", REG_SZ, Wide(L"\x03a9mega \x65e5\x672c"));
        Set(desktop, L"AutoEndTasks", REG_EXPAND_SZ, Wide(L"%SystemRoot%\\x"));
        Set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore", L"DisableSR",
            REG_MULTI_SZ, Wide(std::wstring(L"one") + L'\0' + L"\x00e9t\x00e9", true));
        Set("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot", REG_BINARY,
            {1, 0, 0xff, 0x7f});
        Set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", L"Auto", REG_NONE, {});
        test::DeleteTree(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate");
        for (const char* tree : {"\\Minimal", "\\Network"}) {
            Set(kSafeBoot + tree + "\\{4D36E965-E325-11CE-BFC1-08002BE10318}", L"", REG_SZ, Wide(L"CD-ROM Drive"));
            Set(kSafeBoot + tree + "\\sermouse.sys", L"", REG_SZ, Wide(L"Driver"));
            Set(kSafeBoot + tree + "\\Deep\\Er", L"x", REG_MULTI_SZ, Wide(L"a", true));
        }
        test::DeleteTree(HKEY_LOCAL_MACHINE, Widen(KeyBelowRoot(kSafeBoot + "\\Minimal1")));
        test::DeleteTree(HKEY_LOCAL_MACHINE, Widen(KeyBelowRoot(kSafeBoot + "\\Network1")));
        Set("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quillon test \x65e5", REG_SZ,
            Wide(L"c:\\x.exe"));
        Set("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quillon machine", REG_EXPAND_SZ,
            Wide(L"%windir%\\y.exe"));
        std::vector<std::string> services;
        for (const ServiceEntry& s : kServices) services.emplace_back(s.serviceName);
        for (const char* s : {"RDSessMgr", "ERSvc", "wuauserv"}) services.emplace_back(s);
        for (const std::string& s : services) {
            const std::string key = ServiceKey(s);
            if (!platform_.registryKeyExists(key)) createdServices_.push_back(key);
            Set(key, L"Start", REG_DWORD, {3, 0, 0, 0});
        }
        for (const std::wstring& folder : {userStartup_, kCommonStartup}) {
            MakeFolders(folder);
            WriteFileBytes(folder + L"\\Quillon test \x65e5.lnk", "startup shortcut");
        }
        const std::wstring startMenu = kCommonStartMenu;
        MakeFolders(startMenu);
        for (const wchar_t* name : {L"Windows Catalog.lnk", L"Windows Update.lnk", L"Quillon \x03a9.lnk"})
            WriteFileBytes(startMenu + L"\\" + name, "shortcut " + win32::Narrow(name));
        MakeFolders(kIme);
    }

    std::map<std::string, std::optional<test::RegistryTree>> Trees() {
        std::map<std::string, std::optional<test::RegistryTree>> trees;
        for (const std::string& key : keys_) {
            const auto [root, sub] = Split(key);
            trees[key] = test::ReadTree(root, sub);
        }
        return trees;
    }
    std::vector<std::string> Files() {
        std::vector<std::string> out;
        for (const std::wstring& folder : {userStartup_, kCommonStartup, kCommonStartMenu, kIme})
            Snapshot(folder, out);
        return out;
    }
    void ExpectRegistryAsBefore() {
        const auto now = Trees();
        for (const auto& [key, tree] : saved_) EXPECT_EQ(now.at(key), tree) << key;
    }
    void ExpectAsBefore() {
        ExpectRegistryAsBefore();
        EXPECT_EQ(Files(), files_);
    }

    void RunEverything(test::JournalStack& run) {
        test::MemoryForm form;
        SelectEverything(form, run.journal);
        run.stack.run(form, platform_.userName(), [&](RunContext& context) {
            for (Page page : RunOrder()) {
                form.showOnly(page);
                RunOptimise(context);
            }
        });
    }

    win32::Win32Platform platform_;
    std::wstring userStartup_;
    std::set<std::string> keys_;
    std::map<std::string, std::optional<test::RegistryTree>> saved_;
    std::vector<std::string> createdServices_;
    std::vector<std::string> files_;
};

TEST_F(UndoRecordWine, EverythingTickedOnEveryPageIsRestoredByUndoRegAloneThenByTheWholeRecord) {
    test::JournalStack run(platform_);
    JournalPlatform& journal = run.journal;
    RunEverything(run);
    ASSERT_TRUE(journal.recording());
    ASSERT_NE(Trees(), saved_);
    ASSERT_NE(Files(), files_);

    // Double-clicking undo.reg: the registry part comes back with regedit alone.
    auto import = platform_.startHidden("regedit /s " + QuoteArgument(journal.folder() + "\\undo.reg"));
    ASSERT_TRUE(import->waitPumping(std::chrono::seconds(60)));
    ExpectRegistryAsBefore();

    const RestoreReport report = RestoreRecord(platform_, journal.folder());
    EXPECT_EQ(report.failed, 0);
    ExpectAsBefore();
    RestoreRecord(platform_, journal.folder());
    ExpectAsBefore();  // twice is as once
}

TEST_F(UndoRecordWine, ARunEndedFromOutsideHalfWayIsRestoredForEverythingItDid) {
    test::ClearStandinCommands();
    win32::UniqueHandle flag(CreateFileW(L"C:\\standin-hang", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    flag.reset();
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_also_run_disabled_tests --gtest_filter=UndoRecordWineChild.DISABLED_RunEverything";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &child));
    win32::UniqueHandle process(child.hProcess), thread(child.hThread);
    // The System page's first service command hangs: the run is half-way through that page.
    const bool reached = test::WaitForStandinCommand("sc \\\\. config RDSessMgr start= disabled", 120000);
    TerminateProcess(process.get(), 9);
    WaitForSingleObject(process.get(), 10000);
    // The tool the run had started ends with it: it can never change anything after the run.
    const bool toolEnded = NoProcessNamed(L"sc.exe", 20000);
    DeleteFileW(L"C:\\standin-hang");
    EndProcessesNamed(L"sc.exe");
    ASSERT_TRUE(reached);
    EXPECT_TRUE(toolEnded);
    ASSERT_NE(Trees(), saved_);

    const auto records = test::UndoRecords(platform_);
    ASSERT_FALSE(records.empty());
    RestoreRecord(platform_, records.front());
    ExpectAsBefore();
}

TEST_F(UndoRecordWine, RestoreKeepsWhatChangedSinceTheRunAndASecondRestoreChangesNothing) {
    test::JournalStack run(platform_);
    RunEverything(run);
    const std::string folder = run.journal.finish();
    ASSERT_FALSE(folder.empty());
    const std::string update = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate";
    const std::string crash = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl";
    ASSERT_TRUE(platform_.registryKeyExists(update));
    Set(update, L"Other", REG_SZ, Wide(L"since"));
    Set(crash, L"AutoReboot", REG_DWORD, {7, 0, 0, 0});

    const RestoreReport report = RestoreRecord(platform_, folder);
    EXPECT_EQ(report.failed, 0);
    std::set<std::string> kept;
    for (const KeptTarget& k : report.kept) kept.insert(k.target);
    EXPECT_EQ(kept, (std::set<std::string>{crash + "\\AutoReboot", update}));
    EXPECT_EQ(platform_.registryValue(crash, "AutoReboot"), DwordValue(7));
    const auto left = platform_.registryValues(update);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].name, "Other");

    // Nothing changed since the first restore: the second changes nothing.
    const RestoreReport again = RestoreRecord(platform_, folder);
    EXPECT_EQ(again.restored, 0);
    EXPECT_EQ(again.failed, 0);
    EXPECT_EQ(again.undoFolder, "");

    // What was put there since gone, a restore takes back the rest: the keys the run made go too.
    test::DeleteTree(HKEY_CURRENT_USER, Widen(KeyBelowRoot(update)));
    Set(crash, L"AutoReboot", REG_BINARY, {1, 0, 0xff, 0x7f});
    EXPECT_EQ(RestoreRecord(platform_, folder).failed, 0);
    ExpectAsBefore();
}

TEST_F(UndoRecordWine, RegeditImportsUndoRegExactlyWithHostileNamesAndTextHoldingNul) {
    const std::string tray = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify\\";
    const std::string crash = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl";
    // A planted name that would start a section of its own, in the tree one step deletes ...
    Set(tray + "IconStreams\\x\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillonPlanted]\r\n\"Evil\"=\"1\"", L"v", REG_SZ, Wide(L"1"));
    // ... and names the script carries, quoted, in the tree another deletes.
    Set(tray + "PastIconsStream\\a \"quoted\" ;=@ name", L"b\"c\\d", REG_SZ, Wide(std::wstring(L"20000\0x", 7)));
    const std::wstring nul(L"20000\0x", 7);
    Set(crash, L"AutoReboot", REG_SZ, Wide(nul));
    const auto priorStreams = test::ReadTree(HKEY_CURRENT_USER, Widen(KeyBelowRoot(NormalisedKey(tray + "PastIconsStream"))));

    test::MemoryForm form;
    for (int box : {53, 54}) form.setChk(box, kTicked);
    form.showOnly(Page::System);
    test::JournalStack run(platform_);
    JournalPlatform& journal = run.journal;
    run.stack.run(form, platform_.userName(), [](RunContext& context) { RunOptimise(context); });
    ASSERT_TRUE(journal.recording());
    EXPECT_TRUE(platform_.registryKeyExists(tray + "IconStreams"));  // refused, nothing deleted
    EXPECT_FALSE(platform_.registryKeyExists(tray + "PastIconsStream"));

    auto import = platform_.startHidden("regedit /s " + QuoteArgument(journal.folder() + "\\undo.reg"));
    ASSERT_TRUE(import->waitPumping(std::chrono::seconds(60)));
    EXPECT_FALSE(platform_.registryKeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\QuillonPlanted"));
    test::DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\QuillonPlanted");
    EXPECT_EQ(test::ReadTree(HKEY_CURRENT_USER, Widen(KeyBelowRoot(NormalisedKey(tray + "PastIconsStream")))), priorStreams);
    const auto reboot = platform_.registryValue(crash, "AutoReboot");
    ASSERT_TRUE(reboot);
    const std::vector<BYTE> expected = Wide(nul);
    EXPECT_EQ(reboot->bytes, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(reboot->type, static_cast<std::uint32_t>(REG_SZ));
}

TEST_F(UndoRecordWine, EveryFileStepActsOnTheExactLongName) {
    const std::wstring plain = userStartup_ + L"\\Quillon foo", dotted = plain + L".";
    WriteFileBytes(plain, "plain foo");
    WriteFileBytes(L"\\\\?\\" + dotted, "dotted foo");
    test::MemoryForm form;
    RunContext listing{form, platform_, platform_.userName()};
    ListStartupItems(listing);
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i)
        form.setListSelected(CheckList::Startup, i, form.listText(CheckList::Startup, i) == "Quillon foo.");
    form.showOnly(Page::Startup);
    test::JournalStack run(platform_);
    run.stack.run(form, platform_.userName(), [](RunContext& context) { RunOptimise(context); });
    const std::string folder = run.journal.finish();
    EXPECT_FALSE(platform_.anyFileExists(win32::Narrow(dotted)));
    EXPECT_EQ(platform_.readFileBytes(win32::Narrow(plain)), "plain foo");

    RestoreRecord(platform_, folder);
    EXPECT_EQ(platform_.readFileBytes(win32::Narrow(dotted)), "dotted foo");
    EXPECT_EQ(platform_.readFileBytes(win32::Narrow(plain)), "plain foo");
    DeleteFileW(plain.c_str());
    DeleteFileW((L"\\\\?\\" + dotted).c_str());
}

// Started by the test above as a process of its own, and ended from outside.
TEST(UndoRecordWineChild, DISABLED_RunEverything) {
    win32::Win32Platform platform;
    test::JournalStack run(platform);
    test::MemoryForm form;
    SelectEverything(form, run.journal);
    run.stack.run(form, platform.userName(), [&](RunContext& context) {
        for (Page page : {Page::Startup, Page::System, Page::Security}) {
            form.showOnly(page);
            RunOptimise(context);
        }
    });
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The same values as the unit property test, through Wine's real regedit.
TEST_F(UndoRecordWine, EveryValueTypeRoundTripsThroughTheRecordAndRegeditAndARestoreNeverLeavesOneWorse) {
    const std::string crash = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl";
    struct Case {
        DWORD type;
        std::vector<BYTE> bytes;
        bool carried;  // whether a registration script can carry it exactly
    };
    const std::vector<Case> cases{
        {REG_SZ, Wide(std::wstring(L"20000\0x", 7)), true},
        {REG_SZ, Wide(L"two\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Planted]"), true},
        {REG_EXPAND_SZ, Wide(L"%SystemRoot%\\x"), true},
        {REG_EXPAND_SZ, Wide(std::wstring(L"%a%\0\x1b", 5)), true},
        {REG_MULTI_SZ, Wide(std::wstring(L"one\0\0t\x00e9\tst", 11), true), true},
        {REG_SZ, {0x41, 0x00, 0x42}, false},  // no terminating zero, odd length: regedit ends it its own way
        {REG_DWORD, {1, 2, 3}, true},
        {REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}, true},
        {REG_NONE, {}, true},
        {0x12345, {0xff}, true},
        {REG_BINARY, std::vector<BYTE>(200, 0xab), true},
    };
    for (const Case& c : cases) {
        Set(crash, L"AutoReboot", c.type, c.bytes);
        const auto prior = platform_.registryValue(crash, "AutoReboot");
        ASSERT_TRUE(prior);
        SCOPED_TRACE(DescribeValue(*prior));
        test::JournalStack run(platform_);
        test::MemoryForm form;
        form.setChk(54, kTicked);
        form.showOnly(Page::System);
        run.stack.run(form, platform_.userName(), [](RunContext& context) { RunOptimise(context); });
        const std::string folder = run.journal.finish();
        ASSERT_FALSE(folder.empty());
        const auto written = platform_.registryValue(crash, "AutoReboot");
        ASSERT_NE(written, prior);

        const RestoreReport report = RestoreRecord(platform_, folder);
        const auto now = platform_.registryValue(crash, "AutoReboot");
        if (c.carried) {
            EXPECT_EQ(now, prior);
            EXPECT_EQ(report.failed, 0);
        } else {
            EXPECT_TRUE(now == prior || now == written) << (now ? DescribeValue(*now) : "absent");
        }
    }
}

}  // namespace
}  // namespace quillon
