#include "window/win32/Fonts.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "controls/win32/Fonts.h"
#include "controls/win32/ScreenDpi.h"

namespace quillon::win32 {

controls::FontChoice FontChoiceOf(layout::Font font) {
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
        fonts_[i] = controls::win32::CreateControlFont(FontChoiceOf(static_cast<layout::Font>(i)));
}

SIZE MeasureText(HFONT font, const std::wstring& text) {
    HDC dc = controls::win32::MeasuringDC();
    Selection selected(dc, font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        size.cy = metrics.tmHeight;
    }
    return size;
}

SIZE MeasureWrappedText(HFONT font, const std::wstring& text, int width) {
    HDC dc = controls::win32::MeasuringDC();
    Selection selected(dc, font);
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
    return {rect.right + 2, rect.bottom};  // the same slack as one line
}

namespace {

// Where text is drawn to be measured: one memory DC for the program's life,
// with a bitmap that grows to the widest line asked for so far.
class InkScratch {
public:
    InkScratch() : dc_(nullptr) {}
    HDC dc() const { return dc_.get(); }
    const std::uint32_t* prepare(int width, int height) {
        if (width > width_ || height > height_) {
            selected_.reset();
            width_ = std::max(width, width_);
            height_ = std::max(height, height_);
            void* bits = nullptr;
            bitmap_ = controls::win32::CreateTopDownDib(width_, height_, &bits);
            bits_ = bitmap_ ? static_cast<const std::uint32_t*>(bits) : nullptr;
            if (!bits_) width_ = height_ = 0;
            else selected_.emplace(dc_.get(), bitmap_.get());
        }
        return bits_;
    }
    int stride() const { return width_; }

private:
    MemoryDC dc_;
    UniqueBitmap bitmap_;
    std::optional<Selection> selected_;
    const std::uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace

// Drawn for real and looked at: the metrics a font reports (even its ABC
// widths) can miss a column that the rasteriser fills.
TextInk MeasureInk(HFONT font, const std::wstring& text) {
    static InkScratch scratch;
    HDC dc = scratch.dc();
    Selection selectedFont(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    TextInk ink{0, 0, metrics.tmHeight};
    if (text.empty()) return ink;
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ink.right = size.cx;

    const int margin = std::max<int>(metrics.tmHeight, 8);  // room for any overhang
    const int width = size.cx + 2 * margin, height = std::max<int>(metrics.tmHeight, 1);
    const std::uint32_t* pixels = scratch.prepare(width, height);
    if (!pixels) return ink;
    RECT area{0, 0, width, height};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT place{margin, 0, width, height};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_TOP | DT_NOCLIP);
    GdiFlush();
    const int stride = scratch.stride();
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if ((pixels[y * stride + x] & 0xFFFFFF) != 0xFFFFFF) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    if (first >= 0) {
        ink.left = std::min(0, first - margin);
        ink.right = std::max<int>(size.cx, last + 1 - margin);
    }
    return ink;
}

TextInk MeasureInk(HDC dc, const std::wstring& text) {
    return MeasureInk(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)), text);
}

}  // namespace quillon::win32
