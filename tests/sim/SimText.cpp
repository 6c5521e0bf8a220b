#include "tests/sim/SimText.h"

#include <vector>

#include "platform/RegValue.h"

namespace quillon::sim {
namespace {

std::optional<std::vector<char32_t>> CodePoints(std::string_view utf8) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
        if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace

std::optional<std::string> ToAnsiExactly(std::string_view utf8) {
    auto points = CodePoints(utf8);
    if (!points) return std::nullopt;
    std::string out;
    for (char32_t c : *points) {
        if (c > 0xFF) return std::nullopt;
        out += static_cast<char>(c);
    }
    return out;
}

std::string FromAnsi(std::string_view ansi) {
    std::u16string wide;  // the simulated code page holds U+0000 to U+00FF
    for (char c : ansi) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return ToUtf8(wide);
}

std::optional<std::string> ToUtf16Le(std::string_view utf8) {
    if (!CodePoints(utf8)) return std::nullopt;
    return Utf16LeBytes(ToUtf16(utf8));
}

std::string FromUtf16Le(std::string_view bytes) { return ToUtf8(FromUtf16LeBytes(bytes)); }

std::string DecodeFileText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16Mark)) return FromUtf16Le(bytes.substr(kUtf16Mark.size()));
    if (bytes.starts_with(kUtf8Mark)) return std::string(bytes.substr(kUtf8Mark.size()));
    return FromAnsi(bytes);
}

}  // namespace quillon::sim
