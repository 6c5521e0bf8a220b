#include <gtest/gtest.h>

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

void ExpectAt(const Canvas& c, std::initializer_list<std::pair<int, int>> points, Pixel color) {
    for (const auto& [x, y] : points) EXPECT_EQ(c.pixel(x, y), color) << "at " << x << "," << y;
}

TEST(ControlsButtonLook, NormalBaseGradientsEndExactlyOnTheirColours) {
    const Canvas c = Style5().draw(W, H, kSystem);
    ExpectAt(c, {{10, 1}}, MakePixel(252, 252, 251));
    ExpectAt(c, {{10, 3}}, MakePixel(246, 246, 246));  // 245.5 blue goes to the even 246
    ExpectAt(c, {{10, 4}}, MakePixel(250, 250, 249));
    ExpectAt(c, {{10, H - 4}}, MakePixel(235, 235, 230));
    ExpectAt(c, {{10, H - 2}}, MakePixel(221, 217, 208));
    ExpectAt(c, {{W - 3, 3}}, MakePixel(251, 251, 250));
    ExpectAt(c, {{W - 3, 21}}, MakePixel(240, 238, 234));  // both halves to even
    ExpectAt(c, {{W - 2, 3}}, MakePixel(245, 244, 242));
    ExpectAt(c, {{W - 2, H - 4}}, MakePixel(220, 217, 207));
}

TEST(ControlsButtonLook, BorderAndThreeRingsOfCornerPixels) {
    const Canvas c = Style5().draw(W, H, kSystem);
    ExpectAt(c, {{5, 0}, {W - 2 - 1, 0}, {0, 5}, {W - 1, 5}, {5, H - 1}}, MakePixel(0, 60, 116));
    ExpectAt(c, {{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}}, MakePixel(72, 110, 144));
    ExpectAt(c,
             {{0, 1}, {1, 0}, {1, H - 1}, {0, H - 2}, {W - 1, H - 2}, {W - 2, H - 1}, {W - 2, 0}, {W - 1, 1}},
             MakePixel(106, 139, 162));
    ExpectAt(c,
             {{1, 2}, {2, 1}, {2, H - 2}, {1, H - 3}, {W - 2, H - 3}, {W - 3, H - 2}, {W - 3, 1}, {W - 2, 2}},
             MakePixel(191, 199, 202));
    ExpectAt(c, {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}}, kFace);  // cut off by the region
}

TEST(ControlsButtonLook, HotFrameIsOrangeAndBeatsTheFocusFrame) {
    isButton button = Style5();
    button.focusChanged(true);
    button.mouseMove(true);
    ASSERT_EQ(button.state(), ButtonState::Hot);
    const Canvas c = button.draw(W, H, kSystem);
    ExpectAt(c, {{2, 1}, {10, 1}, {W - 3, 1}}, MakePixel(255, 240, 207));
    ExpectAt(c, {{10, 2}, {1, 2}, {2, 2}, {W - 2, 2}}, MakePixel(253, 216, 137));
    ExpectAt(c, {{10, H - 3}, {1, H - 3}, {W - 3, H - 3}}, MakePixel(248, 179, 48));
    ExpectAt(c, {{10, H - 2}}, MakePixel(229, 151, 16));
    ExpectAt(c, {{W - 2, 1}, {1, 1}}, MakePixel(72, 110, 144));  // the lines stop short of W - 2
}

TEST(ControlsButtonLook, FocusFrameIsBlueOnTheNormalLook) {
    isButton button = Style5();
    button.focusChanged(true);
    const Canvas c = button.draw(W, H, kSystem);
    ExpectAt(c, {{10, 1}}, MakePixel(206, 231, 255));
    ExpectAt(c, {{10, 2}, {1, 2}, {W - 2, 2}}, MakePixel(188, 212, 246));
    ExpectAt(c, {{10, H - 3}, {2, H - 3}, {W - 3, H - 3}}, MakePixel(137, 173, 228));
    ExpectAt(c, {{10, H - 2}}, MakePixel(105, 130, 238));
}

TEST(ControlsButtonLook, PressedHasItsOwnBaseAndNoFrame) {
    isButton button = Style5();
    button.focusChanged(true);
    button.mouseDown(MouseButton::Left);
    const Canvas c = button.draw(W, H, kSystem);
    ExpectAt(c, {{10, 1}}, MakePixel(209, 204, 193));
    ExpectAt(c, {{1, 3}}, MakePixel(218, 216, 206));
    ExpectAt(c, {{2, 4}}, MakePixel(218, 216, 206));
    ExpectAt(c, {{2, H - 3}}, MakePixel(227, 226, 219));
    ExpectAt(c, {{3, H - 2}, {W - 4, H - 2}}, MakePixel(237, 236, 232));
    ExpectAt(c, {{W - 2, 20}}, c.pixel(10, 20));  // the pressed body reaches column W - 2
    ExpectAt(c, {{0, 5}}, MakePixel(0, 60, 116));
}

TEST(ControlsButtonLook, DisabledLook) {
    isButton button = Style5();
    button.setEnabled(false);
    const Canvas c = button.draw(W, H, kSystem);
    ExpectAt(c, {{10, 10}, {W - 2, H - 3}}, MakePixel(245, 244, 234));
    ExpectAt(c, {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}, {10, 0}, {0, 10}}, MakePixel(201, 199, 186));
    ExpectAt(c,
             {{0, 1}, {1, 1}, {1, 0}, {0, H - 2}, {1, H - 2}, {1, H - 1}, {W - 1, 1}, {W - 2, 1}, {W - 2, 0},
              {W - 1, H - 2}, {W - 2, H - 2}, {W - 2, H - 1}},
             MakePixel(216, 213, 199));
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
