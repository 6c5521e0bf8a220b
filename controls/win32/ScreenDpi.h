#pragma once
// The screen's DPI, read once: it changes only with a new logon, and each
// read fetches the screen's device context, which under Wine asks the window
// server about the display several times.
#include <windows.h>

namespace quillon::controls::win32 {

int ScreenDpi(int axis = LOGPIXELSY);  // LOGPIXELSX or LOGPIXELSY

// A device context of the screen's kind, kept for the process, for measuring
// text without fetching the screen's own each time.
HDC MeasuringDC();

}  // namespace quillon::controls::win32
