#include "window/win32/Fonts.h"

#include <string>

namespace quillon::win32 {
namespace {

// Sizes are points at the layout's 96 dots per inch; tenths keep 10.5 and 8.25 exact enough.
Font Make(const wchar_t* face, int tenthsOfPoint, bool bold) {
    LOGFONTW font{};
    font.lfHeight = -((tenthsOfPoint * 96 + 360) / 720);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return Font(CreateFontIndirectW(&font));
}

}  // namespace

Fonts::Fonts() {
    using layout::Font;
    fonts_[static_cast<std::size_t>(Font::Standard)] = Make(L"Tahoma", 80, false);
    fonts_[static_cast<std::size_t>(Font::Arial9)] = Make(L"Arial", 90, false);
    fonts_[static_cast<std::size_t>(Font::Arial9Bold)] = Make(L"Arial", 90, true);
    fonts_[static_cast<std::size_t>(Font::Arial10Bold)] = Make(L"Arial", 105, true);
    fonts_[static_cast<std::size_t>(Font::Verdana8)] = Make(L"Verdana", 83, false);
}

SIZE MeasureText(HFONT font, const std::wstring& text) {
    ScreenDC screen;
    Selection selected(screen.get(), font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    // Smoothed glyphs may reach a pixel past the advance width.
    if (!text.empty()) size.cx += 2;
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.get(), &metrics);
        size.cy = metrics.tmHeight;
    }
    return size;
}

}  // namespace quillon::win32
