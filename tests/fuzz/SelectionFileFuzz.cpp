// Arbitrary bytes as setup.dat: the loader must never crash, hang or leave a
// check box outside 0..2, and what it loads must save back as a valid file.
// fuzz-sources: settings/*.cpp platform/*.cpp tests/sim/*.cpp effects/EffectReader.cpp effects/Effect.cpp tests/support/*.cpp
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/Form.h"
#include "tests/sim/SimWindows.h"
#include "settings/SelectionFile.h"
#include "tests/support/MemoryForm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::sim::SimWindows machine;
    const std::string file = machine.executableFolder() + "\\setup.dat";
    machine.files().addFile(file, std::string(reinterpret_cast<const char*>(data), size));
    quillon::test::MemoryForm form;
    quillon::LoadSelection(form, machine);
    for (int i = 0; i < quillon::kCheckBoxCount; ++i)
        if (form.chk(i) < 0 || form.chk(i) > 2) std::abort();
    const auto lines = quillon::SelectionLines(form);
    if (lines.size() != 8 || lines[0].size() != 79 || lines[5].size() != 28 || lines[7].size() != 21) std::abort();
    return 0;
}
