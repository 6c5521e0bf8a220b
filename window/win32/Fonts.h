#pragma once
// The few fonts frmMain uses, made once and kept for the window's life.
#include <windows.h>

#include <array>
#include <string>

#include "controls/FontChoice.h"
#include "window/Layout.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {

controls::FontChoice FontChoiceOf(layout::Font font);

class Fonts {
public:
    Fonts();
    HFONT get(layout::Font font) const { return fonts_[static_cast<std::size_t>(font)].get(); }

private:
    std::array<UniqueFont, 5> fonts_;
};

// Width and height of one line of text in a font, in pixels.
SIZE MeasureText(HFONT font, const std::wstring& text);
// Width and height of text broken into lines at blanks to fit the width.
SIZE MeasureWrappedText(HFONT font, const std::wstring& text, int width);

// Where one line of text puts ink, in pixels from the point it is drawn at:
// a glyph may start left of its origin or end past its advance width.
struct TextInk {
    int left = 0;   // 0 or less
    int right = 0;  // the advance width or more
    int height = 0;
    int width() const { return right - left; }
};
TextInk MeasureInk(HDC dc, const std::wstring& text);  // in the font selected into dc
TextInk MeasureInk(HFONT font, const std::wstring& text);

}  // namespace quillon::win32
