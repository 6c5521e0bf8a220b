// The boxes file: what EXPORT writes reads back the same, with comments after
// any entry, and the documented example is read as written.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "console/BoxesFile.h"
#include "console/Verbs.h"
#include "engine/ServiceCatalogue.h"
#include "tests/unit/ConsoleTerminal.h"
#include "tests/unit/JournalMachine.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

ListedBoxes RandomBoxes(std::mt19937& random) {
    const auto pick = [&](int count) { return static_cast<int>(random() % count); };
    ListedBoxes boxes;
    for (int box = 0; box < kCheckBoxCount; ++box)
        if (PageOfBox(box) != Page::Startup && pick(3) == 0) (pick(2) ? boxes.onBoxes : boxes.offBoxes).insert(box);
    for (int entry = 0; entry < kServiceCount; ++entry)
        if (pick(3) == 0) (pick(2) ? boxes.onEntries : boxes.offEntries).insert(entry);
    if (pick(2)) boxes.prefetch = pick(2);
    if (pick(2)) boxes.priority = pick(2);
    if (pick(2)) boxes.option = pick(kOptionCount);
    if (pick(3)) {
        // Any path a folder may have: blanks and semicolons anywhere, no quote.
        const std::vector<std::string> letters = {"a", "b", " ", ";", ";", "\\", ":", ".", "\xc3\xbc", "-"};
        std::string path;
        for (int i = 1 + pick(12); i > 0; --i) path += letters[pick(static_cast<int>(letters.size()))];
        if (path.find_first_not_of(' ') == std::string::npos) path += 'x';
        boxes.downloadPath = path;
    }
    for (auto* drives : {&boxes.hide, &boxes.deny})
        if (pick(2)) {
            drives->emplace();
            for (bool& drive : **drives) drive = pick(4) == 0;
        }
    return boxes;
}

TEST(BoxesFile, WhatIsWrittenReadsBackTheSameWithACommentAfterAnyEntry) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const ListedBoxes boxes = RandomBoxes(random);
        std::vector<std::string> lines = BoxesLines(boxes);
        std::vector<std::string> commented{"; made by hand", ""};
        for (const std::string& line : lines) {
            const int way = static_cast<int>(random() % 4);
            commented.push_back(way == 0   ? line + " ; why; \"quoted\" too"
                                : way == 1 ? "  " + line + "    ;"
                                           : line);
        }
        const StrictBoxes read = ParseBoxesFile(commented);
        ASSERT_TRUE(std::holds_alternative<ListedBoxes>(read))
            << "seed " << seed << ": " << std::get<SelectionProblem>(read).reason;
        const ListedBoxes& back = std::get<ListedBoxes>(read);
        EXPECT_EQ(BoxesLines(back), lines) << "seed " << seed;
        EXPECT_EQ(back.downloadPath, boxes.downloadPath) << "seed " << seed;
    }
}

TEST(BoxesFile, APathIsQuotedWhereItHoldsACommentAndAQuoteIsNoPath) {
    const auto path = [](const std::string& line) -> std::optional<std::string> {
        const StrictBoxes read = ParseBoxesFile({line});
        if (!std::holds_alternative<ListedBoxes>(read)) return std::nullopt;
        return std::get<ListedBoxes>(read).downloadPath;
    };
    EXPECT_EQ(path("txtPath C:\\Down loads   ; where they go"), "C:\\Down loads");
    EXPECT_EQ(path("txtPath C:\\a;b"), "C:\\a;b");  // no blank before it: part of the name
    EXPECT_EQ(path("txtPath \"C:\\a ;b\" ; the folder"), "C:\\a ;b");
    for (const char* refused : {"txtPath C:\\a\"b", "txtPath \"C:\\a", "txtPath \"C:\\a\" b", "txtPath ; nothing",
                                "txtPath \"\""})
        EXPECT_FALSE(path(refused)) << refused;
    EXPECT_TRUE(std::holds_alternative<ListedBoxes>(ParseBoxesFile({"on 54 ; note"})));
}

// The example of the console guide, between its marks, read and checked as written.
TEST(BoxesFile, TheGuidesExampleIsReadAsWritten) {
    std::string guide;
    for (const char* file : {"/docs/console.md", "/README.md"}) {
        std::ifstream in(std::string(QUILLON_SOURCE_DIR) + file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().find("<!-- boxes example -->") != std::string::npos) guide = text.str();
    }
    const auto begin = guide.find("<!-- boxes example -->");
    ASSERT_NE(begin, std::string::npos);
    const auto code = guide.find("```\n", begin) + 4;
    std::vector<std::string> lines;
    for (std::size_t start = code, end; (end = guide.find('\n', start)) != std::string::npos && guide.compare(start, 3, "```") != 0;
         start = end + 1)
        lines.push_back(guide.substr(start, end - start));
    ASSERT_GT(lines.size(), 5u);
    const StrictBoxes read = ParseBoxesFile(lines);
    ASSERT_TRUE(std::holds_alternative<ListedBoxes>(read))
        << "line " << std::get<SelectionProblem>(read).line << ": " << std::get<SelectionProblem>(read).reason;

    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.files().addDirectory("C:\\deploy");
    machine.writeTextFile("C:\\deploy\\office.txt", lines);
    RecordingTerminal terminal;
    ASSERT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/boxes", "C:\\deploy\\office.txt"}, terminal, machine), kDone);
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/boxes", "C:\\deploy\\office.txt"}, terminal, machine), kDone);

    // A file past the bound is refused whole, never read in part: "on 54" cut
    // after "on 5" would apply a box the file does not name.
    const std::size_t bound = Platform::kTextFileLimit;
    machine.files().addFile("C:\\deploy\\long.txt", ";" + std::string(bound - 6, 'p') + "\r\non 54\r\n");
    terminal = {};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"CHECK", "/boxes", "C:\\deploy\\long.txt"}, terminal, machine), kBadUsage);
    ASSERT_EQ(terminal.errLines.size(), 1u);
    EXPECT_NE(terminal.errLines[0].find("larger than"), std::string::npos) << terminal.errLines[0];
    EXPECT_TRUE(terminal.outLines.empty());
}

}  // namespace
}  // namespace quillon::console
