#include <gtest/gtest.h>

#include "startup/StartupList.h"
#include "window/PageSwitching.h"
#include "window/StartupRefill.h"
#include "tests/unit/StartupTestMachine.h"

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

class StartupList : public StartupMachine {};

TEST_F(StartupList, NothingListedWhenKeysEmptyAndFoldersMissing) {
    form.addListItem(CheckList::Startup, "left from before");
    machine.registry().createKey(kUserRun);
    ListStartupItems(context);
    EXPECT_TRUE(listed().empty());
}

TEST_F(StartupList, KeysThenFoldersInOrderWithDuplicatesKept) {
    addRunValue(kUserRun, "Shared");
    addRunValue(kUserRun, "Alpha");
    addRunValue(kMachineRun, "Shared");
    addFile(kAllUsersFolder, "Shared");
    addFile(kUserFolder, "mine.lnk");
    ListStartupItems(context);
    EXPECT_EQ(listed(), (Names{"Shared", "Alpha", "Shared", "mine.lnk", "Shared"}));
}

TEST_F(StartupList, LongDataDoesNotHideLaterValues) {
    addRunValue(kUserRun, "First");
    addRunValue(kUserRun, "Long", "C:\\Program Files\\" + std::string(200, 'x') + ".exe /background");
    addRunValue(kUserRun, "Third");
    addRunValue(kMachineRun, "Machine");
    ListStartupItems(context);
    EXPECT_EQ(listed(), (Names{"First", "Long", "Third", "Machine"}));
}

TEST_F(StartupList, DefaultValueListedAsEmptyText) {
    addRunValue(kMachineRun, "");
    addRunValue(kMachineRun, "Named");
    ListStartupItems(context);
    EXPECT_EQ(listed(), (Names{"", "Named"}));
}

TEST_F(StartupList, FolderGivesVisibleFilesOnlyInNameOrder) {
    addFile(kUserFolder, "zeta.lnk");
    addFile(kUserFolder, "Alpha.lnk");
    addFile(kUserFolder, "desktop.ini", {.hidden = true, .system = true});
    addFile(kUserFolder, "quiet.lnk", {.system = true});
    machine.files().addDirectory(std::string(kUserFolder) + "\\Sub");
    addFile(kAllUsersFolder, "desktop.ini", {.hidden = true});
    ListStartupItems(context);
    EXPECT_EQ(listed(), (Names{"Alpha.lnk", "zeta.lnk"}));
}

TEST_F(StartupList, ListingAgainGivesTheSameListAllUnticked) {
    addRunValue(kUserRun, "One");
    addFile(kAllUsersFolder, "two.lnk");
    ListStartupItems(context);
    tick("One");
    tick("two.lnk");
    ListStartupItems(context);
    EXPECT_EQ(listed(), (Names{"One", "two.lnk"}));
    EXPECT_EQ(tickedCount(), 0);
}

TEST_F(StartupList, WithoutUserNameOnlyAllUsersFolderIsRead) {
    addFile("C:\\Documents and Settings\\Start Menu\\Programs\\Startup", "stray.lnk");
    addFile(kAllUsersFolder, "shared.lnk");
    context.userName.clear();
    ListStartupItems(context);
    EXPECT_EQ(listed(), (Names{"shared.lnk"}));
    for (const std::string& path : machine.paths) EXPECT_EQ(path.find("Settings\\\\"), std::string::npos) << path;
}

// A long list is filled in turns with the window's events served between
// them; whatever those events start (the page button again, a run) takes the
// list over, so no entry is ever listed twice or left out.
TEST_F(StartupList, LongListServesEventsAndALaterListingTakesOver) {
    for (int i = 0; i < 1000; ++i) addRunValue(kUserRun, "entry " + std::to_string(i));
    addFile(kAllUsersFolder, "last.lnk");
    Names expected;
    for (int i = 0; i < 1000; ++i) expected.push_back("entry " + std::to_string(i));
    expected.push_back("last.lnk");

    int pumps = 0;
    machine.onPump([&] { ++pumps; });
    ListStartupItems(context);
    EXPECT_EQ(listed(), expected);
    EXPECT_GE(pumps, 1000 / 100) << "events must be served while a long list fills";

    for (int nestAt : {1, 7, 20}) {
        int seen = 0;
        machine.onPump([&] {
            if (++seen == nestAt) ListStartupItems(context);
        });
        ListStartupItems(context);
        machine.onPump({});
        EXPECT_EQ(listed(), expected) << "a listing started at turn " << nestAt;
    }
}

