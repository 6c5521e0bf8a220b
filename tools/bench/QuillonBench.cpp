// Benchmark, for Wine only: each page's optimise run against the floor, the
// same tools with the same arguments started and waited for back to back by a
// plain loop, run and floor taking turns. Also the window's start-up time, the
// longest gap between window messages during a run and while many startup
// entries are removed, and handle growth.
// Usage (from tools/bench.sh): quillon_bench.exe
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "startup/StartupPhase.h"
#include "engine/Form.h"
#include "window/OptimiseRun.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/MemoryForm.h"
#include "window/CommandButtons.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"

namespace quillon {
namespace {

// The real platform, noting every command line it starts.
class RecordingPlatform : public win32::Win32Platform {
public:
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        commands.push_back(commandLine);
        return Win32Platform::startHidden(commandLine);
    }
    std::vector<std::string> commands;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

void RunAndWait(const std::string& commandLine) {
    std::wstring line = win32::Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(win32::ToolPath(commandLine).c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info))
        return;
    win32::UniqueHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
}

// The floor: the same processes, back to back, with a script for regedit to read.
double Floor(const std::vector<std::string>& commands) {
    win32::Win32Platform plain;
    plain.writeTextFile("c:\\tempreg.reg", {"Windows Registry Editor Version 5.00",
                                           "[HKEY_CURRENT_USER\\Software\\QuillonBench]", "\"Floor\"=dword:00000001"});
    const auto start = Now();
    for (const std::string& c : commands) RunAndWait(c);
    const auto end = Now();
    plain.deleteFile("c:\\tempreg.reg");
    return Seconds(start, end);
}

void TickEverything(test::MemoryForm& form, Page page) {
    for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, kTicked);
    for (CheckList list : {CheckList::Hide, CheckList::Not, CheckList::Service, CheckList::Startup})
        for (int i = 0; i < form.listCount(list); ++i) form.setListSelected(list, i, true);
    form.setTxtPath("C:\\Downloads");
    (void)page;
}

void SeedStartupEntries(test::MemoryForm& form) {
    for (int i = 0; i < 5; ++i) {
        const std::string name = "QuillonBench " + std::to_string(i);
        RunAndWait("reg add HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run /v \"" + name +
                   "\" /d \"C:\\bench.exe\" /f");
        form.addListItem(CheckList::Startup, name);
    }
}

struct Result {
    double run = 0, floor = 0;
    std::size_t processes = 0;
};

// One run of a page, its floor measured right after it.
Result MeasurePair(Page page, bool everything, const std::string& user) {
    test::MemoryForm form;
    form.showOnly(page);
    if (page == Page::Startup) SeedStartupEntries(form);
    if (everything) TickEverything(form, page);
    else Recommend(form);
    RecordingPlatform platform;
    RunContext context{form, platform, user};
    const auto start = Now();
    RunOptimise(context);
    const auto end = Now();
    Result result;
    result.run = Seconds(start, end);
    result.processes = platform.commands.size();
    result.floor = Floor(platform.commands);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Run and floor alternate, so whatever else the machine does falls on both
// alike; the ratio of each pair is what counts, and its median with its spread.
struct Series {
    double run = 0, floor = 0;               // medians, seconds
    double ratio = 0, lowest = 0, highest = 0;  // of the pair ratios
    std::size_t processes = 0;
};

constexpr int kPairs = 9;

Series Measure(Page page, bool everything, const std::string& user) {
    std::vector<double> runs, floors, ratios;
    Series series;
    for (int i = 0; i < kPairs; ++i) {
        const Result r = MeasurePair(page, everything, user);
        runs.push_back(r.run);
        floors.push_back(r.floor);
        if (r.floor > 0) ratios.push_back(r.run / r.floor);
        series.processes = r.processes;
    }
    series.run = Median(runs);
    series.floor = Median(floors);
    if (!ratios.empty()) {
        series.ratio = Median(ratios);
        series.lowest = *std::min_element(ratios.begin(), ratios.end());
        series.highest = *std::max_element(ratios.begin(), ratios.end());
    }
    return series;
}

// The lowest free handle slot: it climbs when handles leak.
std::uintptr_t NextHandleSlot() {
    HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const auto slot = reinterpret_cast<std::uintptr_t>(probe);
    CloseHandle(probe);
    return slot;
}

// Longest gap between timer messages while a run is under way: the run
// processes window events only at its own points.
struct GapWatch {
    static inline LARGE_INTEGER last{};
    static inline double worst = 0;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        const auto now = Now();
        worst = std::max(worst, Seconds(last, now));
        last = now;
    }
};

