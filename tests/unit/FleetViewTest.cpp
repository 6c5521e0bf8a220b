// What a fleet sees of its runs: one count of a record's changes (what APPLY
// printed, UNDO /list and "Undo last run..." agree), and the CSV report.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

#include "console/Report.h"
#include "console/RunResult.h"
#include "console/Verbs.h"
#include "words/RunEventText.h"
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
    RecordingTerminal terminal;
    const auto run = [&](std::vector<std::string> arguments) {
        terminal = {};
        return RunConsole(arguments, terminal, machine);
    };
    ASSERT_EQ(run({"APPLY", "/on", "54,35", "/report", report}), kDone);
    const std::string undoFolder = Fields(terminal.outLines.back()).at(1);
    ASSERT_EQ(run({"CHECK", "/on", "54,35", "/report", report}), kDone);
    ASSERT_EQ(run({"CHECK", "/off", "54", "/page", "System", "/report", report}), kDrifted);
    // A download folder the machine does not hold drifts on a row of its own.
    test::MemoryForm wanted;
    wanted.setTxtPath("D:\\Downloads");
    machine.writeTextFile("C:\\share\\office.dat", SelectionLines(wanted));
    ASSERT_EQ(run({"CHECK", "/selection", "C:\\share\\office.dat", "/page", "Security", "/report", report}), kDrifted);

    const auto lines = ReportLines(machine, report);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "\xEF\xBB\xBF" "computer,user,time,verb,page,number,caption,result,now,wanted,run,target");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), lines[0]), 1);
    std::map<std::string, std::vector<std::string>> results;  // "verb page number" -> results, run by run
    std::vector<std::string> summaries, runs;
    std::set<std::string> blockRuns;
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
        ASSERT_EQ(f.size(), 12u) << line;
        blockRuns.insert(f[10]);
        if (f[6] != "summary") {
            results[f[3] + " " + f[4] + " " + f[5]].push_back(f[7]);
            continue;
        }
        summaries.push_back(f[3] + " " + f[7]);
        // Every row of a run names it alike, and no other run's.
        EXPECT_EQ(blockRuns.size(), 1u);
        EXPECT_EQ(std::count(runs.begin(), runs.end(), f[10]), 0);
        runs.push_back(f[10]);
        blockRuns.clear();
    }
    // A run that kept an undo record is named by its folder.
    EXPECT_EQ(runs.at(0), undoFolder.substr(undoFolder.rfind('\\') + 1));
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

// The rows of a report block by "page number": result, now, wanted; and its summary row.
std::map<std::string, std::vector<std::string>> LastBlock(sim::SimWindows& machine, const std::string& path) {
    std::map<std::string, std::vector<std::string>> rows, block;
    for (const std::string& line : ReportLines(machine, path)) {
        std::vector<std::string> f(1);
        bool quoted = false;
        for (char c : line) {
            if (c == '"') quoted = !quoted;
            else if (c == ',' && !quoted) f.emplace_back();
            else f.back() += c;
        }
        if (f.size() < 10 || f[3] == "verb") continue;
        if (f[6] != "summary") {
            block[f[4] + " " + f[5]] = {f[7], f[8], f[9]};
            continue;
        }
        rows = std::move(block);
        block.clear();
        rows["summary"] = {f[7], f[8]};
    }
    return rows;
}

