#pragma once
// Fonts by name, point size and weight, for the controls' captions and for any
// other control of the window (the main window's labels use it too).
#include "controls/FontChoice.h"
#include "controls/win32/Gdi.h"

namespace quillon::controls::win32 {

// Sized for the screen's vertical DPI; 8.25 and 10.5 points are kept exact.
UniqueFont CreateControlFont(const FontChoice& font);

}  // namespace quillon::controls::win32
