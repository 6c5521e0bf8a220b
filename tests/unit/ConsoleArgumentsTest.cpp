#include <gtest/gtest.h>

#include <algorithm>

#include "console/Arguments.h"
#include "console/ProgressBar.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

std::variant<Request, UsageError> Parse(std::vector<std::string> arguments) { return ParseArguments(arguments); }

Request Accepted(std::vector<std::string> arguments) {
    auto parsed = Parse(arguments);
    EXPECT_TRUE(std::holds_alternative<Request>(parsed))
        << (std::holds_alternative<UsageError>(parsed) ? std::get<UsageError>(parsed).message : "");
    return std::holds_alternative<Request>(parsed) ? std::get<Request>(parsed) : Request{};
}

TEST(ConsoleArguments, VerbsAndOptionsIgnoreCaseAndTakeSlashOrDash) {
    Request apply = Accepted({"apply", "-PAGE", "speed", "/Selection", "C:\\a b\\sel.dat", "/NoUndo", "/page:System"});
    EXPECT_EQ(apply.verb, Verb::Apply);
    EXPECT_EQ(apply.pages, (std::vector<Page>{Page::Speed, Page::System}));
    EXPECT_EQ(apply.selectionFile, "C:\\a b\\sel.dat");
    EXPECT_TRUE(apply.noUndo);

    EXPECT_EQ(Accepted({"LiSt"}).verb, Verb::List);
    EXPECT_EQ(Accepted({"version"}).verb, Verb::Version);
    EXPECT_EQ(Accepted({"STATUS", "/page", "Services", "/page", "services"}).pages, std::vector<Page>{Page::Services});
    EXPECT_EQ(Accepted({"Undo", "C:\\Quillon\\undo\\2026-01-02 03-04-05"}).undoFolder,
              "C:\\Quillon\\undo\\2026-01-02 03-04-05");
    const Request list = Accepted({"undo", "/LIST", "/undodir", "D:\\records"});
    EXPECT_TRUE(list.listRecords);
    EXPECT_EQ(list.undoRoot, "D:\\records");
    EXPECT_EQ(Accepted({"apply", "-undodir:\\\\server\\u"}).undoRoot, "\\\\server\\u");
    EXPECT_EQ(Accepted({"/?"}).verb, Verb::Usage);
    EXPECT_EQ(Accepted({"apply", "/?"}).verb, Verb::Usage);  // help wins, nothing runs
}

TEST(ConsoleArguments, BadUsageIsOneMessageNamingTheCulprit) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{}, "no verb"},
        {{"frobnicate"}, "frobnicate"},
        {{"list", "/page", "Startup"}, "Startup"},  // not a page a selection holds
        {{"status", "/page", "Speed"}, "Speed"},    // Speed has no live state
        {{"list", "/page"}, "/page"},
        {{"list", "/selection", "x"}, "/selection"},  // LIST reads no selection
        {{"preview", "/noundo"}, "/noundo"},
        {{"apply", "/selection", "a", "/selection", "b"}, "twice"},
        {{"apply", "/selection:"}, "/selection"},
        {{"status", "extra"}, "extra"},
        {{"undo", "a", "b"}, "\"b\""},
        {{"apply", "/noundo:yes"}, "/noundo"},
        {{"version", "/page", "System"}, "/page"},
        {{"undo", "/list", "x"}, "/list"},
        {{"undo", "/list:yes"}, "/list"},
        {{"undo", "/show", "x", "/report", "r.csv"}, "/report"},  // it reads a record only: no row to write
        {{"undo", "/undodir"}, "/undodir"},
        {{"preview", "/undodir", "d"}, "/undodir"},
        {{"apply", "/noundo", "/undodir", "d"}, "/undodir"},
        {{"apply", "/undodir", "d", "/undodir", "e"}, "twice"},
        {{"apply", "/on", "54", "/selection", "a"}, "/selection"},
        {{"check", "/on", "77"}, "\"77\""},
        {{"check", "/on", "54,,59"}, "\"\""},
        {{"preview", "/off", "Nosuch"}, "Nosuch"},
        {{"apply", "/on", "54", "/off", "54"}, "54"},
        {{"apply", "/on", "alerter", "/off", "Alerter"}, "Alerter"},
        {{"apply", "/on", "54", "/page", "Security"}, "System"},
        {{"list", "/on", "54"}, "/on"},
        {{"apply", "/wait", "soon"}, "soon"},
        {{"export"}, "/selection"},
        {{"export", "/selection", "a", "/force:yes"}, "/force"},
        {{"check", "/force"}, "/force"},
    };
    for (const auto& [arguments, culprit] : bad) {
        auto parsed = Parse(arguments);
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << culprit;
        const std::string& message = std::get<UsageError>(parsed).message;
        EXPECT_NE(message.find(culprit), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos);
    }
}

