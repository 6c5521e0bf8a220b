#include "controls/win32/ScreenDpi.h"

#include "controls/win32/Gdi.h"

namespace quillon::controls::win32 {
namespace {

struct Dpi {
    int x = 96, y = 96;
};

Dpi Read() {
    Dpi dpi;
    if (HDC screen = GetDC(nullptr)) {
        if (const int x = GetDeviceCaps(screen, LOGPIXELSX); x > 0) dpi.x = x;
        if (const int y = GetDeviceCaps(screen, LOGPIXELSY); y > 0) dpi.y = y;
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

}  // namespace

int ScreenDpi(int axis) {
    static const Dpi dpi = Read();
    return axis == LOGPIXELSX ? dpi.x : dpi.y;
}

HDC MeasuringDC() {
    static const MemoryDC dc(nullptr);
    return dc.get();
}

}  // namespace quillon::controls::win32
