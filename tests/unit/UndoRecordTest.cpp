// The undo record of a run, on the simulated Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/ForwardingPlatform.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

#include "window/OptimiseRun.h"
#include "record/Journal.h"
#include "record/RecordStore.h"
#include "tests/support/UndoRecords.h"
#include "window/CommandButtons.h"
#include "restore/Restore.h"
#include "tests/sim/SimText.h"
#include "tests/sim/SimTools.h"
#include "tests/unit/JournalMachine.h"
#include "effects/ChangeWords.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::TweakedState;

TEST(UndoRecord, UndoScriptHoldsExactPriorStateAndKeepsTwentyRecords) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    form.showOnly(Page::System);
    RunContext context{form, machine, "Tester"};
    const RecordedRun run = RunWithUndoRecord(context, [](RunContext& run) { RunOptimise(run); });
    ASSERT_TRUE(run.complete);
    const std::string script = machine.readFileBytes(run.folder + "\\undo.reg");
    ASSERT_EQ(script.substr(0, 2), "\xff\xfe");
    const std::string text = ToUtf8(FromUtf16LeBytes(script.substr(2)));
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    for (const char* line : {"\"AutoReboot\"=hex:01,00,ff", "\"DisableSR\"=hex(7):6f,00,6e,00,65,00,00,00,74,00,77,00,6f,00,00,00,00,00",
                             "\"NoRecycleFiles\"=hex(b):01,02,03,04,05,06,07,08", "\"Auto\"=hex(0):",
                             "\"HungAppTimeout\"=\"\xce\xa9mega \xe6\x97\xa5\"", "\"NoSMHelp\"=-",
                             "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate]"})
        EXPECT_NE(text.find(std::string(line) + "\r\n"), std::string::npos) << line;
    // NoSMHelp is written by two steps; it is kept once, as it was before the first.
    EXPECT_EQ(text.find("\"NoSMHelp\""), text.rfind("\"NoSMHelp\""));

    for (int second = 10; second < 35; ++second) {
        machine.setLocalTime({2026, 2, 3, 4, 5, second});
        // Something to change each time: a run that changes nothing keeps no record.
        machine.registry().setValue("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot",
                                    sim::Value::Dword(second));
        RunWithUndoRecord(context, [](RunContext& run) { RunOptimise(run); });
    }
    const auto records = test::UndoRecords(machine);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kRecordsKept));
    EXPECT_EQ(records.front(), DefaultUndoRoot(machine) + "\\2026-02-03 04-05-34 SIMULATED");
    EXPECT_EQ(records.back(), DefaultUndoRoot(machine) + "\\2026-02-03 04-05-15 SIMULATED");
}

TEST(UndoRecord, ARunWhoseRecordCannotBeWrittenChangesNothingAndSaysItStopped) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    machine.files().setReadOnlyFolder(machine.commonAppDataFolder());
    test::MemoryForm form;
    form.setChk(54, kTicked);
    const auto prior = TweakedState(machine);
    RunContext context{form, machine, "Tester"};
    const RecordedRun run = RunWithUndoRecord(context, [](RunContext& run) { RunOptimise(run); });
    EXPECT_TRUE(run.folder.empty());
    EXPECT_FALSE(run.complete);
    EXPECT_EQ(test::Difference(prior, TweakedState(machine)), std::vector<std::string>{});
    EXPECT_EQ(form.label(Label::Wait), StoppedText());
    int refused = 0;
    for (const RecordedEffect& e : run.effects) {
        refused += e.refused;
        if (e.changes) {
            EXPECT_TRUE(e.refused) << DescribeEffect(e.effect);
        }
        if (e.refused) {
            EXPECT_NE(e.reason.find("no undo record"), std::string::npos) << e.reason;
        }
    }
    EXPECT_GT(refused, 0);
}

RecordedRun RunPage(sim::SimWindows& machine, test::MemoryForm& form, Page page) {
    form.showOnly(page);
    RunContext context{form, machine, "Tester"};
    return RunWithUndoRecord(context, [](RunContext& run) { RunOptimise(run); });
}

