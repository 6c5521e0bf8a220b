// "Preview changes..." on the real list view, with the plan of Wine's own
// machine: what a user sees without scrolling on a 1024 x 768 screen.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/MemoryForm.h"
#include "window/SystemMenuActions.h"
#include "window/win32/PreviewWindow.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

HWND ChildOfClass(HWND parent, const wchar_t* name) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t found[64];
        GetClassNameW(child, found, 64);
        if (lstrcmpiW(found, name) == 0) return child;
    }
    return nullptr;
}

HWND StaticSaying(HWND parent, const std::string& text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t found[1024];
        GetWindowTextW(child, found, 1024);
        if (win32::Narrow(found) == text) return child;
    }
    return nullptr;
}

// Every box ticked, and every box unticked: the longest and the most rows.
// One of the two changes something on any machine; the other may not.
TEST(PreviewWindow, BeforeAndAfterAreInViewOnA1024By768Screen) {
    win32::Win32Platform platform;
    // The Services page is left out: Wine has few of its services, so it may show nothing either way.
    for (Page page : {Page::System, Page::Security}) {
        int shown = 0;
        for (bool ticked : {true, false}) {
            test::MemoryForm form;
            for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, ticked ? kTicked : kUnticked);
            for (CheckList list : {CheckList::Hide, CheckList::Not})
                for (int i = 0; i < form.listCount(list); ++i) form.setListSelected(list, i, ticked);
            form.showOnly(page);
            RunContext context{form, platform, platform.userName()};
            const PreviewTable table = PreviewPageOnView(context);
            if (table.rows.empty()) continue;
            ++shown;
            bool looked = false;
            win32::ShowPreviewWindow(nullptr, table, [&](HWND dialog) {
                looked = true;
                RECT frame{};
                GetWindowRect(dialog, &frame);
                EXPECT_LE(frame.right - frame.left, 1024) << table.title;
                HWND list = ChildOfClass(dialog, WC_LISTVIEWW);
                ASSERT_NE(list, nullptr);
                RECT client{};
                GetClientRect(list, &client);
                for (int column : {3, 4}) {
                    RECT cell{LVIR_BOUNDS, column, 0, 0};
                    ASSERT_TRUE(SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell)));
                    EXPECT_GE(cell.left, 0) << table.title << " column " << column;
                    EXPECT_LE(cell.right, client.right) << table.title << " column " << column;
                }
                // The line on unticked boxes stands over the list.
                HWND lead = StaticSaying(dialog, table.lead);
                ASSERT_NE(lead, nullptr) << table.lead;
                RECT leadRect{}, listRect{};
                GetWindowRect(lead, &leadRect);
                GetWindowRect(list, &listRect);
                EXPECT_LE(leadRect.bottom, listRect.top);
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            });
            EXPECT_TRUE(looked);
        }
        EXPECT_GT(shown, 0) << PageName(page);
    }
}

}  // namespace
}  // namespace quillon
