#include <gtest/gtest.h>

#include "engine/Form.h"
#include "platform/DevicePath.h"
#include "tests/sim/SimWindows.h"
#include "settings/SelectionFile.h"
#include "settings/StrictSelection.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

std::vector<std::string> SavedLines() {
    test::MemoryForm form;
    for (int i : {0, 13, 54, 76}) form.setChk(i, kTicked);
    form.selectOpt(4);
    form.setComboIndex(Combo::Prefetch, 1);
    form.setComboIndex(Combo::Priority, -1);
    form.setTxtPath("D:\\Téléchargements");
    form.setListSelected(CheckList::Hide, 2, true);
    form.setListSelected(CheckList::Not, 25, true);
    form.setListSelected(CheckList::Service, 18, true);
    return SelectionLines(form);
}

TEST(StrictSelection, WhatTheWindowSavesReadsBackWhole) {
    auto read = ParseSelectionStrict(SavedLines());
    ASSERT_TRUE(std::holds_alternative<SavedSelection>(read));

    test::MemoryForm form;
    form.setListSelected(CheckList::Hide, 0, true);  // cleared: the file says every entry
    PutSelection(form, std::get<SavedSelection>(read));
    EXPECT_EQ(SelectionLines(form), SavedLines());
    EXPECT_FALSE(form.listSelected(CheckList::Hide, 0));
    EXPECT_EQ(form.comboIndex(Combo::Priority), -1);
}

// Both readers read one way: a file the console accepts, the window loads
// to the same selection, whichever single character of it is changed.
TEST(StrictSelection, TheWindowLoadsWhatTheConsoleAcceptsAlike) {
    const std::vector<std::string> saved = SavedLines();
    int accepted = 0;
    for (std::size_t line = 0; line < saved.size(); ++line) {
        for (std::size_t at = 0; at < saved[line].size(); ++at) {
            for (char c : {'0', '1', '2', '-', '"', 'x'}) {
                std::vector<std::string> lines = saved;
                lines[line][at] = c;
                const auto strict = ParseSelectionStrict(lines);
                if (!std::holds_alternative<SavedSelection>(strict)) continue;
                ++accepted;
                test::MemoryForm console, window;
                PutSelection(console, std::get<SavedSelection>(strict));
                ApplySelectionLines(window, lines);
                EXPECT_EQ(SelectionLines(window), SelectionLines(console)) << "line " << line + 1 << ": " << lines[line];
            }
        }
    }
    EXPECT_GT(accepted, 300);
}

TEST(StrictSelection, EveryBadFieldIsNamedByItsLine) {
    struct Case {
        int line;
        std::string text;  // replaces that line; empty text removes the lines from there on
    };
    const Case cases[] = {
        {1, "\"1010\""},                               // too short
        {1, "\"" + std::string(76, '0') + "x\""},      // not a digit
        {1, std::string(77, '0')},                     // no quotes
        {2, "\"5\""},                                  // no such option
        {2, "\"\""},
        {3, "\"2\""},                                  // Combo2 has two entries
        {4, "\"-2\""},
        {4, "\"0 \""},
        {6, "\"" + std::string(25, '0') + "\""},
        {7, "\"" + std::string(25, '0') + "2\""},
        {8, "\"" + std::string(20, '0') + "\""},
        {5, "\"C:\\a\"b\""},                           // a quote inside the field
    };
    for (const Case& c : cases) {
        auto lines = SavedLines();
        lines[c.line - 1] = c.text;
        auto read = ParseSelectionStrict(lines);
        ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read)) << c.text;
        EXPECT_EQ(std::get<SelectionProblem>(read).line, c.line) << c.text;
        EXPECT_FALSE(std::get<SelectionProblem>(read).reason.empty());
    }
}

