// The console tool's entry routine: the arguments as UTF-16 from the system,
// UTF-8 from here on, and the exit status straight from the verb.
#include <windows.h>

#include <string>
#include <vector>

#include "console/Verbs.h"
#include "console/win32/Win32Terminal.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "startup/StartupPhase.h"

int wmain(int argc, wchar_t** argv) {
    // A failing drive or a missing file must not stop an unattended run with a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(quillon::win32::Narrow(argv[i]));

    quillon::RegisterStartupPhase();
    quillon::console::win32::Win32Terminal terminal;
    quillon::win32::Win32Platform platform;
    // A reading verb holds some fifty keys open; closing each is a call into the system.
    platform.leaveHeldKeysToProcessEnd();
    return quillon::console::RunConsole(arguments, terminal, platform);
}
