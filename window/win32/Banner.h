#pragma once
// Picture1: the product name and version over pale blue, with columns of
// binary digits and an arrow, drawn by code.
#include <windows.h>

namespace quillon::win32 {

HWND CreateBanner(HWND parent, const RECT& pixels);

}  // namespace quillon::win32
