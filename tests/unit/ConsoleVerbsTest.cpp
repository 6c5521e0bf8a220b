// The console tool's verbs on the simulated Windows, through the same entry
// the executable uses.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "console/Verbs.h"
#include "tests/unit/ConsoleTerminal.h"
#include "planning/Plan.h"
#include "record/RecordLines.h"
#include "record/RecordStore.h"
#include "settings/SelectionFile.h"
#include "tests/unit/JournalMachine.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {


struct ConsoleVerbs : ::testing::Test {
    sim::SimWindows machine;
    RecordingTerminal terminal;
    std::string selectionFile = "C:\\deploy\\office.dat";

    void SetUp() override {
        test::FurnishMachine(machine);
        test::MemoryForm form;
        for (int box : {54, 43, 25, 22, 41, 76}) form.setChk(box, kTicked);
        form.setListSelected(CheckList::Service, 7, true);
        form.setListSelected(CheckList::Hide, 3, true);
        form.setTxtPath("C:\\D\xc3\xbcnloads");
        machine.files().addDirectory("C:\\deploy");
        machine.writeTextFile(selectionFile, SelectionLines(form));
    }

    int run(std::vector<std::string> arguments) {
        terminal = RecordingTerminal{};
        return RunConsole(arguments, terminal, machine);
    }
};

TEST_F(ConsoleVerbs, PreviewListsEveryChangeOfThePlanAndChangesNothing) {
    const auto before = test::MachineState(machine);
    ASSERT_EQ(run({"PREVIEW", "/selection", selectionFile}), kDone);
    EXPECT_EQ(test::MachineState(machine), before);
    EXPECT_TRUE(machine.commands().empty());
    EXPECT_TRUE(terminal.errLines.empty());

    std::set<Page> pages;
    std::set<std::string> numbers;
    for (const std::string& line : terminal.outLines) {
        const auto fields = Fields(line);
        ASSERT_EQ(fields.size(), 6u) << line;
        // Only changes are listed; a tool whose effect cannot be read back counts as one.
        EXPECT_TRUE(fields[4] != fields[5] || fields[3].rfind("run ", 0) == 0) << line;
        pages.insert(*std::find_if(RunOrder().begin(), RunOrder().end(), [&](Page p) { return PageName(p) == fields[0]; }));
        numbers.insert(fields[1]);
    }
    EXPECT_EQ(pages, (std::set<Page>{Page::System, Page::Security, Page::Services, Page::Speed}));
    for (const char* number : {"54", "25", "7", "lstHide", "txtPath"}) EXPECT_TRUE(numbers.count(number)) << number;

    // Pages narrow the listing, in any case and order, without repeats.
    ASSERT_EQ(run({"preview", "-selection", selectionFile, "/page", "services", "/PAGE", "Services"}), kDone);
    ASSERT_FALSE(terminal.outLines.empty());
    for (const std::string& line : terminal.outLines) EXPECT_EQ(Fields(line)[0], "Services");
}

TEST_F(ConsoleVerbs, ListShowsBothSidesOfEveryBoxOfThePage) {
    ASSERT_EQ(run({"LIST"}), kDone);
    std::map<std::string, std::vector<std::string>> byPage;
    for (const std::string& line : terminal.outLines) {
        const auto fields = Fields(line);
        ASSERT_EQ(fields.size(), 5u) << line;
        byPage[fields[0]].push_back(fields[1]);
        EXPECT_FALSE(fields[2].empty()) << line;
        if (fields[0] != "Speed") {
            EXPECT_NE(fields[3], "nothing") << line;  // every tweak does something ticked
        }
    }
    EXPECT_EQ(byPage["Services"].size(), 19u);
    EXPECT_EQ(byPage["System"].size() + byPage["Security"].size() + byPage["Speed"].size(), 77u);
    EXPECT_EQ(byPage.count("Startup"), 0u);
    const auto system = std::find_if(terminal.outLines.begin(), terminal.outLines.end(),
                                      [](const std::string& l) { return l.rfind("System\t54\t", 0) == 0; });
    ASSERT_NE(system, terminal.outLines.end());
    EXPECT_NE(Fields(*system)[3].find("AutoReboot"), std::string::npos) << *system;
}

TEST_F(ConsoleVerbs, BadSelectionIsRefusedWithItsLineAndNothingRuns) {
    auto lines = machine.readTextFile(selectionFile);
    lines[6] = "\"0000\"";
    machine.writeTextFile(selectionFile, lines);
    const auto before = test::MachineState(machine);
    EXPECT_EQ(run({"APPLY", "/selection", selectionFile}), kBadUsage);
    ASSERT_EQ(terminal.errLines.size(), 1u);
    EXPECT_NE(terminal.errLines[0].find("office.dat line 7"), std::string::npos) << terminal.errLines[0];
    EXPECT_TRUE(terminal.outLines.empty());
    EXPECT_EQ(test::MachineState(machine), before);
    EXPECT_TRUE(machine.commands().empty());
}

}  // namespace
}  // namespace quillon::console

