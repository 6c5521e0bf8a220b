#include <algorithm>

#include "controls/Rounding.h"
#include "controls/isButton.h"

namespace quillon::controls {
namespace {

int Half(int value) { return static_cast<int>(RoundHalfEven(value, 2)); }

Pixel Mix(Pixel a, Pixel b, int percentOfA) {
    const auto channel = [&](int x, int y) { return (x * percentOfA + y * (100 - percentOfA)) / 100; };
    return MakePixel(channel(PixelRed(a), PixelRed(b)), channel(PixelGreen(a), PixelGreen(b)),
                     channel(PixelBlue(a), PixelBlue(b)));
}

// One edge ring `inset` pixels in: top and left in one colour, bottom and right in the other.
void Edge(Canvas& c, int inset, Pixel topLeft, Pixel bottomRight) {
    const int right = c.width() - 1 - inset, bottom = c.height() - 1 - inset;
    c.horizontalLine(inset, right, inset, topLeft);
    c.verticalLine(inset, inset, bottom, topLeft);
    c.horizontalLine(inset, right + 1, bottom, bottomRight);
    c.verticalLine(right, inset, bottom, bottomRight);
}

class Looks {
public:
    Looks(Canvas& canvas, const isButton& button, const SystemColors& system)
        : c(canvas), b(button), state(button.drawnState()), custom(button.UseCustomColors()), sys(system) {}

    Pixel color(int index) const { return PixelOf(sys.rgb(index)); }
    Pixel custom_or(OleColor chosen, int index) const {
        return custom ? PixelOf(TranslateColor(chosen, sys)) : color(index);
    }
    Pixel face() const { return custom_or(b.BackColor(), SysColor::ButtonFace); }
    Pixel highlight() const { return custom_or(b.HighlightColor(), SysColor::Highlight); }
    Pixel shadow() const { return color(SysColor::ButtonShadow); }
    Pixel white() const { return color(SysColor::ButtonHighlight); }
    bool pressed() const { return state == ButtonState::Pressed; }
    bool hot() const { return state == ButtonState::Hot; }

