// What a fleet sees of its runs: one count of a record's changes (what APPLY
// printed, UNDO /list and "Undo last run..." agree), and the CSV report.
#include <gtest/gtest.h>

#include <set>

#include "console/Report.h"
#include "console/Verbs.h"
#include "words/StepNames.h"
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
        // Which boxes changed what, as APPLY named them, and its pages in the order it took them.
        std::multiset<std::string> applied;
        std::string pages;
        for (int i = 0; i < printed; ++i) {
            const auto f = console::Fields(terminal.outLines[i]);
            applied.insert(f.at(0) + "|" + f.at(1) + "|" + f.at(2));
            const std::string page = f.at(0).substr(0, f.at(0).find(','));
            if (("," + pages + ",").find("," + page + ",") == std::string::npos) pages += (pages.empty() ? "" : ",") + page;
        }

        terminal = {};
        ASSERT_EQ(console::RunConsole(std::vector<std::string>{"UNDO", "/list"}, terminal, machine), console::kDone);
        ASSERT_EQ(terminal.outLines.size(), 1u);
        const auto listed = console::Fields(terminal.outLines[0]);
        EXPECT_EQ(listed.at(4), "run");
        EXPECT_EQ(listed.at(5), pages);
        EXPECT_EQ(listed.at(6), std::to_string(printed));

        terminal = {};
        ASSERT_EQ(console::RunConsole(std::vector<std::string>{"UNDO", "/show", folder}, terminal, machine),
                  console::kDone);
        std::multiset<std::string> shown;
        for (const std::string& line : terminal.outLines) {
            const auto f = console::Fields(line);
            if (f.at(0) == "failed") continue;  // what the run could not do, as its log names it
            ASSERT_EQ(f.size(), 6u) << line;
            shown.insert(f.at(0) + "|" + f.at(1) + "|" + f.at(2));
        }
        EXPECT_EQ(shown, applied);

        const UndoOffer offer = NewestUndoRecord(machine);
        EXPECT_EQ(offer.folder, folder);
        EXPECT_EQ(offer.changes, printed);

        // The restore's own record names the same pages, counts what UNDO printed as put back, and shows
        // what it kept (a value changed since the run) as UNDO named it.
        ASSERT_EQ(applied.count("System|54|" + BoxCaption(54)), 1u);
        machine.registry().setValue("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot",
                                    sim::Value::Dword(7));
        terminal = {};
        ASSERT_EQ(console::RunConsole(std::vector<std::string>{"UNDO"}, terminal, machine), console::kDone);
        const auto addPages = [](std::set<std::string>& to, const std::string& field) {
            for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
                to.insert(field.substr(start, (end = field.find(',', start)) - start));
        };
        std::set<std::string> undonePages;
        std::vector<std::string> kept;
        std::string restoreFolder;
        int undone = 0;
        for (const std::string& line : terminal.outLines) {
            const auto f = console::Fields(line);
            if (f.at(0) == "undo") restoreFolder = f.at(1);
            else if (f.at(3).starts_with("kept ")) kept.push_back(line);
            else addPages(undonePages, f.at(0)), ++undone;
        }
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(console::Fields(kept[0]).at(1), "54") << kept[0];
        terminal = {};
        ASSERT_EQ(console::RunConsole(std::vector<std::string>{"UNDO", "/show", restoreFolder}, terminal, machine),
                  console::kDone);
        std::vector<std::string> shownKept;
        for (const std::string& line : terminal.outLines)
            if (const auto f = console::Fields(line); f.size() == 6 && f[3].starts_with("kept "))
                shownKept.push_back(line);
        EXPECT_EQ(shownKept, kept);
        terminal = {};
        ASSERT_EQ(console::RunConsole(std::vector<std::string>{"UNDO", "/list"}, terminal, machine), console::kDone);
        const auto restore = console::Fields(terminal.outLines.at(0));
        EXPECT_EQ(restore.at(4), "restore");
        EXPECT_EQ(restore.at(6), std::to_string(undone));
        std::set<std::string> restorePages;
        addPages(restorePages, restore.at(5));
        undonePages.erase("-");  // a key the run made above its targets
        EXPECT_EQ(restorePages, undonePages);
    }
}

}  // namespace
}  // namespace quillon

