#pragma once
// Reads what the program hands to Windows' tools (registration scripts and
// its own reg, sc, chkntfs and sfc command lines) as effects. The simulated
// Windows carries out these same effects, so both sides read them one way.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "effects/Effect.h"

namespace quillon {

// A registration script's effects in order: its bytes as stored (ANSI/UTF-8,
// or UTF-16LE with a byte-order mark). Lines that regedit would skip are skipped.
std::vector<Effect> ReadScriptEffects(const std::string& bytes);

// The effects of a command line, or nothing when it is not a form of a tool
// the program uses (the tool would refuse it). `readFile` gives a script's
// bytes for "regedit /s FILE" and "reg import FILE"; a script that cannot be
// read has no effect. On a `wow64` machine the tools the program is handed
// write the 32-bit view unless "/reg:64" says otherwise; keys come back as
// native paths (RegistryPath.h) either way.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
std::optional<std::vector<Effect>> ReadCommandEffects(const std::string& commandLine, const FileReader& readFile,
                                                      bool wow64 = false);

// Whether the command imports a script: the tool then reports success for any
// script it could read, whatever its lines did.
bool ImportsScript(const std::string& commandLine);

// A script file's text as UTF-8, read through the platform so that one in the
// ANSI code page is read as Windows reads it; nothing when it cannot be read.
class Platform;
std::optional<std::string> ReadScriptText(Platform& machine, const std::string& path);

// The tool a command line starts: lower case, without folder or ".exe".
std::string ToolName(const std::string& commandLine);

}  // namespace quillon
