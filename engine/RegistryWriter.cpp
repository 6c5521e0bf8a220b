#include "engine/RegistryWriter.h"

#include "engine/Commands.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

std::string ValueData(RegType type, std::string_view data) {
    switch (type) {
    case RegType::Dword: return "dword:" + std::string(data);
    case RegType::Binary: return "hex:" + std::string(data);
    case RegType::String: break;
    }
    std::string quoted = "\"";
    quoted += Escaped(data);
    quoted += '"';
    return quoted;
}

}  // namespace

std::vector<std::string> RegistrationScript(std::string_view key, RegType type,
                                            std::string_view valueName, std::string_view data) {
    std::string valueLine = "\"";
    valueLine += Escaped(valueName);
    valueLine += "\"=";
    valueLine += ValueData(type, data);
    return {"Windows Registry Editor Version 5.00", "[" + std::string(key) + "]", valueLine};
}

void WriteRegValue(Platform& platform, std::string_view key, RegType type,
                   std::string_view valueName, std::string_view data) {
    const std::string script(kScriptPath);
    if (platform.anyFileExists(script)) platform.deleteFile(script);
    platform.writeTextFile(script, RegistrationScript(key, type, valueName, data));
    std::unique_ptr<StartedProcess> import;
    try {
        import = platform.startHidden(std::string(kImportCommand));
    } catch (const PlatformError&) {
        platform.deleteFile(script);  // nothing will ever read it
        throw;
    }
    // The script must outlive the import: only an ended import may lose it.
    if (!import->waitPumping(kCommandBound)) {
        import->terminate();
        throw PlatformError("the registry import did not end in time");
    }
    platform.deleteFile(script);
}

}  // namespace quillon
