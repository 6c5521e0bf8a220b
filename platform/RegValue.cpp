#include "platform/RegValue.h"

#include <cstdio>

namespace quillon {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// " 0x0000001e (30)": a plan describes thousands of numbers, too many for printf.
std::string DwordText(std::uint32_t number) {
    std::string text = " 0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += kHexDigits[(number >> shift) & 0xF];
    return text + " (" + std::to_string(number) + ")";
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    for (std::uint8_t b : bytes) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x", b);
        if (!out.empty()) out += ' ';
        out += buffer;
    }
    return out;
}

std::string TypeName(std::uint32_t type) {
    switch (type) {
    case reg_type::None: return "REG_NONE";
    case reg_type::String: return "REG_SZ";
    case reg_type::ExpandString: return "REG_EXPAND_SZ";
    case reg_type::Binary: return "REG_BINARY";
    case reg_type::Dword: return "REG_DWORD";
    case reg_type::MultiString: return "REG_MULTI_SZ";
    case reg_type::Qword: return "REG_QWORD";
    }
    return "REG_TYPE_" + std::to_string(type);
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02x", byte);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string ToUtf16(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t code = 0xFFFD;
        std::size_t length = 1;
        if (c < 0x80) code = c;
        else if ((c >> 5) == 0x6) code = c & 0x1F, length = 2;
        else if ((c >> 4) == 0xE) code = c & 0x0F, length = 3;
        else if ((c >> 3) == 0x1E) code = c & 0x07, length = 4;
        if (length > 1) {
            if (i + length > utf8.size()) {
                code = 0xFFFD;
                length = 1;
            } else {
                for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
            }
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string ToUtf8(std::u16string_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        std::uint32_t code = utf16[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string Utf16LeBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::u16string FromUtf16LeBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

RegValue TextValue(std::uint32_t type, std::string_view utf8) {
    const std::string bytes = Utf16LeBytes(ToUtf16(utf8) + u'\0');
    return {type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

RegValue DwordValue(std::uint32_t number) {
    return {reg_type::Dword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

RegValue MultiStringValue(const std::vector<std::string>& strings) {
    std::u16string text;
    for (const std::string& s : strings) text += ToUtf16(s) + u'\0';
    text += u'\0';
    const std::string bytes = Utf16LeBytes(text);
    return {reg_type::MultiString, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

RegValue BinaryValue(std::vector<std::uint8_t> bytes) { return {reg_type::Binary, std::move(bytes)}; }

std::optional<std::string> PlainText(const RegValue& value) {
    if (value.type != reg_type::String && value.type != reg_type::ExpandString) return std::nullopt;
    const std::u16string text = FromUtf16LeBytes(std::string(value.bytes.begin(), value.bytes.end()));
    if (text.empty() || text.back() != u'\0') return std::nullopt;
    std::string utf8 = ToUtf8(std::u16string_view(text).substr(0, text.size() - 1));
    if (TextValue(value.type, utf8) != value) return std::nullopt;
    return utf8;
}

std::optional<std::uint32_t> DwordOf(const RegValue& value) {
    if (value.type != reg_type::Dword || value.bytes.size() != 4) return std::nullopt;
    return value.bytes[0] | (value.bytes[1] << 8) | (value.bytes[2] << 16) | (std::uint32_t{value.bytes[3]} << 24);
}

std::string DescribeValue(const RegValue& value) {
    const std::string type = TypeName(value.type);
    if (auto text = PlainText(value)) return type + " \"" + Printable(*text) + "\"";
    if (auto number = DwordOf(value)) {
        return type + DwordText(*number);
    }
    if (value.type == reg_type::MultiString) {
        const std::u16string text = FromUtf16LeBytes(std::string(value.bytes.begin(), value.bytes.end()));
        std::string out = type;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(u'\0', start)) != std::u16string::npos && end > start; start = end + 1)
            out += " \"" + Printable(ToUtf8(std::u16string_view(text).substr(start, end - start))) + "\"";
        return out;
    }
    return value.bytes.empty() ? type : type + " " + Hex(value.bytes);
}

}  // namespace quillon