TEST(FleetReport, AControlTheDesiredStateNamesIsReportedLikeABox) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.files().addDirectory("C:\\share");
    const std::string report = "C:\\share\\fleet.csv", file = "C:\\share\\office.txt";
    RecordingTerminal terminal;
    const auto run = [&](std::vector<std::string> arguments) {
        terminal = {};
        return RunConsole(arguments, terminal, machine);
    };
    machine.writeTextFile(file, {"lstHide C", "Combo2 0"});
    ASSERT_EQ(run({"APPLY", "/boxes", file}), kDone);
    machine.writeTextFile(file, {"lstHide none", "Combo2 0", "on 54"});
    ASSERT_EQ(run({"CHECK", "/boxes", file, "/report", report}), kDrifted);
    auto rows = LastBlock(machine, report);
    EXPECT_EQ(rows["Security lstHide"].at(0), "drift");
    EXPECT_NE(rows["Security lstHide"].at(1), rows["Security lstHide"].at(2));
    EXPECT_EQ(rows["System Combo2"], (std::vector<std::string>{"ok", "0", "0"}));
    EXPECT_EQ(rows["Security txtPath"].at(0), "left alone");
    // The summary counts every row of the block.
    int drifts = 0, oks = 0;
    for (const auto& [item, row] : rows) drifts += row[0] == "drift", oks += row[0] == "ok";
    EXPECT_NE(rows["summary"].at(1).find("drift " + std::to_string(drifts)), std::string::npos) << rows["summary"][1];
    EXPECT_NE(rows["summary"].at(1).find("ok " + std::to_string(oks)), std::string::npos) << rows["summary"][1];

    ASSERT_EQ(run({"APPLY", "/boxes", file, "/report", report}), kDone);
    rows = LastBlock(machine, report);
    EXPECT_EQ(rows["Security lstHide"], (std::vector<std::string>{"changed", "none", "none"}));
    EXPECT_EQ(rows["System Combo2"].at(0), "unchanged");
    EXPECT_EQ(rows["System 54"].at(0), "changed");
}

TEST(FleetReport, AServiceTheMachineLacksIsNotPresentNeverOnNorADrift) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.registry().deleteKey("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter");
    machine.files().addDirectory("C:\\share");
    const std::string report = "C:\\share\\fleet.csv";
    for (const char* verb : {"CHECK", "APPLY"})
        for (const char* side : {"/on", "/off"}) {
            RecordingTerminal terminal;
            ASSERT_EQ(RunConsole(std::vector<std::string>{verb, side, "Alerter", "/report", report}, terminal, machine),
                      kDone) << verb << side;
            const auto rows = LastBlock(machine, report);
            EXPECT_EQ(rows.at("Services 0").at(0), "not present") << verb << side;
            EXPECT_EQ(rows.at("Services 0").at(1), "") << verb << side;
            EXPECT_EQ(rows.at("summary").at(0), "exit 0");
        }
}

TEST(FleetReport, AReportSomeoneIsReadingIsWaitedForThenSaidToBeInUse) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.files().addDirectory("C:\\share");
    const std::string report = "C:\\share\\fleet.csv";
    machine.setFileInUse(report);
    RecordingTerminal terminal;
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54", "/report", report, "/wait", "0"}, terminal, machine),
              kReportInUse);
    ASSERT_EQ(terminal.errLines.size(), 1u);
    EXPECT_NE(terminal.errLines[0].find("the report file is in use"), std::string::npos) << terminal.errLines[0];
    EXPECT_NE(terminal.errLines[0].find("exit status 1"), std::string::npos) << terminal.errLines[0];  // it drifted
    // A run still makes its changes: only its rows are missing.
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/on", "54", "/report", report}, terminal, machine), kReportInUse);
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54"}, terminal, machine), kDone);
    machine.setFileInUse("");
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54", "/report", report}, terminal, machine), kDone);

    // A file that holds something else (a selection file named by mistake) is
    // never appended to: the run says so and fails as for a report it cannot write.
    const std::string selection = "C:\\share\\office.dat";
    machine.writeTextFile(selection, {"\"0\"", "\"0\""});
    const auto before = machine.files().content(selection);
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54", "/report", selection}, terminal, machine), kBadUsage);
    EXPECT_EQ(machine.files().content(selection), before);
    ASSERT_EQ(terminal.errLines.size(), 1u);
    EXPECT_NE(terminal.errLines[0].find("not a report"), std::string::npos) << terminal.errLines[0];
    // A report saved again by a spreadsheet, without the byte-order mark, is still one.
    machine.files().addFile(report, "computer,user,time\r\n");
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54", "/report", report}, terminal, machine), kDone);
}

TEST(FleetReport, FieldsAreQuotedOnlyWhereCsvNeedsIt) {
    EXPECT_EQ(CsvLine({"a", "b,c", "say \"hi\"", "two\r\nlines", ""}),
              "a,\"b,c\",\"say \"\"hi\"\"\",\"two\r\nlines\",\r\n");
}