// After an undo puts entries back (or a run takes some away), a tick stays
// with the entry it was given to, wherever that entry now stands.
TEST_F(StartupList, RefreshKeepsTicksByEntryNotPosition) {
    addRunValue(kUserRun, "Keep");
    addRunValue(kMachineRun, "Same");
    addFile(kAllUsersFolder, "Same");
    addFile(kAllUsersFolder, "gone.lnk");
    ListStartupItems(context);
    tick("gone.lnk");
    form.setListSelected(CheckList::Startup, 1, true);  // the first "Same" only
    const Names before = listed();

    addRunValue(kUserRun, "Back");  // put back ahead of the ticked ones
    addRunValue(kMachineRun, "Also back");
    machine.files().deleteFile(std::string(kAllUsersFolder) + "\\gone.lnk");
    RefreshStartupList(context);

    Names ticked;
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i)
        if (form.listSelected(CheckList::Startup, i)) ticked.push_back(form.listText(CheckList::Startup, i));
    EXPECT_EQ(ticked, Names{"Same"}) << "listed before: " << before.size();
    EXPECT_EQ(listed().size(), before.size() + 1);
    // Nothing ticked before: nothing ticked after.
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i) form.setListSelected(CheckList::Startup, i, false);
    RefreshStartupList(context);
    EXPECT_EQ(tickedCount(), 0);

    // A long list re-read while the user switches pages, the Startup page again too: the ticks stay.
    for (int i = 0; i < 120; ++i) addRunValue(kUserRun, "entry " + std::to_string(i));
    RefreshStartupList(context);
    tick("entry 99");
    tick("Keep");
    for (Page page : {Page::System, Page::Startup}) {
        int turn = 0;
        machine.onPump([&] {
            if (++turn == 1) ShowPage(context, page);
        });
        RefreshStartupList(context);
        machine.onPump({});
        EXPECT_EQ(tickedCount(), 2) << "switched to " << PageName(page);
    }
}

// Every entry says where it comes from, also where two sources hold one name.
TEST_F(StartupList, EachEntrySaysWhereItComesFrom) {
    addRunValue(kUserRun, "Same", "C:\\user.exe /x");
    addRunValue(kMachineRun, "Same", "C:\\machine.exe");
    addFile(kUserFolder, "Same");
    addFile(kAllUsersFolder, "Same");
    ListStartupItems(context);
    const std::vector<std::string> expected{
        "Same: the user's Run key starts C:\\user.exe /x.",
        "Same: the machine's Run key starts C:\\machine.exe.",
        "Same: a file in the user's Startup folder, C:\\Documents ... Menu\\Programs\\Startup.",
        "Same: a file in All Users' Startup folder, ... Users\\Start Menu\\Programs\\Startup."};
    ASSERT_EQ(form.listCount(CheckList::Startup), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(StartupEntryInWords(context, i), expected[i]);
    // An entry gone from the machine since it was listed is not described as another.
    machine.files().deleteFile(std::string(kAllUsersFolder) + "\\Same");
    EXPECT_EQ(StartupEntryInWords(context, 3), "");
    EXPECT_EQ(StartupEntryInWords(context, 4), "");
    // Long names, commands and folders: where the entry comes from is never
    // cut off the status line, nor is a word wider than the line.
    addRunValue(kUserRun, std::string(300, 'N'), "\"C:\\Program Files\\Common Files\\Java\\Java Update\\jusched.exe\" -background");
    addRunValue(kMachineRun, "Long Tool", "C:\\" + std::string(250, 'x') + "\\tool.exe /" + std::string(50, 'a') + " " + std::string(90, 'b'));
    addFile(kUserFolder, std::string(120, 'f') + ".lnk");
    ListStartupItems(context);
    int seen = 0;
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i) {
        const std::string words = StartupEntryInWords(context, i);
        if (form.listText(CheckList::Startup, i).size() < 9) continue;
        ++seen;
        EXPECT_LE(words.size(), kStatusLineRoom) << words;
        EXPECT_TRUE(words.find(" Run key starts ") != std::string::npos ||
                    words.find(" Startup folder, ") != std::string::npos) << words;
        if (words.starts_with("NNN")) {
            EXPECT_TRUE(words.ends_with("\\jusched.exe\" -background.")) << words;
        }
        for (std::size_t at = 0, next; at < words.size(); at = next + 1) {
            next = std::min(words.find(' ', at), words.size());
            EXPECT_LE(next - at, 29u) << words;  // a word and what ends the sentence
        }
    }
    EXPECT_EQ(seen, 3);
}

}  // namespace
}  // namespace quillon::test
