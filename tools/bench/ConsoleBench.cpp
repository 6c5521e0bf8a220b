// quillonc STATUS, CHECK and CHECK with a report from start to exit against a
// do-nothing console program, both started the same way from here; medians of
// 21 pairs. Then APPLY on a machine that already matches against CHECK of
// the same selection.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// Seconds from CreateProcess to the process's end; negative when it cannot start.
double StartToExit(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe + L"\"" + arguments;
    // Output goes to the null device, as in a batch file that only tests the status.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE sink = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = sink;
    startup.hStdError = sink;
    PROCESS_INFORMATION info{};
    const auto start = std::chrono::steady_clock::now();
    const BOOL started =
        CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    if (!started) {
        CloseHandle(sink);
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(sink);
    return seconds;
}

// A selection as a deployment would check it: the recommended boxes of the
// System and Security pages, every service, beside the benchmark.
std::wstring WriteSelection() {
    const std::wstring path = Beside(L"bench-check.dat");
    std::string boxes(77, '0');
    for (int box : {0, 1, 2, 3, 13, 14, 22, 25, 43, 54, 71}) boxes[box] = '1';
    const std::string text = "\"" + boxes + "\"\r\n\"0\"\r\n\"0\"\r\n\"0\"\r\n\"C:\\Downloads\"\r\n\"" +
                             std::string(26, '0') + "\"\r\n\"" + std::string(26, '0') + "\"\r\n\"" +
                             std::string(19, '1') + "\"\r\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median over 21 pairs of the verb's start-to-exit time over the floor's,
// each pair taken back to back so that a busy moment weighs on both (a shared
// machine's start times jump between about 15 and 30 ms, so five pairs were
// too few); negative when a program is missing. With `other` (another build
// of the console) each pair also times it, right after the floor, so that
// the two builds are set against the same floor; `otherRatio` gets its median,
// `thisOverOther` the median of this build's time over the other's in a pair.
double Ratio(const std::wstring& console, const std::wstring& floor, const std::wstring& arguments, double& verbMs,
             double& floorMs, const std::wstring& floorArguments = L"", const std::wstring& other = L"",
             double* otherRatio = nullptr, double* thisOverOther = nullptr) {
    constexpr int kPairs = 21;
    StartToExit(console, arguments);  // warm-up
    if (!other.empty()) StartToExit(other, arguments);
    std::vector<double> verbTimes, floorTimes, ratios, otherRatios, buildRatios;
    for (int i = 0; i < kPairs; ++i) {
        floorTimes.push_back(StartToExit(floor, floorArguments));
        // Which build goes first alternates, so neither always follows the floor.
        double otherTime = 0;
        if (!other.empty() && i % 2 == 0) otherTime = StartToExit(other, arguments);
        verbTimes.push_back(StartToExit(console, arguments));
        if (!other.empty() && i % 2 == 1) otherTime = StartToExit(other, arguments);
        if (verbTimes.back() < 0 || floorTimes.back() < 0 || otherTime < 0) return -1;
        ratios.push_back(verbTimes.back() / floorTimes.back());
        if (!other.empty()) {
            otherRatios.push_back(otherTime / floorTimes.back());
            buildRatios.push_back(verbTimes.back() / otherTime);
        }
    }
    verbMs = Median(verbTimes) * 1000;
    floorMs = Median(floorTimes) * 1000;
    if (otherRatio) *otherRatio = otherRatios.empty() ? 0 : Median(otherRatios);
    if (thisOverOther) *thisOverOther = buildRatios.empty() ? 0 : Median(buildRatios);
    return Median(ratios);
}

// Microseconds one call into the system's services takes: a wait on an
// unsignalled event with no time-out. Under Wine each is a round trip to the
// server, as each registry read is; STATUS makes about 175 of them beyond a
// do-nothing program's, so this says how much of the floor they alone take.
double RoundTripMicroseconds() {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 400; ++i) WaitForSingleObject(event, 0);
        rounds.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
                         400);
    }
    CloseHandle(event);
    return Median(rounds);
}

}  // namespace

