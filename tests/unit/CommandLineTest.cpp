#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace quillon {
namespace {

TEST(CommandLine, SplitsOnBlanksAndHonoursQuotes) {
    EXPECT_EQ(SplitCommandLine(R"(reg delete "HKCU\a b" /v "x y" /f)"),
              (std::vector<std::string>{"reg", "delete", "HKCU\\a b", "/v", "x y", "/f"}));
    EXPECT_EQ(SplitCommandLine(R"(sc \\. config X)"), (std::vector<std::string>{"sc", "\\\\.", "config", "X"}));
    EXPECT_EQ(SplitCommandLine("  a\t\tb  "), (std::vector<std::string>{"a", "b"}));
}

TEST(CommandLine, BackslashesEscapeOnlyBeforeAQuote) {
    EXPECT_EQ(SplitCommandLine(R"(a\\\"b c\\d "e\\")"), (std::vector<std::string>{"a\\\"b", "c\\\\d", "e\\"}));
}

TEST(CommandLine, QuotedArgumentComesBackUnchanged) {
    const std::string samples[] = {"", "plain", "two words", "say \"hi\"", "trail\\", "trail\\\\",
                                   "a\\\"b", "\"", "\\\"\\", "tab\there", "%PATH% & ^ |", "..\\..\\x"};
    for (const std::string& s : samples) {
        const auto args = SplitCommandLine("reg delete key /v " + QuoteArgument(s) + " /f");
        ASSERT_EQ(args.size(), 6u) << s;
        EXPECT_EQ(args[4], s);
    }
}

}  // namespace
}  // namespace quillon
