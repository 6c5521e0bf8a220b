#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "controls/isButton.h"

namespace quillon::controls {
namespace {

const FixedSystemColors kSystem;
const Pixel kFace = PixelOf(kSystem.rgb(SysColor::ButtonFace));
constexpr int W = 121, H = 41;  // a bottom-row command button

isButton Style5() {
    isButton button;
    button.setStyle(5);
    return button;
}

// The style-5 look's colours, one of each kind; where each goes is checked
// as a property of the drawing below.
constexpr Pixel kBorder = MakePixel(0, 60, 116);
constexpr Pixel kRings[] = {MakePixel(72, 110, 144), MakePixel(106, 139, 162), MakePixel(191, 199, 202)};
constexpr Pixel kDisabledBorder = MakePixel(201, 199, 186);

// The three ring pixels of each corner, as seen from that corner: the inner
// diagonal pixel, then the pair beside the corner, then the pair one further.
std::vector<Pixel> CornerRings(const Canvas& c, bool right, bool bottom) {
    const auto at = [&](int dx, int dy) {
        return c.pixel(right ? c.width() - 1 - dx : dx, bottom ? c.height() - 1 - dy : dy);
    };
    return {at(1, 1), at(0, 1), at(1, 0), at(1, 2), at(2, 1)};
}

void ExpectFourCornersAlike(const Canvas& c) {
    const auto first = CornerRings(c, false, false);
    for (bool right : {false, true})
        for (bool bottom : {false, true}) EXPECT_EQ(CornerRings(c, right, bottom), first) << right << bottom;
}

// Whether a row holds one colour from x to the end column, both included.
bool RowIs(const Canvas& c, int y, int from, int to, Pixel color) {
    for (int x = from; x <= to; ++x)
        if (c.pixel(x, y) != color) return false;
    return true;
}

int Brightness(Pixel p) { return int(p >> 16 & 0xFF) + int(p >> 8 & 0xFF) + int(p & 0xFF); }

isButton Styled(bool focused, bool hot, bool pressed, bool enabled = true) {
    isButton button = Style5();
    button.setEnabled(enabled);
    if (focused) button.focusChanged(true);
    if (hot) button.mouseMove(true);
    if (pressed) button.mouseDown(MouseButton::Left);
    return button;
}

TEST(ControlsButtonLook, EveryEnabledLookHasTheBorderAndTheCutCornersAndTheRings) {
    for (int state = 0; state < 8; ++state) {
        SCOPED_TRACE(state);
        const Canvas c = Styled(state & 1, state & 2, state & 4).draw(W, H, kSystem);
        EXPECT_TRUE(RowIs(c, 0, 3, W - 4, kBorder));
        EXPECT_TRUE(RowIs(c, H - 1, 3, W - 4, kBorder));
        for (int y = 3; y <= H - 4; ++y) {
            EXPECT_EQ(c.pixel(0, y), kBorder) << y;
            EXPECT_EQ(c.pixel(W - 1, y), kBorder) << y;
        }
        for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}})
            EXPECT_EQ(c.pixel(x, y), kFace) << x << "," << y;  // cut off by the region
    }
    // With no frame over them, the three rings run round all four corners alike.
    const Canvas c = Style5().draw(W, H, kSystem);
    ExpectFourCornersAlike(c);
    const auto rings = CornerRings(c, false, false);
    EXPECT_EQ(rings[1], rings[2]);
    EXPECT_EQ(rings[3], rings[4]);
    EXPECT_EQ(std::vector<Pixel>({rings[0], rings[1], rings[3]}), std::vector<Pixel>(std::begin(kRings), std::end(kRings)));
}

TEST(ControlsButtonLook, TheBodyDarkensDownwardsBetweenItsEnds) {
    for (bool pressed : {false, true}) {
        const Canvas c = Styled(false, false, pressed).draw(W, H, kSystem);
        // Raised, light above and dark below; pressed, the other way round.
        const int down = pressed ? -1 : 1;
        for (int x : {10, W / 2}) {
            // Each half of the gradient on its own, below the pressed look's inner shadow.
            for (int y = pressed ? 7 : 5; y <= H - 3; ++y) {
                if (pressed && y == H / 2 + 1) continue;
                EXPECT_LE(down * Brightness(c.pixel(x, y)), down * Brightness(c.pixel(x, y - 1)))
                    << pressed << " at " << x << "," << y;
            }
            EXPECT_LT(down * Brightness(c.pixel(x, H - 2)), down * Brightness(c.pixel(x, 4))) << pressed;
        }
    }
    // Both halves of the gradient end on their colours, halves rounded to even.
    const Canvas c = Style5().draw(W, H, kSystem);
    EXPECT_EQ(c.pixel(10, 3), MakePixel(246, 246, 246));
    EXPECT_EQ(c.pixel(W - 3, 21), MakePixel(240, 238, 234));
}