std::string UndoScriptText(sim::SimWindows& machine, const std::string& folder) {
    return sim::DecodeFileText(machine.readFileBytes(folder + "\\undo.reg"));
}

bool HoldsControlByte(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

TEST(UndoRecord, AKeyAToolAddsAgainGetsItsDefaultValueBackWhetherOrNotTheToolEmptiedIt) {
    const std::string recycleBin = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
                                   "{645FF040-5081-101B-9F08-00AA002F954E}";
    for (bool blanks : {true, false}) {
        sim::SimWindows machine;
        FurnishMachine(machine);
        machine.setRegAddBlanksDefault(blanks);
        const auto before = TweakedState(machine);
        test::MemoryForm form;  // box 37 unticked: `reg add` of the key, which is there
        const RecordedRun run = RunPage(machine, form, Page::Security);
        ASSERT_FALSE(run.folder.empty());
        EXPECT_EQ(machine.registry().value(recycleBin, "")->text, blanks ? "" : "Recycle Bin");
        const RestoreReport report = RestoreRecord(machine, run.folder);
        EXPECT_TRUE(report.kept.empty()) << report.kept.front().target;
        EXPECT_EQ(machine.registry().value(recycleBin, "")->text, "Recycle Bin") << blanks;
        EXPECT_EQ(TweakedState(machine), before) << blanks;
    }
}

TEST(UndoRecord, ANameNoScriptCanCarryFailsItsStepWithNothingDeletedAndNeverReachesTheScript) {
    const std::string planted = "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Planted]\r\n\"Evil\"=\"1\"";
    const std::string tray = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify\\";
    for (bool inKeyName : {true, false}) {
        SCOPED_TRACE(inKeyName ? "key name" : "value name");
        sim::SimWindows machine;
        FurnishMachine(machine);
        machine.registry().setValue(tray + "IconStreams\\" + (inKeyName ? "x" + planted : "sub"),
                                    inKeyName ? "v" : "x" + planted, sim::Value::String("planted"));
        machine.registry().setValue(tray + "PastIconsStream", "ok", sim::Value::Of(TextValue(reg_type::String, std::string("a\0b", 3))));
        test::MemoryForm form;
        test::SelectEverything(form, machine, true);
        const RecordedRun run = RunPage(machine, form, Page::System);

        EXPECT_TRUE(run.complete);
        EXPECT_TRUE(machine.registry().keyExists(tray + "IconStreams"));
        EXPECT_FALSE(machine.registry().keyExists(tray + "PastIconsStream"));  // a name with NUL text is carried
        const auto refused = std::find_if(run.effects.begin(), run.effects.end(), [](const RecordedEffect& e) { return e.refused; });
        ASSERT_NE(refused, run.effects.end());
        EXPECT_EQ(refused->effect.kind, EffectKind::DeleteKey);
        EXPECT_NE(refused->reason.find("cannot carry"), std::string::npos) << refused->reason;
        EXPECT_NE(refused->reason.find("\\x0d\\x0a[HKEY_LOCAL_MACHINE"), std::string::npos) << refused->reason;
        EXPECT_EQ(std::count_if(run.effects.begin(), run.effects.end(), [](const RecordedEffect& e) { return e.refused; }), 1);
        const std::string script = UndoScriptText(machine, run.folder);
        EXPECT_EQ(script.find("Planted"), std::string::npos);
        EXPECT_NE(script.find("\"ok\"=hex(1):61,00,00,00,62,00,00,00"), std::string::npos);
    }
}

TEST(UndoRecord, EveryValueKeepsItsExactTypeAndBytesThroughTheScriptAndTheRestore) {
    const std::string key = "HKLM\\System\\CurrentControlSet\\Control\\CrashControl";
    const std::vector<RegValue> values{
        TextValue(reg_type::String, std::string("20000\0x", 7)),
        TextValue(reg_type::String, "two\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Planted]"),
        TextValue(reg_type::ExpandString, "%SystemRoot%\\x"),
        TextValue(reg_type::ExpandString, std::string("%a%\0\x1b", 5)),
        MultiStringValue({"one", "", "t\xc3\xa9\tst"}),
        {reg_type::String, {0x41, 0x00, 0x42}},  // no terminating zero, odd length
        {reg_type::Dword, {1, 2, 3}},
        {reg_type::Qword, {1, 2, 3, 4, 5, 6, 7, 8}},
        {reg_type::None, {}},
        {0x12345, {0xff}},
        BinaryValue(std::vector<std::uint8_t>(200, 0xab)),
    };
    for (const RegValue& prior : values) {
        SCOPED_TRACE(DescribeValue(prior));
        sim::SimWindows machine;
        machine.registry().setValue(key, "AutoReboot", sim::Value::Of(prior));
        test::MemoryForm form;
        form.setChk(54, kTicked);
        const RecordedRun run = RunPage(machine, form, Page::System);
        ASSERT_FALSE(run.folder.empty());
        for (const RecordedEffect& e : run.effects) EXPECT_FALSE(HoldsControlByte(DescribeState(e.before) + DescribeState(e.after)));

        sim::SimRegistry byHand;
        sim::ImportRegistrationScript(UndoScriptText(machine, run.folder), byHand);
        EXPECT_EQ(byHand.value(key, "AutoReboot").value().stored(), prior);

        RestoreRecord(machine, run.folder);
        EXPECT_EQ(machine.registryValue(NormalisedKey(key), "AutoReboot"), prior);
    }
}

TEST(UndoRecord, AFullDiskAtAnyPointStopsTheRunWithEverythingMadeRestorable) {
    sim::SimWindows sizing;
    FurnishMachine(sizing);
    test::MemoryForm form;
    test::SelectEverything(form, sizing, true);
    const RecordedRun whole = RunPage(sizing, form, Page::System);
    long long size = 0;
    // Up to all a restore reads: the readable log, written last, may go missing without stopping the run.
    for (const std::string& path : sizing.files().allPaths())
        if (path.rfind(whole.folder, 0) == 0 && !path.ends_with("changes.txt")) size += static_cast<long long>(sizing.files().content(path).value_or("").size()) + 1;

    for (long long space = 0; space < size; space = space * 5 / 4 + 61)
        for (bool powerLost : {false, true}) {
            SCOPED_TRACE(std::to_string(space) + (powerLost ? ", then the power failed" : ""));
            sim::SimWindows machine;
            FurnishMachine(machine);
            const auto prior = TweakedState(machine);
            machine.limitSpaceBelow(DefaultUndoRoot(machine), space);
            const RecordedRun run = RunPage(machine, form, Page::System);
            EXPECT_FALSE(run.complete);
            EXPECT_EQ(form.label(Label::Wait), StoppedText());
            // From the first refusal on, nothing was made.
            const auto first = std::find_if(run.effects.begin(), run.effects.end(), [](const RecordedEffect& e) { return e.refused; });
            ASSERT_NE(first, run.effects.end());
            for (auto e = first; e != run.effects.end(); ++e) EXPECT_TRUE(e->refused || !e->changes) << DescribeEffect(e->effect);

            if (powerLost) machine.powerCut();
            machine.limitSpaceBelow(DefaultUndoRoot(machine), std::nullopt);
            if (!run.folder.empty()) test::RestoreThenPutBackUncertain(machine, run.folder);
            EXPECT_EQ(test::Difference(prior, TweakedState(machine)), std::vector<std::string>{});
        }
}

TEST(UndoRecord, ARunThatChangesNothingKeepsNoRecordAndPrunesNone) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    const RecordedRun first = RunPage(machine, form, Page::Security);
    ASSERT_FALSE(first.folder.empty());
    // One more than are kept: pruning would take the run's own, the oldest.
    for (int i = 0; i < kRecordsKept; ++i) CreateRecordFolder(machine, DefaultUndoRoot(machine), false);
    const auto records = test::UndoRecords(machine);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kRecordsKept) + 1);
    EXPECT_EQ(records.back(), first.folder);
    for (int second = 0; second < 25; ++second) {
        machine.setLocalTime({2027, 1, 1, 0, 0, second});
        EXPECT_EQ(RunPage(machine, form, Page::Security).folder, "");
        // A tool run whose effect cannot be read back leaves nothing to take back either.
        test::MemoryForm checker;
        checker.setChk(41, kTicked);
        EXPECT_EQ(RunPage(machine, checker, Page::Speed).folder, "");
    }
    EXPECT_EQ(test::UndoRecords(machine), records);
}

