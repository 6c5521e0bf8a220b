#pragma once
// Cutting UTF-8 text by bytes without splitting a character.
#include <cstddef>
#include <string_view>

namespace quillon {

inline bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The start of the character that holds byte `at` (or `at` itself at or past the end).
inline std::size_t CharacterStartAtOrBefore(std::string_view text, std::size_t at) {
    while (at > 0 && at < text.size() && IsContinuationByte(text[at])) --at;
    return at;
}

// The first character start at or after byte `at`.
inline std::size_t CharacterStartAtOrAfter(std::string_view text, std::size_t at) {
    while (at < text.size() && IsContinuationByte(text[at])) ++at;
    return at;
}

}  // namespace quillon
