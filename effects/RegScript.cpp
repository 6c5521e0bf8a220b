#include "effects/RegScript.h"

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

bool HoldsControl(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

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

bool ScriptCarries(const std::string& name) { return !HoldsControl(name); }

std::string ScriptSection(const std::string& key, bool remove) {
    if (!ScriptCarries(key) || key.empty() || key.find(']') != std::string::npos)
        throw UnscriptableName("a registration script cannot carry the key name exactly: " + Printable(key));
    return (remove ? "[-" : "[") + key + "]";
}

std::string ScriptValueLine(const std::string& name, const std::optional<RegValue>& value) {
    if (!ScriptCarries(name))
        throw UnscriptableName("a registration script cannot carry the value name exactly: " + Printable(name));
    std::string line = name.empty() ? "@=" : "\"" + Escaped(name) + "\"=";
    if (!value) return line + "-";
    if (value->type == reg_type::String)
        if (auto text = PlainText(*value); text && !HoldsControl(*text)) return line + "\"" + Escaped(*text) + "\"";
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
