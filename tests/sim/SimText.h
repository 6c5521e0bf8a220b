#pragma once
// The simulated Windows' encodings. Its ANSI code page is Latin-1, which holds
// exactly the first 256 code points, so text beyond it shows every path that
// must not pass through the code page.
#include <optional>
#include <string>
#include <string_view>

namespace quillon::sim {

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// Nothing when the text is not valid UTF-8 or holds a character the code page lacks.
std::optional<std::string> ToAnsiExactly(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);
// Nothing when the text is not valid UTF-8.
std::optional<std::string> ToUtf16Le(std::string_view utf8);
std::string FromUtf16Le(std::string_view bytes);

// Text as a file holds it, read the way Windows' own tools do: a byte-order
// mark says UTF-16LE or UTF-8, anything else is ANSI.
std::string DecodeFileText(std::string_view bytes);

}  // namespace quillon::sim
