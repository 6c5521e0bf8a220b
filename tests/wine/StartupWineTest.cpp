// The startup listing and removal against Wine's real registry, file system
// and reg.exe, with the XP Startup folders created in the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "engine/Phases.h"
#include "engine/RunContext.h"
#include "engine/SecuritySteps.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "startup/StartupList.h"
#include "startup/StartupPhase.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/RegistryRead.h"

namespace quillon::test {
namespace {

using win32::Narrow;
using win32::Widen;
using Names = std::vector<std::string>;

const wchar_t kUserRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kMachineRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

const std::string kLongName = "QuillonLongName" + std::string(200, 'n');

class StartupWine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(context.userName.empty());
        userFolder = platform.shellFolder(ShellFolder::Startup);
        allUsersFolder = platform.shellFolder(ShellFolder::CommonStartup);
        userMenu = userFolder.substr(0, userFolder.rfind("\\Programs\\"));
        makeFolder(userFolder);
        makeFolder(allUsersFolder);
    }

    void TearDown() override {
        for (const auto& [root, name] : values) {
            win32::UniqueKey key;
            if (RegOpenKeyExW(root, root == HKEY_CURRENT_USER ? kUserRun : kMachineRun, 0, KEY_SET_VALUE,
                              key.put()) == ERROR_SUCCESS)
                RegDeleteValueW(key.get(), Widen(name).c_str());
        }
        for (const std::string& file : files) {
            SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(Widen(file).c_str());
        }
        for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
            RemoveDirectoryW(Widen(*folder).c_str());
    }

    // Creates the folder and its missing parents, remembering what it made.
    void makeFolder(const std::string& path) {
        for (std::size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
            const std::string part = path.substr(0, at);
            if (GetFileAttributesW(Widen(part).c_str()) == INVALID_FILE_ATTRIBUTES) {
                ASSERT_TRUE(CreateDirectoryW(Widen(part).c_str(), nullptr)) << part;
                folders.push_back(part);
            }
            if (at == std::string::npos) break;
        }
    }

    void seedValue(HKEY root, const std::string& name, const std::string& data = "C:\\Tools\\quillon-test.exe") {
        win32::UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(root, root == HKEY_CURRENT_USER ? kUserRun : kMachineRun, 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        values.emplace_back(root, name);
        const std::wstring wide = Widen(data);
        ASSERT_EQ(RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    void seedFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        win32::UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             attributes, nullptr));
        ASSERT_TRUE(file) << path;
        files.push_back(path);
    }

