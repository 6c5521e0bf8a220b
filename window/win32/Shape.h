#pragma once
// Shape2: a solid rectangle without outline whose width is kept in twips, as
// the run sets it, and shown to the nearest pixel.
#include <windows.h>

namespace quillon::win32 {

void RegisterShapeClass(HINSTANCE instance);
HWND CreateShape(HWND parent, RECT pixels, int widthTwips, HINSTANCE instance);
void SetShapeFill(HWND shape, COLORREF colour);
int ShapeWidthTwips(HWND shape);
void SetShapeWidthTwips(HWND shape, int twips);

}  // namespace quillon::win32
