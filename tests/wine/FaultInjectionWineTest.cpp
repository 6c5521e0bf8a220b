// Faults a real machine can throw at a run, under Wine: each run must complete,
// give the buttons back, keep the selection on screen and lose nothing else.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/Commands.h"
#include "engine/Form.h"
#include "window/OptimiseRun.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "settings/SelectionFile.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/RegistryRead.h"

namespace quillon {
namespace {

struct FaultInjectionWine : ::testing::Test {
    win32::Win32Platform platform;
    test::MemoryForm form;
    RunContext context{form, platform, platform.userName()};
    std::string setupDat = platform.executableFolder() + "\\setup.dat";

    void SetUp() override {
        form.setChk(54, kTicked);
        form.setTxtPath("C:\\Keep Me");
        form.setListSelected(CheckList::Service, 3, true);
    }
    void TearDown() override {
        RemoveDirectoryW(L"c:\\tempreg.reg");
        RemoveDirectoryW(win32::Widen(setupDat).c_str());
        DeleteFileW(win32::Widen(setupDat).c_str());
    }

    // Steps that fail are counted in the status text; a selection that cannot
    // be saved is not a step.
    void runAndCheckCompleted(bool stepsFail = false) {
        const auto before = SelectionLines(form);
        const int failed = RunOptimise(context);
        EXPECT_EQ(failed > 0, stepsFail);
        const std::string failedText = std::to_string(failed) + " steps failed, the first: ";
        EXPECT_EQ(form.label(Label::Wait).substr(0, stepsFail ? failedText.size() : std::string::npos),
                  stepsFail ? failedText : "Optimize complete!");
        for (int b = 0; b < kButtonCount; ++b) EXPECT_TRUE(form.buttonEnabled(static_cast<Button>(b)));
        EXPECT_EQ(SelectionLines(form), before);
    }
};

TEST_F(FaultInjectionWine, ScriptThatCannotBeCreatedSkipsEveryWriteButNotTheRun) {
    DeleteFileW(L"c:\\tempreg.reg");
    ASSERT_TRUE(CreateDirectoryW(L"c:\\tempreg.reg", nullptr));  // the file cannot be created now
    form.showOnly(Page::System);
    runAndCheckCompleted(true);
    EXPECT_EQ(form.progressHistory().back(), kProgressFull);
    EXPECT_NE(GetFileAttributesW(L"c:\\tempreg.reg") & FILE_ATTRIBUTE_DIRECTORY, 0u);  // left as found
}

TEST_F(FaultInjectionWine, UnwritableSelectionFileStillAppliesThePage) {
    ASSERT_TRUE(CreateDirectoryW(win32::Widen(setupDat).c_str(), nullptr));
    form.showOnly(Page::Speed);
    runAndCheckCompleted();
    EXPECT_EQ(form.progressHistory().back(), kProgressFull);
    EXPECT_EQ(GetFileAttributesW(win32::Widen(setupDat + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FaultInjectionWine, LockedSelectionFileKeepsItsOldContents) {
    platform.writeTextFile(setupDat, {"\"old\""});
    win32::UniqueHandle lock(CreateFileW(win32::Widen(setupDat).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    form.showOnly(Page::Speed);
    runAndCheckCompleted();
    lock.reset();
    EXPECT_EQ(platform.readTextFile(setupDat), (std::vector<std::string>{"\"old\""}));
}

TEST_F(FaultInjectionWine, SelectionFileIsWrittenWhenNothingStandsInTheWay) {
    form.showOnly(Page::Speed);
    runAndCheckCompleted();
    EXPECT_EQ(platform.readTextFile(setupDat), SelectionLines(form));
}

// Moves regedit.exe aside for as long as it lives, and always puts it back.
class RegistryEditorAway {
public:
    RegistryEditorAway() {
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        editor_ = std::wstring(windows) + L"\\regedit.exe";
        away_ = editor_ + L".away";
        moved_ = MoveFileW(editor_.c_str(), away_.c_str());
    }
    RegistryEditorAway(const RegistryEditorAway&) = delete;
    RegistryEditorAway& operator=(const RegistryEditorAway&) = delete;
    ~RegistryEditorAway() {
        if (moved_) MoveFileW(away_.c_str(), editor_.c_str());
    }
    bool moved() const { return moved_; }

private:
    std::wstring editor_, away_;
    bool moved_ = false;
};

TEST_F(FaultInjectionWine, MissingRegistryEditorLeavesNoScriptBehind) {
    {
        RegistryEditorAway away;
        ASSERT_TRUE(away.moved());
        form.showOnly(Page::System);
        runAndCheckCompleted(true);
    }
    EXPECT_EQ(form.progressHistory().back(), kProgressFull);
    EXPECT_EQ(GetFileAttributesW(L"c:\\tempreg.reg"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FaultInjectionWine, StartupFileHeldOpenStaysAndTheRestIsRemoved) {
    const std::wstring folder = win32::Widen(win32::Win32Platform().shellFolder(ShellFolder::CommonStartup));
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const std::wstring held = folder + L"\\Held Open.lnk", free = folder + L"\\Free.lnk";
    for (const auto& path : {held, free})
        win32::UniqueHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    win32::UniqueHandle lock(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    form.showOnly(Page::Startup);
    form.addListItem(CheckList::Startup, "Held Open.lnk");
    form.addListItem(CheckList::Startup, "Free.lnk");
    form.setListSelected(CheckList::Startup, 0, true);
    form.setListSelected(CheckList::Startup, 1, true);
    RunOptimise(context);
    EXPECT_EQ(form.label(Label::Wait), "1 step failed: \"Held Open.lnk\".");
    EXPECT_NE(GetFileAttributesW(held.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(free.c_str()), INVALID_FILE_ATTRIBUTES);
    const auto listed = form.listTexts(CheckList::Startup);
    EXPECT_NE(std::find(listed.begin(), listed.end(), "Held Open.lnk"), listed.end());
    lock.reset();
    DeleteFileW(held.c_str());
}

TEST_F(FaultInjectionWine, HangingToolIsEndedAtItsBoundAndTheRunGoesOn) {
    win32::UniqueHandle flag(CreateFileW(L"C:\\standin-hang", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    flag.reset();
    const DWORD start = GetTickCount();
    EXPECT_THROW(RunHiddenCommandAndWait(platform, "sc \\\\. config Spooler start= demand", std::chrono::milliseconds(500)),
                 PlatformError);
    const DWORD waited = GetTickCount() - start;
    DeleteFileW(L"C:\\standin-hang");
    EXPECT_LT(waited, 3000u);
    // A terminated stand-in has released the log: the next tool runs normally.
    RunHiddenCommandAndWait(platform, "sfc /purgecache");
}

}  // namespace
}  // namespace quillon