    bool hasValue(HKEY root, const std::string& name) {
        return ReadValue(root, root == HKEY_CURRENT_USER ? kUserRun : kMachineRun, Widen(name)).has_value();
    }
    bool hasFile(const std::string& path) {
        return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The list as shown, without entries that were on the machine before the test.
    Names seededListed() const {
        std::set<std::string> seeded;
        for (const auto& value : values) seeded.insert(value.second);
        for (const std::string& file : files) seeded.insert(file.substr(file.rfind('\\') + 1));
        Names out;
        for (const std::string& name : form.listTexts(CheckList::Startup))
            if (seeded.count(name)) out.push_back(name);
        return out;
    }

    void tickFirst(const std::string& name) {
        for (int i = 0; i < form.listCount(CheckList::Startup); ++i)
            if (form.listText(CheckList::Startup, i) == name) return form.setListSelected(CheckList::Startup, i, true);
        ADD_FAILURE() << "not listed: " << name;
    }

    win32::Win32Platform platform;
    MemoryForm form;
    RunContext context{form, platform, platform.userName()};
    std::string userMenu, userFolder, allUsersFolder;
    std::vector<std::string> folders, files;
    std::vector<std::pair<HKEY, std::string>> values;
};

TEST_F(StartupWine, ListsBothRunKeysAndBothFoldersThenRemovesTheTickedEntries) {
    const std::string crafted = "..\\..\\quillon-victim.txt";
    seedValue(HKEY_CURRENT_USER, crafted);
    seedValue(HKEY_CURRENT_USER, "Quillon Blank Name");
    seedValue(HKEY_CURRENT_USER, "QuillonBoth");
    seedValue(HKEY_CURRENT_USER, "QuillonKeep");
    const std::string longCommand = "\"C:\\Program Files\\" + std::string(270, 'x') + "\\agent.exe\" /tray";
    seedValue(HKEY_CURRENT_USER, "QuillonLong", longCommand);
    seedValue(HKEY_CURRENT_USER, kLongName);
    seedValue(HKEY_LOCAL_MACHINE, "QuillonBoth");
    seedValue(HKEY_LOCAL_MACHINE, "QuillonMachineKeep");
    seedFile(userMenu + "\\quillon-victim.txt");
    seedFile(userFolder + "\\Quillon App.lnk");
    seedFile(userFolder + "\\Quillon Notes.txt");
    seedFile(userFolder + "\\desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    seedFile(allUsersFolder + "\\Quillon Keep.lnk");
    seedFile(allUsersFolder + "\\Quillon Shared.lnk");
    seedFile(allUsersFolder + "\\desktop.ini", FILE_ATTRIBUTE_HIDDEN);
    ASSERT_FALSE(HasFatalFailure());

    form.showOnly(Page::Startup);
    ListStartupItems(context);
    EXPECT_EQ(seededListed(), (Names{crafted, "Quillon Blank Name", "QuillonBoth", "QuillonKeep", "QuillonLong",
                                     kLongName, "QuillonBoth", "QuillonMachineKeep", "Quillon App.lnk",
                                     "Quillon Notes.txt", "Quillon Keep.lnk", "Quillon Shared.lnk"}));

    for (const std::string& name :
         {crafted, std::string("Quillon Blank Name"), std::string("QuillonBoth"), std::string("QuillonLong"),
          std::string("Quillon App.lnk"), std::string("Quillon Shared.lnk")})
        tickFirst(name);
    const auto start = std::chrono::steady_clock::now();
    RunStartupPhase(context);
    const auto took = std::chrono::steady_clock::now() - start;
    std::printf("Startup phase took %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));

    EXPECT_EQ(seededListed(), (Names{"QuillonKeep", kLongName, "QuillonMachineKeep", "Quillon Notes.txt",
                                     "Quillon Keep.lnk"}));
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i) EXPECT_FALSE(form.listSelected(CheckList::Startup, i));

    EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, crafted));
    EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, "Quillon Blank Name"));
    EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, "QuillonBoth"));
    EXPECT_FALSE(hasValue(HKEY_LOCAL_MACHINE, "QuillonBoth"));
    EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, "QuillonLong"));
    EXPECT_TRUE(hasValue(HKEY_CURRENT_USER, "QuillonKeep"));
    EXPECT_TRUE(hasValue(HKEY_CURRENT_USER, kLongName));
    EXPECT_TRUE(hasValue(HKEY_LOCAL_MACHINE, "QuillonMachineKeep"));

    EXPECT_TRUE(hasFile(userMenu + "\\quillon-victim.txt"));
    EXPECT_FALSE(hasFile(userFolder + "\\Quillon App.lnk"));
    EXPECT_TRUE(hasFile(userFolder + "\\Quillon Notes.txt"));
    EXPECT_TRUE(hasFile(userFolder + "\\desktop.ini"));
    EXPECT_TRUE(hasFile(allUsersFolder + "\\Quillon Keep.lnk"));
    EXPECT_FALSE(hasFile(allUsersFolder + "\\Quillon Shared.lnk"));
    EXPECT_TRUE(hasFile(allUsersFolder + "\\desktop.ini"));
}

TEST_F(StartupWine, FileStepsActOnlyOnTheFileWhoseLongNameWasTicked) {
    const std::string longFile = allUsersFolder + "\\Quillon Longfilename program.lnk";
    seedFile(longFile);
    seedFile(userFolder + "\\QuillonFoo");
    seedFile(allUsersFolder + "\\QuillonFoo");
    seedFile(userFolder + "\\Update..Helper.lnk");
    ASSERT_FALSE(HasFatalFailure());
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(Widen(longFile).c_str(), shortPath, MAX_PATH), 0u);
    const std::string shortName = Narrow(shortPath).substr(Narrow(shortPath).rfind('\\') + 1);
    ASSERT_NE(shortName, "Quillon Longfilename program.lnk");
    // Run values named as Windows' path rules would bend them onto the files above.
    for (const std::string& name : {shortName, std::string("QuillonFoo."), std::string("QuillonFoo ")})
        seedValue(HKEY_CURRENT_USER, name);
    ASSERT_FALSE(HasFatalFailure());

    form.showOnly(Page::Startup);
    ListStartupItems(context);
    for (const std::string& name : {shortName, std::string("QuillonFoo."), std::string("QuillonFoo "),
                                    std::string("Update..Helper.lnk")})
        tickFirst(name);
    RunStartupPhase(context);

    EXPECT_TRUE(hasFile(longFile)) << shortName;
    EXPECT_TRUE(hasFile(userFolder + "\\QuillonFoo"));
    EXPECT_TRUE(hasFile(allUsersFolder + "\\QuillonFoo"));
    EXPECT_FALSE(hasFile(userFolder + "\\Update..Helper.lnk"));
    EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, shortName));
    EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, "QuillonFoo."));
}

