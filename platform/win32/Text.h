#pragma once
// The one place where Quillon's UTF-8 strings meet Windows' UTF-16 and the
// ANSI code page.
#include <string>
#include <string_view>

namespace quillon::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

}  // namespace quillon::win32
