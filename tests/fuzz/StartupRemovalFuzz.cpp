// Arbitrary startup entry names: the registry tool must be handed exactly the
// name, and no file outside the two Startup folders may ever be deleted.
// fuzz-sources: startup/RemoveStartupItem.cpp startup/StartupList.cpp startup/StartupPlaces.cpp engine/Commands.cpp platform/*.cpp tests/sim/*.cpp effects/EffectReader.cpp effects/Effect.cpp
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "tests/sim/SimWindows.h"
#include "startup/RemoveStartupItem.h"

namespace {

const char* const kBystanders[] = {
    "C:\\boot.ini",
    "C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\keep.lnk",
    "C:\\Documents and Settings\\All Users\\Start Menu\\keep.lnk",
    "C:\\Windows\\system32\\keep.dll",
    "C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup\\sub\\keep.lnk",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string name(reinterpret_cast<const char*>(data), size);
    if (name.find('\0') != std::string::npos) return 0;  // no Windows name or command line holds one
    quillon::sim::SimWindows machine;
    for (const char* path : kBystanders) machine.files().addFile(path);
    std::vector<std::unique_ptr<quillon::StartedProcess>> started;
    try {
        quillon::RemoveStartupItem(machine, "Tester", name, started);
    } catch (const std::exception&) {
    }
    for (const std::string& command : machine.commands()) {
        const auto args = quillon::SplitCommandLine(command);
        const bool exact = name.empty() ? args.size() == 5 && args[3] == "/ve" && args[4] == "/f"
                                        : args.size() == 6 && args[3] == "/v" && args[4] == name && args[5] == "/f";
        if (!exact) std::abort();
    }
    for (const char* path : kBystanders)
        if (!machine.files().fileExists(path)) std::abort();
    return 0;
}
