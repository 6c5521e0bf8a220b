#include "effects/EffectReader.h"

#include <algorithm>
#include <cstdlib>

#include "platform/CommandLine.h"
#include "platform/Platform.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

// A quoted script string: `\x` stands for x.
std::optional<std::string> QuotedString(const std::string& text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] == '\\' && pos + 1 < text.size()) out += text[++pos];
        else if (text[pos] == '"') return ++pos, out;
        else out += text[pos];
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> HexBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string byte = text.substr(start, end - start);
        while (!byte.empty() && (byte.front() == ' ' || byte.front() == '\t')) byte.erase(0, 1);
        while (!byte.empty() && (byte.back() == ' ' || byte.back() == '\t')) byte.pop_back();
        if (!byte.empty()) {
            if (byte.size() > 2 || byte.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return std::nullopt;
            bytes.push_back(static_cast<std::uint8_t>(std::strtoul(byte.c_str(), nullptr, 16)));
        }
        start = end + 1;
    }
    return bytes;
}

std::optional<RegValue> ScriptData(const std::string& text) {
    std::size_t pos = 0;
    if (!text.empty() && text[0] == '"') {
        auto s = QuotedString(text, pos);
        if (!s || pos != text.size()) return std::nullopt;
        return TextValue(reg_type::String, *s);
    }
    if (StartsWithNoCase(text, "dword:")) {
        const std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        return DwordValue(static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
    }
    if (StartsWithNoCase(text, "hex:")) {
        auto bytes = HexBytes(text.substr(4));
        if (!bytes) return std::nullopt;
        return BinaryValue(std::move(*bytes));
    }
    if (StartsWithNoCase(text, "hex(")) {
        const auto close = text.find("):");
        if (close == std::string::npos || close == 4) return std::nullopt;
        const std::string type = text.substr(4, close - 4);
        if (type.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
        auto bytes = HexBytes(text.substr(close + 2));
        if (!bytes) return std::nullopt;
        return RegValue{static_cast<std::uint32_t>(std::strtoul(type.c_str(), nullptr, 16)), std::move(*bytes)};
    }
    return std::nullopt;
}

std::string ScriptText(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return ToUtf8(FromUtf16LeBytes(std::string_view(bytes).substr(2)));
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
    return bytes;
}

// Lines of the script, a hex line continued by a trailing backslash joined to the next.
std::vector<std::string> LogicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string pending;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!pending.empty()) {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.erase(0, 1);
            line = pending + line;
            pending.clear();
        }
        if (line.size() >= 2 && line.back() == '\\' && line[line.size() - 2] == ',' && line.find("=hex") != std::string::npos) {
            pending = line.substr(0, line.size() - 1);
            continue;
        }
        lines.push_back(line);
    }
    if (!pending.empty()) lines.push_back(pending);
    return lines;
}

RegValue RegAddData(const std::string& type, const std::string& data) {
    if (EqualNoCase(type, "REG_DWORD")) return DwordValue(static_cast<std::uint32_t>(std::strtoul(data.c_str(), nullptr, 0)));
    if (EqualNoCase(type, "REG_EXPAND_SZ")) return TextValue(reg_type::ExpandString, data);
    if (EqualNoCase(type, "REG_MULTI_SZ")) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t at; (at = data.find("\\0", start)) != std::string::npos; start = at + 2)
            parts.push_back(data.substr(start, at - start));
        if (start < data.size()) parts.push_back(data.substr(start));
        return MultiStringValue(parts);
    }
    if (EqualNoCase(type, "REG_BINARY")) {
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2)
            bytes.push_back(static_cast<std::uint8_t>(std::strtoul(data.substr(i, 2).c_str(), nullptr, 16)));
        return BinaryValue(std::move(bytes));
    }
    return TextValue(reg_type::String, data);
}

// Which view a reg command line acts on: "/reg:32" or "/reg:64" (only 64-bit
// Windows knows them), else the view of the tool itself. Nothing when refused.
bool ViewSwitch(const std::string& option, bool wow64, std::optional<RegView>& view) {
    if (!wow64 || (option != "/reg:32" && option != "/reg:64")) return false;
    view = option == "/reg:64" ? RegView::Native : RegView::Wow32;
    return true;
}

