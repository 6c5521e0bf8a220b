#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "engine/Phases.h"
#include "window/OptimiseRun.h"
#include "tests/sim/SimWindows.h"
#include "startup/StartupList.h"
#include "startup/StartupPhase.h"
#include "tests/unit/StartupTestMachine.h"

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

class StartupRemoval : public StartupMachine {
protected:
    // Lists the machine as the page button does, ticks the names and runs the phase.
    void removeTicked(const Names& names) {
        ListStartupItems(context);
        for (const std::string& name : names) tick(name);
        machine.clearCommands();
        RunStartupPhase(context);
    }
};

TEST_F(StartupRemoval, NameOnlyInMachineKey) {
    addRunValue(kUserRun, "Keep");
    addRunValue(kMachineRun, "Updater");
    addFile(kUserFolder, "other.lnk");
    removeTicked({"Updater"});
    EXPECT_FALSE(hasValue(kMachineRun, "Updater"));
    EXPECT_TRUE(hasValue(kUserRun, "Keep"));
    EXPECT_TRUE(hasFile(kUserFolder, "other.lnk"));
    EXPECT_EQ(
        machine.commands(),
        (Names{R"(reg delete HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run /v "Updater" /f)",
               R"(reg delete HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run /v "Updater" /f)"}));
    EXPECT_EQ(listed(), (Names{"Keep", "other.lnk"}));
}

TEST_F(StartupRemoval, On64BitWindowsTheMachinesEntriesOfBothViewsAreListedAndEachGoesFromItsOwn) {
    const char* kRun32 = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
    machine.setWow64(true);
    addRunValue(kMachineRun, "Agent");
    addRunValue(kRun32, "Agent");
    addRunValue(kRun32, "Helper32");
    addRunValue(kUserRun, "Helper32");
    ListStartupItems(context);
    ASSERT_EQ(listed(), (Names{"Helper32", "Agent", "Agent", "Helper32"}));
    EXPECT_EQ(ListedStartupEntry(form, 0), (StartupEntry{"Helper32", RegView::Native}));
    EXPECT_EQ(ListedStartupEntry(form, 1), (StartupEntry{"Agent", RegView::Native}));
    EXPECT_EQ(ListedStartupEntry(form, 2), (StartupEntry{"Agent", RegView::Wow32}));
    EXPECT_EQ(ListedStartupEntry(form, 3), (StartupEntry{"Helper32", RegView::Wow32}));

    form.setListSelected(CheckList::Startup, 2, true);
    form.setListSelected(CheckList::Startup, 3, true);
    machine.clearCommands();
    RunStartupPhase(context);
    EXPECT_EQ(machine.commands(),
              (Names{std::string("reg delete ") + kRun32 + " /v \"Agent\" /f /reg:64",
                     std::string("reg delete ") + kRun32 + " /v \"Helper32\" /f /reg:64"}));
    EXPECT_EQ(listed(), (Names{"Helper32", "Agent"}));
    EXPECT_TRUE(hasValue(kMachineRun, "Agent"));
    EXPECT_TRUE(hasValue(kUserRun, "Helper32"));

    // The native entry goes from the native view, and from the user's places as ever.
    ListStartupItems(context);
    form.setListSelected(CheckList::Startup, 1, true);
    RunStartupPhase(context);
    EXPECT_FALSE(hasValue(kMachineRun, "Agent"));
    EXPECT_EQ(listed(), (Names{"Helper32"}));
}

TEST_F(StartupRemoval, UnnamedDefaultValueGoesByItsOwnOption) {
    addRunValue(kUserRun, "");
    addRunValue(kUserRun, "Keep");
    removeTicked({""});
    EXPECT_FALSE(hasValue(kUserRun, ""));
    EXPECT_TRUE(hasValue(kUserRun, "Keep"));
    EXPECT_EQ(machine.commands().front(),
              R"(reg delete HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run /ve /f)");
}

TEST_F(StartupRemoval, NameOnlyInAllUsersFolder) {
    addFile(kUserFolder, "mine.lnk");
    addFile(kAllUsersFolder, "Shared App.lnk");
    removeTicked({"Shared App.lnk"});
    EXPECT_FALSE(hasFile(kAllUsersFolder, "Shared App.lnk"));
    EXPECT_TRUE(hasFile(kUserFolder, "mine.lnk"));
    EXPECT_EQ(listed(), (Names{"mine.lnk"}));
}

TEST_F(StartupRemoval, OneEntryClearsEveryPlaceHoldingTheName) {
    addRunValue(kUserRun, "Agent");
    addRunValue(kMachineRun, "Agent");
    addFile(kUserFolder, "Agent");
    addFile(kAllUsersFolder, "Agent");
    addRunValue(kMachineRun, "Stays");
    ListStartupItems(context);
    form.setListSelected(CheckList::Startup, 0, true);  // only the first of the four
    RunStartupPhase(context);
    EXPECT_FALSE(hasValue(kUserRun, "Agent"));
    EXPECT_FALSE(hasValue(kMachineRun, "Agent"));
    EXPECT_FALSE(hasFile(kUserFolder, "Agent"));
    EXPECT_FALSE(hasFile(kAllUsersFolder, "Agent"));
    EXPECT_EQ(listed(), (Names{"Stays"}));
    EXPECT_EQ(tickedCount(), 0);
}

