#pragma once
// The few fonts frmMain uses, made once and kept for the window's life.
#include <windows.h>

#include <array>
#include <string>

#include "window/Layout.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {

class Fonts {
public:
    Fonts();
    HFONT get(layout::Font font) const { return fonts_[static_cast<std::size_t>(font)].get(); }

private:
    std::array<Font, 5> fonts_;
};

// Width and height of one line of text in a font, in pixels.
SIZE MeasureText(HFONT font, const std::wstring& text);

}  // namespace quillon::win32
