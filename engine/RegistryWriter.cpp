#include "engine/RegistryWriter.h"

#include <algorithm>

#include "engine/Commands.h"
#include "platform/Platform.h"

namespace quillon {
bool HoldsControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) return true;
        // C2 80 to C2 9F in UTF-8.
        if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
    }
    return false;
}

std::string ScriptEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

namespace {

std::string ValueData(RegType type, std::string_view data) {
    switch (type) {
    case RegType::Dword: return "dword:" + std::string(data);
    case RegType::Binary: return "hex:" + std::string(data);
    case RegType::String: break;
    }
    std::string quoted = "\"";
    quoted += ScriptEscaped(data);
    quoted += '"';
    return quoted;
}

// A script left by a failed import is removed if it can be; the failure that
// came first is the one reported.
void DeleteQuietly(Platform& platform, const std::string& script) {
    try {
        if (platform.anyFileExists(script)) platform.deleteFile(script);
    } catch (const PlatformError&) {
    }
}

}  // namespace

std::vector<std::string> RegistrationScript(std::string_view key, RegType type,
                                            std::string_view valueName, std::string_view data) {
    for (std::string_view text : {key, valueName, data})
        if (HoldsControlCharacter(text)) throw PlatformError("control character in registry text");
    std::string valueLine = "\"";
    valueLine += ScriptEscaped(valueName);
    valueLine += "\"=";
    valueLine += ValueData(type, data);
    return {"Windows Registry Editor Version 5.00", "[" + std::string(key) + "]", valueLine};
}

void WriteRegValue(Platform& platform, std::string_view key, RegType type,
                   std::string_view valueName, std::string_view data) {
    std::vector<std::string> lines = RegistrationScript(key, type, valueName, data);
    lines.erase(lines.begin());
    ImportScript(platform, lines);
}

void ImportScript(Platform& platform, const std::vector<std::string>& body) {
    // Each line stays one line: nothing in it can start another.
    for (const std::string& line : body)
        if (std::any_of(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }))
            throw PlatformError("a script line holds a line break");
    std::vector<std::string> lines{"Windows Registry Editor Version 5.00"};
    lines.insert(lines.end(), body.begin(), body.end());
    const std::string script(kScriptPath);
    if (platform.anyFileExists(script)) platform.deleteFile(script);
    std::unique_ptr<HeldFile> held = platform.writeHeldScript(script, lines);
    bool ended = false;
    try {
        std::unique_ptr<StartedProcess> import = platform.startHidden(InNativeView(platform, std::string(kImportCommand)));
        // The script must outlive the import: only an ended import may lose it.
        ended = import->waitPumping(kCommandBound);
        if (!ended) import->terminate();
    } catch (const PlatformError&) {
        held.reset();
        DeleteQuietly(platform, script);
        throw;
    }
    held.reset();
    if (!ended) {
        DeleteQuietly(platform, script);
        throw PlatformError("the registry import did not end in time");
    }
    platform.deleteFile(script);
}

}  // namespace quillon