double LongestMessageGap(test::MemoryForm& form, const std::string& user) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetTimer(window, 1, 10, GapWatch::OnTimer);
    win32::Win32Platform platform;
    RunContext context{form, platform, user};
    GapWatch::worst = 0;
    GapWatch::last = Now();
    RunOptimise(context);
    GapWatch::OnTimer(nullptr, 0, 0, 0);  // the stretch after the last message counts too
    KillTimer(window, 1);
    DestroyWindow(window);
    return GapWatch::worst;
}

double LongestGapOfSystemRun(const std::string& user) {
    test::MemoryForm form;
    TickEverything(form, Page::System);
    return LongestMessageGap(form, user);
}

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring ManyEntryName(int i) { return L"QuillonBench many " + std::to_wstring(i); }

// Entries of the current user's Run key among the seeded ones, left or removed.
int ManyEntriesLeft(int count) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    int left = 0;
    for (int i = 0; i < count; ++i)
        left += RegQueryValueExW(key, ManyEntryName(i).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return left;
}

struct ManyRemoval {
    double gap = 0, seconds = 0;
    int left = 0;
};

// Many ticked startup entries removed in one Startup run: how long the window
// goes without its messages, and how many entries are still there after it.
ManyRemoval RemoveManyStartupEntries(int count, const std::string& user) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    test::MemoryForm form;
    form.showOnly(Page::Startup);
    const wchar_t data[] = L"C:\\bench.exe";
    for (int i = 0; i < count; ++i) {
        const std::wstring name = ManyEntryName(i);
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
        form.addListItem(CheckList::Startup, win32::Narrow(name));
        form.setListSelected(CheckList::Startup, i, true);
    }
    ManyRemoval result;
    const auto start = Now();
    result.gap = LongestMessageGap(form, user);
    result.seconds = Seconds(start, Now());
    result.left = ManyEntriesLeft(count);
    for (int i = 0; i < count; ++i) RegDeleteValueW(key, ManyEntryName(i).c_str());
    RegCloseKey(key);
    return result;
}

struct Listing {
    double gap = 0, seconds = 0;
    int shown = 0;
};

// The Startup page opened in the real window with `count` entries in the
// current user's Run key: the longest gap between window messages while the
// page lists them, and how many it shows.
Listing ListManyStartupEntries(int count) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    const wchar_t data[] = L"C:\\bench.exe";
    for (int i = 0; i < count; ++i)
        RegSetValueExW(key, ManyEntryName(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    win32::Win32Platform platform;
    Listing result;
    {
        win32::MainWindow window(GetModuleHandleW(nullptr), platform, SW_SHOWNOACTIVATE);
        platform.setMainWindow(window.handle());
        win32::PumpPendingMessages(window.handle());
        SetTimer(window.handle(), 1, 10, GapWatch::OnTimer);
        GapWatch::worst = 0;
        const auto start = GapWatch::last = Now();
        ShowPage(window.context(), Page::Startup);
        GapWatch::OnTimer(nullptr, 0, 0, 0);
        result.seconds = Seconds(start, Now());
        // What waited to be drawn is drawn at the next turn of events: it counts too.
        win32::PumpPendingMessages(window.handle());
        UpdateWindow(window.handle());
        GapWatch::OnTimer(nullptr, 0, 0, 0);
        result.gap = GapWatch::worst;
        KillTimer(window.handle(), 1);
        result.shown = window.listCount(CheckList::Startup);
    }
    // The window posted the quit message as it closed; the runs measured after this must not meet it.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    for (int i = 0; i < count; ++i) RegDeleteValueW(key, ManyEntryName(i).c_str());
    RegCloseKey(key);
    return result;
}

void RunStartupListing(int count) {
    const Listing listing = ListManyStartupEntries(count);
    std::printf("longest gap between window messages while the Startup page lists %d entries: %.1f ms "
                "(target < 100); listing took %.0f ms and shows %d entries\n",
                count, listing.gap * 1000, listing.seconds * 1000, listing.shown);
}

// Whether the header strip of the main window shows on screen yet: a pixel
// of its first rows in the header gradient's colours.
bool HeaderPainted() {
    const int width = 728, height = 494;  // 10915 x 7410 twips
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, left + 200, top + 4);
    ReleaseDC(nullptr, screen);
    const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
    return r >= 146 && r <= 200 && g >= 201 && g <= 227 && b >= 228 && b <= 241;
}

