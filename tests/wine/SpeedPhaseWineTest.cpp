// The Speed phase against Wine's drive C (where the Windows folder is
// C:\windows): exactly the archive and the empty folders go, nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/Phases.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/StandinCommands.h"

namespace quillon {
namespace {

const std::wstring kWindows = L"C:\\windows";
const std::wstring kDriverCache = kWindows + L"\\driver cache";
const std::wstring kIme = kWindows + L"\\Ime";

bool IsDirectory(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Every path below the folder, in lower case so the comparison ignores case.
void ListTree(const std::wstring& folder, std::set<std::wstring>& paths) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = folder + L"\\" + name;
        std::transform(path.begin(), path.end(), path.begin(), towlower);
        paths.insert(path);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListTree(folder + L"\\" + name, paths);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::vector<std::wstring> Removed(const std::set<std::wstring>& before, const std::set<std::wstring>& after) {
    std::vector<std::wstring> removed;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(removed));
    return removed;
}

std::wstring Lowered(std::wstring path) {
    std::transform(path.begin(), path.end(), path.begin(), towlower);
    return path;
}

// Folders and files made for the test, taken away again in reverse order; the
// folders Wine had (temp, help) are left as they were found.
class SpeedPhaseWine : public testing::Test {
protected:
    void makeFolder(const std::wstring& path) {
        if (IsDirectory(path)) return;
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << win32::Narrow(path);
        made_.push_back({path, true});
    }
    void makeFile(const std::wstring& path, const std::string& content) {
        win32::UniqueHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << win32::Narrow(path);
        DWORD written = 0;
        WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        made_.push_back({path, false});
    }
    void TearDown() override {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            it->second ? RemoveDirectoryW(it->first.c_str()) : DeleteFileW(it->first.c_str());
        for (const std::wstring& folder : {kWindows + L"\\temp", kWindows + L"\\help"})
            if (hadFolder_.count(folder)) CreateDirectoryW(folder.c_str(), nullptr);
    }
    void remember(const std::wstring& folder) {
        if (IsDirectory(folder)) hadFolder_.insert(folder);
    }

    win32::Win32Platform platform;
    test::MemoryForm form;

private:
    std::vector<std::pair<std::wstring, bool>> made_;  // path, is a folder
    std::set<std::wstring> hadFolder_;
};

TEST_F(SpeedPhaseWine, EverythingTickedRemovesExactlyTheArchiveAndTheEmptyFolders) {
    remember(kWindows + L"\\temp");
    remember(kWindows + L"\\help");
    makeFolder(kDriverCache);
    makeFolder(kDriverCache + L"\\i386");
    makeFile(kDriverCache + L"\\i386\\Driver.cab", "archive");
    makeFile(kDriverCache + L"\\i386\\sp3.cab", "service pack");
    makeFolder(kWindows + L"\\temp");
    makeFile(kWindows + L"\\temp\\setup.log", "in use");
    makeFolder(kWindows + L"\\temp\\sub");
    makeFile(kWindows + L"\\temp\\sub\\inner.txt", "inner");
    makeFolder(kWindows + L"\\help");
    makeFolder(kIme);
    makeFolder(kIme + L"\\chtime");
    makeFile(kIme + L"\\chtime\\chtime.ime", "ime");
    makeFolder(kIme + L"\\imjp8_1");
    makeFolder(kIme + L"\\imkr6_1");
    ASSERT_FALSE(HasFatalFailure());
    std::set<std::wstring> before;
    ListTree(kWindows, before);
    const std::wstring helpContent = Lowered(kWindows + L"\\help\\");
    ASSERT_TRUE(std::none_of(before.begin(), before.end(),
                             [&](const std::wstring& p) { return p.starts_with(helpContent); }))
        << "Wine's help folder is expected empty";

    test::ClearStandinCommands();
    for (int box : {41, 42, 45, 46, 52}) form.setChk(box, kTicked);
    form.showOnly(Page::Speed);
    RunContext context{form, platform, "Tester"};
    RunSpeedPhase(context);

    std::set<std::wstring> after;
    ListTree(kWindows, after);
    EXPECT_EQ(Removed(before, after),
              (std::vector<std::wstring>{Lowered(kDriverCache + L"\\i386\\Driver.cab"), Lowered(kWindows + L"\\help"),
                                         Lowered(kIme + L"\\imjp8_1"), Lowered(kIme + L"\\imkr6_1")}));
    EXPECT_TRUE(Removed(after, before).empty()) << "something was added";
    EXPECT_TRUE(IsDirectory(kWindows + L"\\temp\\sub"));
    EXPECT_TRUE(test::WaitForStandinCommand("sfc /purgecache", 20000));
    EXPECT_EQ(form.progressHistory(), (std::vector<int>{5000, 9000, 10905}));
}

TEST_F(SpeedPhaseWine, NothingTickedLeavesEveryTargetInPlace) {
    remember(kWindows + L"\\help");
    makeFolder(kWindows + L"\\help");
    makeFolder(kIme);
    makeFolder(kIme + L"\\imkr6_1");
    std::set<std::wstring> before;
    ListTree(kWindows, before);

    test::ClearStandinCommands();
    form.showOnly(Page::Speed);
    RunContext context{form, platform, "Tester"};
    RunSpeedPhase(context);

    std::set<std::wstring> after;
    ListTree(kWindows, after);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(test::StandinCommands().empty());
}

}  // namespace
}  // namespace quillon
