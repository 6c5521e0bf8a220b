#include "startup/StartupPhase.h"

#include <algorithm>
#include <chrono>
#include <deque>

#include "engine/Commands.h"
#include "engine/Form.h"
#include "engine/Phases.h"
#include "engine/Step.h"
#include "platform/Platform.h"
#include "startup/RemoveStartupItem.h"
#include "startup/StartupList.h"
#include "startup/StartupPlaces.h"

namespace quillon {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Removal commands that may run at once: enough to keep a slow registry tool
// busy, few enough that a thousand entries never flood the machine.
constexpr std::size_t kMostRunning = 4;

struct Removal {
    std::unique_ptr<StartedProcess> process;
    Clock::time_point started;
};

class Removals {
public:
    // Waits, window events served, until no more than `most` are running.
    void waitUntilAtMost(RunContext& context, std::size_t most) {
        while (running_.size() > most) {
            Removal removal = std::move(running_.front());
            running_.pop_front();
            RunStep(context, [&] { endWithinItsBound(removal); });
        }
    }

    void add(std::vector<std::unique_ptr<StartedProcess>>& started) {
        for (auto& process : started) running_.push_back({std::move(process), Clock::now()});
        started.clear();
    }

private:
    // Every command has the bound any other hidden command has, counted from
    // its own start; only one that outlives it is ended, and that step failed.
    static void endWithinItsBound(Removal& removal) {
        const auto left = std::chrono::duration_cast<milliseconds>(removal.started + kCommandBound - Clock::now());
        if (removal.process->waitPumping(std::max(left, milliseconds{0}))) return;
        removal.process->terminate();
        throw PlatformError("a startup removal did not end in time");
    }

    std::deque<Removal> running_;
};

}  // namespace

void RunStartupPhase(RunContext& context) {
    Form& form = context.form;
    Platform& platform = context.platform;
    // The run's bar and status text show before the first command starts.
    platform.pumpEvents();
    Removals removals;
    std::vector<std::unique_ptr<StartedProcess>> started;
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i) {
        if (!form.listSelected(CheckList::Startup, i)) continue;
        removals.waitUntilAtMost(context, kMostRunning - kRunKeys.size());
        context.step = StepTag{Page::Startup, {-1, -1}, "lstStartup", i, form.listText(CheckList::Startup, i)};
        RunStep(context, [&] { RemoveStartupItem(platform, context.userName, ListedStartupEntry(form, i), started); });
        removals.add(started);
    }
    form.clearList(CheckList::Startup);
    platform.pumpEvents();  // the emptied list repaints while the commands finish
    // The list is read again only after the commands are done, so it never
    // shows an entry that was just removed.
    removals.waitUntilAtMost(context, 0);
    ListStartupItems(context);
}

void RegisterStartupPhase() { RegisterPhase(Page::Startup, RunStartupPhase); }

}  // namespace quillon