struct StartTimes {
    double firstPaint = -1;  // the header is on screen
    double inputIdle = -1;   // start-up done, the selection restored
};

// Starts a window program beside the benchmark and times it until its header
// shows and until it waits for input; then closes it by its title.
StartTimes WindowStart(const wchar_t* program, const wchar_t* title, std::wstring& note) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self);
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    StartTimes times;
    const auto start = Now();
    if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        note = std::wstring(program) + L" not found";
        return times;
    }
    win32::UniqueHandle process(info.hProcess), thread(info.hThread);
    while (Seconds(start, Now()) < 10 && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        if (HeaderPainted()) {
            times.firstPaint = Seconds(start, Now());
            break;
        }
        Sleep(1);
    }
    WaitForInputIdle(process.get(), 10000);
    times.inputIdle = Seconds(start, Now());
    HWND window = FindWindowW(nullptr, title);
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 0);
    // The screen is clear again before the next start.
    for (int i = 0; i < 500 && HeaderPainted(); ++i) Sleep(2);
    return times;
}

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }


void RunPages(const std::string& user) {
    std::printf("%d run/floor pairs each; ratio: median of the pair ratios, with the lowest and highest\n", kPairs);
    std::printf("%-9s %-11s %9s %9s %7s %7s %7s %6s\n", "page", "selection", "run ms", "floor ms", "ratio", "lowest",
                "highest", "procs");
    const struct { Page page; const char* name; } pages[] = {
        {Page::System, "System"}, {Page::Security, "Security"}, {Page::Services, "Services"},
        {Page::Speed, "Speed"},   {Page::Startup, "Startup"}};
    MeasurePair(Page::System, true, user);  // warm-up: the first starts of each tool are slower
    double worstRatio = 0;
    for (const auto& p : pages)
        for (bool everything : {false, true}) {
            const Series r = Measure(p.page, everything, user);
            if (r.processes > 0) worstRatio = std::max(worstRatio, r.ratio);
            const char* selection = everything ? "everything" : "recommended";
            if (r.processes == 0)  // nothing to compare with: the run starts no tool
                std::printf("%-9s %-11s %9.1f %9s %7s %7s %7s %6u\n", p.name, selection, r.run * 1000, "-", "-", "-",
                            "-", 0u);
            else
                std::printf("%-9s %-11s %9.1f %9.1f %7.3f %7.3f %7.3f %6u\n", p.name, selection, r.run * 1000,
                            r.floor * 1000, r.ratio, r.lowest, r.highest, static_cast<unsigned>(r.processes));
        }
    std::printf("worst run/floor ratio: %.3f (target <= 1.15)\n", worstRatio);
}

