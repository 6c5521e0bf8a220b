#pragma once
// Registry data exactly as Windows stores it: the type number and the raw
// bytes (strings as UTF-16LE with their terminating zero), so a value read
// back and written again is the same value, whatever its type.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

namespace reg_type {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t String = 1;
inline constexpr std::uint32_t ExpandString = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t MultiString = 7;
inline constexpr std::uint32_t Qword = 11;
}  // namespace reg_type

struct RegValue {
    std::uint32_t type = reg_type::None;
    std::vector<std::uint8_t> bytes;
    bool operator==(const RegValue&) const = default;
};

struct NamedRegValue {
    std::string name;
    RegValue value;
};

// UTF-8 and UTF-16 without the platform: registry bytes and UTF-16 files are
// the same on every side.
std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);
std::string Utf16LeBytes(std::u16string_view text);
std::u16string FromUtf16LeBytes(std::string_view bytes);  // an odd last byte is dropped

RegValue TextValue(std::uint32_t type, std::string_view utf8);  // String or ExpandString
RegValue DwordValue(std::uint32_t number);
RegValue MultiStringValue(const std::vector<std::string>& strings);
RegValue BinaryValue(std::vector<std::uint8_t> bytes);

// The text of a String or ExpandString value that reads back to exactly the
// same bytes (one terminating zero, nothing after it); nothing otherwise.
std::optional<std::string> PlainText(const RegValue& value);
std::optional<std::uint32_t> DwordOf(const RegValue& value);

// Text for people with every control byte shown as \xHH, never raw.
std::string Printable(std::string_view text);

// For people: REG_SZ "text", REG_DWORD 0x00000001 (1), REG_BINARY 01 02 ...
std::string DescribeValue(const RegValue& value);

}  // namespace quillon
