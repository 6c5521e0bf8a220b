#include "platform/TextMatch.h"

#include <algorithm>

namespace quillon {
namespace {

// Inline because a plan compares key names hundreds of thousands of times,
// and a call into the C library per character showed as most of a short
// console verb's time.
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Windows compares names (accounts, keys, files) without case beyond ASCII
// too: "ÉLODIE" logs on as "élodie". The letters with a case in two bytes of
// UTF-8 (Latin, Greek, Cyrillic, Armenian) fold here, each to a letter of the
// same length, so a folded name has the length and place of every character
// it had.
char32_t LowerLetter(char32_t c) {
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x531 && c <= 0x556) return c + 0x30;
    const bool even = c % 2 == 0;
    if ((c >= 0x100 && c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x481) ||
        (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF))
        return even ? c + 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE)) return even ? c : c + 1;
    switch (c) {
    case 0x178: return 0xFF;
    case 0x386: return 0x3AC;
    case 0x388: case 0x389: case 0x38A: return c + 0x25;
    case 0x38C: return 0x3CC;
    case 0x38E: case 0x38F: return c + 0x3F;
    case 0x3C2: return 0x3C3;  // the final sigma is the same letter
    case 0x4C0: return 0x4CF;
    default: return c;
    }
}

std::string LowerUtf8(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto lead = static_cast<unsigned char>(out[i]);
        if (lead < 0x80) {
            out[i] = LowerAscii(out[i]);
        } else if (lead >= 0xC2 && lead <= 0xDF && i + 1 < out.size() &&
                   (static_cast<unsigned char>(out[i + 1]) & 0xC0) == 0x80) {
            const char32_t c = ((lead & 0x1F) << 6) | (static_cast<unsigned char>(out[i + 1]) & 0x3F);
            const char32_t lower = LowerLetter(c);
            out[i] = static_cast<char>(0xC0 | (lower >> 6));
            out[++i] = static_cast<char>(0x80 | (lower & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::string Lower(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return LowerUtf8(text);
    std::string out(text);
    for (char& c : out) c = LowerAscii(c);
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // From the end: key paths compared share long beginnings and differ last.
    for (std::size_t i = a.size(); i-- > 0;) {
        const char x = a[i], y = b[i];
        if (x == y || LowerAscii(x) == LowerAscii(y)) continue;
        if (static_cast<unsigned char>(x) < 0x80 && static_cast<unsigned char>(y) < 0x80) return false;
        return LowerUtf8(a) == LowerUtf8(b);
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    const std::string p = Lower(pattern), n = Lower(name);
    std::size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (star != std::string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace quillon
