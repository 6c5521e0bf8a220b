#include <algorithm>
#include <chrono>

#include "engine/Form.h"
#include "engine/Phases.h"
#include "engine/Step.h"
#include "platform/Platform.h"
#include "startup/RemoveStartupItem.h"
#include "startup/StartupList.h"

namespace quillon {
namespace {

using std::chrono::milliseconds;

// For all removal commands together: plenty for the registry tool, short
// enough that a hung one does not hold the window for long.
constexpr milliseconds kRemovalBound{5000};

// The list is read again only after the commands are done, so it never shows
// an entry that was just removed.
void WaitForRemovals(std::vector<std::unique_ptr<StartedProcess>>& started) {
    const auto deadline = std::chrono::steady_clock::now() + kRemovalBound;
    for (auto& process : started) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        RunStep([&] {
            if (!process->waitPumping(std::max(left, milliseconds{0}))) process->terminate();
        });
    }
}

}  // namespace

void RunStartupPhase(RunContext& context) {
    Form& form = context.form;
    std::vector<std::unique_ptr<StartedProcess>> started;
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i) {
        if (!form.listSelected(CheckList::Startup, i)) continue;
        context.step = StepTag{Page::Startup, {-1, -1}, "lstStartup", i, form.listText(CheckList::Startup, i)};
        RunStep([&] {
            RemoveStartupItem(context.platform, context.userName, form.listText(CheckList::Startup, i), started);
        });
    }
    form.clearList(CheckList::Startup);
    context.platform.pumpEvents();  // the emptied list repaints while the commands finish
    WaitForRemovals(started);
    ListStartupItems(context);
}

}  // namespace quillon