// The longest time between two turns of the event pump, seen by a 10 ms timer.
DWORD gLastTick = 0, gLongestGap = 0;
void CALLBACK NoteTick(HWND, UINT, UINT_PTR, DWORD) {
    const DWORD now = GetTickCount();
    gLongestGap = std::max(gLongestGap, now - gLastTick);
    gLastTick = now;
}

TEST_F(StartupWine, ManyTickedEntriesKeepTheWindowAnswering) {
    for (int i = 0; i < 60; ++i) seedValue(HKEY_CURRENT_USER, "QuillonMany " + std::to_string(i));
    ASSERT_FALSE(HasFatalFailure());
    form.showOnly(Page::Startup);
    ListStartupItems(context);
    for (int i = 0; i < 60; ++i) tickFirst("QuillonMany " + std::to_string(i));

    gLastTick = GetTickCount();
    gLongestGap = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, NoteTick);
    RunStartupPhase(context);
    KillTimer(nullptr, timer);
    std::printf("Longest gap between events with 60 removals: %lu ms\n", gLongestGap);

    EXPECT_LT(gLongestGap, 500u);
    for (int i = 0; i < 60; ++i) EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, "QuillonMany " + std::to_string(i))) << i;
}

// A Windows whose shell folders are not the English ones on drive C: the
// Startup folders and the common Start menu moved in the registry, as a
// Chinese XP or a Windows on D: has them.
class StartupWineElsewhere : public StartupWine {
protected:
    static constexpr const wchar_t* kShellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    void SetUp() override {
        const std::string root = "C:\\Quillon shell \xe5\xbc\x80\xe5\xa7\x8b";
        move(HKEY_CURRENT_USER, L"Startup", root + "\\Mine");
        move(HKEY_LOCAL_MACHINE, L"Common Startup", root + "\\Ours");
        move(HKEY_LOCAL_MACHINE, L"Common Start Menu", root + "\\Menu");
        StartupWine::SetUp();
    }
    void TearDown() override {
        StartupWine::TearDown();
        for (const Moved& m : moved_) {
            win32::UniqueKey key;
            if (RegOpenKeyExW(m.root, kShellFolders, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) continue;
            if (m.before)
                RegSetValueExW(key.get(), m.name.c_str(), 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(m.before->c_str()),
                               static_cast<DWORD>((m.before->size() + 1) * sizeof(wchar_t)));
            else
                RegDeleteValueW(key.get(), m.name.c_str());
        }
    }
    void move(HKEY root, const std::wstring& name, const std::string& path) {
        makeFolder(path);
        const std::optional<StoredValue> before = ReadValue(root, kShellFolders, name);
        moved_.push_back({root, name, before ? std::optional<std::wstring>(before->text) : std::nullopt});
        win32::UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(root, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        const std::wstring wide = Widen(path);
        ASSERT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    struct Moved {
        HKEY root;
        std::wstring name;
        std::optional<std::wstring> before;
    };
    std::vector<Moved> moved_;
};

TEST_F(StartupWineElsewhere, ListsAndRemovesTheEntriesWhereTheShellKeepsThem) {
    ASSERT_NE(userFolder.find("Quillon shell"), std::string::npos) << userFolder;
    ASSERT_NE(allUsersFolder.find("Quillon shell"), std::string::npos) << allUsersFolder;
    seedFile(userFolder + "\\Quillon Mine.lnk");
    seedFile(allUsersFolder + "\\Quillon Ours.lnk");
    ListStartupItems(context);
    EXPECT_EQ(seededListed(), (Names{"Quillon Mine.lnk", "Quillon Ours.lnk"}));
    tickFirst("Quillon Mine.lnk");
    tickFirst("Quillon Ours.lnk");
    RunStartupPhase(context);
    EXPECT_FALSE(hasFile(userFolder + "\\Quillon Mine.lnk"));
    EXPECT_FALSE(hasFile(allUsersFolder + "\\Quillon Ours.lnk"));

    // Box 32 takes the Windows Update shortcut from the common Start menu there.
    const std::string menu = platform.shellFolder(ShellFolder::CommonStartMenu);
    ASSERT_NE(menu.find("Quillon shell"), std::string::npos) << menu;
    seedFile(menu + "\\Windows Update.lnk");
    form.setChk(32, kTicked);
    ApplyStartMenuShortcuts(context);
    EXPECT_FALSE(hasFile(menu + "\\Windows Update.lnk"));
}

}  // namespace
}  // namespace quillon::test