    void classic() {
        c.fill(custom && state != ButtonState::Normal && state != ButtonState::Disabled ? highlight() : face());
        if (pressed()) {
            Edge(c, 0, shadow(), white());
            Edge(c, 1, color(SysColor::DarkShadow), color(SysColor::Light));
        } else {
            Edge(c, 0, white(), color(SysColor::DarkShadow));
            Edge(c, 1, color(SysColor::Light), shadow());
        }
    }
    void thin(bool outlineWhenNormal) {
        c.fill(face());
        if (pressed())
            Edge(c, 0, shadow(), white());
        else if (!outlineWhenNormal || hot())
            Edge(c, 0, white(), shadow());
        else
            c.rectangleOutline(0, 0, c.width() - 1, c.height() - 1, face());
    }
    void flat() {
        const Pixel back = face();
        const Pixel dark = custom ? highlight() : shadow();
        c.fill(pressed() ? dark : hot() ? Mix(dark, back, 50) : back);
        c.rectangleOutline(0, 0, c.width() - 1, c.height() - 1, shadow());
        c.rectangleOutline(1, 1, c.width() - 2, c.height() - 2, color(SysColor::Window));
    }
    void office() {
        c.fill(face());
        if (!hot() && !pressed()) return;
        c.fill(Mix(highlight(), MakePixel(255, 255, 255), pressed() ? 45 : 30));
        c.rectangleOutline(0, 0, c.width() - 1, c.height() - 1, highlight());
    }
    // Looks 8 and 9: a face with lines along the edges and cut corners.
    void rounded(bool shaded) {
        const int w = c.width(), h = c.height();
        const Pixel back = pressed() ? Mix(shadow(), face(), 35) : face();
        if (shaded && !pressed())
            for (int y = 0; y < h; ++y) c.horizontalLine(0, w, y, Mix(white(), back, 100 - 100 * y / h));
        else
            c.fill(back);
        const Pixel line = hot() ? highlight() : color(SysColor::DarkShadow);
        c.horizontalLine(2, w - 2, 0, line);
        c.horizontalLine(2, w - 2, h - 1, line);
        c.verticalLine(0, 2, h - 2, line);
        c.verticalLine(w - 1, 2, h - 2, line);
        for (const PixelPoint at : {PixelPoint{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}}) c.setPixel(at.x, at.y, line);
    }
    // Look 10: normal, hot-or-focused and pressed variants.
    void pixelPainted() {
        const int w = c.width(), h = c.height();
        const bool lit = hot() || (state == ButtonState::Normal && b.hasFocus());
        c.fill(pressed() ? Mix(shadow(), face(), 50) : face());
        const Pixel outer = lit ? highlight() : color(SysColor::DarkShadow);
        c.horizontalLine(3, w - 3, 0, outer);
        c.horizontalLine(3, w - 3, h - 1, outer);
        c.verticalLine(0, 3, h - 3, outer);
        c.verticalLine(w - 1, 3, h - 3, outer);
        for (const PixelPoint at : {PixelPoint{1, 2}, {2, 1}, {w - 3, 1}, {w - 2, 2}, {1, h - 3}, {2, h - 2},
                                    {w - 3, h - 2}, {w - 2, h - 3}})
            c.setPixel(at.x, at.y, outer);
        if (lit) Edge(c, 1, Mix(highlight(), white(), 40), Mix(highlight(), white(), 70));
        if (pressed()) Edge(c, 1, shadow(), face());
    }

private:
    Canvas& c;
    const isButton& b;
    ButtonState state;
    bool custom;
    const SystemColors& sys;
};

}  // namespace

int isButton::iconMargin() const {
    const int margin = style_ == 5 || style_ == 7 ? 5 : style_ == 9 || style_ == 10 ? 7 : 4;
    return (margin * dpi_ + 48) / 96;
}

PixelPoint isButton::iconPosition(int width, int height) const {
    const int size = iconSize_, margin = iconMargin();
    PixelPoint at{Half(width - size), Half(height - size)};
    switch (iconAlign_) {
    case Align::Center: break;
    case Align::Left: at.x = margin; break;
    case Align::Right: at.x = width - size - margin; break;
    case Align::Top: at.y = margin; break;
    case Align::Bottom: at.y = height - size - margin; break;
    }
    if (drawnState() == ButtonState::Pressed) {
        at.x += 1;
        at.y += 1;
    }
    return at;
}

PixelRect isButton::textRect(int width, int height) { return {4, 4, width - 4, height - 4}; }

// The least gap a centred caption leaves at 96 DPI (Services' on the top row).
constexpr int kCaptionGap96 = 2;

PixelRect isButton::captionRect(int width, int height, int textWidth) const {
    PixelRect rect = textRect(width, height);
    if (captionAlign_ != Align::Center && captionAlign_ != Align::Top && captionAlign_ != Align::Bottom) return rect;
    const int inset = (kCaptionGap96 * dpi_ + 48) / 96;
    const int right = rect.left + (rect.right - rect.left - textWidth) / 2 + textWidth;
    const int over = right - (width - inset);
    if (over > 0) rect.left -= over, rect.right -= over;
    return rect;
}

PixelRect isButton::focusRect(int width, int height, int textLeft, int textRight) const {
    const int inset = (4 * dpi_ + 48) / 96, gap = (dpi_ + 48) / 96;
    PixelRect frame{inset, inset, width - inset, height - inset};
    if (textLeft >= textRight) return frame;
    // Columns of the frame's lines where the caption comes too near: `gap`
    // columns from the text and one from the border where there is room for
    // both, else one from the text against the border.
    const int leftLine = std::min(std::max(textLeft - 1 - gap, 2), std::max(textLeft - 2, 1));
    const int rightLine = std::max(std::min(textRight + gap, width - 3), std::min(textRight + 1, width - 2));
    frame.left = std::min(frame.left, leftLine);
    frame.right = std::max(frame.right, rightLine + 1);
    return frame;
}

ButtonRegion isButton::region(int w, int h) const {
    switch (style_) {
    case 5:
    case 7:
        return {ButtonRegion::Kind::Polygon, {{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}}, 0};
    case 8:
    case 9:
        return {ButtonRegion::Kind::Polygon, {{0, 2}, {2, 0}, {w - 2, 0}, {w, 2}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}}, 0};
    case 10: return {ButtonRegion::Kind::RoundRectangle, {}, 6};
    default: return {};
    }
}

int isButton::enlarged(int pixels, int twipsPerPixel) {
    if (twipsPerPixel <= 0 || pixels * twipsPerPixel >= kMinimumTwips) return pixels;
    return (kMinimumTwips + twipsPerPixel - 1) / twipsPerPixel;
}

Canvas isButton::draw(int width, int height, const SystemColors& system) const {
    Canvas canvas = drawLook(width, height, system);
    drawIcon(canvas);
    return canvas;
}

Canvas isButton::drawLook(int width, int height, const SystemColors& system) const {
    Canvas canvas(width, height, PixelOf(system.rgb(SysColor::ButtonFace)));
    Looks looks(canvas, *this, system);
    switch (style_) {
    case 0: looks.classic(); break;
    case 1: looks.thin(false); break;
    case 2: looks.thin(true); break;
    case 3: looks.flat(); break;
    case 4: looks.office(); break;
    case 5:
    case 7: DrawStyle5(canvas, *this, system); break;
    case 8: looks.rounded(false); break;
    case 9: looks.rounded(true); break;
    case 10: looks.pixelPainted(); break;
    default: break;  // Style 6 gets its face only; the themed part is drawn by the window
    }
    return canvas;
}

void isButton::drawIcon(Canvas& canvas) const {
    if (!iconVisible_ || icon_.kind != ButtonIcon::Kind::Artwork) return;
    const PixelPoint at = iconPosition(canvas.width(), canvas.height());
    canvas.drawImage(MakeArtwork(icon_.artwork), at.x, at.y, iconSize_);
}

OleColor isButton::captionColor(const SystemColors& system) const {
    const ButtonState drawn = drawnState();
    if (drawn == ButtonState::Disabled) return system.rgb(SysColor::GrayText);
    if (!useCustomColors_) return system.rgb(SysColor::ButtonText);
    return TranslateColor(drawn == ButtonState::Normal ? fontColor_ : fontHighlightColor_, system);
}

}  // namespace quillon::controls