TEST_F(StartupRemoval, HiddenFileOfThatNameStays) {
    addRunValue(kUserRun, "tray.lnk");
    addFile(kUserFolder, "tray.lnk", {.hidden = true});
    addFile(kAllUsersFolder, "tray.lnk", {.system = true});
    removeTicked({"tray.lnk"});
    EXPECT_FALSE(hasValue(kUserRun, "tray.lnk"));
    EXPECT_TRUE(hasFile(kUserFolder, "tray.lnk"));
    EXPECT_TRUE(hasFile(kAllUsersFolder, "tray.lnk"));
}

TEST_F(StartupRemoval, NamesWithBlanksAndQuotesReachTheToolWhole) {
    addRunValue(kUserRun, "My Sync Tool");
    addRunValue(kMachineRun, "say \"hi\" \\");
    addRunValue(kMachineRun, "My");
    removeTicked({"My Sync Tool", "say \"hi\" \\"});
    EXPECT_FALSE(hasValue(kUserRun, "My Sync Tool"));
    EXPECT_FALSE(hasValue(kMachineRun, "say \"hi\" \\"));
    EXPECT_EQ(listed(), (Names{"My"}));
}

TEST_F(StartupRemoval, CraftedNamesLeaveEveryFileAlone) {
    const Names crafted{"..\\..\\..\\boot.ini", "Sub\\inner.lnk", "C:\\boot.ini", "a/b", "*", "*.lnk", "..", "."};
    for (const std::string& name : crafted) addRunValue(kUserRun, name);
    machine.files().addFile("C:\\boot.ini", "[boot loader]");
    addFile(kUserFolder, "Sub\\inner.lnk");
    addFile(kUserFolder, "a.lnk");
    addFile(kAllUsersFolder, "b.lnk");
    removeTicked(crafted);
    for (const std::string& name : crafted) EXPECT_FALSE(hasValue(kUserRun, name)) << name;
    EXPECT_TRUE(hasFile("C:\\boot.ini"));
    EXPECT_TRUE(hasFile(kUserFolder, "Sub\\inner.lnk"));
    EXPECT_EQ(listed(), (Names{"a.lnk", "b.lnk"}));
    for (const std::string& path : machine.paths) {
        EXPECT_EQ(path.find("\\.."), std::string::npos) << path;
        EXPECT_FALSE(path.ends_with("\\.")) << path;
        EXPECT_EQ(path.find('*'), std::string::npos) << path;
        EXPECT_EQ(path.find("Startup\\Sub"), std::string::npos) << path;
    }
}

TEST_F(StartupRemoval, NameHoldingTwoDotsIsAnOrdinaryName) {
    addFile(kUserFolder, "Update..Helper.lnk");
    addFile(kAllUsersFolder, "..lnk");
    removeTicked({"Update..Helper.lnk", "..lnk"});
    EXPECT_EQ(listed(), Names{});
}

TEST_F(StartupRemoval, SixtyEntriesWithASlowRegistryToolAreAllRemovedAFewAtATime) {
    for (int i = 0; i < 60; ++i) addRunValue(i % 2 ? kUserRun : kMachineRun, "Entry " + std::to_string(i));
    ListStartupItems(context);
    for (int i = 0; i < 60; ++i) form.setListSelected(CheckList::Startup, i, true);
    machine.setToolWork("reg", std::chrono::milliseconds(50));  // 6 s for the 120 commands, one after another
    int mostRunning = 0, startedBeforeFirstPump = -1;
    std::string firstStatus;
    machine.onPump([&] {
        mostRunning = std::max(mostRunning, machine.runningCount());
        if (startedBeforeFirstPump < 0) {
            startedBeforeFirstPump = static_cast<int>(machine.commands().size());
            firstStatus = form.label(Label::Wait) + (form.progressVisible() ? " with the bar" : "");
        }
    });
    EXPECT_EQ(RunOptimise(context), 0);
    EXPECT_EQ(listed(), Names{});
    EXPECT_EQ(machine.commands().size(), 120u);
    EXPECT_LE(mostRunning, 4);
    EXPECT_EQ(startedBeforeFirstPump, 0);
    EXPECT_EQ(firstStatus, "Optimizing... with the bar");
}

TEST_F(StartupRemoval, NothingTickedRebuildsTheSameList) {
    addRunValue(kUserRun, "One");
    addRunValue(kMachineRun, "One");
    addFile(kAllUsersFolder, "two.lnk");
    const auto registryBefore = machine.registry().dump("HKEY_CURRENT_USER");
    const auto filesBefore = machine.files().allPaths();
    removeTicked({});
    EXPECT_TRUE(machine.commands().empty());
    EXPECT_EQ(machine.registry().dump("HKEY_CURRENT_USER"), registryBefore);
    EXPECT_EQ(machine.files().allPaths(), filesBefore);
    EXPECT_EQ(listed(), (Names{"One", "One", "two.lnk"}));
    EXPECT_EQ(form.progressHistory(), std::vector<int>{});
}

