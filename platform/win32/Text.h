#pragma once
// The one place where Quillon's UTF-8 strings meet Windows' UTF-16 and the
// ANSI code page.
#include <optional>
#include <string>
#include <string_view>

namespace quillon::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string FromAnsi(std::string_view ansi);

// Nothing when the text is not valid UTF-8.
std::optional<std::wstring> WidenExactly(std::string_view utf8);
// Nothing when the ANSI code page cannot hold every character as it is; never
// a best-fit look-alike.
std::optional<std::string> ToAnsiExactly(std::wstring_view wide);

// The system's own text for an error code ("Access is denied."), without the
// line break it ends with; the number when the system has no text for it.
std::string SystemMessage(unsigned long error);

}  // namespace quillon::win32
