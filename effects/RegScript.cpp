#include "effects/RegScript.h"

#include <cstdio>

#include "engine/RegistryWriter.h"

namespace quillon {
namespace {

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

bool ScriptCarries(const std::string& name) { return !HoldsControlCharacter(name); }

std::string ScriptSection(const std::string& key, bool remove) {
    if (!ScriptCarries(key) || key.empty() || key.find(']') != std::string::npos)
        throw UnscriptableName("a registration script cannot carry the key name exactly: " + Printable(key));
    return (remove ? "[-" : "[") + key + "]";
}

std::string ScriptValueLine(const std::string& name, const std::optional<RegValue>& value) {
    if (!ScriptCarries(name))
        throw UnscriptableName("a registration script cannot carry the value name exactly: " + Printable(name));
    std::string line = name.empty() ? "@=" : "\"" + ScriptEscaped(name) + "\"=";
    if (!value) return line + "-";
    if (value->type == reg_type::String)
        if (auto text = PlainText(*value); text && !HoldsControlCharacter(*text)) return line + "\"" + ScriptEscaped(*text) + "\"";
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
