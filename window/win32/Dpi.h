#pragma once
// The screen's DPI, which the window's twips and fixed pixel sizes follow.
#include <windows.h>

#include "window/Layout.h"

namespace quillon::win32 {

int ScreenDpi();  // LOGPIXELSY of the screen, read once: it changes only with a new logon
inline int ScreenPixels(int twips) { return layout::Pixels(twips, ScreenDpi()); }
// A size given in pixels at 96 DPI, at the screen's DPI.
inline int Scaled(int pixels) { return MulDiv(pixels, ScreenDpi(), 96); }

}  // namespace quillon::win32