// Every field reads back as written, or as written after an apostrophe where
// a spreadsheet would have taken it for a formula.
TEST(FleetReport, EveryFieldReadsBackAndNoneIsAFormula) {
    std::mt19937 random(7);
    const std::string alphabet = "=+-@\t\r\n,\"'a1. ";
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> fields(1 + random() % 4);
        for (std::string& f : fields)
            for (int n = static_cast<int>(random() % 6); n > 0; --n) f += alphabet[random() % alphabet.size()];
        const std::string line = CsvLine(fields);
        ASSERT_TRUE(line.ends_with("\r\n"));
        std::vector<std::string> read(1);
        bool quoted = false;
        const std::string body = line.substr(0, line.size() - 2);
        for (std::size_t i = 0; i < body.size(); ++i) {
            const char c = body[i];
            if (quoted && c == '"' && i + 1 < body.size() && body[i + 1] == '"') read.back() += '"', ++i;
            else if (c == '"') quoted = !quoted;
            else if (c == ',' && !quoted) read.emplace_back();
            else read.back() += c;
        }
        ASSERT_EQ(read.size(), fields.size()) << line;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_TRUE(read[i] == fields[i] || read[i] == "'" + fields[i]) << line;
            const bool number = read[i] == "-" || (read[i].find_first_not_of("0123456789.", 1) == std::string::npos &&
                                                   read[i].find_first_of("0123456789") != std::string::npos);
            const char first = read[i].empty() ? 'a' : read[i][0];
            EXPECT_EQ(std::string("=@\t\r").find(first), std::string::npos) << line;
            EXPECT_TRUE(number || (first != '+' && first != '-')) << line;
        }
    }
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.setComputerName("=HYPERLINK(\"x\")");
    machine.files().addDirectory("C:\\share");
    RecordingTerminal terminal;
    ASSERT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54", "/report", "C:\\share\\f.csv"}, terminal, machine),
              kDrifted);
    EXPECT_EQ(ReportLines(machine, "C:\\share\\f.csv").at(1).rfind("\"'=HYPERLINK(\"\"x\"\")\",", 0), 0u);
}

}  // namespace
}  // namespace quillon::console

namespace quillon::console {
namespace {

int Counted(const std::string& summary, const std::string& result) {
    for (const std::string& field : Fields(summary))
        if (field.rfind(result + " ", 0) == 0) return std::stoi(field.substr(result.size() + 1));
    ADD_FAILURE() << result << " missing from " << summary;
    return -1;
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Every CSV row of a report file's last block (no heading, no summary), fields unquoted.
std::vector<std::vector<std::string>> LastBlockFields(sim::SimWindows& machine, const std::string& path) {
    std::vector<std::vector<std::string>> rows, block;
    for (const std::string& line : ReportLines(machine, path)) {
        std::vector<std::string> f(1);
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') f.back() += c, ++i;
            else if (c == '"') quoted = !quoted;
            else if (c == ',' && !quoted) f.emplace_back();
            else f.back() += c;
        }
        if (f.size() < 12 || f[3] == "verb") continue;
        if (f[6] != "summary") {
            block.push_back(std::move(f));
            continue;
        }
        rows = std::move(block);
        block.clear();
    }
    return rows;
}

// A report folder holds one file a computer, each replaced whole by its newest run.
TEST(FleetReport, AReportFolderHoldsEachComputersNewestRunAlone) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.setComputerName("OFFICE-7");
    machine.files().addDirectory("C:\\share");
    RecordingTerminal terminal;
    ASSERT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/on", "54", "/report", "C:\\share\\"}, terminal, machine),
              kDrifted) << (terminal.errLines.empty() ? "" : terminal.errLines[0]);
    const auto first = ReportLines(machine, "C:\\share\\OFFICE-7.csv");
    terminal = {};
    ASSERT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/on", "54", "/report", "C:\\share\\"}, terminal, machine), kDone);
    const auto lines = ReportLines(machine, "C:\\share\\OFFICE-7.csv");
    ASSERT_EQ(lines.size(), first.size());
    EXPECT_NE(lines.at(0).find("computer,user,time,verb,page,number,caption,result,now,wanted,run,target"), std::string::npos);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i].find(",APPLY,"), std::string::npos) << lines[i];
    EXPECT_NE(lines.back().find(",summary,exit 0,"), std::string::npos);
    EXPECT_EQ(machine.listVisibleFiles("C:\\share", "*"), std::vector<std::string>{"OFFICE-7.csv"});
}