void RunResources(const std::string& user) {
    std::printf("longest gap between window messages during a System run: %.1f ms (target < 100)\n",
                LongestGapOfSystemRun(user) * 1000);
    const ManyRemoval many = RemoveManyStartupEntries(300, user);
    std::printf("longest gap between window messages while 300 ticked startup entries are removed: %.1f ms "
                "(target < 100); the run took %.1f s and left %d of them\n",
                many.gap * 1000, many.seconds, many.left);
    RunStartupListing(1000);
    const auto slotBefore = NextHandleSlot();
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed, Page::Startup})
        for (int i = 0; i < 2; ++i) MeasurePair(page, true, user);
    const auto slotAfter = NextHandleSlot();
    std::printf("lowest free handle before/after ten runs: %#lx/%#lx (%s)\n", static_cast<unsigned long>(slotBefore),
                static_cast<unsigned long>(slotAfter), slotAfter <= slotBefore ? "no leak" : "LEAK");
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("peak working set of the runs: %.1f MiB\n", memory.PeakWorkingSetSize / 1048576.0);
}

struct StartSeries {
    std::vector<double> paints, idles, ratios;
    void add(const StartTimes& t, double floor) {
        paints.push_back(t.firstPaint);
        idles.push_back(t.inputIdle);
        ratios.push_back(t.firstPaint / floor);
    }
    void print(const wchar_t* program, double floor, int pairs) const {
        std::printf("%ls start to first paint: %.0f ms; minimal window program: %.0f ms; ratio %.2f (%.2f-%.2f; "
                    "median of %d pair ratios; target <= 1.3); to input idle: %.0f ms\n",
                    program, Median(paints) * 1000, floor * 1000, Median(ratios),
                    *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()),
                    pairs, Median(idles) * 1000);
    }
};

// quillon.exe against the floor, a minimal window program started and watched
// the same way, in pairs back to back so a busy moment weighs on both. With
// `other` (another build of quillon.exe beside it, e.g. the one before a
// change), that one takes its turn in each pair too, so the two compare in
// the same run.
void RunWindowStart(const wchar_t* other) {
    constexpr int kWindowPairs = 9;
    std::wstring note;
    WindowStart(L"minimal_window.exe", L"Minimal window", note);  // warm-up: Wine's caches, the fonts
    WindowStart(L"quillon.exe", L"Quillon", note);
    if (other) WindowStart(other, L"Quillon", note);
    std::vector<double> floors;
    StartSeries quillon, compared;
    for (int i = 0; i < kWindowPairs && note.empty(); ++i) {
        const StartTimes floor = WindowStart(L"minimal_window.exe", L"Minimal window", note);
        const StartTimes t = WindowStart(L"quillon.exe", L"Quillon", note);
        const StartTimes o = other ? WindowStart(other, L"Quillon", note) : t;
        if (floor.firstPaint <= 0 || t.firstPaint <= 0 || o.firstPaint <= 0) note = L"no first paint seen";
        floors.push_back(floor.firstPaint);
        quillon.add(t, floor.firstPaint);
        compared.add(o, floor.firstPaint);
    }
    if (!note.empty()) return (void)std::printf("window start: %ls\n", note.c_str());
    quillon.print(L"quillon.exe", Median(floors), kWindowPairs);
    if (other) compared.print(other, Median(floors), kWindowPairs);
}

}  // namespace
}  // namespace quillon

// quillon_bench.exe [--start-only [OTHER.exe] | --startup-list COUNT]
int main(int argc, char** argv) {
    using namespace quillon;
    RegisterStartupPhase();
    if (!UnderWine()) {
        std::puts("quillon_bench applies every tweak for real: it runs only under Wine.");
        return 2;
    }
    if (argc >= 3 && std::string(argv[1]) == "--startup-list") return RunStartupListing(std::atoi(argv[2])), 0;
    if (argc < 2 || std::string(argv[1]) != "--start-only") {
        const std::string user = win32::Win32Platform().userName();
        RunPages(user);
        RunResources(user);
    }
    const bool startOnly = argc >= 2 && std::string(argv[1]) == "--start-only";
    const std::wstring other = startOnly && argc >= 3 ? win32::Widen(argv[2]) : std::wstring();
    RunWindowStart(other.empty() ? nullptr : other.c_str());
    return 0;
}