// Windows would read or write "C:\x.dat." as C:\x.dat: every name the console
// is given for a file or folder is refused alike when a part of it ends so.
TEST(ConsoleArguments, ANameEndingInADotOrABlankIsRefusedForEveryFileAndFolder) {
    const std::vector<std::vector<std::string>> given{
        {"export", "/boxes"}, {"export", "/selection"}, {"apply", "/boxes"},  {"check", "/selection"},
        {"apply", "/report"}, {"undo", "/report"},      {"apply", "/undodir"}, {"undo", "/undodir"},
        {"undo"},
    };
    for (const auto& start : given)
        for (const std::string name : {"C:\\x.dat.", "C:\\x.dat ", "C:\\dir.\\x.dat", "x..", "\\\\server\\share \\x"}) {
            std::vector<std::string> arguments = start;
            arguments.push_back(name);
            if (start.size() == 1) arguments.push_back("/report"), arguments.push_back("r");
            const auto parsed = Parse(arguments);
            ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << start.back() << " " << name;
            EXPECT_EQ(std::get<UsageError>(parsed).message,
                      (start.size() == 1 ? std::string("UNDO") : "option " + start.back()) +
                          ": a file or folder name may not end in a dot or a blank: " + name);
            arguments[start.size()] = "C:\\x.dat";  // the name Windows would have used instead is taken
            EXPECT_TRUE(std::holds_alternative<Request>(Parse(arguments))) << start.back();
        }
}

TEST(ConsoleArguments, OnAndOffNameBoxesAndServicesAndPickTheirPages) {
    Request check = Accepted({"CHECK", "/on", "54, 59,alerter", "/OFF:Wuauserv,19"});
    ASSERT_TRUE(check.listed);
    EXPECT_EQ(check.listed->onBoxes, (std::set<int>{54, 59}));
    EXPECT_EQ(check.listed->offBoxes, std::set<int>{19});
    EXPECT_EQ(check.listed->onEntries, std::set<int>{0});
    EXPECT_EQ(check.listed->offEntries, std::set<int>{1});
    std::vector<Page> pages;  // those of the listed boxes, and Services for the entries
    for (Page page : {Page::System, Page::Security, Page::Services})
        if (page == Page::Services || page == *PageOfBox(54) || page == *PageOfBox(59) || page == *PageOfBox(19))
            pages.push_back(page);
    std::sort(check.pages.begin(), check.pages.end());
    EXPECT_EQ(check.pages, pages);
    // Every box of the four pages can be listed; none of the Startup page can.
    for (int box = 0; box < kCheckBoxCount; ++box) {
        const std::vector<std::string> arguments{"apply", "/on", std::to_string(box)};
        const auto page = PageOfBox(box);
        ASSERT_TRUE(page) << box;
        EXPECT_EQ(std::holds_alternative<Request>(Parse(arguments)), *page != Page::Startup) << box;
    }
    EXPECT_EQ(Accepted({"apply", "/wait", "0", "/on", "1"}).waitSeconds, 0);
    EXPECT_TRUE(Accepted({"EXPORT", "/selection", "x.dat", "/force"}).force);
}

TEST(ConsoleArguments, DefaultPagesAreTheFourASelectionHolds) {
    EXPECT_EQ(DefaultPages(Verb::Apply), (std::vector<Page>{Page::System, Page::Security, Page::Services, Page::Speed}));
    EXPECT_EQ(DefaultPages(Verb::Status), (std::vector<Page>{Page::System, Page::Security, Page::Services}));
}

TEST(ConsoleProgress, BarFillsWithTheFractionOnOneLine) {
    EXPECT_EQ(ProgressLine(0.0, "System"), "[..............................]   0%  System");
    EXPECT_EQ(ProgressLine(0.5, ""), "[###############...............]  50%");
    EXPECT_EQ(ProgressLine(2.0, ""), "[##############################] 100%");
    EXPECT_LE(ProgressLine(0.3, std::string(200, 'x')).size(), 78u);
}

}  // namespace
}  // namespace quillon::console