// quillon_console_bench.exe [RUNS [OTHER.exe]]: the three verbs' ratios RUNS
// times over (default 1), each run its own 21 pairs; a target holds only when
// it holds in every run. OTHER.exe, another build of quillonc placed beside
// it (say the one before a change), is measured in the same pairs.
int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const std::wstring console = Beside(L"quillonc.exe"), floor = Beside(L"do_nothing.exe");
    std::wstring other;
    if (argc > 2) other = Beside(std::wstring(argv[2], argv[2] + std::strlen(argv[2])).c_str());
    StartToExit(floor, L"");  // warm-up: the first start of any program fills Wine's caches
    std::printf("one call into the system's services: %.1f us\n", RoundTripMicroseconds());
    const std::wstring selection = WriteSelection();
    bool within = true;
    const std::wstring report = Beside(L"bench-report.csv");
    const struct {
        const char* name;
        std::wstring arguments;
        double target;
    } verbs[] = {{"STATUS", L" STATUS", 1.3},
                 {"CHECK", L" CHECK /selection \"" + selection + L"\"", 1.2},
                 {"CHECK /report", L" CHECK /selection \"" + selection + L"\" /report \"" + report + L"\"", 1.4}};
    std::vector<std::vector<double>> ratios(std::size(verbs)), otherRatios(std::size(verbs)),
        buildRatios(std::size(verbs));
    for (int run = 0; run < runs; ++run) {
        for (std::size_t v = 0; v < std::size(verbs); ++v) {
            const auto& verb = verbs[v];
            double verbMs = 0, floorMs = 0, otherRatio = 0, overOther = 0;
            const double ratio =
                Ratio(console, floor, verb.arguments, verbMs, floorMs, L"", other, &otherRatio, &overOther);
            if (ratio < 0) {
                std::puts("quillonc.exe, do_nothing.exe or the other build is missing beside the benchmark");
                return 2;
            }
            std::printf("quillonc %s start to exit: %.0f ms; do-nothing console program: %.0f ms; ratio %.2f "
                        "(median of pair ratios; target <= %.2f)\n",
                        verb.name, verbMs, floorMs, ratio, verb.target);
            if (!other.empty())
                std::printf("  %s %s: ratio %.2f; this build / it %.3f\n", argv[2], verb.name, otherRatio, overOther);
            ratios[v].push_back(ratio);
            otherRatios[v].push_back(otherRatio);
            buildRatios[v].push_back(overOther);
            within = within && ratio <= verb.target;
        }
    }
    if (runs > 1)
        for (std::size_t v = 0; v < std::size(verbs); ++v) {
            const auto [lowest, highest] = std::minmax_element(ratios[v].begin(), ratios[v].end());
            const auto held = std::count_if(ratios[v].begin(), ratios[v].end(),
                                            [&](double r) { return r <= verbs[v].target; });
            std::printf("quillonc %s over %d runs: ratio %.2f-%.2f, median %.2f; within %.2f in %d of %d\n",
                        verbs[v].name, runs, *lowest, *highest, Median(ratios[v]), verbs[v].target,
                        static_cast<int>(held), runs);
            if (!other.empty()) {
                const auto [low, high] = std::minmax_element(otherRatios[v].begin(), otherRatios[v].end());
                std::printf("  %s %s over %d runs: ratio %.2f-%.2f, median %.2f; this build / it: median %.3f\n",
                            argv[2], verbs[v].name, runs, *low, *high, Median(otherRatios[v]), Median(buildRatios[v]));
            }
        }
    // Test before set: once the machine matches, APPLY costs what CHECK does.
    const std::wstring check = L" CHECK /selection \"" + selection + L"\"";
    const std::wstring apply = L" APPLY /selection \"" + selection + L"\"";
    StartToExit(console, apply);
    double applyMs = 0, checkMs = 0;
    double otherApply = 0, applyOverOther = 0;
    const double ratio = Ratio(console, console, apply, applyMs, checkMs, check, other, &otherApply, &applyOverOther);
    std::printf("quillonc APPLY on a machine that matches: %.0f ms; CHECK of the same selection: %.0f ms; ratio %.2f "
                "(target <= 1.5)\n",
                applyMs, checkMs, ratio);
    if (!other.empty())
        std::printf("  %s APPLY / this build's CHECK: ratio %.2f; this build's APPLY / its APPLY %.3f\n", argv[2],
                    otherApply, applyOverOther);
    within = within && ratio >= 0 && ratio <= 1.5;
    StartToExit(console, L" UNDO");
    DeleteFileW(selection.c_str());
    DeleteFileW(report.c_str());
    return within ? 0 : 1;
}
