#include <array>

#include "engine/Commands.h"
#include "engine/Form.h"
#include "engine/Phases.h"
#include "engine/Step.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

constexpr int kSystemBackupBox = 41;
constexpr int kDriversBackupBox = 42;
constexpr int kUpdateFilesBox = 45;
constexpr int kHelpFilesBox = 46;
constexpr int kRedundantImeBox = 52;

constexpr const char* kDriverArchive = "C:\\windows\\driver cache\\i386\\Driver.cab";
constexpr std::array kImeFolders{"C:\\Windows\\Ime\\chtime", "C:\\Windows\\Ime\\imjp8_1",
                                 "C:\\Windows\\Ime\\imkr6_1"};

// Only an empty folder goes: what a folder holds is never deleted.
void RemoveFolderIfEmpty(Platform& platform, const char* folder) {
    RunStep([&] {
        if (platform.directoryExists(folder)) platform.removeEmptyDirectory(folder);
    });
}

}  // namespace

void RunSpeedPhase(RunContext& context) {
    Form& form = context.form;
    Platform& platform = context.platform;

    const auto tag = [&](int box) { context.step = StepTag{Page::Speed, {box, -1}, {}, -1, {}}; };
    // The checker can take minutes; the clean-up goes on while it works.
    tag(kSystemBackupBox);
    RunStep([&] {
        if (form.ticked(kSystemBackupBox)) RunHiddenCommand(platform, "sfc /purgecache");
    });
    tag(kDriversBackupBox);
    RunStep([&] {
        if (form.ticked(kDriversBackupBox) && platform.anyFileExists(kDriverArchive)) platform.deleteFile(kDriverArchive);
    });
    form.setProgressWidth(5000);

    tag(kUpdateFilesBox);
    if (form.ticked(kUpdateFilesBox)) RemoveFolderIfEmpty(platform, "C:\\Windows\\temp");
    tag(kHelpFilesBox);
    if (form.ticked(kHelpFilesBox)) RemoveFolderIfEmpty(platform, "C:\\Windows\\help");
    form.setProgressWidth(9000);

    tag(kRedundantImeBox);
    if (form.ticked(kRedundantImeBox))
        for (const char* folder : kImeFolders) RemoveFolderIfEmpty(platform, folder);
    form.setProgressWidth(kProgressFull);
}

}  // namespace quillon
