#include "platform/sim/SimTools.h"

#include <cstdlib>
#include <optional>
#include <sstream>

#include "platform/CommandLine.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimText.h"
#include "platform/TextMatch.h"

namespace quillon::sim {
namespace {

std::string ToolName(const std::vector<std::string>& args) {
    if (args.empty()) return {};
    std::string name = Lower(args[0]);
    if (auto slash = name.find_last_of("\\/"); slash != std::string::npos) name = name.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".exe")) name.resize(name.size() - 4);
    return name;
}

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

std::optional<Value> ScriptData(const std::string& text) {
    std::size_t pos = 0;
    if (!text.empty() && text[0] == '"') {
        auto s = QuotedString(text, pos);
        if (!s || pos != text.size()) return std::nullopt;
        return Value::String(*s);
    }
    if (StartsWithNoCase(text, "dword:")) {
        const std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        return Value::Dword(static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
    }
    if (StartsWithNoCase(text, "hex:")) {
        Value v{ValueType::Binary, {}, 0, {}};
        std::stringstream in(text.substr(4));
        for (std::string byte; std::getline(in, byte, ',');)
            if (!byte.empty()) v.bytes.push_back(static_cast<std::uint8_t>(std::strtoul(byte.c_str(), nullptr, 16)));
        return v;
    }
    return std::nullopt;
}

int RegCommand(const std::vector<std::string>& args, SimRegistry& registry) {
    if (args.size() < 3) return 1;
    const std::string verb = Lower(args[1]);
    const std::string key = args[2];
    if (SimRegistry::NormalisedKey(key).empty()) return 1;
    std::optional<std::string> valueName;
    std::string type = "REG_SZ", data;
    bool subkeys = false;
    std::size_t next = 3;
    if (verb == "copy") {
        if (args.size() < 4 || SimRegistry::NormalisedKey(args[3]).empty()) return 1;
        next = 4;
    }
    for (std::size_t i = next; i < args.size(); ++i) {
        const std::string option = Lower(args[i]);
        if (option == "/v" && i + 1 < args.size()) valueName = args[++i];
        else if (option == "/ve") valueName = "";
        else if (option == "/t" && i + 1 < args.size()) type = args[++i];
        else if (option == "/d" && i + 1 < args.size()) data = args[++i];
        else if (option == "/s") subkeys = true;
        else if (option != "/f") return 1;
    }
    if (verb == "add") {
        if (!valueName) registry.createKey(key);
        else if (EqualNoCase(type, "REG_DWORD"))
            registry.setValue(key, *valueName, Value::Dword(static_cast<std::uint32_t>(std::strtoul(data.c_str(), nullptr, 0))));
        else registry.setValue(key, *valueName, Value::String(data));
        return 0;
    }
    if (verb == "delete") {
        if (valueName) return registry.deleteValue(key, *valueName) ? 0 : 1;
        return registry.deleteKey(key) ? 0 : 1;
    }
    if (verb == "copy") return registry.copyKey(key, args[3], subkeys) ? 0 : 1;
    return 1;
}

int ScCommand(const std::vector<std::string>& args, SimRegistry& registry) {
    // sc \\. config NAME start= MODE
    if (args.size() != 6 || args[1] != "\\\\." || Lower(args[2]) != "config" || Lower(args[4]) != "start=") return 1;
    const std::string key = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + args[3];
    if (!registry.keyExists(key)) return 1;  // no such service
    const std::string mode = Lower(args[5]);
    const std::uint32_t start = mode == "disabled" ? 4 : mode == "demand" ? 3 : mode == "auto" ? 2 : 0;
    if (start == 0) return 1;
    registry.setValue(key, "Start", Value::Dword(start));
    return 0;
}

}  // namespace

void ImportRegistrationScript(const std::string& script, SimRegistry& registry) {
    std::istringstream in(script);
    std::string line, key;
    bool header = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (header) {
            if (line != "Windows Registry Editor Version 5.00" && line != "REGEDIT4") return;
            header = false;
            continue;
        }
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            key = line.substr(1, line.size() - 2);
            if (!key.empty() && key[0] == '-') {
                registry.deleteKey(key.substr(1));
                key.clear();
            } else {
                registry.createKey(key);
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
        if (data == "-") registry.deleteValue(key, name);
        else if (auto value = ScriptData(data)) registry.setValue(key, name, *value);
    }
}

bool IsKnownTool(const std::string& commandLine) {
    const std::string tool = ToolName(SplitCommandLine(commandLine));
    return tool == "regedit" || tool == "reg" || tool == "sc" || tool == "sfc" || tool == "chkntfs";
}

int RunTool(const std::string& commandLine, SimRegistry& registry, SimFileSystem& files) {
    const auto args = SplitCommandLine(commandLine);
    const std::string tool = ToolName(args);
    if (tool == "regedit") {
        if (args.size() != 3 || Lower(args[1]) != "/s") return 1;
        auto script = files.content(args[2]);
        if (!script) return 1;
        ImportRegistrationScript(DecodeFileText(*script), registry);
        return 0;
    }
    if (tool == "reg") return RegCommand(args, registry);
    if (tool == "sc") return ScCommand(args, registry);
    return 0;  // sfc and chkntfs change nothing the tests look at
}

}  // namespace quillon::sim
