#pragma once
// What the stand-in tools in the test prefix (tools/standins) were started
// with, one command line per start, oldest first.
#include <windows.h>

#include <string>
#include <vector>

namespace quillon::test {

std::vector<std::string> StandinCommands();
void ClearStandinCommands();
// For tools that are started and not waited for: true once the line is logged.
bool WaitForStandinCommand(const std::string& commandLine, DWORD boundMilliseconds);

}  // namespace quillon::test
