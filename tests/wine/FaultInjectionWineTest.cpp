// Faults a real machine can throw at a run, under Wine: each run must complete,
// give the buttons back, keep the selection on screen and lose nothing else.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/Form.h"
#include "engine/OptimiseRun.h"
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

    void runAndCheckCompleted() {
        const auto before = SelectionLines(form);
        RunOptimise(context);
        EXPECT_EQ(form.label(Label::Wait), "Optimize complete!");
        for (int b = 0; b < kButtonCount; ++b) EXPECT_TRUE(form.buttonEnabled(static_cast<Button>(b)));
        EXPECT_EQ(SelectionLines(form), before);
    }
};

TEST_F(FaultInjectionWine, ScriptThatCannotBeCreatedSkipsEveryWriteButNotTheRun) {
    ASSERT_TRUE(CreateDirectoryW(L"c:\\tempreg.reg", nullptr));  // the file cannot be created now
    form.showOnly(Page::System);
    runAndCheckCompleted();
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

}  // namespace
}  // namespace quillon
