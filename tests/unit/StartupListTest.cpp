#include <gtest/gtest.h>

#include "startup/StartupList.h"
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

}  // namespace
}  // namespace quillon::test
