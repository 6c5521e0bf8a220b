// The window's system-menu entries on the simulated Windows.
#include <gtest/gtest.h>

#include <cstdio>

#include "window/OptimiseRun.h"
#include "engine/Phases.h"
#include "record/Journal.h"
#include "planning/NetChange.h"
#include "planning/LiveState.h"
#include "planning/Plan.h"
#include "record/RecordStore.h"
#include "record/RecordFiles.h"
#include "settings/SelectionFile.h"
#include "tests/unit/JournalMachine.h"
#include "window/CommandButtons.h"
#include "window/SystemMenuActions.h"
#include "words/RunEventText.h"
#include "words/StepNames.h"
#include "window/StartupRefill.h"
#include "window/UndoDialogText.h"
#include "effects/ChangeWords.h"

namespace quillon {
namespace {

struct SystemMenuActions : ::testing::Test {
    sim::SimWindows machine;
    test::MemoryForm form;
    RunContext context{form, machine, "Tester"};
    void SetUp() override { test::FurnishMachine(machine); }
};

// Over every page, everything ticked and nothing ticked: one row per change,
// each named in the words on screen and on the side its box or entry is on;
// as many as Optimize's undo record then counts.
TEST_F(SystemMenuActions, PreviewShowsThePlanOfThePageOnViewOnlyAndChangesNothing) {
    for (bool ticked : {true, false})
        for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed, Page::Startup}) {
            test::SelectEverything(form, machine, ticked);
            form.showOnly(page);
            const auto state = test::MachineState(machine);
            const auto selection = SelectionLines(form);

            const PreviewTable table = PreviewPageOnView(context);

            EXPECT_EQ(test::MachineState(machine), state);
            EXPECT_TRUE(machine.commands().empty());
            EXPECT_EQ(SelectionLines(form), selection);
            std::vector<Change> changes;
            const Page pages[] = {page};
            for (const Change& change : PlanNetChanges(form, machine, "Tester", pages))
                if (change.changed && change.present) changes.push_back(change);
            ASSERT_EQ(table.rows.size(), changes.size());
            if (ticked) {
                EXPECT_FALSE(changes.empty()) << table.title;
            }
            ASSERT_EQ(table.columns.size(), 5u);
            ASSERT_EQ(table.whole.size(), changes.size());
            int unticked = 0;
            for (std::size_t i = 0; i < changes.size(); ++i) {
                const auto& row = table.rows[i];
                const StepTag& step = changes[i].steps.front();
                ASSERT_EQ(row.size(), table.columns.size());
                const bool onScreenBox = step.boxes[0] >= 0 || step.entry >= 0;
                EXPECT_EQ(row[0], onScreenBox ? (ticked ? "ticked" : "unticked") : "") << row[1];
                EXPECT_FALSE(row[1].empty());
                for (const char* name : {"lstHide", "lstNot", "lstService", "lstStartup", "txtPath", "Combo2", "Combo3", "Opt"})
                    EXPECT_NE(row[1], name);
                if (step.boxes[0] >= 0) {  // every box is named in English, the hidden ones too
                    for (unsigned char c : row[1]) EXPECT_LT(c, 0x80) << row[1];
                }
                unticked += row[0].find("unticked") != std::string::npos ? 1 : 0;
                // What is brief, and copied whole; Before and After never use the plan's own words.
                EXPECT_EQ(table.whole[i], DescribeWhat(changes[i]));
                EXPECT_LE(row[2].size(), table.whole[i].size()) << row[2];
                EXPECT_LE(row[2].size(), 60u) << table.whole[i];
                // A startup entry names its Run key's hive; a file, its folder.
                const EffectKind kind = changes[i].effect->kind;
                if (page == Page::Startup && kind == EffectKind::DeleteValue) {
                    EXPECT_EQ(row[2].rfind("HKEY_", 0), 0u) << row[2];
                }
                if (kind == EffectKind::DeleteFile) {
                    EXPECT_NE(row[2].find('\\'), std::string::npos) << row[2];
                }
                for (const std::string& state : {row[3], row[4]}) {
                    EXPECT_NE(state, "absent");
                    EXPECT_NE(state, "unknown");
                }
                EXPECT_FALSE(row[3] == row[4]) << table.whole[i];
            }
            EXPECT_EQ(table.count.rfind(std::to_string(changes.size()) + " change", 0) == 0,
                      !changes.empty()) << table.count;
            if (changes.empty()) {
                EXPECT_EQ(table.count, "Optimize would change nothing on this page.");
            }
            if (unticked > 0) {
                EXPECT_EQ(table.lead.rfind(std::to_string(unticked) + " of these changes", 0), 0u) << table.lead;
            }
            if (changes.empty()) continue;
            test::MemoryForm run;
            test::SelectEverything(run, machine, ticked);
            run.showOnly(page);
            RunContext optimise{run, machine, "Tester"};
            RunWithUndoRecord(optimise, [](RunContext& c) { RunOptimise(c); });
            const UndoOffer offer = NewestUndoRecord(machine);
            EXPECT_EQ(offer.changes, static_cast<int>(changes.size())) << table.title << (ticked ? " ticked" : " unticked");
            RestoreOffer(machine, offer);
            machine.clearCommands();
        }
}

