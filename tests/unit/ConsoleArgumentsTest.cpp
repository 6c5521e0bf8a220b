#include <gtest/gtest.h>

#include "console/Arguments.h"
#include "console/ProgressBar.h"

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
        {{"undo", "/undodir"}, "/undodir"},
        {{"preview", "/undodir", "d"}, "/undodir"},
        {{"apply", "/noundo", "/undodir", "d"}, "/undodir"},
        {{"apply", "/undodir", "d", "/undodir", "e"}, "twice"},
    };
    for (const auto& [arguments, culprit] : bad) {
        auto parsed = Parse(arguments);
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << culprit;
        const std::string& message = std::get<UsageError>(parsed).message;
        EXPECT_NE(message.find(culprit), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos);
    }
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