// The frames: hot beats focus, pressing shows neither, each frame row is one
// colour along its length, and every look is its own.
TEST(ControlsButtonLook, HotBeatsFocusAndPressedShowsNoFrame) {
    const Canvas normal = Styled(false, false, false).draw(W, H, kSystem);
    const Canvas focused = Styled(true, false, false).draw(W, H, kSystem);
    const Canvas hot = Styled(false, true, false).draw(W, H, kSystem);
    const Canvas hotFocused = Styled(true, true, false).draw(W, H, kSystem);
    const Canvas pressed = Styled(false, false, true).draw(W, H, kSystem);
    const Canvas pressedFocused = Styled(true, false, true).draw(W, H, kSystem);
    const Canvas disabled = Styled(false, false, false, false).draw(W, H, kSystem);
    EXPECT_EQ(hotFocused.pixels(), hot.pixels());
    EXPECT_EQ(pressedFocused.pixels(), pressed.pixels());
    for (const Canvas* framed : {&focused, &hot})
        for (int y : {2, H - 3}) EXPECT_TRUE(RowIs(*framed, y, 2, W - 3, framed->pixel(10, y))) << y;
    const Canvas* looks[] = {&normal, &focused, &hot, &pressed, &disabled};
    for (int row : {1, 2, H - 3, H - 2})
        for (const Canvas* a : looks)
            for (const Canvas* b : looks)
                if (a < b && !(row == H - 2 && (a == &normal || b == &normal) && (a == &disabled || b == &disabled))) {
                    EXPECT_NE(a->pixel(10, row), b->pixel(10, row)) << row;
                }
    EXPECT_EQ(pressed.pixel(W - 2, 20), pressed.pixel(10, 20));  // the pressed body reaches column W - 2
    EXPECT_EQ(hot.pixel(1, 1), kRings[0]);                       // the frame's lines stop short of the rings
    EXPECT_EQ(hot.pixel(W - 2, 1), kRings[0]);
}

TEST(ControlsButtonLook, DisabledLookIsFlatInsideOneBorder) {
    isButton button = Style5();
    button.setEnabled(false);
    const Canvas c = button.draw(W, H, kSystem);
    for (int x : {0, W - 1}) EXPECT_EQ(c.pixel(x, 0), kDisabledBorder);
    EXPECT_TRUE(RowIs(c, 0, 2, W - 3, kDisabledBorder));
    EXPECT_TRUE(RowIs(c, H - 1, 2, W - 3, kDisabledBorder));
    ExpectFourCornersAlike(c);
    const auto rings = CornerRings(c, false, false);
    EXPECT_EQ(rings[0], rings[1]);
    EXPECT_EQ(rings[1], rings[2]);
    for (int y = 2; y <= H - 3; ++y) EXPECT_TRUE(RowIs(c, y, 2, W - 3, c.pixel(10, 10))) << y;
    EXPECT_EQ(button.captionColor(kSystem), kSystem.rgb(SysColor::GrayText));
}

TEST(ControlsButtonLook, IconAtLeft5Top4MovesOnePixelWhenPressed) {
    isButton button = Style5();
    button.setIcon(ButtonIcon::of(Artwork::Exit));
    button.setIconSize(32);
    button.setIconAlign(Align::Left);
    EXPECT_EQ(button.iconPosition(W, H), (PixelPoint{5, 4}));
    const Image icon = MakeArtwork(Artwork::Exit);
    const Canvas normal = button.draw(W, H, kSystem);
    EXPECT_EQ(normal.pixel(5 + 16, 4 + 16), icon.pixels[icon.index(16, 16)]);
    button.mouseDown(MouseButton::Left);
    EXPECT_EQ(button.iconPosition(W, H), (PixelPoint{6, 5}));
    EXPECT_EQ(button.draw(W, H, kSystem).pixel(6 + 16, 5 + 16), icon.pixels[icon.index(16, 16)]);
    button.setIconVisible(false);
    EXPECT_NE(button.draw(W, H, kSystem).pixel(6 + 16, 5 + 16), icon.pixels[icon.index(16, 16)]);
}

TEST(ControlsButtonLook, IconPlacementFollowsIconAlign) {
    isButton button;
    button.setStyle(9);  // margin 7
    button.setIconSize(16);
    button.setIconAlign(Align::Center);
    EXPECT_EQ(button.iconPosition(41, 30), (PixelPoint{12, 7}));  // 12.5 and 7 halves to even
    button.setIconAlign(Align::Right);
    EXPECT_EQ(button.iconPosition(41, 30), (PixelPoint{18, 7}));
    button.setIconAlign(Align::Top);
    EXPECT_EQ(button.iconPosition(41, 30), (PixelPoint{12, 7}));
    button.setIconAlign(Align::Bottom);
    EXPECT_EQ(button.iconPosition(41, 31), (PixelPoint{12, 8}));
}

