#include <array>
#include <string>

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

// Below the Windows folder, wherever this Windows keeps it.
constexpr const char* kDriverArchive = "driver cache\\i386\\Driver.cab";
constexpr std::array kImeFolders{"Ime\\chtime", "Ime\\imjp8_1", "Ime\\imkr6_1"};

// Empty when the system cannot tell where Windows is: then nothing is touched.
std::string InWindows(Platform& platform, const char* below) {
    const std::string windows = platform.shellFolder(ShellFolder::Windows);
    return windows.empty() ? std::string() : windows + "\\" + below;
}

// Only an empty folder goes: what a folder holds is never deleted.
void RemoveFolderIfEmpty(RunContext& context, const char* below) {
    Platform& platform = context.platform;
    RunStep(context, [&] {
        const std::string folder = InWindows(platform, below);
        if (!folder.empty() && platform.directoryExists(folder)) platform.removeEmptyDirectory(folder);
    });
}

}  // namespace

void RunSpeedPhase(RunContext& context) {
    Form& form = context.form;
    Platform& platform = context.platform;

    const auto tag = [&](int box) { context.step = StepTag{Page::Speed, {box, -1}, {}, -1, {}}; };
    // The checker can take minutes; the clean-up goes on while it works.
    tag(kSystemBackupBox);
    RunStep(context, [&] {
        if (form.ticked(kSystemBackupBox)) RunHiddenCommand(platform, "sfc /purgecache");
    });
    tag(kDriversBackupBox);
    RunStep(context, [&] {
        // Hidden and system files do not count: such an archive stays.
        const std::string archive = InWindows(platform, kDriverArchive);
        if (form.ticked(kDriversBackupBox) && !archive.empty() && platform.visibleFileExists(archive))
            platform.deleteFile(archive);
    });
    form.setProgressWidth(5000);

    tag(kUpdateFilesBox);
    if (form.ticked(kUpdateFilesBox)) RemoveFolderIfEmpty(context, "temp");
    tag(kHelpFilesBox);
    if (form.ticked(kHelpFilesBox)) RemoveFolderIfEmpty(context, "help");
    form.setProgressWidth(9000);

    tag(kRedundantImeBox);
    if (form.ticked(kRedundantImeBox))
        for (const char* folder : kImeFolders) RemoveFolderIfEmpty(context, folder);
    form.setProgressWidth(kProgressFull);
}

}  // namespace quillon