TEST_F(SystemMenuActions, CopiedRowsAreTabSeparatedUnderTheirHeadingsOneLineEach) {
    PreviewTable table{"t", {"Side", "Box", "What"}, {{"ticked", "A", "x"}, {"unticked", "B\tb", "y"}},
                       {"x in full", "line\r\nbreak"}, {}, {}};
    EXPECT_EQ(PreviewRowsAsText(table, {1, 0}),
              "Side\tBox\tWhat\r\nunticked\tB b\tline  break\r\nticked\tA\tx in full\r\n");
    EXPECT_EQ(PreviewRowsAsText(table, {}), "Side\tBox\tWhat\r\n");
}

// Before any run, the boxes none of whose values is there show clear and are counted.
TEST_F(SystemMenuActions, CurrentStateCountsTheBoxesAtWindowsDefaults) {
    test::MemoryForm shown;
    RunContext view{shown, machine, "Tester"};
    for (Page page : {Page::System, Page::Security}) {
        shown.showOnly(page);
        for (int box = 0; box < kCheckBoxCount; ++box) shown.setChk(box, kTicked);
        ASSERT_TRUE(ShowCurrentState(view));
        int atDefaults = 0;
        const Page pages[] = {page};
        for (const LiveBox& live : LiveState(machine, "Tester", pages))
            if (live.state == BoxState::NotSet) {
                EXPECT_EQ(shown.chk(live.box), kUnticked) << live.box;
                ++atDefaults;
            } else if (live.state == BoxState::Unknown) {
                EXPECT_EQ(shown.chk(live.box), kTicked) << live.box;  // cannot be read: the user's tick stays
            }
        EXPECT_GT(atDefaults, 0);
        EXPECT_EQ(shown.label(Label::Wait), CurrentStateText(atDefaults));
    }
    EXPECT_EQ(CurrentStateText(2), std::string(kCurrentStateShown) + " 2 at Windows' defaults.");
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
    EXPECT_EQ(shown.label(Label::Wait).rfind(kCurrentStateShown, 0), 0u);
    // Optimize wrote both sides of every box of the page: none is left at Windows' defaults.
    EXPECT_EQ(shown.label(Label::Wait), CurrentStateText(0));

    shown.setLabel(Label::Wait, "");
    shown.showOnly(Page::Speed);
    EXPECT_FALSE(ShowCurrentState(view));
    EXPECT_EQ(shown.label(Label::Wait), "");
}

