#include <gtest/gtest.h>

#include <random>

#include "engine/Form.h"
#include "tests/sim/SimWindows.h"
#include "settings/SelectionFile.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

const std::string kFile = "C:\\Program Files\\Quillon\\setup.dat";

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

std::vector<std::string> ExampleLines() {
    return {"\"1" + std::string(76, '0') + "\"", "\"0\"", "\"0\"", "\"0\"", "\"C:\\Downloads\"",
            "\"" + std::string(26, '0') + "\"", "\"" + std::string(26, '0') + "\"", "\"" + std::string(19, '0') + "\""};
}

TEST(SelectionFile, SavesEightQuotedLinesExactly) {
    sim::SimWindows machine;
    test::MemoryForm form;
    form.setChk(0, kTicked);
    form.setChk(5, kGreyed);  // stored as not ticked
    form.setTxtPath("C:\\Downloads");
    SaveSelection(form, machine);
    EXPECT_EQ(machine.files().content(kFile), Join(ExampleLines()));
    EXPECT_FALSE(machine.files().fileExists(kFile + ".tmp"));
}

TEST(SelectionFile, RoundTripsEveryControl) {
    sim::SimWindows machine;
    test::MemoryForm saved;
    for (int i : {0, 13, 41, 56, 76}) saved.setChk(i, kTicked);
    saved.selectOpt(3);
    saved.setComboIndex(Combo::Prefetch, 1);
    saved.setComboIndex(Combo::Priority, -1);
    saved.setTxtPath("D:\\My Downloads");
    saved.setListSelected(CheckList::Hide, 0, true);
    saved.setListSelected(CheckList::Not, 25, true);
    saved.setListSelected(CheckList::Service, 18, true);
    SaveSelection(saved, machine);

    test::MemoryForm loaded;
    LoadSelection(loaded, machine);
    EXPECT_EQ(SelectionLines(loaded), SelectionLines(saved));
    EXPECT_TRUE(loaded.opt(3));
    EXPECT_EQ(loaded.comboIndex(Combo::Priority), -1);
}

TEST(SelectionFile, MissingFileChangesNothingAndCreatesNothing) {
    sim::SimWindows machine;
    test::MemoryForm form, pristine;
    LoadSelection(form, machine);
    EXPECT_EQ(SelectionLines(form), SelectionLines(pristine));
    EXPECT_FALSE(machine.files().fileExists(kFile));
}

TEST(SelectionFile, LoadStopsQuietlyAtTheFirstBadField) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        int boxesSet;       // how many leading boxes were ticked by the load
        bool pathApplied;
    };
    auto lines = [](std::size_t keep, int replaceIndex = -1, std::string replacement = {}) {
        auto all = ExampleLines();
        all[0] = "\"" + std::string(77, '1') + "\"";
        if (replaceIndex >= 0) all[replaceIndex] = replacement;
        all.resize(keep);
        return all;
    };
    const Case cases[] = {
        {"empty file", {}, 0, false},
        {"one line", lines(1), 77, false},
        {"short first line", lines(8, 0, "\"1111111111\""), 10, false},
        {"non-digit", lines(8, 0, "\"11x" + std::string(74, '1') + "\""), 2, false},
        {"not a box value", lines(8, 0, "\"117" + std::string(74, '1') + "\""), 2, false},
        {"option out of range", lines(8, 1, "\"5\""), 77, false},
        {"option not a number", lines(8, 1, "\"x\""), 77, false},
        {"combo out of range", lines(8, 2, "\"2\""), 77, false},
        {"combo not a number", lines(8, 3, "\"1a\""), 77, false},
        {"unquoted field", lines(8, 4, "C:\\x"), 77, false},
        {"missing end", lines(5), 77, true},
    };
    for (const Case& c : cases) {
        sim::SimWindows machine;
        machine.files().addFile(kFile, Join(c.lines));
        test::MemoryForm form;
        form.setTxtPath("keep");
        LoadSelection(form, machine);
        int ticked = 0;
        while (ticked < kCheckBoxCount && form.ticked(ticked)) ++ticked;
        EXPECT_EQ(ticked, c.boxesSet) << c.what;
        EXPECT_EQ(form.txtPath(), c.pathApplied ? "C:\\Downloads" : "keep") << c.what;
    }
}

TEST(SelectionFile, ListsAreOnlyEverSelectedByALoad) {
    sim::SimWindows machine;
    auto lines = ExampleLines();
    lines[5] = "\"1\"";                        // A: only; the rest untouched
    lines[6] = "\"0" + std::string(25, '9') + "\"";  // junk selects nothing
    machine.files().addFile(kFile, Join(lines));
    test::MemoryForm form;
    form.setListSelected(CheckList::Hide, 7, true);
    form.setListSelected(CheckList::Not, 0, true);
    LoadSelection(form, machine);
    EXPECT_TRUE(form.listSelected(CheckList::Hide, 0));
    EXPECT_TRUE(form.listSelected(CheckList::Hide, 7));
    EXPECT_TRUE(form.listSelected(CheckList::Not, 0));
    for (int i = 1; i < kDriveCount; ++i) EXPECT_FALSE(form.listSelected(CheckList::Not, i));
}

TEST(SelectionFile, GreyedBoxesAndEmptyPathLoadBack) {
    sim::SimWindows machine;
    auto lines = ExampleLines();
    lines[0] = "\"2" + std::string(76, '0') + "\"";
    lines[4] = "\"\"";
    // No CR LF after the last line, as a hand-edited file might end.
    std::string text = Join(lines);
    machine.files().addFile(kFile, text.substr(0, text.size() - 2));
    test::MemoryForm form;
    form.setTxtPath("old");
    LoadSelection(form, machine);
    EXPECT_EQ(form.chk(0), kGreyed);
    EXPECT_EQ(form.txtPath(), "");
    EXPECT_TRUE(form.listSelected(CheckList::Service, 0) == false);
}

TEST(SelectionFile, FailedSaveLeavesTheOldFileWhole) {
    sim::SimWindows machine;
    machine.files().addFile(kFile, "old contents", {.readOnly = true});
    test::MemoryForm form;
    EXPECT_THROW(SaveSelection(form, machine), PlatformError);
    EXPECT_EQ(machine.files().content(kFile), "old contents");
    EXPECT_FALSE(machine.files().fileExists(kFile + ".tmp"));
}

TEST(SelectionFile, ArbitraryBytesNeverCrashOrHangTheLoader) {
    std::mt19937 random(20261207);
    const std::string alphabet = "01\"\r\n2-9x \\\0\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i)
            bytes += random() % 4 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
        if (round % 3 == 0) bytes = Join(ExampleLines()).substr(0, random() % 200) + bytes;
        sim::SimWindows machine;
        machine.files().addFile(kFile, bytes);
        test::MemoryForm form;
        LoadSelection(form, machine);
        for (int i = 0; i < kCheckBoxCount; ++i) ASSERT_LE(form.chk(i), 2);
        ASSERT_EQ(form.listCount(CheckList::Service), kServiceCount);
    }
}

}  // namespace
}  // namespace quillon
