#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Phases.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

constexpr int kSpeedBoxes[] = {41, 42, 45, 46, 52};
const std::string kDriverCache = "C:\\WINDOWS\\Driver Cache\\i386";
const std::string kIme = "C:\\WINDOWS\\IME";

class SpeedPhase : public testing::Test {
protected:
    SpeedPhase() { form.showOnly(Page::Speed); }

    // Every target present: the archive beside another driver file, a temp
    // folder holding files, an empty help folder, and one IME folder in use.
    void furnishEverything() {
        auto& files = machine.files();
        files.addFile(kDriverCache + "\\driver.cab", "cab");
        files.addFile(kDriverCache + "\\sp2.cab", "keep");
        files.addFile("C:\\WINDOWS\\Temp\\setup.log", "log");
        files.addDirectory("C:\\WINDOWS\\Temp\\Sub");
        files.addDirectory("C:\\WINDOWS\\Help");
        files.addFile(kIme + "\\CHTIME\\chtime.dll", "ime");
        files.addDirectory(kIme + "\\imjp8_1");
        files.addDirectory(kIme + "\\imkr6_1");
    }
    void tickAll() {
        for (int box : kSpeedBoxes) form.setChk(box, kTicked);
    }
    void run() {
        RunContext context{form, machine, "Tester"};
        RunSpeedPhase(context);
    }
    std::vector<std::string> paths() {
        auto all = machine.files().allPaths();
        std::sort(all.begin(), all.end());
        return all;
    }
    std::vector<std::string> removedSince(const std::vector<std::string>& before) {
        const auto after = paths();
        std::vector<std::string> removed;
        std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(removed));
        return removed;
    }

    sim::SimWindows machine;
    test::MemoryForm form;
};

TEST_F(SpeedPhase, NothingTickedChangesNothingYetMovesTheBar) {
    furnishEverything();
    const auto before = paths();
    form.setChk(52, kGreyed);  // greyed is not ticked
    run();
    EXPECT_EQ(paths(), before);
    EXPECT_TRUE(machine.commands().empty());
}

TEST_F(SpeedPhase, EverythingTickedRemovesOnlyTheArchiveAndEmptyFolders) {
    furnishEverything();
    const auto before = paths();
    tickAll();
    run();
    EXPECT_EQ(removedSince(before), (std::vector<std::string>{kDriverCache + "\\driver.cab", "C:\\WINDOWS\\Help",
                                                              kIme + "\\imjp8_1", kIme + "\\imkr6_1"}));
    EXPECT_EQ(paths().size(), before.size() - 4);  // nothing added either
    EXPECT_EQ(machine.files().content("C:\\WINDOWS\\Temp\\setup.log"), "log");
    EXPECT_EQ(machine.files().content(kIme + "\\CHTIME\\chtime.dll"), "ime");
    EXPECT_EQ(machine.commands(), (std::vector<std::string>{"sfc /purgecache"}));
}

TEST_F(SpeedPhase, TempFolderHoldingFilesStaysWithItsFiles) {
    machine.files().addFile("C:\\Windows\\temp\\a.tmp", "a");
    machine.files().addFile("C:\\Windows\\temp\\b.tmp", "b");
    const auto before = paths();
    form.setChk(45, kTicked);
    run();
    EXPECT_EQ(paths(), before);
}

TEST_F(SpeedPhase, OnlyEmptyKoreanImeFolderPresentIsRemovedAndTheMissingOnesPassedOver) {
    machine.files().addDirectory(kIme + "\\imkr6_1");
    form.setChk(52, kTicked);
    run();
    EXPECT_FALSE(machine.files().directoryExists(kIme + "\\imkr6_1"));
    EXPECT_TRUE(machine.files().directoryExists(kIme));
    EXPECT_EQ(form.progressWidth(), 10905);
}

TEST_F(SpeedPhase, ArchiveAlreadyGoneHiddenOrUndeletableIsPassedOver) {
    machine.files().addDirectory(kDriverCache);
    machine.files().addDirectory("C:\\WINDOWS\\Help");
    form.setChk(42, kTicked);
    form.setChk(46, kTicked);
    run();
    EXPECT_TRUE(machine.files().directoryExists(kDriverCache));
    EXPECT_FALSE(machine.files().directoryExists("C:\\WINDOWS\\Help"));  // later steps still ran

    // Hidden and system files do not count as a match.
    for (sim::FileFlags flags : {sim::FileFlags{.hidden = true}, sim::FileFlags{.system = true},
                                 sim::FileFlags{.locked = true}}) {
        machine.files().addFile(kDriverCache + "\\Driver.cab", "kept", flags);
        run();
        EXPECT_EQ(machine.files().content(kDriverCache + "\\Driver.cab"), "kept");
        EXPECT_EQ(form.progressWidth(), 10905);
    }
}

TEST_F(SpeedPhase, FileCheckerIsNotWaitedFor) {
    machine.setToolHangs("sfc");
    machine.files().addDirectory("C:\\WINDOWS\\Help");
    form.setChk(41, kTicked);
    form.setChk(46, kTicked);
    run();
    EXPECT_EQ(machine.commands(), (std::vector<std::string>{"sfc /purgecache"}));
    EXPECT_EQ(machine.pumpCount(), 0);  // a wait would have pumped events
    EXPECT_FALSE(machine.files().directoryExists("C:\\WINDOWS\\Help"));
}

}  // namespace
}  // namespace quillon
