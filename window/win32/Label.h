#pragma once
// A caption drawn straight onto whatever its container paints beneath it, so
// labels read cleanly over the gradient panels.
#include <windows.h>

#include <string>

namespace quillon::win32 {

constexpr DWORD kLabelCentred = 0x0001;  // window style bit of the label class

// style: WS_VISIBLE and kLabelCentred as wanted.
HWND CreateLabel(HWND parent, const std::wstring& text, const RECT& pixels, DWORD style, HFONT font);

// The window of a left-aligned label that draws text from (left, top) of its
// container: wide enough for all of the text's ink and a pixel of air on either
// side, so no glyph is clipped whatever the font.
RECT FittedLabelRect(HFONT font, const std::wstring& text, int left, int top);
// A label of fixed place and size whose text is drawn from its left edge.
RECT FixedLabelRect(RECT pixels);

// The label beside a check box or option button shows that control's focus
// as a dotted rectangle around itself: the control is only a tick square.
void ShowFocusOnLabel(HWND control, HWND label);
// The label showing a control's focus, or null.
HWND FocusLabelOf(HWND control);

// Paints a child's container beneath it, as if the child were see-through.
void PaintContainerBackground(HWND child, HDC target);

}  // namespace quillon::win32
