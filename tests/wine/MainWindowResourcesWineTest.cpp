// The real main window through ten runs and page switches: no kernel handle,
// GDI object or window may be left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/wine/QuitRequestDropped.h"
#include "window/OptimiseRun.h"
#include "platform/win32/Win32Platform.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"

namespace quillon {
namespace {

// The lowest free kernel handle slot climbs when handles leak.
ULONG_PTR NextHandleSlot() {
    HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return reinterpret_cast<ULONG_PTR>(probe);
}

// GetGuiResources counts GDI objects on Windows; Wine answers 0. There, the
// highest table slot a batch of new objects takes rises with every object
// still alive, so it climbs when GDI objects leak.
unsigned GdiHighWater() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    std::vector<HBRUSH> batch;
    unsigned highest = 0;
    for (int i = 0; i < 4000; ++i) {
        batch.push_back(CreateSolidBrush(RGB(i, 0, 0)));
        highest = std::max<unsigned>(highest, LOWORD(reinterpret_cast<ULONG_PTR>(batch.back())));
    }
    for (HBRUSH b : batch) DeleteObject(b);
    return highest;
}

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int WindowCount(HWND root) {
    int count = 0;
    EnumChildWindows(root, CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

void SwitchThroughPagesAndRun(win32::MainWindow& window) {
    for (Page page : {Page::Security, Page::Services, Page::Startup, Page::System, Page::Speed}) {
        ShowPage(window.context(), page);
        RedrawWindow(window.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        win32::PumpPendingMessages(window.handle());
    }
    RunOptimise(window.context());  // the Speed page: its run paints the bar and the status text
    win32::PumpPendingMessages(window.handle());
}

using test::QuitRequestDropped;

TEST(MainWindowResourcesWine, TenRunsAndPageSwitchesLeaveNothingBehind) {
    QuitRequestDropped dropped;
    win32::Win32Platform platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform);
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    // First visits create what is kept for the window's life; the second lets
    // Wine's cache of device contexts (up to 64, one per window and way of
    // clipping) settle.
    SwitchThroughPagesAndRun(window);
    SwitchThroughPagesAndRun(window);

    const auto handles = NextHandleSlot();
    const unsigned gdi = GdiHighWater();
    const int windows = WindowCount(window.handle());
    for (int i = 0; i < 10; ++i) SwitchThroughPagesAndRun(window);

    EXPECT_LE(NextHandleSlot(), handles);
    // A leak grows with the rounds (ten or more); a cache the system fills once may add one or two.
    EXPECT_LE(GdiHighWater(), gdi + 2);
    EXPECT_EQ(WindowCount(window.handle()), windows);
    EXPECT_EQ(window.label(Label::Wait), "Optimize complete!");
}

}  // namespace
}  // namespace quillon