TEST_F(StartupRemoval, UndeletableFileSkipsOnlyTheRestOfThatEntry) {
    addFile(kUserFolder, "locked.lnk", {.locked = true});
    addFile(kAllUsersFolder, "locked.lnk");
    addRunValue(kUserRun, "locked.lnk");
    addFile(kAllUsersFolder, "next.lnk");
    addRunValue(kMachineRun, "next.lnk");
    removeTicked({"locked.lnk", "next.lnk"});
    EXPECT_FALSE(hasValue(kUserRun, "locked.lnk"));  // its registry commands had already started
    EXPECT_TRUE(hasFile(kUserFolder, "locked.lnk"));
    EXPECT_TRUE(hasFile(kAllUsersFolder, "locked.lnk"));
    EXPECT_FALSE(hasValue(kMachineRun, "next.lnk"));
    EXPECT_FALSE(hasFile(kAllUsersFolder, "next.lnk"));
    EXPECT_EQ(listed(), (Names{"locked.lnk", "locked.lnk"}));
}

TEST_F(StartupRemoval, ListedAgainOnlyAfterTheCommandsHaveRun) {
    addRunValue(kUserRun, "Slow");
    addRunValue(kMachineRun, "Slow");
    addRunValue(kMachineRun, "Kept");
    machine.setDeferredExecution(true);
    removeTicked({"Slow"});
    EXPECT_EQ(listed(), (Names{"Kept"}));
}

TEST_F(StartupRemoval, HangingToolIsGivenUpAndTheListRebuilt) {
    addRunValue(kUserRun, "Stuck");
    addFile(kAllUsersFolder, "Stuck");
    machine.setToolHangs("reg");
    removeTicked({"Stuck"});
    EXPECT_FALSE(hasFile(kAllUsersFolder, "Stuck"));
    EXPECT_EQ(listed(), (Names{"Stuck"}));  // the value is still there
    // One pump before each start and one per wait for the two entries; a wait
    // that polled the hung command would pump on and on.
    EXPECT_LE(machine.pumpCount(), 10);
}

TEST_F(StartupRemoval, RegistryToolThatCannotStartStopsEachEntryNotThePhase) {
    addFile(kAllUsersFolder, "a.lnk");
    addFile(kAllUsersFolder, "b.lnk");
    ListStartupItems(context);
    tick("a.lnk");
    tick("b.lnk");
    machine.setToolMissing("reg");
    RunStartupPhase(context);
    EXPECT_EQ(listed(), (Names{"a.lnk", "b.lnk"}));
}

// A Windows that is not English XP on drive C: the folders are where the
// system says, and nothing is looked for or touched at the English paths.
TEST_F(StartupRemoval, FoldersAreWhereTheSystemKeepsThem) {
    const std::string user = "D:\\Profile\\Tester\\\xe5\xbc\x80\xe5\xa7\x8b\xe8\x8f\x9c\xe5\x8d\x95\\Startup";
    const std::string common = "D:\\Profile\\All\\Startup";
    const std::string menu = "D:\\Profile\\All\\Menu";
    machine.setShellFolder(ShellFolder::Startup, user);
    machine.setShellFolder(ShellFolder::CommonStartup, common);
    machine.setShellFolder(ShellFolder::CommonStartMenu, menu);
    machine.setShellFolder(ShellFolder::Windows, "D:\\WINNT");
    addFile(user.c_str(), "Mine.lnk");
    addFile(common.c_str(), "Ours.lnk");
    addFile(kUserFolder, "English.lnk");
    for (const char* name : {"Windows Update.lnk", "Other.lnk"}) addFile(menu.c_str(), name);
    addFile("C:\\Documents and Settings\\All Users\\Start Menu", "Windows Update.lnk");
    machine.files().addDirectory("D:\\WINNT\\temp");
    machine.files().addDirectory("C:\\Windows\\temp");

    removeTicked({"Mine.lnk", "Ours.lnk"});
    EXPECT_EQ(listed(), Names{});
    EXPECT_FALSE(hasFile(user.c_str(), "Mine.lnk"));
    EXPECT_FALSE(hasFile(common.c_str(), "Ours.lnk"));
    EXPECT_TRUE(hasFile(kUserFolder, "English.lnk"));

    for (int box : {32, 76, 45}) form.setChk(box, kTicked);
    RunSecurityPhase(context);
    EXPECT_FALSE(hasFile(menu.c_str(), "Windows Update.lnk"));
    EXPECT_TRUE(hasFile("C:\\Documents and Settings\\All Users\\Start Menu", "Windows Update.lnk"));
    RunSystemPhase(context);
    EXPECT_FALSE(hasFile(menu.c_str(), "Other.lnk"));
    RunSpeedPhase(context);
    EXPECT_FALSE(machine.files().directoryExists("D:\\WINNT\\temp"));
    EXPECT_TRUE(machine.files().directoryExists("C:\\Windows\\temp"));
}

}  // namespace
}  // namespace quillon::test