TEST(UndoRecord, BeginMakesNoRecordAndAnAutoRunStoppedPartWaySaysSo) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::JournalStack idle(machine);
    EXPECT_TRUE(idle.journal.begin());
    EXPECT_TRUE(machine.listSubfolders(DefaultUndoRoot(machine)).empty());
    EXPECT_EQ(idle.journal.finish(), "");

    const auto prior = TweakedState(machine);
    machine.limitSpaceBelow(DefaultUndoRoot(machine), 12000);
    machine.queueMessageBoxAnswer(MessageBoxAnswer::Ok);
    test::MemoryForm form;
    RunContext context{form, machine, "Tester"};
    const RecordedRun run = RunWithUndoRecord(context, AutoOptimise);
    EXPECT_FALSE(run.complete);
    EXPECT_EQ(form.label(Label::Wait), StoppedText());
    EXPECT_TRUE(std::any_of(run.effects.begin(), run.effects.end(), [](const RecordedEffect& e) { return e.changes && !e.refused; }));
    ASSERT_FALSE(run.folder.empty());
    machine.limitSpaceBelow(DefaultUndoRoot(machine), std::nullopt);
    RestoreRecord(machine, run.folder);
    EXPECT_EQ(test::Difference(prior, TweakedState(machine)), std::vector<std::string>{});

    sim::SimWindows full;
    full.files().addFile(DefaultUndoRoot(full), "a file where the folder would go");
    EXPECT_FALSE(test::JournalStack(full).journal.begin());
}

