#pragma once
// Puts text on the clipboard as Unicode text.
#include <windows.h>

#include <string>

namespace quillon::win32 {

// False when the clipboard could not be had (another program holds it).
bool PutTextOnClipboard(HWND owner, const std::wstring& text);

}  // namespace quillon::win32
