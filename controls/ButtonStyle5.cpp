#include <algorithm>
#include <vector>

#include "controls/Rounding.h"
#include "controls/isButton.h"

namespace quillon::controls {
namespace {

struct Blend {
    Pixel from, to;
};

// Every colour of the look; the system's own palette and two derived ones.
struct Style5Palette {
    Blend top{MakePixel(252, 252, 251), MakePixel(240, 240, 240)};
    Blend middle{MakePixel(250, 250, 249), MakePixel(240, 240, 234)};
    Blend bottom{MakePixel(235, 235, 230), MakePixel(214, 208, 197)};
    Blend innerRight{MakePixel(251, 251, 250), MakePixel(228, 226, 218)};
    Blend outerRight{MakePixel(245, 244, 242), MakePixel(219, 215, 205)};
    Blend pressedTop{MakePixel(209, 204, 193), MakePixel(228, 227, 220)};
    Blend pressedMiddle{MakePixel(228, 227, 220), MakePixel(227, 226, 219)};
    Blend pressedBottom{MakePixel(227, 226, 219), MakePixel(242, 241, 238)};
    Blend pressedLeft{MakePixel(218, 216, 206), MakePixel(227, 226, 219)};
    Pixel border = MakePixel(0, 60, 116);
    Pixel corners[3] = {MakePixel(72, 110, 144), MakePixel(106, 139, 162), MakePixel(191, 199, 202)};
    Pixel hotLines[4] = {MakePixel(255, 240, 207), MakePixel(253, 216, 137), MakePixel(248, 179, 48),
                         MakePixel(229, 151, 16)};
    Blend hotSides{MakePixel(253, 216, 137), MakePixel(248, 179, 48)};
    Pixel focusLines[4] = {MakePixel(206, 231, 255), MakePixel(188, 212, 246), MakePixel(137, 173, 228),
                           MakePixel(105, 130, 238)};
    Blend focusSides{MakePixel(188, 212, 246), MakePixel(137, 173, 228)};
    Pixel disabledBack = MakePixel(245, 244, 234);
    Pixel disabledBorder = MakePixel(201, 199, 186);
    Pixel disabledCorner = MakePixel(216, 213, 199);
};

// Moves a colour by the difference between two others, channel by channel.
Pixel Shift(Pixel color, Pixel from, Pixel to) {
    const auto channel = [](int c, int f, int t) { return std::clamp(c + t - f, 0, 255); };
    return MakePixel(channel(PixelRed(color), PixelRed(from), PixelRed(to)),
                     channel(PixelGreen(color), PixelGreen(from), PixelGreen(to)),
                     channel(PixelBlue(color), PixelBlue(from), PixelBlue(to)));
}

void ShiftAll(std::initializer_list<Blend*> blends, Pixel from, Pixel to) {
    for (Blend* blend : blends) *blend = {Shift(blend->from, from, to), Shift(blend->to, from, to)};
}

Style5Palette CustomPalette(Pixel back, Pixel highlight) {
    Style5Palette p;
    const Pixel face = MakePixel(240, 240, 234);
    ShiftAll({&p.top, &p.middle, &p.bottom, &p.innerRight, &p.outerRight, &p.pressedTop, &p.pressedMiddle,
              &p.pressedBottom, &p.pressedLeft},
             face, back);
    const Pixel hot = p.hotLines[2];
    for (Pixel& line : p.hotLines) line = Shift(line, hot, highlight);
    ShiftAll({&p.hotSides}, hot, highlight);
    const Pixel focus = p.focusLines[2];
    for (Pixel& line : p.focusLines) line = Shift(line, focus, highlight);
    ShiftAll({&p.focusSides}, focus, highlight);
    return p;
}

Style5Palette SilverPalette() {
    Style5Palette p;
    const Pixel face = MakePixel(240, 240, 234), silver = MakePixel(232, 234, 240);
    ShiftAll({&p.top, &p.middle, &p.bottom, &p.innerRight, &p.outerRight, &p.pressedTop, &p.pressedMiddle,
              &p.pressedBottom, &p.pressedLeft},
             face, silver);
    p.border = MakePixel(84, 90, 104);
    p.corners[0] = MakePixel(118, 124, 136);
    p.corners[1] = MakePixel(150, 154, 164);
    p.corners[2] = MakePixel(204, 206, 212);
    return p;
}

// Rows firstRow..lastRow over columns firstColumn..lastColumn, first row exactly
// `from`, last exactly `to`.
void Gradient(Canvas& canvas, Blend blend, int firstColumn, int lastColumn, int firstRow, int lastRow) {
    const int n = lastRow - firstRow;
    for (int i = 0; i <= n; ++i) {
        const auto channel = [&](int a, int b) {
            return n == 0 ? a : static_cast<int>(RoundHalfEven(static_cast<long long>(a) * n + (b - a) * i, n));
        };
        const Pixel color = MakePixel(channel(PixelRed(blend.from), PixelRed(blend.to)),
                                      channel(PixelGreen(blend.from), PixelGreen(blend.to)),
                                      channel(PixelBlue(blend.from), PixelBlue(blend.to)));
        canvas.horizontalLine(firstColumn, lastColumn + 1, firstRow + i, color);
    }
}

void BorderAndCorners(Canvas& c, const Style5Palette& p) {
    const int w = c.width(), h = c.height();
    c.horizontalLine(1, w - 1, 0, p.border);
    c.verticalLine(0, 1, h - 1, p.border);
    c.verticalLine(w - 1, 1, h - 1, p.border);
    c.horizontalLine(1, w - 1, h - 1, p.border);
    const std::vector<PixelPoint> rings[3] = {
        {{1, 1}, {1, h - 2}, {w - 2, 1}, {w - 2, h - 2}},
        {{0, 1}, {1, 0}, {1, h - 1}, {0, h - 2}, {w - 1, h - 2}, {w - 2, h - 1}, {w - 2, 0}, {w - 1, 1}},
        {{1, 2}, {2, 1}, {2, h - 2}, {1, h - 3}, {w - 2, h - 3}, {w - 3, h - 2}, {w - 3, 1}, {w - 2, 2}},
    };
    for (int ring = 0; ring < 3; ++ring)
        for (const PixelPoint& at : rings[ring]) c.setPixel(at.x, at.y, p.corners[ring]);
}

void NormalBase(Canvas& c, const Style5Palette& p) {
    const int w = c.width(), h = c.height();
    Gradient(c, p.top, 1, w - 3, 1, 5);
    Gradient(c, p.middle, 1, w - 3, 4, h - 4);
    Gradient(c, p.bottom, 1, w - 3, h - 4, h - 1);
    Gradient(c, p.innerRight, w - 3, w - 3, 3, h - 2);
    Gradient(c, p.outerRight, w - 2, w - 2, 3, h - 2);
    BorderAndCorners(c, p);
}

void PressedBase(Canvas& c, const Style5Palette& p) {
    const int w = c.width(), h = c.height();
    Gradient(c, p.pressedTop, 2, w - 2, 1, 5);
    Gradient(c, p.pressedMiddle, 2, w - 2, 4, h - 4);
    Gradient(c, p.pressedBottom, 3, w - 2, h - 4, h - 1);
    Gradient(c, p.pressedLeft, 1, 1, 3, h - 2);
    Gradient(c, p.pressedLeft, 2, 2, 4, h - 3);
    BorderAndCorners(c, p);
}

// Lines at rows 1, 2, H-3 and H-2, then the two side blends.
void Frame(Canvas& c, const Pixel (&lines)[4], Blend sides) {
    const int w = c.width(), h = c.height();
    c.horizontalLine(2, w - 2, 1, lines[0]);
    c.horizontalLine(2, w - 2, 2, lines[1]);
    c.horizontalLine(2, w - 2, h - 3, lines[2]);
    c.horizontalLine(2, w - 2, h - 2, lines[3]);
    Gradient(c, sides, 1, 2, 2, h - 3);
    Gradient(c, sides, w - 3, w - 2, 2, h - 3);
}

void Disabled(Canvas& c, const Style5Palette& p) {
    const int w = c.width(), h = c.height();
    c.fill(p.disabledBack);
    c.rectangleOutline(0, 0, w - 1, h - 1, p.disabledBorder);
    const PixelPoint corners[] = {{0, 1},     {1, 1},     {1, 0},     {0, h - 2},     {1, h - 2},     {1, h - 1},
                                  {w - 1, 1}, {w - 2, 1}, {w - 2, 0}, {w - 1, h - 2}, {w - 2, h - 2}, {w - 2, h - 1}};
    for (const PixelPoint& at : corners) c.setPixel(at.x, at.y, p.disabledCorner);
}

}  // namespace

void DrawStyle5(Canvas& canvas, const isButton& button, const SystemColors& system) {
    const bool custom = button.UseCustomColors();
    const Style5Palette palette =
        button.Style() == 7 ? SilverPalette()
        : custom ? CustomPalette(PixelOf(TranslateColor(button.BackColor(), system)),
                                 PixelOf(TranslateColor(button.HighlightColor(), system)))
                 : Style5Palette{};
    switch (button.drawnState()) {
    case ButtonState::Disabled: Disabled(canvas, palette); return;
    case ButtonState::Pressed: PressedBase(canvas, palette); return;
    case ButtonState::Hot:
        NormalBase(canvas, palette);
        Frame(canvas, palette.hotLines, palette.hotSides);
        return;
    case ButtonState::Normal:
        NormalBase(canvas, palette);
        if (button.drawsFocus() && (!custom || button.ShowFocus()))
            Frame(canvas, palette.focusLines, palette.focusSides);
        return;
    }
}

}  // namespace quillon::controls
