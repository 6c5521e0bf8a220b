#pragma once
// The window's panels and push buttons: the one place that knows which
// control class realises them.
#include <windows.h>

#include <string>

#include "window/Layout.h"

namespace quillon::win32 {

void RegisterThemedClasses(HINSTANCE instance);

HWND CreatePanel(HWND parent, const layout::PanelSpec& spec, HINSTANCE instance);
std::wstring PanelCaption(HWND panel);
void SetPanelCaption(HWND panel, const std::wstring& caption);

HWND CreatePushButton(HWND parent, const layout::ButtonSpec& spec, int id, HFONT font, HINSTANCE instance);
bool PushButtonEnabled(HWND button);
void SetPushButtonEnabled(HWND button, bool enabled);

}  // namespace quillon::win32