namespace quillon::console {
namespace {

std::vector<std::string> ReportLines(sim::SimWindows& machine, const std::string& path) {
    const std::string text = *machine.files().content(path);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(FleetReport, EveryBoxHasARowAndEachRunOneBlockUnderOneHeading) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.setComputerName("OFFICE-7");
    machine.files().addDirectory("C:\\share");
    const std::string report = "C:\\share\\fleet.csv";
    const auto run = [&](std::vector<std::string> arguments) {
        RecordingTerminal terminal;
        return RunConsole(arguments, terminal, machine);
    };
    ASSERT_EQ(run({"APPLY", "/on", "54,35", "/report", report}), kDone);
    ASSERT_EQ(run({"CHECK", "/on", "54,35", "/report", report}), kDone);
    ASSERT_EQ(run({"CHECK", "/off", "54", "/page", "System", "/report", report}), kDrifted);
    // A download folder the machine does not hold drifts on a row of its own.
    test::MemoryForm wanted;
    wanted.setTxtPath("D:\\Downloads");
    machine.writeTextFile("C:\\share\\office.dat", SelectionLines(wanted));
    ASSERT_EQ(run({"CHECK", "/selection", "C:\\share\\office.dat", "/page", "Security", "/report", report}), kDrifted);

    const auto lines = ReportLines(machine, report);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "\xEF\xBB\xBF" "computer,user,time,verb,page,number,caption,result,now,wanted");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), lines[0]), 1);
    std::map<std::string, std::vector<std::string>> results;  // "verb page number" -> results, run by run
    std::vector<std::string> summaries;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_EQ(line.rfind("OFFICE-7,Tester,", 0), 0u) << line;
        std::vector<std::string> f;
        for (std::size_t start = 0;;) {  // no field of these runs needs quotes but captions with commas
            if (line[start] == '"') {
                const std::size_t close = line.find("\",", start + 1);
                f.push_back(line.substr(start + 1, close - start - 1));
                if (close == std::string::npos) break;
                start = close + 2;
                continue;
            }
            const std::size_t comma = line.find(',', start);
            f.push_back(line.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        ASSERT_EQ(f.size(), 10u) << line;
        if (f[6] == "summary") summaries.push_back(f[3] + " " + f[7]);
        else results[f[3] + " " + f[4] + " " + f[5]].push_back(f[7]);
    }
    EXPECT_EQ(summaries, (std::vector<std::string>{"APPLY exit 0", "CHECK exit 0", "CHECK exit 1", "CHECK exit 1"}));
    EXPECT_EQ(results["APPLY System 54"], std::vector<std::string>{"changed"});
    int other = 0;
    while (PageOfBox(other) != Page::System || other == 54) ++other;
    EXPECT_EQ(results["APPLY System " + std::to_string(other)], std::vector<std::string>{"left alone"});
    EXPECT_EQ(results["CHECK System 54"], (std::vector<std::string>{"ok", "drift"}));
    EXPECT_EQ(results["CHECK Security 35"].at(0), "ok");
    // The controls that are no boxes have rows too, whatever they hold.
    EXPECT_EQ(results["CHECK Security txtPath"], (std::vector<std::string>{"left alone", "drift"}));
    EXPECT_EQ(results["CHECK Security lstHide"].size(), 2u);
    EXPECT_EQ(results["CHECK System Combo2"].size(), 2u);
    // Every box of the pages has its row in each run, compliant or not.
    for (int box = 0; box < kCheckBoxCount; ++box) {
        if (PageOfBox(box) != Page::System) continue;
        EXPECT_EQ(results["CHECK System " + std::to_string(box)].size(), 2u) << box;
    }
}

TEST(FleetReport, FieldsAreQuotedOnlyWhereCsvNeedsIt) {
    EXPECT_EQ(CsvLine({"a", "b,c", "say \"hi\"", "two\r\nlines", ""}),
              "a,\"b,c\",\"say \"\"hi\"\"\",\"two\r\nlines\",\r\n");
}

}  // namespace
}  // namespace quillon::console
