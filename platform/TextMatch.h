#pragma once
// Name comparisons as Windows makes them: without regard to case.
#include <string>
#include <string_view>

namespace quillon {

std::string Lower(std::string_view text);
bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// '*' any run, '?' any one character, case-insensitive.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace quillon