// SUMMARY counts, item by item, the machines of a report folder by what their newest run found.
TEST(FleetReport, SummaryCountsEachMachinesNewestRowsAndNamesTheDrifts) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.files().addDirectory("C:\\fleet");
    RecordingTerminal terminal;
    const auto run = [&](const char* computer, std::vector<std::string> arguments) {
        machine.setComputerName(computer);
        terminal = {};
        return RunConsole(arguments, terminal, machine);
    };
    ASSERT_EQ(run("PC-1", {"CHECK", "/on", "54", "/report", "C:\\fleet\\"}), kDrifted);
    ASSERT_EQ(run("PC-2", {"CHECK", "/on", "54", "/report", "C:\\fleet\\"}), kDrifted);
    ASSERT_EQ(run("PC-3", {"APPLY", "/on", "54", "/report", "C:\\fleet\\"}), kDone);
    ASSERT_EQ(run("PC-3", {"CHECK", "/on", "54", "/report", "C:\\fleet\\"}), kDone);
    machine.writeTextFile("C:\\fleet\\notes.csv", {"not, a report"});
    ASSERT_EQ(run("ADMIN", {"SUMMARY", "C:\\fleet"}), kDrifted);
    ASSERT_FALSE(terminal.outLines.empty());
    ASSERT_EQ(terminal.summaryLines.size(), 1u);
    EXPECT_EQ(terminal.summaryLines[0], "summary\tmachines 3\tunreadable 1");
    int rows = 0;
    for (const std::string& line : terminal.outLines) {
        const auto f = Fields(line);
        if (f[0] == "summary") continue;
        ++rows;
        ASSERT_EQ(f.size(), 7u) << line;
        if (f[0] + " " + f[1] == "System 54") {
            EXPECT_EQ(f[3] + "|" + f[4] + "|" + f[5], "ok 1|drift 2|not present 0");
            EXPECT_NE(f[6].find(" -> "), std::string::npos) << line;
            EXPECT_NE(f[6].find("(2)"), std::string::npos) << line;
        } else {
            EXPECT_EQ(f[4], "drift 0") << line;  // what the runs left alone never drifts
        }
    }
    EXPECT_GT(rows, 1);
    ASSERT_EQ(run("ADMIN", {"SUMMARY", "C:\\fleet\\", "/json"}), kDrifted);
    ASSERT_EQ(terminal.outLines.size(), 1u);
    EXPECT_NE(terminal.outLines[0].find("\"machines\": 3"), std::string::npos);
    EXPECT_NE(terminal.outLines[0].find("\"number\": \"54\", \"caption\": "), std::string::npos);
    EXPECT_NE(terminal.outLines[0].find("\"ok\": 1, \"drift\": 2, \"notPresent\": 0"), std::string::npos);
    EXPECT_EQ(run("ADMIN", {"SUMMARY"}), kBadUsage);
    EXPECT_EQ(run("ADMIN", {"SUMMARY", "C:\\nowhere"}), kBadUsage);
}

// An undo's rows say what it put back as its lines do: the steps of the change
// (a key no box deletes under "-"), then the target in a column of its own.
TEST(FleetReport, UndoRowsNameTheStepsAndTheTargetAsItsLinesDo) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    machine.files().addDirectory("C:\\share");
    machine.writeTextFile("C:\\share\\all.dat", SelectionLines(form));
    const std::string report = "C:\\share\\fleet.csv";
    RecordingTerminal terminal;
    ASSERT_LE(RunConsole(std::vector<std::string>{"APPLY", "/selection", "C:\\share\\all.dat"}, terminal, machine),
              kSomeStepsFailed);
    terminal = {};
    ASSERT_LE(RunConsole(std::vector<std::string>{"UNDO", "/report", report}, terminal, machine), kSomeStepsFailed);
    std::multiset<std::string> printed, reported;
    for (const std::string& line : terminal.outLines) {
        const auto f = Fields(line);
        if (f.size() == 6) printed.insert(f[0] + "|" + f[1] + "|" + f[2] + "|" + f[3]);
    }
    ASSERT_FALSE(printed.empty());
    for (const auto& f : LastBlockFields(machine, report)) {
        EXPECT_NE(f[11], "") << f[6];
        EXPECT_NE(f[6], f[11]);
        if (f[7] == "changed") reported.insert(f[4] + "|" + f[5] + "|" + f[6] + "|" + f[11]);
    }
    EXPECT_EQ(reported, printed);
}

