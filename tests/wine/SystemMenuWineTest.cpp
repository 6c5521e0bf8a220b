// frmMain's system menu: the three entries' access keys are their own, and
// each entry is greyed as the menu opens where it cannot act.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <map>

#include "tests/wine/QuitRequestDropped.h"
#include "platform/win32/Win32Platform.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"
#include "window/win32/SystemMenu.h"

namespace quillon {
namespace {

using test::QuitRequestDropped;

TEST(SystemMenuWine, AccessKeysAreTheirOwnAndEntriesGreyWhereTheyCannotAct) {
    QuitRequestDropped dropped;
    win32::Win32Platform platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform);
    HMENU menu = GetSystemMenu(window.handle(), FALSE);
    ASSERT_NE(menu, nullptr);

    std::map<wchar_t, int> keys;  // access key -> entries using it
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        for (const wchar_t* amp = text; (amp = wcschr(amp, L'&')) && amp[1]; amp += 2)
            if (amp[1] != L'&') ++keys[static_cast<wchar_t>(std::towlower(amp[1]))];
    }
    for (wchar_t key : {L'p', L't', L'u'}) EXPECT_EQ(keys[key], 1) << static_cast<char>(key);

    const auto greyed = [&](UINT command) {
        SendMessageW(window.handle(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        return (GetMenuState(menu, command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
    };
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Startup, Page::Speed}) {
        ShowPage(window.context(), page);
        const bool covered = page != Page::Startup && page != Page::Speed;
        EXPECT_FALSE(greyed(win32::kPreviewCommand));
        EXPECT_EQ(greyed(win32::kShowStateCommand), !covered) << static_cast<int>(page);
    }
    ShowPage(window.context(), Page::System);
    window.setButtonEnabled(Button::Optimize, false);  // as a run holds the buttons
    for (UINT command : {win32::kPreviewCommand, win32::kShowStateCommand, win32::kUndoCommand})
        EXPECT_TRUE(greyed(command)) << command;
    window.setButtonEnabled(Button::Optimize, true);
    EXPECT_FALSE(greyed(win32::kPreviewCommand));
}

}  // namespace
}  // namespace quillon
