// The window's system-menu entries on the simulated Windows.
#include <gtest/gtest.h>

#include "engine/Phases.h"
#include "journal/Journal.h"
#include "journal/Plan.h"
#include "journal/RecordStore.h"
#include "settings/SelectionFile.h"
#include "tests/unit/JournalMachine.h"
#include "window/SystemMenuActions.h"

namespace quillon {
namespace {

struct SystemMenuActions : ::testing::Test {
    sim::SimWindows machine;
    test::MemoryForm form;
    RunContext context{form, machine, "Tester"};
    void SetUp() override { test::FurnishMachine(machine); }
};

TEST_F(SystemMenuActions, PreviewShowsThePlanOfThePageOnViewOnlyAndChangesNothing) {
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed, Page::Startup}) {
        test::SelectEverything(form, machine, true);
        form.showOnly(page);
        const auto state = test::MachineState(machine);
        const auto selection = SelectionLines(form);

        const PreviewTable table = PreviewPageOnView(context);

        EXPECT_EQ(test::MachineState(machine), state);
        EXPECT_TRUE(machine.commands().empty());
        EXPECT_EQ(SelectionLines(form), selection);
        std::size_t changes = 0;
        const Page pages[] = {page};
        for (const PlannedEffect& p : PlanRun(form, machine, "Tester", pages)) changes += p.changes;
        EXPECT_EQ(table.rows.size(), changes);
        EXPECT_GT(changes, 0u);
        for (const auto& row : table.rows) EXPECT_EQ(row[0], table.title.substr(table.title.rfind(' ') + 1));
        EXPECT_EQ(table.count.rfind(std::to_string(changes) + " change", 0), 0u) << table.count;
    }
}

TEST_F(SystemMenuActions, CurrentStateAfterARunTicksWhatWasAppliedAndGreysWhatIsPartly) {
    form.showOnly(Page::System);
    for (int box : {54, 43, 71}) form.setChk(box, kTicked);
    RunWithUndoRecord(context, RunSystemPhase);
    test::MemoryForm shown;
    shown.showOnly(Page::System);
    RunContext view{shown, machine, "Tester"};
    ASSERT_TRUE(ShowCurrentState(view));
    for (int box : {54, 43, 71}) EXPECT_EQ(shown.chk(box), kTicked) << box;
    EXPECT_EQ(shown.chk(44), kUnticked);

    shown.showOnly(Page::Speed);
    EXPECT_FALSE(ShowCurrentState(view));
}

// The controls that are not boxes too, so that Optimize right after keeps a
// hidden drive hidden; only the page on view's controls change.
TEST_F(SystemMenuActions, CurrentStateSetsTheDriveListsAndPathOfThePageOnViewOnly) {
    const std::string policy = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
    machine.registry().setValue(policy, "NoDrives", sim::Value::Dword(0x4));
    machine.registry().setValue(policy, "NoViewOnDrive", sim::Value::Dword(0x2000008));
    machine.registry().setValue(policy, "NoSetFolders", sim::Value::Dword(1));
    machine.registry().setValue("HKCU\\Software\\Microsoft\\Internet Explorer", "downloadDirectory",
                                sim::Value::String("E:\\In"));
    machine.registry().setValue("HKLM\\System\\CurrentControlSet\\Services\\VxD\\BIOS", "CPUPriority", sim::Value::Dword(2));
    test::MemoryForm shown;
    shown.showOnly(Page::Security);
    RunContext view{shown, machine, "Tester"};
    ASSERT_TRUE(ShowCurrentState(view));
    std::string hidden, barred;
    for (int i = 0; i < shown.listCount(CheckList::Hide); ++i)
        if (shown.listSelected(CheckList::Hide, i)) hidden += shown.listText(CheckList::Hide, i);
    for (int i = 0; i < shown.listCount(CheckList::Not); ++i)
        if (shown.listSelected(CheckList::Not, i)) barred += shown.listText(CheckList::Not, i);
    EXPECT_EQ(hidden, "C:");
    EXPECT_EQ(barred, "D:Z:");
    EXPECT_EQ(shown.txtPath(), "E:\\In");
    EXPECT_EQ(shown.chk(21), kGreyed);  // NoSetFolders without NoSetTaskbar
    EXPECT_EQ(shown.comboIndex(Combo::Priority), 0);  // the System page is not on view

    const Page security[] = {Page::Security};
    for (const PlannedEffect& p : PlanRun(shown, machine, "Tester", security))
        EXPECT_FALSE(p.changes && p.effect.name.find("Drive") != std::string::npos) << DescribeEffect(p.effect);
}

TEST_F(SystemMenuActions, NewestUndoRecordNamesWhatItRestores) {
    EXPECT_TRUE(NewestUndoRecord(machine).folder.empty());
    form.showOnly(Page::System);
    form.setChk(54, kTicked);
    const RecordedRun run = RunWithUndoRecord(context, RunSystemPhase);
    const UndoOffer offer = NewestUndoRecord(machine);
    EXPECT_EQ(offer.folder, run.folder);
    EXPECT_FALSE(offer.restores.empty());
}

TEST_F(SystemMenuActions, UndoLastRunOffersWhatUndoWouldTakeAndPassesOverItOnceRestored) {
    const std::string root = DefaultUndoRoot(machine);
    const std::string older = CreateRecordFolder(machine, root, false);
    machine.setLocalTime({2026, 1, 2, 3, 4, 6});
    const std::string newer = CreateRecordFolder(machine, root, false);
    for (const std::string& folder : {older, newer}) machine.writeTextFile(folder + "\\changes.txt", {"Quillon undo record"});

    const UndoOffer offer = NewestUndoRecord(machine);
    ASSERT_EQ(offer.folder, newer);
    EXPECT_EQ(RestoreOffer(machine, offer).failed, 0);
    EXPECT_EQ(NewestUndoRecord(machine).folder, older);
}

}  // namespace
}  // namespace quillon
