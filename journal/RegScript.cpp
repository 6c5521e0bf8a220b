#include "journal/RegScript.h"

#include <cstdio>

namespace quillon {
namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// A string regedit reads back exactly: plain text with no line breaks in it.
bool Quotable(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

std::string HexData(const std::string& prefix, const std::vector<std::uint8_t>& bytes) {
    std::string out = prefix;
    std::size_t column = out.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
        out += buffer;
        column += 2;
        if (i + 1 == bytes.size()) break;
        out += ',';
        ++column;
        if (column > 76) {
            out += "\\\r\n  ";
            column = 2;
        }
    }
    return out;
}

}  // namespace

std::string ScriptValueLine(const std::string& name, const std::optional<RegValue>& value) {
    std::string line = name.empty() ? "@=" : "\"" + Escaped(name) + "\"=";
    if (!value) return line + "-";
    if (value->type == reg_type::String)
        if (auto text = PlainText(*value); text && Quotable(*text)) return line + "\"" + Escaped(*text) + "\"";
    if (auto number = DwordOf(*value)) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(*number));
        return line + "dword:" + buffer;
    }
    if (value->type == reg_type::Binary) return HexData(line + "hex:", value->bytes);
    char type[16];
    std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value->type));
    return HexData(line + type, value->bytes);
}

}  // namespace quillon
