#include "controls/Artwork.h"
#include "controls/Rounding.h"
#include "controls/XPContainer.h"

namespace quillon::controls {

void DrawPanelGradient(Canvas& canvas, OleColor a, OleColor b, int firstRow, int lastRow, int stepHeight,
                       int lineWidth) {
    // A one-row surface has no step: every row keeps colour a.
    const long long divisor = stepHeight - 1;
    const auto channel = [divisor](int from, int to, long long row) -> long long {
        if (divisor == 0) return from;
        return RoundHalfEven(from * divisor - row * (from - to), divisor);
    };
    for (int y = firstRow; y <= lastRow; ++y) {
        const long long row = y - firstRow;
        const long long red = channel(RedOf(a), RedOf(b), row);
        const long long green = channel(GreenOf(a), GreenOf(b), row);
        const long long blue = channel(BlueOf(a), BlueOf(b), row);
        if (red < 0 || green < 0 || blue < 0) continue;
        const auto clamp = [](long long value) { return static_cast<int>(value > 255 ? 255 : value); };
        canvas.horizontalLine(0, lineWidth, y, MakePixel(clamp(red), clamp(green), clamp(blue)));
    }
}

Canvas XPContainer::draw(const SystemColors& system) const {
    Canvas canvas(width_, height_, PixelOf(system.rgb(SysColor::ButtonFace)));
    drawBody(canvas, system);
    drawBorder(canvas, system);
    // The header strip is a surface of its own lying over the panel.
    if (headerVisible()) canvas.blit(drawHeader(system), 1, 1);
    return canvas;
}

Canvas XPContainer::drawHeader(const SystemColors& system) const {
    const int height = headerHeight();
    Canvas strip(headerWidth_, height, PixelOf(system.rgb(SysColor::ButtonFace)));
    DrawPanelGradient(strip, TranslateColor(colors_.headerLight, system), TranslateColor(colors_.headerDark, system),
                      0, height - 1, height, headerWidth_);
    strip.drawImage(MakeArtwork(Artwork::Star), scaled(kStarLeft), scaled(kStarTop), scaled(kStarSize));
    return strip;
}

void XPContainer::drawBody(Canvas& canvas, const SystemColors& system) const {
    const OleColor light = TranslateColor(colors_.backLight, system);
    const OleColor dark = TranslateColor(colors_.backDark, system);
    if (headerVisible())
        DrawPanelGradient(canvas, light, dark, headerHeight() + 1, height_ - 1, bodyHeight_, bodyWidth_);
    else
        DrawPanelGradient(canvas, light, dark, 0, height_ - 1, height_, width_);
}

void XPContainer::drawBorder(Canvas& canvas, const SystemColors& system) const {
    const Pixel border = PixelOf(TranslateColor(colors_.border, system));
    const int w = width_, h = height_;
    canvas.rectangleOutline(0, 0, w - 1, h - 1, border);
    canvas.horizontalLine(0, w, h - 1, border);
    canvas.verticalLine(w - 1, 0, h - 1, border);
}

}  // namespace quillon::controls