// Names each key by the native path of what a tool of `view` opens, and
// gives each effect the view its key is in: only 64-bit Windows has two.
void PutInView(std::vector<Effect>& effects, RegView view, bool wow64) {
    if (!wow64) return;
    for (Effect& e : effects) {
        if (e.kind == EffectKind::ServiceStart || e.kind == EffectKind::RunTool) continue;
        if (view == RegView::Wow32) {
            if (IsNormalisedKey(e.target)) e.target = KeyOf32BitView(e.target);
            if (e.kind == EffectKind::CopyKey) e.destination = KeyOf32BitView(e.destination);
        }
        e.view = ViewOfKey(e.kind == EffectKind::CopyKey ? e.destination : e.target);
    }
}

std::optional<std::vector<Effect>> RegEffects(const std::vector<std::string>& args, bool wow64,
                                              const FileReader& readFile) {
    if (args.size() < 3) return std::nullopt;
    const std::string verb = Lower(args[1]);
    std::optional<RegView> view;
    if (verb == "import") {
        if (args.size() > 4 || (args.size() == 4 && !ViewSwitch(Lower(args[3]), wow64, view))) return std::nullopt;
        auto script = readFile(args[2]);
        if (!script) return std::vector<Effect>{};
        std::vector<Effect> effects = ReadScriptEffects(*script);
        PutInView(effects, view.value_or(wow64 ? RegView::Wow32 : RegView::Native), wow64);
        return effects;
    }
    const std::string key = NormalisedKey(args[2]);
    if (key.empty()) return std::nullopt;
    std::optional<std::string> valueName;
    std::string type = "REG_SZ", data, destination;
    bool subkeys = false;
    std::size_t next = 3;
    if (verb == "copy") {
        if (args.size() < 4 || (destination = NormalisedKey(args[3])).empty()) return std::nullopt;
        next = 4;
    }
    for (std::size_t i = next; i < args.size(); ++i) {
        const std::string option = Lower(args[i]);
        if (option == "/v" && i + 1 < args.size()) valueName = args[++i];
        else if (option == "/ve") valueName = "";
        else if (option == "/t" && i + 1 < args.size()) type = args[++i];
        else if (option == "/d" && i + 1 < args.size()) data = args[++i];
        else if (option == "/s") subkeys = true;
        else if (option != "/f" && !ViewSwitch(option, wow64, view)) return std::nullopt;
    }
    Effect effect;
    effect.target = key;
    if (verb == "add") {
        if (valueName) {
            effect.kind = EffectKind::SetValue;
            effect.name = *valueName;
            effect.data = RegAddData(type, data);
        } else {
            effect.kind = EffectKind::CreateKey;
            effect.emptiesDefault = true;
        }
    } else if (verb == "delete") {
        effect.kind = valueName ? EffectKind::DeleteValue : EffectKind::DeleteKey;
        effect.name = valueName.value_or("");
    } else if (verb == "copy") {
        effect.kind = EffectKind::CopyKey;
        effect.destination = destination;
        effect.recursive = subkeys;
    } else {
        return std::nullopt;
    }
    std::vector<Effect> effects{effect};
    PutInView(effects, view.value_or(wow64 ? RegView::Wow32 : RegView::Native), wow64);
    return effects;
}

std::optional<std::uint32_t> StartMode(const std::string& word) {
    for (std::uint32_t mode = 0; mode <= 4; ++mode)
        if (EqualNoCase(word, StartModeName(mode))) return mode;
    return std::nullopt;
}

std::optional<std::vector<Effect>> ScEffects(const std::vector<std::string>& args) {
    // sc \\. config NAME start= MODE
    if (args.size() != 6 || args[1] != "\\\\." || Lower(args[2]) != "config" || Lower(args[4]) != "start=")
        return std::nullopt;
    const auto mode = StartMode(args[5]);
    if (!mode) return std::nullopt;
    Effect effect;
    effect.kind = EffectKind::ServiceStart;
    effect.target = args[3];
    effect.startMode = *mode;
    return std::vector<Effect>{effect};
}

