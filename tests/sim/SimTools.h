#pragma once
// Interpreters for the command lines Quillon hands to Windows' own tools:
// regedit /s, reg add/delete/copy, sc \\. config, sfc and chkntfs.
#include <string>
#include <vector>

namespace quillon::sim {

class SimRegistry;
class SimFileSystem;

// Runs one command line against the simulated machine. Returns false when the
// tool is not one the simulated Windows has (the start fails then).
bool IsKnownTool(const std::string& commandLine);
// Returns the tool's exit code (0 success, 1 failure), as the real tools do.
// `regAddBlanksDefault`: `reg add KEY` without a value leaves the key's
// default value empty, as some versions of reg do. `wow64`: the machine is
// 64-bit Windows, whose regedit and reg handed to a 32-bit program write the
// 32-bit view unless "/reg:64" says otherwise.
int RunTool(const std::string& commandLine, SimRegistry& registry, SimFileSystem& files, bool regAddBlanksDefault = false,
            bool wow64 = false);

// Imports a registration script (UTF-8 text, as DecodeFileText gives it) the way regedit does, unescaping quoted
// strings; an unescaped backslash is dropped, as the real import drops it.
void ImportRegistrationScript(const std::string& script, SimRegistry& registry);

}  // namespace quillon::sim
