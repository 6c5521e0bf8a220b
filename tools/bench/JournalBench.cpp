// Benchmark of plans and undo records, for Wine only: the plan of all five
// pages with everything ticked (time, and processes started: none), and a run
// with its undo record against the same run without it, in the same process.
// Usage (from tools/bench.sh): quillon_journal_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "startup/StartupPhase.h"
#include "window/OptimiseRun.h"
#include "record/Journal.h"
#include "planning/Plan.h"
#include "platform/win32/Win32Platform.h"
#include "startup/StartupList.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

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

// Counts the processes started, and the time spent in the reads and writes
// that the undo record adds (the run itself makes few of them).
class CountingPlatform : public win32::Win32Platform {
public:
    int started = 0;
    int flushed = 0;            // flushed writes
    double readsAndWrites = 0;  // milliseconds

    template <class Call>
    auto timed(Call&& call) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        auto result = call();
        QueryPerformanceCounter(&to);
        readsAndWrites += Milliseconds(from, to);
        return result;
    }

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        ++started;
        return Win32Platform::startHidden(commandLine);
    }
    bool registryKeyExists(const std::string& key) override {
        return timed([&] { return Win32Platform::registryKeyExists(key); });
    }
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override {
        return timed([&] { return Win32Platform::registryValue(key, name); });
    }
    std::vector<NamedRegValue> registryValues(const std::string& key) override {
        return timed([&] { return Win32Platform::registryValues(key); });
    }
    std::string readFileBytes(const std::string& path) override {
        return timed([&] { return Win32Platform::readFileBytes(path); });
    }
    std::vector<std::string> readTextFile(const std::string& path) override {
        return timed([&] { return Win32Platform::readTextFile(path); });
    }
    void appendFileFlushed(const std::string& path, std::string_view bytes) override {
        ++flushed;
        timed([&] { return Win32Platform::appendFileFlushed(path, bytes), 0; });
    }
    void appendFile(const std::string& path, std::string_view bytes) override {
        timed([&] { return Win32Platform::appendFile(path, bytes), 0; });
    }
    void createDirectory(const std::string& path) override {
        timed([&] { return Win32Platform::createDirectory(path), 0; });
    }
    std::vector<std::string> listSubfolders(const std::string& folder) override {
        return timed([&] { return Win32Platform::listSubfolders(folder); });
    }
    std::vector<std::string> registrySubkeys(const std::string& key) override {
        return timed([&] { return Win32Platform::registrySubkeys(key); });
    }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override {
        return timed([&] { return Win32Platform::listVisibleFiles(folder, pattern); });
    }
    bool anyFileExists(const std::string& path) override {
        return timed([&] { return Win32Platform::anyFileExists(path); });
    }
    bool directoryExists(const std::string& path) override {
        return timed([&] { return Win32Platform::directoryExists(path); });
    }
    bool isLinkOrJunction(const std::string& path) override {
        return timed([&] { return Win32Platform::isLinkOrJunction(path); });
    }
    void deleteFile(const std::string& path) override {
        timed([&] { return Win32Platform::deleteFile(path), 0; });
    }
    void removeEmptyDirectory(const std::string& path) override {
        timed([&] { return Win32Platform::removeEmptyDirectory(path), 0; });
    }
    std::string computerName() override {
        return timed([&] { return Win32Platform::computerName(); });
    }
    std::string commonAppDataFolder() override {
        return timed([&] { return Win32Platform::commonAppDataFolder(); });
    }
};

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
    RegisterStartupPhase();
    if (!UnderWine()) {
        std::puts("quillon_journal_bench applies every tweak for real: it runs only under Wine.");
        return 2;
    }
    CountingPlatform platform;
    test::MemoryForm everything;
    Select(everything, platform, true);
    // The floor: the plan of one box, the Speed page with only box 41 ticked
    // (one effect), so what the whole plan costs per effect shows.
    test::MemoryForm oneBox;
    oneBox.setChk(41, kTicked);
    const std::string user = platform.userName();
    const Page speed[] = {Page::Speed};
    std::vector<double> plans, floors, planRatios;
    std::size_t effects = 0, floorEffects = 0;
    for (int i = 0; i < 9; ++i) {
        floors.push_back(Timed([&] { floorEffects = PlanRun(oneBox, platform, user, speed).size(); }));
        plans.push_back(Timed([&] { effects = PlanRun(everything, platform, user, RunOrder()).size(); }));
        planRatios.push_back(plans.back() / floors.back());
    }
    std::printf("plan of all five pages, everything ticked: %.1f ms, %u effects, %d processes started; plan of one "
                "box: %.2f ms, %u effect(s); ratio %.1f (median of 9 pairs); %.3f ms per effect beyond the one box\n",
                Median(plans), static_cast<unsigned>(effects), platform.started, Median(floors),
                static_cast<unsigned>(floorEffects), Median(planRatios),
                (Median(plans) - Median(floors)) / double(effects - floorEffects));

    // Each run turns every box of the three pages over, so each has the same work to do.
    TimedRun(platform, false, false);
    std::vector<double> ratios, plain, recorded, extra;
    const int flushedBefore = platform.flushed;
    // Each pair is four runs, A B B A: ticked with one side, unticked with the
    // other, ticked with the other, unticked with the first. A machine that
    // warms up or grows busy at a steady pace then weighs on both sides alike,
    // and each side turns every box over once each way. Which side leads
    // alternates. A run's time varies by some 5% from one to the next under
    // Wine, so fifteen pairs, for a median that moves by well under that.
    constexpr int kRounds = 15;
    for (int round = 0; round < kRounds; ++round) {
        double without = 0, with = 0;
        const bool first = round % 2 == 0;
        for (auto [ticked, withRecord] : {std::pair{true, first}, {false, !first}, {true, !first}, {false, first}}) {
            const double before = platform.readsAndWrites;
            (withRecord ? with : without) += TimedRun(platform, ticked, withRecord);
            extra.push_back((withRecord ? 1 : -1) * (platform.readsAndWrites - before));
        }
        plain.push_back(without);
        recorded.push_back(with);
        ratios.push_back(with / without);
    }
    // The fastest of each is the least disturbed by whatever else the machine is doing.
    const double fastestPlain = *std::min_element(plain.begin(), plain.end());
    const double fastestRecorded = *std::min_element(recorded.begin(), recorded.end());
    std::printf("System, Security and Services, each side of every box: %.0f ms without the undo record, %.0f ms "
                "with it (fastest of %d): ratio %.3f; median of the %d pair ratios %.3f (target <= 1.15)\n",
                fastestPlain / 2, fastestRecorded / 2, kRounds, fastestRecorded / fastestPlain, kRounds, Median(ratios));
    double added = 0;
    for (double ms : extra) added += ms;
    std::printf("time the record's own reads and writes add to a run: %.0f ms (%.1f%% of the fastest run without it)\n",
                added / (2 * kRounds), 100 * added / (2 * kRounds) / (fastestPlain / 2));
    std::printf("flushed writes a run with the record makes: %.1f\n", (platform.flushed - flushedBefore) / (2.0 * kRounds));
    return 0;
}
