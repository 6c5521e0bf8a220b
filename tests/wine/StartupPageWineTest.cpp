// The Startup page of the real window listing many entries: the window keeps
// serving its events meanwhile, and once it has, every entry is there and the
// list is drawn (its drawing waits while entries pour in).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"

namespace quillon {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kEntries = 400;

std::wstring EntryName(int i) { return L"QuillonListing " + std::to_wstring(i); }

class StartupPage : public testing::Test {
protected:
    StartupPage() {
        RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
        const wchar_t data[] = L"C:\\listing.exe";
        for (int i = 0; i < kEntries; ++i)
            RegSetValueExW(key_, EntryName(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
    }
    ~StartupPage() override {
        for (int i = 0; i < kEntries; ++i) RegDeleteValueW(key_, EntryName(i).c_str());
        RegCloseKey(key_);
        MSG message;  // closing the window asks the program to end; the next tests must not meet that
        while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HKEY key_ = nullptr;
};

BOOL CALLBACK FindStartupList(HWND child, LPARAM found) {
    if (GetDlgCtrlID(child) != win32::kListId + static_cast<int>(CheckList::Startup)) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

struct Ticks {
    static inline int count = 0;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { ++count; }
};

TEST_F(StartupPage, ListsEveryEntryServingEventsAndDrawsThemAfterwards) {
    win32::Win32Platform platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform, SW_SHOWNOACTIVATE);
    platform.setMainWindow(window.handle());
    win32::PumpPendingMessages(window.handle());
    Ticks::count = 0;
    SetTimer(window.handle(), 7, 1, Ticks::OnTimer);
    Sleep(20);  // a tick is due as soon as events are served
    ShowPage(window.context(), Page::Startup);
    const int ticksWhileListing = Ticks::count;
    KillTimer(window.handle(), 7);
    EXPECT_GT(ticksWhileListing, 0) << "no event was served while the entries were listed";

    int ours = 0;
    for (int i = 0; i < window.listCount(CheckList::Startup); ++i)
        ours += window.listText(CheckList::Startup, i).rfind("QuillonListing ", 0) == 0;
    EXPECT_EQ(ours, kEntries);

    // Once events are served, the list draws: its first entry's text shows.
    win32::PumpPendingMessages(window.handle());
    HWND list = nullptr;
    EnumChildWindows(window.handle(), FindStartupList, reinterpret_cast<LPARAM>(&list));
    ASSERT_NE(list, nullptr);
    UpdateWindow(window.handle());
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    HDC dc = GetDC(list);
    int ink = 0;
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    for (int x = row.left + 20; x < row.left + 200 && x < row.right; ++x)
        for (int y = row.top; y < row.bottom; ++y) ink += GetPixel(dc, x, y) != background;
    ReleaseDC(list, dc);
    EXPECT_GT(ink, 20) << "the list shows no text after listing";
}

}  // namespace
}  // namespace quillon
