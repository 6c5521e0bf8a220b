#include "window/win32/Dpi.h"

#include "window/win32/Gdi.h"

namespace quillon::win32 {

int ScreenDpi() {
    static const int dpi = [] {
        ScreenDC screen;
        const int value = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
        return value > 0 ? value : 96;
    }();
    return dpi;
}

}  // namespace quillon::win32