namespace quillon::console {
namespace {

TEST_F(ConsoleVerbs, ApplyChangesWhatPreviewListedAndUndoPutsItBack) {
    const auto before = test::TweakedState(machine);
    ASSERT_EQ(run({"PREVIEW", "/selection", selectionFile}), kDone);
    const auto planned = terminal.outLines;

    terminal.console = true;
    ASSERT_EQ(run({"APPLY", "/selection", selectionFile}), kDone) << (terminal.errLines.empty() ? "" : terminal.errLines[0]);
    auto applied = terminal.outLines;
    ASSERT_FALSE(applied.empty());
    EXPECT_EQ(applied.back().rfind("undo\t" + DefaultUndoRoot(machine) + "\\", 0), 0u) << applied.back();
    applied.pop_back();
    // A tool whose effect cannot be read back is reported as run, with how it ended.
    auto expected = planned;
    for (std::string& line : expected)
        if (Fields(line)[3] == "run sfc /purgecache") line = line.substr(0, line.rfind("unknown\tunknown")) + "-\tran, exit code 0";
    EXPECT_EQ(applied, expected);
    EXPECT_FALSE(machine.files().fileExists(SelectionFilePath(machine)));  // APPLY never writes setup.dat

    ASSERT_EQ(run({"UNDO"}), kDone);
    EXPECT_EQ(test::TweakedState(machine), before);
}

TEST_F(ConsoleVerbs, ApplyRefusesWithoutAnUndoRecordUnlessTold) {
    machine.files().addFile(machine.commonAppDataFolder() + "\\Quillon", "a file where the records would go");
    const auto before = test::MachineState(machine);
    EXPECT_EQ(run({"APPLY", "/selection", selectionFile}), kNoUndoRecord);
    EXPECT_EQ(test::MachineState(machine), before);
    EXPECT_TRUE(machine.commands().empty());
    ASSERT_EQ(terminal.errLines.size(), 1u);
    EXPECT_NE(terminal.errLines[0].find("/noundo"), std::string::npos);

    EXPECT_EQ(run({"APPLY", "/selection", selectionFile, "/noundo", "/page", "System"}), kDone);
    EXPECT_NE(test::MachineState(machine), before);
    EXPECT_FALSE(terminal.outLines.empty());
}

TEST_F(ConsoleVerbs, ProgressBarOnlyInAConsoleAndClearedAtTheEnd) {
    terminal.console = false;
    ASSERT_EQ(run({"APPLY", "/selection", selectionFile, "/page", "Services"}), kDone);
    EXPECT_TRUE(terminal.inPlace.empty());

    RecordingTerminal console;
    console.console = true;
    const std::vector<std::string> arguments{"UNDO"};
    ASSERT_EQ(RunConsole(arguments, console, machine), kDone);
    ASSERT_GE(console.inPlace.size(), 3u);
    EXPECT_NE(console.inPlace.front().find("  0%"), std::string::npos) << console.inPlace.front();
    EXPECT_EQ(console.inPlace.back(), "");  // the line is blank again for what follows
}

TEST_F(ConsoleVerbs, StatusShowsOnForWhatWasApplied) {
    ASSERT_EQ(run({"APPLY", "/selection", selectionFile}), kDone);
    ASSERT_EQ(run({"STATUS", "/page", "System", "/page", "Services"}), kDone);
    std::map<std::string, std::string> state;
    for (const std::string& line : terminal.outLines) {
        const auto fields = Fields(line);
        ASSERT_EQ(fields.size(), 4u) << line;
        EXPECT_TRUE(fields[0] == "System" || fields[0] == "Services") << line;
        state[fields[0] + " " + fields[1]] = fields[2];
    }
    // 76 shares values with Security boxes applied after it, left unticked: its ticked side wins.
    for (const char* box : {"System 54", "System 43", "Services 7", "System 76"}) EXPECT_EQ(state[box], "on") << box;
    EXPECT_EQ(state["Services 6"], "off");
}

}  // namespace
}  // namespace quillon::console

#include "console/CachedReads.h"

