// Names compare as Windows compares them: without case, beyond ASCII too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextMatch.h"

namespace quillon {
namespace {

std::string Utf8(char32_t c) {
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
}

TEST(TextMatch, NamesDifferingOnlyInCaseAreOneInEveryScriptWithCase) {
    const std::vector<std::pair<std::string, std::string>> same{
        {"\xc3\x89LODIE", "\xc3\xa9lodie"},                      // ÉLODIE
        {"\xc5\x81UKASZ", "\xc5\x82ukasz"},                      // ŁUKASZ
        {"\xce\xa3\xce\x9f\xce\xa6\xce\x86", "\xcf\x83\xce\xbf\xcf\x86\xce\xac"},  // ΣΟΦΆ
        {"\xd0\x9f\xd0\x81\xd0\xa2\xd0\xa0", "\xd0\xbf\xd1\x91\xd1\x82\xd1\x80"},  // ПЁТР
        {"HKEY_CURRENT_USER\\Software\\\xc3\x96l", "hkey_current_user\\software\\\xc3\xb6L"},
        {"\xc5\xb8", "\xc3\xbf"},  // Ÿ ÿ
    };
    for (const auto& [a, b] : same) {
        EXPECT_TRUE(EqualNoCase(a, b)) << a;
        EXPECT_EQ(Lower(a), Lower(b)) << a;
        EXPECT_TRUE(WildcardMatch(a + "*", b + "x")) << a;
    }
    for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
             {"\xc3\xa9", "e"}, {"\xc3\x97", "\xc3\xb7"}, {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa8"}})
        EXPECT_FALSE(EqualNoCase(a, b)) << a;

    // Over every character of one or two bytes: folding keeps the length, is
    // done once for all, and the comparison is equality of the folded names.
    std::vector<std::string> all;
    for (char32_t c = 0x20; c < 0x800; ++c)
        if (c < 0x7F || c >= 0xA0) all.push_back(Utf8(c));
    for (const std::string& a : all) {
        const std::string lower = Lower(a);
        ASSERT_EQ(lower.size(), a.size());
        EXPECT_EQ(Lower(lower), lower);
        EXPECT_TRUE(EqualNoCase(a, lower));
    }
    std::vector<std::string> lowers;
    for (const std::string& a : all) lowers.push_back(Lower(a));
    int pairs = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = 0; j < all.size(); ++j) {
            const bool equal = EqualNoCase(all[i], all[j]);
            if (equal != (lowers[i] == lowers[j])) ADD_FAILURE() << all[i] << " " << all[j];
            pairs += equal && i != j;
        }
    EXPECT_GT(pairs, 2 * 300);  // each upper and lower letter, both ways
}

}  // namespace
}  // namespace quillon