// A JSON string read back as a JSON reader would, as UTF-8; nothing when it is
// not one (a raw control character, a bad escape, a lone surrogate).
std::optional<std::string> ReadJsonString(const std::string& json) {
    if (json.size() < 2 || json.front() != '"' || json.back() != '"') return std::nullopt;
    std::string text;
    const auto put = [&](char32_t c) {
        if (c < 0x80) text += static_cast<char>(c);
        else if (c < 0x800) text += {static_cast<char>(0xc0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3f))};
        else if (c < 0x10000)
            text += {static_cast<char>(0xe0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3f)),
                     static_cast<char>(0x80 | (c & 0x3f))};
        else
            text += {static_cast<char>(0xf0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3f)),
                     static_cast<char>(0x80 | ((c >> 6) & 0x3f)), static_cast<char>(0x80 | (c & 0x3f))};
    };
    for (std::size_t i = 1; i + 1 < json.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(json[i]);
        if (c < 0x20 || c >= 0x80 || c == '"') return std::nullopt;  // ASCII only, as the console's pipe needs
        if (c != '\\') {
            text += static_cast<char>(c);
            continue;
        }
        const char kind = json.at(++i);
        if (kind == '"' || kind == '\\') {
            text += kind;
            continue;
        }
        const auto unit = [&]() -> std::optional<char32_t> {
            if (json.at(i) != 'u' || i + 5 >= json.size()) return std::nullopt;
            const char32_t u = static_cast<char32_t>(std::stoul(json.substr(i + 1, 4), nullptr, 16));
            i += 4;
            return u;
        };
        std::optional<char32_t> u = unit();
        if (!u || (*u >= 0xdc00 && *u < 0xe000)) return std::nullopt;
        if (*u >= 0xd800 && *u < 0xdc00) {
            if (json.substr(i + 1, 2) != "\\u") return std::nullopt;
            i += 2;
            const std::optional<char32_t> low = unit();
            if (!low || *low < 0xdc00 || *low >= 0xe000) return std::nullopt;
            u = 0x10000 + ((*u - 0xd800) << 10) + (*low - 0xdc00);
        }
        put(*u);
    }
    return text;
}

// Whatever bytes a name holds, /json stays one valid JSON string in ASCII: UTF-8
// comes back as it was, and a byte that is no UTF-8 is one replacement character.
TEST(RunSummary, JsonStringsAreValidJsonInAsciiForEveryByte) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text = std::string("a") + static_cast<char>(byte) + "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
        const std::optional<std::string> read = ReadJsonString(JsonString(text));
        ASSERT_TRUE(read) << byte << ": " << JsonString(text);
        EXPECT_EQ(*read, byte < 0x80 ? text : "a\xEF\xBF\xBD\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80") << byte;
    }
    std::mt19937 random(35);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 12, '\0');
        for (char& b : bytes) b = static_cast<char>(random() % 256);
        const std::optional<std::string> read = ReadJsonString(JsonString(bytes));
        ASSERT_TRUE(read) << JsonString(bytes);
        EXPECT_EQ(ReadJsonString(JsonString(*read)), read);  // what came back is valid UTF-8, kept whole
    }
}