namespace quillon::console {
namespace {

TEST(ConsoleCachedReads, RemembersReadsUntilSomethingChanges) {
    sim::SimWindows machine;
    const std::string key = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    machine.registry().setValue(key, "AutoEndTasks", sim::Value::String("0"));
    machine.files().addFile("C:\\a.txt", "a");
    CachedReads cached(machine);
    const auto first = cached.registryValue(key, "AutoEndTasks");
    ASSERT_TRUE(first);
    ASSERT_TRUE(cached.anyFileExists("C:\\a.txt"));
    const std::string menu = cached.shellFolder(ShellFolder::CommonStartMenu);

    machine.registry().setValue(key, "AutoEndTasks", sim::Value::String("1"));  // behind the cache's back
    machine.setShellFolder(ShellFolder::CommonStartMenu, "D:\\Menu");
    EXPECT_EQ(cached.registryValue(key, "AutoEndTasks"), first);
    EXPECT_EQ(cached.shellFolder(ShellFolder::CommonStartMenu), menu);

    cached.deleteFile("C:\\a.txt");  // through it: everything read is forgotten
    EXPECT_FALSE(cached.anyFileExists("C:\\a.txt"));
    EXPECT_NE(cached.registryValue(key, "AutoEndTasks"), first);
    EXPECT_EQ(cached.registryValue(key, "AutoEndTasks"), machine.registryValue(key, "AutoEndTasks"));
    EXPECT_EQ(cached.shellFolder(ShellFolder::CommonStartMenu), "D:\\Menu");
}

TEST_F(ConsoleVerbs, UndoListsTheRecordsAndTakesBackOnlyThisComputersOwn) {
    ASSERT_EQ(run({"UNDO"}), kBadUsage);
    EXPECT_NE(terminal.errLines.at(0).find(DefaultUndoRoot(machine)), std::string::npos);

    const std::string root = "C:\\records";
    machine.setLocalTime({2026, 7, 1, 9, 0, 0});
    // Two values the run changed and one it left as it found it.
    std::string facts;
    const auto fact = [&](bool after, std::string_view key, const char* name, std::optional<RegValue> value) {
        facts += StateLineText({after, StateKind::Value, std::string(key), name, value, false, {}, {}, {}, {}});
    };
    const std::string_view crash = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl";
    const std::string_view explorer = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
    const RegValue one = DwordValue(1);
    fact(false, crash, "AutoReboot", std::nullopt), fact(true, crash, "AutoReboot", one);
    fact(false, explorer, "NoFind", one), fact(true, explorer, "NoFind", one);
    fact(false, explorer, "NoSetFolders", one), fact(true, explorer, "NoSetFolders", std::nullopt);
    const std::string mine = test::MakeRecord(machine, root, facts);
    machine.setComputerName("ELSEWHERE");
    machine.setLocalTime({2026, 7, 1, 10, 0, 0});
    const std::string theirs = test::MakeRecord(machine, root, "");
    machine.writeTextFile(theirs + "\\changes.txt", {"Quillon undo record"});
    machine.setComputerName("SIMULATED");
    machine.files().addFile(root + "\\2026-07-02 00-00-00\\changes.txt", "no header");

    ASSERT_EQ(run({"UNDO", "/list", "/undodir", root}), kDone);
    EXPECT_EQ(terminal.outLines,
              (std::vector<std::string>{theirs + "\t2026-07-01 10:00:00\tELSEWHERE\tTester\trun\t-\t0\topen\t-",
                                        mine + "\t2026-07-01 09:00:00\tSIMULATED\tTester\trun\t-\t2\topen\tmachine"}));

    const auto state = test::MachineState(machine);
    for (const std::string& refused : {std::string("2026-07-02 00-00-00"), theirs}) {
        EXPECT_EQ(run({"UNDO", refused, "/undodir", root}), kBadUsage) << refused;
        EXPECT_EQ(terminal.errLines.size(), 1u) << refused;
        EXPECT_EQ(test::MachineState(machine), state) << refused;
    }
    EXPECT_NE(terminal.errLines.at(0).find("ELSEWHERE"), std::string::npos) << terminal.errLines.at(0);

    ASSERT_EQ(run({"UNDO", "/undodir", root}), kDone);  // the newest of this computer: not theirs
    ASSERT_EQ(run({"UNDO", "/list", "/undodir", root}), kDone);
    const auto listed = std::find_if(terminal.outLines.begin(), terminal.outLines.end(),
                                     [&](const std::string& line) { return Fields(line).front() == mine; });
    ASSERT_NE(listed, terminal.outLines.end());
    // Two values put back; the machine never held what the run wrote for the third: kept.
    EXPECT_EQ(Fields(*listed).at(7), "partly undone");
    EXPECT_EQ(run({"UNDO", "/undodir", root}), kBadUsage);  // nothing of ours is left open
}

}  // namespace
}  // namespace quillon::console
