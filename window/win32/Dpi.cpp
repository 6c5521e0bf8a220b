#include "window/win32/Dpi.h"

#include "controls/win32/ScreenDpi.h"

namespace quillon::win32 {

int ScreenDpi() { return controls::win32::ScreenDpi(LOGPIXELSY); }

}  // namespace quillon::win32
