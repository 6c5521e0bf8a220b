// The console tool's verbs on the simulated Windows, through the same entry
// the executable uses.
#include <gtest/gtest.h>

#include "console/Verbs.h"
#include "journal/Plan.h"
#include "settings/SelectionFile.h"
#include "tests/unit/JournalMachine.h"
#include "window/StepNames.h"

namespace quillon::console {
namespace {

struct RecordingTerminal : Terminal {
    std::vector<std::string> outLines, errLines;
    bool console = false;
    std::vector<std::string> inPlace;
    void out(std::string_view line) override { outLines.emplace_back(line); }
    void err(std::string_view line) override { errLines.emplace_back(line); }
    bool errIsConsole() const override { return console; }
    void errInPlace(std::string_view text) override { inPlace.emplace_back(text); }
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

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
