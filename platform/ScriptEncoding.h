#pragma once
// regedit reads text given as hex (hex(1), hex(2), hex(7): what holds a NUL or
// another control character) as UTF-16 only from a UTF-16 script; from an ANSI
// one it takes each byte for a character, so "20000", NUL, "x" comes back "2".
#include <string>
#include <vector>

namespace quillon {

// Whether a line of the script gives text as hex: such a script must be UTF-16.
bool HoldsHexText(const std::vector<std::string>& lines);

}  // namespace quillon