TEST(UndoRecord, AFileThatCannotBeReadIsNotDeletedAndTheRunGoesOn) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    const std::string gamma = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup\\Gamma.lnk";
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    // A file this user may delete but not read.
    struct Unreadable : ForwardingPlatform {
        using ForwardingPlatform::ForwardingPlatform;
        std::string path;
        std::string readFileBytes(const std::string& p) override {
            if (EqualNoCase(p, path)) throw PlatformError("The process cannot access the file: " + p);
            return ForwardingPlatform::readFileBytes(p);
        }
        std::string readFileBytesAtMost(const std::string& p, std::size_t limit) override {
            if (EqualNoCase(p, path)) throw PlatformError("The process cannot access the file: " + p);
            return ForwardingPlatform::readFileBytesAtMost(p, limit);
        }
    } unreadable(machine);
    unreadable.path = gamma;
    form.showOnly(Page::Startup);
    RunContext context{form, unreadable, "Tester"};
    const RecordedRun run = RunWithUndoRecord(context, [](RunContext& run) { RunOptimise(run); });
    EXPECT_TRUE(run.complete);
    EXPECT_TRUE(machine.anyFileExists(gamma));
    EXPECT_FALSE(machine.anyFileExists("C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup\\Alpha"));
    const auto refused = std::find_if(run.effects.begin(), run.effects.end(), [](const RecordedEffect& e) { return e.refused; });
    ASSERT_NE(refused, run.effects.end());
    EXPECT_EQ(refused->effect.target, gamma);
    EXPECT_NE(refused->reason.find("cannot access"), std::string::npos) << refused->reason;
}

}  // namespace
}  // namespace quillon