TEST(StrictSelection, MissingAndExtraLinesAreRefused) {
    for (std::size_t kept = 0; kept < 8; ++kept) {
        auto lines = SavedLines();
        lines.resize(kept);
        auto read = ParseSelectionStrict(lines);
        ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read));
        EXPECT_EQ(std::get<SelectionProblem>(read).line, static_cast<int>(kept) + 1);
    }
    auto lines = SavedLines();
    lines.push_back("");  // a trailing empty line is only the last line's end
    EXPECT_TRUE(std::holds_alternative<SavedSelection>(ParseSelectionStrict(lines)));
    lines.push_back("\"1\"");
    auto read = ParseSelectionStrict(lines);
    ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read));
    EXPECT_EQ(std::get<SelectionProblem>(read).line, 9);
}

TEST(StrictSelection, MissingFileIsAProblemAndTheLoaderIsUnchanged) {
    sim::SimWindows machine;
    auto read = ReadSelectionStrict(machine, "C:\\nowhere\\setup.dat");
    ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read));
    EXPECT_EQ(std::get<SelectionProblem>(read).line, 0);

    // The window's loader still takes what it can of a short first line.
    auto lines = SavedLines();
    lines = {"\"1111\""};
    test::MemoryForm form;
    ApplySelectionLines(form, lines);
    EXPECT_TRUE(form.ticked(3));
    EXPECT_TRUE(std::holds_alternative<SelectionProblem>(ParseSelectionStrict(lines)));
}

TEST(StrictSelection, AnyControlCharacterOrInvalidTextInAnyLineIsNamed) {
    // Each in the download folder (where text is free) and at the end of every other line.
    const std::string bad[] = {"\r", std::string(1, '\0'), "\x1b", "\t", "\x7f", "\x01",
                               "\xc2\x85",          // a control character written as UTF-8
                               "\xff", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"};
    for (const std::string& text : bad)
        for (int line = 1; line <= 8; ++line) {
            auto lines = SavedLines();
            std::string& target = lines[line - 1];
            if (line == 5) target.insert(3, text);
            else target += text;
            auto read = ParseSelectionStrict(lines);
            ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read)) << line;
            EXPECT_EQ(std::get<SelectionProblem>(read).line, line) << std::get<SelectionProblem>(read).reason;
        }
    auto lines = SavedLines();
    lines[4] = "\"D:\\T\xc3\xa9l\xc3\xa9" "chargements \xe6\x97\xa5 \xf0\x9f\x98\x80\"";  // text beyond ASCII is fine
    EXPECT_TRUE(std::holds_alternative<SavedSelection>(ParseSelectionStrict(lines)));

    // A file saved as UTF-16 (Notepad's "Unicode") is named so, not by its first NUL.
    sim::SimWindows machine;
    std::string utf16 = "\xFF\xFE";
    for (const std::string& line : SavedLines())
        for (char c : line + "\r\n") utf16 += std::string{c, '\0'};
    machine.files().addFile("C:\\unicode.dat", utf16);
    auto read = ReadSelectionStrict(machine, "C:\\unicode.dat");
    ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read));
    EXPECT_NE(std::get<SelectionProblem>(read).reason.find("UTF-16"), std::string::npos) << std::get<SelectionProblem>(read).reason;
}

TEST(StrictSelection, DevicesAndFoldersAreRefusedWithoutBeingOpened) {
    sim::SimWindows machine;
    machine.files().addDirectory("C:\\deploy\\office.dat");
    for (const char* path : {"COM1", "aux", "C:\\deploy\\NUL.dat", "LPT9:", "con ", "\\\\.\\pipe\\quillon",
                             "\\\\?\\GLOBALROOT\\Device\\Serial0", "CONOUT$", "C:\\deploy\\office.dat"}) {
        auto read = ReadSelectionStrict(machine, path);
        ASSERT_TRUE(std::holds_alternative<SelectionProblem>(read)) << path;
        EXPECT_EQ(std::get<SelectionProblem>(read).line, 0) << path;
        EXPECT_NE(std::get<SelectionProblem>(read).reason.find(" not a file"), std::string::npos) << path;
    }
    for (const char* path : {"C:\\COM10", "C:\\console.dat", "C:\\deploy\\LPT0", "\\\\?\\C:\\auxiliary.dat"})
        EXPECT_FALSE(IsDevicePath(path)) << path;
}

}  // namespace
}  // namespace quillon