std::string ToolOf(const std::vector<std::string>& args) {
    if (args.empty()) return {};
    std::string name = Lower(args[0]);
    if (auto slash = name.find_last_of("\\/"); slash != std::string::npos) name = name.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".exe")) name.resize(name.size() - 4);
    return name;
}

}  // namespace

std::string ToolName(const std::string& commandLine) { return ToolOf(SplitCommandLine(commandLine)); }

std::optional<std::string> ReadScriptText(Platform& machine, const std::string& path) {
    try {
        const std::string bytes = machine.readFileBytes(path);
        if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xEF\xBB\xBF", 0) == 0) return ScriptText(bytes);
        // Plain ASCII reads the same in every code page: no second read to convert it.
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return bytes;
        std::string text;
        for (const std::string& line : machine.readTextFile(path)) text += line + "\r\n";
        return text;
    } catch (const PlatformError&) {
        return std::nullopt;
    }
}

std::vector<Effect> ReadScriptEffects(const std::string& bytes) {
    std::vector<Effect> effects;
    const std::vector<std::string> lines = LogicalLines(ScriptText(bytes));
    std::string key;
    bool header = true, keyHasValues = false;
    auto closeSection = [&] {
        if (!key.empty() && !keyHasValues) effects.push_back({EffectKind::CreateKey, key, {}, {}, {}, 0, false});
    };
    for (const std::string& line : lines) {
        if (header) {
            if (line != "Windows Registry Editor Version 5.00" && line != "REGEDIT4") return effects;
            header = false;
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            closeSection();
            key.clear();
            keyHasValues = false;
            std::string name = line.substr(1, line.size() - 2);
            if (!name.empty() && name[0] == '-') {
                const std::string deleted = NormalisedKey(name.substr(1));
                if (!deleted.empty()) effects.push_back({EffectKind::DeleteKey, deleted, {}, {}, {}, 0, false});
            } else {
                key = NormalisedKey(name);
            }
            continue;
        }
        if (key.empty()) continue;
        std::size_t pos = 0;
        std::string name;
        if (line[0] == '@') pos = 1;
        else if (auto quoted = QuotedString(line, pos)) name = *quoted;
        else continue;
        if (pos >= line.size() || line[pos] != '=') continue;
        const std::string data = line.substr(pos + 1);
        if (data == "-") {
            effects.push_back({EffectKind::DeleteValue, key, name, {}, {}, 0, false});
            keyHasValues = true;
        } else if (auto value = ScriptData(data)) {
            effects.push_back({EffectKind::SetValue, key, name, *value, {}, 0, false});
            keyHasValues = true;
        }
    }
    closeSection();
    return effects;
}

std::optional<std::vector<Effect>> ReadCommandEffects(const std::string& commandLine, const FileReader& readFile,
                                                      bool wow64) {
    const auto args = SplitCommandLine(commandLine);
    const std::string tool = ToolOf(args);
    if (tool == "regedit") {
        if (args.size() != 3 || Lower(args[1]) != "/s") return std::nullopt;
        auto script = readFile(args[2]);
        if (!script) return std::vector<Effect>{};
        // The regedit a 32-bit program is handed is the 32-bit one.
        std::vector<Effect> effects = ReadScriptEffects(*script);
        PutInView(effects, RegView::Wow32, wow64);
        return effects;
    }
    if (tool == "reg") return RegEffects(args, wow64, readFile);
    if (tool == "sc") return ScEffects(args);
    if (tool == "sfc" || tool == "chkntfs") return std::vector<Effect>{{EffectKind::RunTool, commandLine, {}, {}, {}, 0, false}};
    return std::nullopt;
}

bool ImportsScript(const std::string& commandLine) {
    const auto args = SplitCommandLine(commandLine);
    const std::string tool = ToolOf(args);
    return tool == "regedit" || (tool == "reg" && args.size() > 1 && Lower(args[1]) == "import");
}

}  // namespace quillon
