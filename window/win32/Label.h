#pragma once
// A caption drawn straight onto whatever its container paints beneath it, so
// labels read cleanly over the gradient panels.
#include <windows.h>

#include <string>

namespace quillon::win32 {

constexpr DWORD kLabelCentred = 0x0001;  // window style bit of the label class

// style: WS_VISIBLE and kLabelCentred as wanted.
HWND CreateLabel(HWND parent, const std::wstring& text, const RECT& pixels, DWORD style, HFONT font);

// Paints a child's container beneath it, as if the child were see-through.
void PaintContainerBackground(HWND child, HDC target);

}  // namespace quillon::win32