// Combo3 shows the machine's choice: chk 56's own value where it is in place,
// else Windows' processor scheduling (0x26 programs, 0x18 background services).
TEST_F(SystemMenuActions, CurrentStateShowsTheProcessorChoiceAlsoWithItsBoxOff) {
    const std::string bios = "HKLM\\System\\CurrentControlSet\\Services\\VxD\\BIOS";
    const std::string scheduling = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\PriorityControl";
    struct Case {
        std::uint32_t cpuPriority, separation;
        int chk56, combo;
    };
    for (const Case& c : {Case{3, 0x18, kUnticked, 1}, Case{3, 0x26, kUnticked, 0}, Case{1, 0x18, kTicked, 0},
                          Case{2, 0x26, kTicked, 1}}) {
        machine.registry().setValue(bios, "CPUPriority", sim::Value::Dword(c.cpuPriority));
        machine.registry().setValue(scheduling, "Win32PrioritySeparation", sim::Value::Dword(c.separation));
        test::MemoryForm shown;
        shown.showOnly(Page::System);
        shown.setComboIndex(Combo::Priority, 1 - c.combo);
        RunContext view{shown, machine, "Tester"};
        ASSERT_TRUE(ShowCurrentState(view));
        EXPECT_EQ(shown.chk(56), c.chk56) << c.cpuPriority << " " << c.separation;
        EXPECT_EQ(shown.comboIndex(Combo::Priority), c.combo) << c.cpuPriority << " " << c.separation;
    }
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

TEST_F(SystemMenuActions, NewestUndoRecordNamesItsTimePagesChangesAndWhatCannotBeUndone) {
    EXPECT_TRUE(NewestUndoRecord(machine).folder.empty());
    form.showOnly(Page::System);
    form.setChk(54, kTicked);
    form.setChk(43, kTicked);
    form.setChk(41, kTicked);  // Speed: a tool whose work no record can take back
    form.setChk(74, kTicked);  // a tool this machine lacks: a failed step, no change
    machine.setToolMissing("chkntfs");
    const RecordedRun run = RunWithUndoRecord(context, [](RunContext& c) {
        RunSystemPhase(c);
        RunSpeedPhase(c);
    });
    const UndoOffer offer = NewestUndoRecord(machine);
    EXPECT_EQ(offer.folder, run.folder);
    const LocalTime now = machine.localTime();
    char made[20];
    std::snprintf(made, sizeof made, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    EXPECT_EQ(offer.made, made);
    EXPECT_EQ(offer.pages, (std::vector<std::string>{"System", "Speed"}));
    int changed = 0;
    for (const RecordedEffect& e : run.effects) changed += e.changes && !e.failed;
    EXPECT_EQ(offer.changes, changed);
    ASSERT_FALSE(offer.lasting.empty());
    for (const std::string& tool : offer.lasting) {
        EXPECT_EQ(tool.find('\\'), std::string::npos) << tool;
        EXPECT_EQ(tool.find("chkntfs"), std::string::npos) << tool;
    }
    StepTag chkntfs;
    chkntfs.boxes = {74, -1};
    EXPECT_EQ(offer.failed, std::vector<std::string>{FailedStepInWords(chkntfs)});
    EXPECT_NE(UndoQuestion(offer).find("1 step of it failed: " + offer.failed[0] + "."), std::string::npos)
        << UndoQuestion(offer);
}

TEST_F(SystemMenuActions, UndoWordsNameTheRecordAndTheOutcomeWithoutPaths) {
    UndoOffer offer;
    offer.folder = "C:\\Documents and Settings\\All Users\\Application Data\\Quillon\\undo\\2026-12-08 06-10-22";
    offer.made = "2026-12-08 06:10:22";
    offer.user = "Ann";
    offer.computer = "DESK";
    offer.pages = {"System", "Security"};
    offer.changes = 12;
    offer.lasting = {"sfc.exe /purgecache"};
    offer.failed = {"\"A\"", "\"B\"", "\"C\"", "\"D\"", "\"E\""};
    const std::string question = UndoQuestion(offer);
    for (const char* words : {"8 December 2026 at 06:10", "12 changes", "System and Security pages",
                              "Cannot be undone", "sfc.exe /purgecache",
                              "5 steps of it failed: \"A\", \"B\", \"C\" and 2 more."})
        EXPECT_NE(question.find(words), std::string::npos) << words << " in\n" << question;
    // Only this user's records of this computer are offered: their names say nothing.
    for (const char* noise : {"Ann", "DESK"}) EXPECT_EQ(question.find(noise), std::string::npos) << question;
    EXPECT_EQ(question.find('\\'), std::string::npos) << question;

    const std::string report = UndoReport({9, 2, 1, true, "2026-12-08 06-11-00"});
    for (const char* words : {"Put back as they were: 9 values, keys and files", "changed since the run: 2", "Failed: 1",
                              "quillonc UNDO \"2026-12-08 06-11-00\""})
        EXPECT_NE(report.find(words), std::string::npos) << words << " in\n" << report;
    EXPECT_EQ(report.find('\\'), std::string::npos);
    const std::string clean = UndoReport({3, 0, 0, true, "x"});
    for (const char* zero : {"Kept", "Failed", ": 0"}) EXPECT_EQ(clean.find(zero), std::string::npos) << clean;
    EXPECT_EQ(TimeInWords("2026-02-30"), "2026-02-30");
    EXPECT_EQ(TimeInWords("2026-13-01 10:00:00"), "2026-13-01 10:00:00");
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

// Each of the window's runs writes one event to the Application log, as APPLY
// and UNDO do: its id says how it ended, its text what changed and what failed.
TEST_F(SystemMenuActions, EachRunAndUndoWritesOneEventNamingWhatChanged) {
    int failed = 0;
    const auto optimise = [&](RunContext& c) { failed = RunOptimise(c); };
    const auto eventText = [&](std::size_t count, RunEvent id) {
        EXPECT_EQ(machine.events().size(), count);
        if (machine.events().size() != count) return std::string();
        EXPECT_EQ(machine.events().back().event, id) << machine.events().back().text;
        EXPECT_LE(machine.events().back().text.size(), kEventTextLimit);
        return machine.events().back().text;
    };
    form.showOnly(Page::Services);
    form.setListSelected(CheckList::Service, 0, true);
    RunWithUndoRecord(context, optimise);
    ASSERT_EQ(failed, 0);
    std::string text = eventText(1, RunEvent::Done);
    for (const char* words : {"Quillon Optimize (Services) by Tester on SIMULATED: done\r\n", "failed steps 0",
                              "\r\nchanged: Services 0 "})
        EXPECT_NE(text.find(words), std::string::npos) << words << " in\n" << text;

    machine.queueMessageBoxAnswer(MessageBoxAnswer::Cancel);  // Auto Optimize answered No runs nothing
    RunWithUndoRecord(context, AutoOptimise, "Auto Optimize");
    EXPECT_EQ(machine.events().size(), 1u);

    RestoreOffer(machine, NewestUndoRecord(machine));
    text = eventText(2, RunEvent::Undone);
    EXPECT_NE(text.find("Quillon Undo last run by Tester on SIMULATED: done"), std::string::npos) << text;
    EXPECT_TRUE(text.find("put back ") != std::string::npos && text.find("put back 0") == std::string::npos) << text;

    // A record refused whole: nothing was put back, and the event says so.
    form.showOnly(Page::System);
    form.setChk(54, kTicked);
    const RecordedRun run = RunWithUndoRecord(context, optimise);
    EXPECT_NE(eventText(3, failed ? RunEvent::Failed : RunEvent::Done).find("System 54 " + BoxCaption(54)), std::string::npos);
    machine.writeTextFile(run.folder + "\\" + kStateFile, {"before\tvalue\tnonsense"});
    EXPECT_ANY_THROW(RestoreOffer(machine, NewestUndoRecord(machine)));
    EXPECT_NE(eventText(4, RunEvent::UndoFailed).find("nothing was put back"), std::string::npos);

    // Failed steps make it an error, each named with why.
    machine.setToolMissing("sc");
    form.showOnly(Page::Services);
    form.setListSelected(CheckList::Service, 1, true);
    RunWithUndoRecord(context, optimise);
    ASSERT_GT(failed, 0);
    text = eventText(5, RunEvent::Failed);
    EXPECT_NE(text.find(std::to_string(failed) + (failed == 1 ? " step failed\r\n" : " steps failed\r\n")), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nfailed: Services 0 "), std::string::npos) << text;
    EXPECT_NE(text.find("; Services 1 "), std::string::npos) << text;

    // Auto Optimize's four pages are one run, and one event.
    machine.queueMessageBoxAnswer(MessageBoxAnswer::Ok);
    RunWithUndoRecord(context, AutoOptimise, "Auto Optimize");
    EXPECT_EQ(eventText(6, RunEvent::Failed).rfind("Quillon Auto Optimize (System, Security, Startup, Services) by Tester", 0), 0u);

    // A run another run kept from starting is an error, but no step of it failed.
    machine.setRunLockHeldElsewhere(true);
    RunWithUndoRecord(context, optimise);
    text = eventText(7, RunEvent::Failed);
    EXPECT_NE(text.find(": another Quillon run is still going on; nothing was changed\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("failed steps 0"), std::string::npos) << text;
}

// Checked before anything is asked: a damaged record is named by its time and
// folder with the reason in words, and the file names of the record stay out.
TEST_F(SystemMenuActions, UndoLastRunNamesADamagedRecordBeforeAsking) {
    form.showOnly(Page::System);
    form.setChk(54, kTicked);
    const RecordedRun run = RunWithUndoRecord(context, RunSystemPhase);
    EXPECT_EQ(NewestUndoRecord(machine).refused, "");

    machine.writeTextFile(run.folder + "\\" + kStateFile, {"before\tvalue\tnonsense"});
    const UndoOffer offer = NewestUndoRecord(machine);
    ASSERT_EQ(offer.folder, run.folder);
    ASSERT_NE(offer.refused, "");
    const std::string text = UndoRefusal(offer);
    for (const std::string& words : {TimeInWords(offer.made), run.folder, std::string("damaged at line 1.")})
        EXPECT_NE(text.find(words), std::string::npos) << words << " in\n" << text;
    EXPECT_EQ(text.find(kStateFile), std::string::npos) << text;
}

}  // namespace
}  // namespace quillon
