#pragma once
// Shape2: a solid rectangle without outline whose width is kept in twips, as
// the run sets it, and shown to the nearest pixel.
#include <windows.h>

namespace quillon::win32 {

// Hidden until shown, as Shape2 is at start.
HWND CreateShape(HWND parent, const RECT& pixels, int widthTwips, COLORREF fill);
int ShapeWidthTwips(HWND shape);
void SetShapeWidthTwips(HWND shape, int twips);

}  // namespace quillon::win32
