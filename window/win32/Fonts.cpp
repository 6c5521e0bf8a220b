#include "window/win32/Fonts.h"

#include "controls/win32/Fonts.h"

namespace quillon::win32 {

controls::FontSpec FontSpecOf(layout::Font font) {
    switch (font) {
    case layout::Font::Arial9: return {"Arial", 9, false};
    case layout::Font::Arial9Bold: return {"Arial", 9, true};
    case layout::Font::Arial10Bold: return {"Arial", 10.5, true};
    case layout::Font::Verdana8: return {"Verdana", 8.25, false};
    case layout::Font::Standard: break;
    }
    return {"Tahoma", 8, false};
}

Fonts::Fonts() {
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        fonts_[i] = controls::win32::CreateControlFont(FontSpecOf(static_cast<layout::Font>(i)));
}

SIZE MeasureText(HFONT font, const std::wstring& text) {
    ScreenDC screen;
    Selection selected(screen.get(), font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.get(), &metrics);
        size.cy = metrics.tmHeight;
    } else {
        size.cx += 2;  // smoothed glyphs may reach a pixel past the advance width
    }
    return size;
}

SIZE MeasureWrappedText(HFONT font, const std::wstring& text, int width) {
    ScreenDC screen;
    Selection selected(screen.get(), font);
    RECT rect{0, 0, width, 0};
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
    return {rect.right + 2, rect.bottom};  // the same slack as one line
}

}  // namespace quillon::win32