// APPLY and UNDO each write one event to the Application log however they end,
// its id saying how, its text naming what changed and what failed; the verbs
// that only read write none.
TEST(RunSummary, EachApplyAndUndoWritesOneEventNamingWhatChanged) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::optional<RunEvent> event;
        std::vector<std::string> named;
    };
    const std::string box54 = "System 54 " + BoxCaption(54);
    const std::vector<Case> cases = {
        {{"CHECK", "/on", "54"}, kDrifted, std::nullopt, {}},
        {{"APPLY", "/on", "54,Alerter", "/off", "19"}, kDone, RunEvent::Done,
         {"quillonc APPLY by Tester on SIMULATED: done\r\n", "\r\nchanged: ", box54, "failed 0", "undo record: C:\\"}},
        {{"APPLY", "/on", "54,Alerter", "/off", "19"}, kDone, RunEvent::Done, {"changed 0", "undo record: none"}},
        {{"UNDO", "/list"}, kDone, std::nullopt, {}},
        {{"UNDO"}, kDone, RunEvent::Undone, {"quillonc UNDO by Tester", box54, "\r\nrecord taken back: C:\\"}},
        {{"UNDO"}, kBadUsage, RunEvent::UndoFailed, {"nothing was changed (exit status 2)", "there is no undo record"}},
        {{"APPLY", "/selection", "C:\\none.dat"}, kBadUsage, RunEvent::Failed, {"C:\\none.dat"}},
        {{"APPLY", "/on", "Alerter"}, kSomeStepsFailed, RunEvent::Failed, {"\r\nfailed: Services ", "failed 1"}},
    };
    std::size_t events = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + (c.arguments.size() > 1 ? c.arguments[1] : ""));
        if (c.event == RunEvent::Failed && c.status == kSomeStepsFailed) machine.setToolMissing("sc");
        RecordingTerminal terminal;
        ASSERT_EQ(RunConsole(c.arguments, terminal, machine), c.status) << (terminal.errLines.empty() ? "" : terminal.errLines[0]);
        ASSERT_EQ(machine.events().size(), events + (c.event ? 1 : 0));
        if (!c.event) continue;
        const auto& [event, text] = machine.events().at(events++);
        EXPECT_EQ(event, *c.event);
        for (const std::string& words : c.named) EXPECT_NE(text.find(words), std::string::npos) << words << " in\n" << text;
        EXPECT_LE(text.size(), kEventTextLimit);
        EXPECT_EQ(text.find("failed: failed: "), std::string::npos) << text;  // a failure is said once
    }
}

// However many boxes a run changes and however long their names, the text
// stays within the bound and says how many it left out.
TEST(RunSummary, AnEventsTextIsBoundedAndSaysWhatItLeftOut) {
    RunEventText event{"heading", {{"changed", 5000}}, std::string(9000, 'u'), {}, {}, {"a note"}};
    for (int i = 0; i < 5000; ++i) event.changed.push_back("System " + std::to_string(i) + " " + std::string(i % 500, 'x'));
    event.failed.assign(3, "Services 1 Alerter: \xE4\xB8\xAD" + std::string(400, 'y'));
    const std::string text = EventText(event);
    EXPECT_LE(text.size(), kEventTextLimit);
    EXPECT_NE(text.find("failed: Services 1 Alerter: \xE4\xB8\xAD"), std::string::npos) << text.substr(0, 200);
    EXPECT_NE(text.find(" (3)"), std::string::npos);  // the same failure three times is one item
    EXPECT_NE(text.find(" more\r\n"), std::string::npos);
    EXPECT_TRUE(ReadJsonString(JsonString(text)).has_value() && *ReadJsonString(JsonString(text)) == text);  // cut whole characters only
}

