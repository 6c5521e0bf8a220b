// The undo record of a run, on the simulated Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine/OptimiseRun.h"
#include "journal/Journal.h"
#include "tests/unit/JournalMachine.h"

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
    const RecordedRun run = RunWithUndoRecord(context, RunOptimise);
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
        RunWithUndoRecord(context, RunOptimise);
    }
    const auto records = UndoRecords(machine);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kUndoRecordsKept));
    EXPECT_EQ(records.front(), machine.executableFolder() + "\\undo\\2026-02-03 04-05-34");
    EXPECT_EQ(records.back(), machine.executableFolder() + "\\undo\\2026-02-03 04-05-15");
}

TEST(UndoRecord, ARunWhoseRecordCannotBeWrittenGoesOnAndSaysSo) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    machine.files().setReadOnlyFolder(machine.executableFolder());
    test::MemoryForm form;
    form.setChk(54, kTicked);
    RunContext context{form, machine, "Tester"};
    const RecordedRun run = RunWithUndoRecord(context, RunOptimise);
    EXPECT_TRUE(run.folder.empty());
    EXPECT_FALSE(run.complete);
    EXPECT_EQ(machine.registry().dwordValue("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot"), 1u);
}

}  // namespace
}  // namespace quillon
