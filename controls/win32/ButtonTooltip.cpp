#include "controls/win32/ButtonTooltip.h"

#include <commctrl.h>

#include <string>

#include "controls/win32/Win32SystemColors.h"
#include "platform/win32/Text.h"

namespace quillon::controls::win32 {

void ButtonTooltip::destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

void ButtonTooltip::recreate(HWND button, const isButton& properties) {
    destroy();
    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (properties.ToolTipType() == 1) style |= TTS_BALLOON;
    window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, button, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    std::wstring text = quillon::win32::Widen(properties.ToolTip());
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 from XP on
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = button;
    GetClientRect(button, &tool.rect);
    tool.lpszText = text.data();
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!properties.ToolTipTitle().empty() || properties.ToolTipIcon() != 0) {
        const std::wstring title = quillon::win32::Widen(properties.ToolTipTitle());
        SendMessageW(window_, TTM_SETTITLEW, static_cast<WPARAM>(properties.ToolTipIcon()),
                     reinterpret_cast<LPARAM>(title.c_str()));
    }
    const Win32SystemColors system;
    if (properties.ToolTipForeColor() != 0)
        SendMessageW(window_, TTM_SETTIPTEXTCOLOR, TranslateColor(properties.ToolTipForeColor(), system), 0);
    if (properties.ToolTipBackColor() != 0)
        SendMessageW(window_, TTM_SETTIPBKCOLOR, TranslateColor(properties.ToolTipBackColor(), system), 0);
}

}  // namespace quillon::controls::win32