// The summary line and the JSON document say what the tab lines say, for
// every verb that runs or checks, with a record and without.
TEST(RunSummary, CountsEqualTheLinesAndJsonCarriesTheSameChanges) {
    sim::SimWindows machine, twin;
    for (auto* m : {&machine, &twin}) test::FurnishMachine(*m);
    RecordingTerminal terminal;
    const auto run = [&](sim::SimWindows& on, std::vector<std::string> arguments) {
        terminal = {};
        return RunConsole(arguments, terminal, on);
    };
    const std::vector<std::string> apply = {"APPLY", "/on", "54,35,Alerter", "/off", "19"};
    ASSERT_EQ(run(machine, {"CHECK", "/on", "54,35,Alerter", "/off", "19"}), kDrifted);
    ASSERT_EQ(terminal.summaryLines.size(), 1u);
    const int drifts = static_cast<int>(terminal.outLines.size());
    EXPECT_EQ(Counted(terminal.summaryLines[0], "drift"), drifts);
    EXPECT_TRUE(terminal.summaryLines[0].ends_with("\tnone"));

    ASSERT_EQ(run(machine, apply), kDone);
    ASSERT_EQ(terminal.summaryLines.size(), 1u);
    const std::string summary = terminal.summaryLines[0];
    const int changed = static_cast<int>(terminal.outLines.size()) - 1;  // and the undo line
    EXPECT_EQ(changed, drifts);
    EXPECT_EQ(Counted(summary, "changed"), changed);
    EXPECT_EQ(Counted(summary, "failed"), 0);
    EXPECT_EQ(Fields(summary).back(), Fields(terminal.outLines.back()).at(1));  // the undo folder

    // The same run on a twin machine, as one JSON document.
    ASSERT_EQ(run(twin, {"APPLY", "/on", "54,35,Alerter", "/off", "19", "/json"}), kDone);
    ASSERT_EQ(terminal.outLines.size(), 1u);
    ASSERT_TRUE(terminal.summaryLines.empty());
    const std::string json = terminal.outLines[0];
    EXPECT_TRUE(json.starts_with("{\"computer\": ") && json.ends_with("]}")) << json.substr(0, 80);
    EXPECT_NE(json.find("\"verb\": \"APPLY\""), std::string::npos);
    EXPECT_NE(json.find("\"exitStatus\": 0"), std::string::npos);
    EXPECT_EQ(Occurrences(json, "\"result\": \"changed\""), changed);
    EXPECT_NE(json.find("\"changed\": " + std::to_string(changed)), std::string::npos);
    EXPECT_EQ(Occurrences(json, "{\"page\": "), Counted(summary, "changed") + Counted(summary, "unchanged") +
                                                    Counted(summary, "failed") + Counted(summary, "not present"));
    EXPECT_EQ(json.find('\n', json.find("]}")), std::string::npos);
    for (const char* broken : {"{,", "[,", ",,", ", }", ",]"}) EXPECT_EQ(json.find(broken), std::string::npos) << broken;

    // A run with nothing to do, and one without a record, still end with the summary.
    ASSERT_EQ(run(machine, apply), kDone);
    EXPECT_EQ(Counted(terminal.summaryLines.at(0), "changed"), 0);
    EXPECT_EQ(Counted(terminal.summaryLines[0], "unchanged"), changed);  // every target it changed before
    EXPECT_TRUE(terminal.summaryLines[0].ends_with("\tnone"));
    ASSERT_EQ(run(machine, {"APPLY", "/off", "54", "/noundo"}), kDone);
    EXPECT_EQ(Counted(terminal.summaryLines.at(0), "changed"), static_cast<int>(terminal.outLines.size()));
    EXPECT_TRUE(terminal.summaryLines[0].ends_with("\tnone"));

    // UNDO counts what it put back and what it kept.
    ASSERT_EQ(run(twin, {"UNDO"}), kDone);
    int kept = 0;
    for (const std::string& line : terminal.outLines) kept += Fields(line).size() == 6 && Fields(line)[3].starts_with("kept ");
    EXPECT_EQ(Counted(terminal.summaryLines.at(0), "changed"), static_cast<int>(terminal.outLines.size()) - 1 - kept);
    EXPECT_EQ(Counted(terminal.summaryLines[0], "unchanged"), kept);

    // A verb that ends before it has a result still prints its one document, with
    // its exit status and no count, which a script must never read as nothing to do.
    for (const std::vector<std::string>& early :
         {std::vector<std::string>{"CHECK", "/boxes", "C:\\none.txt", "/json"}, {"APPLY", "/selection", "C:\\none.dat", "/json"},
          {"UNDO", "/json"}}) {
        ASSERT_EQ(run(twin, early), kBadUsage) << early[0];
        ASSERT_EQ(terminal.outLines.size(), 1u) << early[0];
        EXPECT_NE(terminal.outLines[0].find("\"verb\": \"" + early[0] + "\", \"exitStatus\": 2,"), std::string::npos)
            << terminal.outLines[0];
        EXPECT_TRUE(terminal.outLines[0].ends_with("\"summary\": {}, \"changes\": []}")) << terminal.outLines[0];
    }
}

}  // namespace
}  // namespace quillon::console