TEST(ControlsButtonLook, WindowRegionPolygonOfStyle5) {
    const ButtonRegion region = Style5().region(W, H);
    EXPECT_EQ(region.kind, ButtonRegion::Kind::Polygon);
    EXPECT_EQ(region.points, (std::vector<PixelPoint>{
                                 {0, 1}, {1, 0}, {W - 1, 0}, {W, 1}, {W, H - 2}, {W - 2, H}, {2, H}, {0, H - 2}}));
    isButton flat;
    flat.setStyle(3);
    EXPECT_EQ(flat.region(W, H).kind, ButtonRegion::Kind::Rectangle);
}

TEST(ControlsButtonLook, NarrowButtonIsWidenedTo300Twips) {
    EXPECT_EQ(isButton::enlarged(13, 15), 20);  // 200 twips
    EXPECT_EQ(isButton::enlarged(20, 15), 20);
    EXPECT_EQ(isButton::enlarged(121, 15), 121);
    EXPECT_EQ(isButton::enlarged(10, 12), 25);  // 120 DPI
    EXPECT_EQ(isButton::textRect(W, H), (PixelRect{4, 4, W - 4, H - 4}));
    // A centred caption keeps a gap to the right edge that grows with the DPI, moved left only for that.
    for (int dpi : {96, 120, 144}) {
        isButton button;
        button.setDpi(dpi);
        const int gap = (2 * dpi + 48) / 96;
        for (int text = 0; text <= W + 8; ++text) {
            const PixelRect r = button.captionRect(W, H, text);
            const int right = r.left + (r.right - r.left - text) / 2 + text;
            EXPECT_LE(right, W - gap) << dpi << " DPI, " << text << " pixels";
            EXPECT_EQ(r.right - r.left, W - 8);
            if (r.left != 4) {
                EXPECT_EQ(right, W - gap) << dpi << " DPI, " << text << " pixels";
            }
            // The focus frame's side lines lie inside the border and off the
            // caption's columns, a column clear of them where there is room.
            const int left = right - text;
            const PixelRect f = button.focusRect(W, H, left, right);
            EXPECT_GE(f.left, 1);
            EXPECT_LE(f.right, W - 1);
            EXPECT_LE(f.left, (4 * dpi + 48) / 96);
            EXPECT_GE(f.right, W - (4 * dpi + 48) / 96);
            if (text > 0 && left >= 2) {
                EXPECT_LT(f.left, left - (left >= 3 ? 1 : 0)) << dpi << " DPI, " << text;
            }
            if (text > 0) {
                EXPECT_GE(f.right - 1, right + (right <= W - 3 ? 1 : 0)) << dpi << " DPI, " << text;
            }
        }
    }
}

TEST(ControlsButtonLook, Style6WithoutVisualStylesBecomesNonThemeStyleForGood) {
    isButton button;
    button.setStyle(6);
    button.setNonThemeStyle(2);
    button.visualStylesUnavailable();
    EXPECT_EQ(button.Style(), 2);
    button.visualStylesUnavailable();
    EXPECT_EQ(button.Style(), 2);
}

TEST(ControlsButtonLook, OtherLooksDrawTheirStates) {
    isButton button;
    button.setStyle(0);
    const Canvas raised = button.draw(40, 30, kSystem);
    EXPECT_EQ(raised.pixel(0, 0), PixelOf(kSystem.rgb(SysColor::ButtonHighlight)));
    EXPECT_EQ(raised.pixel(39, 29), PixelOf(kSystem.rgb(SysColor::DarkShadow)));
    button.mouseDown(MouseButton::Left);
    const Canvas sunken = button.draw(40, 30, kSystem);
    EXPECT_EQ(sunken.pixel(0, 0), PixelOf(kSystem.rgb(SysColor::ButtonShadow)));
    button.setStyle(3);
    button.mouseDown(MouseButton::Left);
    EXPECT_EQ(button.draw(40, 30, kSystem).pixel(20, 15), PixelOf(kSystem.rgb(SysColor::ButtonShadow)));
}

TEST(ControlsButtonLook, CustomColoursFollowBackColorAndShowFocus) {
    isButton button = Style5();
    button.setUseCustomColors(true);
    button.setBackColor(RgbColor(200, 230, 200));
    button.focusChanged(true);
    const Canvas c = button.draw(W, H, kSystem);
    EXPECT_NE(c.pixel(10, 20), Style5().draw(W, H, kSystem).pixel(10, 20));
    button.setShowFocus(true);
    EXPECT_NE(button.draw(W, H, kSystem).pixel(10, 1), c.pixel(10, 1));
}

}  // namespace
}  // namespace quillon::controls
