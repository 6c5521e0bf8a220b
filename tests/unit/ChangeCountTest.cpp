// One count of a record's changes: what APPLY printed, what UNDO /list shows
// and what "Undo last run..." says are the same number for the same run.
#include <gtest/gtest.h>

#include "console/Verbs.h"
#include "record/RecordStore.h"
#include "settings/SelectionFile.h"
#include "tests/unit/ConsoleTerminal.h"
#include "tests/unit/JournalMachine.h"
#include "window/SystemMenuActions.h"

namespace quillon {
namespace {

TEST(ChangeCount, ApplyUndoListAndTheWindowsOfferAgreeForEveryPageAndSide) {
    for (bool ticked : {true, false}) {
        SCOPED_TRACE(ticked);
        sim::SimWindows machine;
        test::FurnishMachine(machine);
        test::MemoryForm form;
        test::SelectEverything(form, machine, ticked);
        machine.files().addDirectory("C:\\deploy");
        machine.writeTextFile("C:\\deploy\\all.dat", SelectionLines(form));

        console::RecordingTerminal terminal;
        ASSERT_LE(console::RunConsole(std::vector<std::string>{"APPLY", "/selection", "C:\\deploy\\all.dat"}, terminal, machine),
                  console::kSomeStepsFailed);
        ASSERT_FALSE(terminal.outLines.empty());
        const std::string undoLine = terminal.outLines.back();
        ASSERT_EQ(undoLine.rfind("undo\t", 0), 0u) << undoLine;
        const std::string folder = undoLine.substr(5);
        const int printed = static_cast<int>(terminal.outLines.size()) - 1;
        ASSERT_GT(printed, 0);

        terminal = {};
        ASSERT_EQ(console::RunConsole(std::vector<std::string>{"UNDO", "/list"}, terminal, machine), console::kDone);
        ASSERT_EQ(terminal.outLines.size(), 1u);
        EXPECT_EQ(console::Fields(terminal.outLines[0]).at(4), std::to_string(printed));

        const UndoOffer offer = NewestUndoRecord(machine);
        EXPECT_EQ(offer.folder, folder);
        EXPECT_EQ(offer.changes, printed);
    }
}

}  // namespace
}  // namespace quillon
