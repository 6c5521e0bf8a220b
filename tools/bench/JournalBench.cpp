// Benchmark of plans and undo records, for Wine only: the plan of all five
// pages with everything ticked (time, and processes started: none), and a run
// with its undo record against the same run without it, in the same process.
// Usage (from tools/bench.sh): quillon_journal_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/OptimiseRun.h"
#include "journal/Journal.h"
#include "journal/Plan.h"
#include "platform/win32/Win32Platform.h"
#include "startup/StartupList.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

class CountingPlatform : public win32::Win32Platform {
public:
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        ++started;
        return Win32Platform::startHidden(commandLine);
    }
    int started = 0;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

template <class Action>
double Timed(Action&& action) {
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    action();
    QueryPerformanceCounter(&to);
    return Milliseconds(from, to);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Select(test::MemoryForm& form, Platform& platform, bool ticked) {
    RunContext context{form, platform, platform.userName()};
    ListStartupItems(context);
    for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, ticked ? kTicked : kUnticked);
    for (CheckList list : {CheckList::Hide, CheckList::Not, CheckList::Service, CheckList::Startup})
        for (int i = 0; i < form.listCount(list); ++i) form.setListSelected(list, i, ticked);
    form.setTxtPath(ticked ? "C:\\Downloads" : "");
}

constexpr Page kRunPages[] = {Page::System, Page::Security, Page::Services};

void RunPages(RunContext& context) {
    auto& form = static_cast<test::MemoryForm&>(context.form);
    for (Page page : kRunPages) {
        form.showOnly(page);
        RunOptimise(context);
    }
}

// One side of every box of the three pages, applied with or without a record.
double TimedRun(Platform& platform, bool ticked, bool recorded) {
    test::MemoryForm form;
    Select(form, platform, ticked);
    RunContext context{form, platform, platform.userName()};
    return Timed([&] {
        if (recorded) RunWithUndoRecord(context, RunPages);
        else RunPages(context);
    });
}

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

}  // namespace
}  // namespace quillon

int main() {
    using namespace quillon;
    if (!UnderWine()) {
        std::puts("quillon_journal_bench applies every tweak for real: it runs only under Wine.");
        return 2;
    }
    CountingPlatform platform;
    test::MemoryForm everything;
    Select(everything, platform, true);
    std::vector<double> plans;
    std::size_t effects = 0;
    for (int i = 0; i < 5; ++i)
        plans.push_back(Timed([&] { effects = PlanRun(everything, platform, platform.userName(), RunOrder()).size(); }));
    std::printf("plan of all five pages, everything ticked: %.1f ms (median of 5), %u effects, %d processes started\n",
                Median(plans), static_cast<unsigned>(effects), platform.started);

    // Each run turns every box of the three pages over, so each has the same work to do.
    TimedRun(platform, false, false);
    std::vector<double> ratios, plain, recorded;
    // Which goes first alternates, so neither gains from a machine that is warming up or getting busy.
    for (int round = 0; round < 5; ++round) {
        double without = 0, with = 0;
        for (bool withRecord : {round % 2 == 1, round % 2 == 0}) {
            double& total = withRecord ? with : without;
            total += TimedRun(platform, true, withRecord) + TimedRun(platform, false, withRecord);
        }
        plain.push_back(without);
        recorded.push_back(with);
        ratios.push_back(with / without);
    }
    std::printf("System, Security and Services, each side of every box: %.0f ms without the undo record, %.0f ms "
                "with it: ratio %.3f (median of 5)\n",
                Median(plain) / 2, Median(recorded) / 2, Median(ratios));
    return 0;
}
