#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/XPContainer.h"

namespace quillon::controls {
namespace {

const FixedSystemColors kSystem;
const Pixel kFace = PixelOf(kSystem.rgb(SysColor::ButtonFace));

XPContainer Panel(int style, int theme, int width, int height) {
    XPContainer panel;
    panel.setStyle(style);
    panel.setTheme(theme);
    panel.resize(width, height);
    return panel;
}

TEST(ControlsPanel, HeaderStripRunsFromLightToDarkRoundingHalvesToEven) {
    const Canvas c = Panel(0, 4, 727, 494).draw(kSystem);
    EXPECT_EQ(c.pixel(100, 1), MakePixel(200, 227, 241));   // strip row 0
    EXPECT_EQ(c.pixel(100, 23), MakePixel(146, 201, 228));  // strip row 22
    // Strip row 11: blue is 241 - 11 * 13 / 22 = 234.5, which goes to the even 234.
    EXPECT_EQ(c.pixel(100, 12), MakePixel(173, 214, 234));
    EXPECT_EQ(c.pixel(725, 1), MakePixel(200, 227, 241));  // the strip reaches column W - 2
}

TEST(ControlsPanel, Style0BodyFillsInsideTheBorderButLeavesColumnWMinus2) {
    const Canvas c = Panel(0, 4, 727, 494).draw(kSystem);
    EXPECT_EQ(c.pixel(300, 24), MakePixel(235, 245, 250));   // first body row
    EXPECT_EQ(c.pixel(300, 492), MakePixel(213, 234, 245));  // last row inside the border
    EXPECT_EQ(c.pixel(724, 300), c.pixel(300, 300));         // column W - 3 is body
    EXPECT_EQ(c.pixel(725, 300), kFace);                     // column W - 2 keeps the background
    EXPECT_EQ(c.pixel(725, 24), kFace);
}

TEST(ControlsPanel, BorderIsOnePixelAllRoundWithSquareCorners) {
    const Canvas c = Panel(0, 4, 727, 494).draw(kSystem);
    const Pixel border = MakePixel(136, 196, 226);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {726, 0}, {0, 493}, {726, 493}, {300, 0}, {300, 493}, {0, 200}, {726, 200}, {0, 12}})
        EXPECT_EQ(c.pixel(x, y), border) << x << "," << y;
    EXPECT_NE(c.pixel(1, 200), border);
}

TEST(ControlsPanel, StarSitsInTheHeaderAtLeft4Top2) {
    const Canvas c = Panel(0, 4, 200, 60).draw(kSystem);
    // The star's tip is the top middle of its 16 by 16 box, one pixel in for the strip.
    const Pixel tip = c.pixel(1 + 4 + 7, 1 + 2 + 2);
    EXPECT_GT(PixelRed(tip), 240);
    EXPECT_LT(PixelBlue(tip), 160);
    EXPECT_EQ(c.pixel(1 + 4, 1 + 2), c.pixel(60, 1 + 2));  // the corner of its box stays header
}

TEST(ControlsPanel, OtherStyleHasNoHeaderAndTheGradientCoversTheWholeHeight) {
    XPContainer panel = Panel(1, 10, 6, 11);
    panel.setBackLightColor(RgbColor(0, 100, 200));
    panel.setBackDarkColor(RgbColor(10, 0, 255));
    const Canvas c = panel.draw(kSystem);
    // Ten steps: red +1, green -10, blue +5.5 a row; 205.5 and 216.5 go to even.
    EXPECT_EQ(c.pixel(2, 1), MakePixel(1, 90, 206));
    EXPECT_EQ(c.pixel(2, 3), MakePixel(3, 70, 216));
    EXPECT_EQ(c.pixel(2, 9), MakePixel(9, 10, 250));
    EXPECT_EQ(c.pixel(4, 5), c.pixel(1, 5));  // full width, no column kept back
    EXPECT_FALSE(panel.headerVisible());
}

TEST(ControlsPanel, OneRowGradientKeepsColourA) {
    Canvas c(4, 1, 0);
    DrawPanelGradient(c, RgbColor(10, 20, 30), RgbColor(200, 200, 200), 0, 0, 1, 4);
    EXPECT_EQ(c.pixel(3, 0), MakePixel(10, 20, 30));
    // A Style 0 panel 26 high has a one-row measuring surface: its body row is colour A.
    XPContainer panel = Panel(0, 4, 40, 26);
    EXPECT_EQ(panel.draw(kSystem).pixel(20, 24), MakePixel(235, 245, 250));
}

TEST(ControlsPanel, ChannelsPast255ClampAndNegativeRowsAreSkipped) {
    Canvas c(3, 5, 0x123456);
    DrawPanelGradient(c, RgbColor(250, 100, 4), RgbColor(254, 100, 2), 0, 4, 3, 3);
    EXPECT_EQ(c.pixel(0, 2), MakePixel(254, 100, 2));
    EXPECT_EQ(c.pixel(0, 3), MakePixel(255, 100, 1));  // 256 counts as 255
    EXPECT_EQ(c.pixel(0, 4), MakePixel(255, 100, 0));  // 258 too
    Canvas d(3, 5, 0x123456);
    DrawPanelGradient(d, RgbColor(4, 0, 0), RgbColor(2, 0, 0), 0, 4, 3, 3);
    EXPECT_EQ(d.pixel(0, 4), MakePixel(0, 0, 0));
    Canvas e(3, 6, 0x123456);
    DrawPanelGradient(e, RgbColor(4, 0, 0), RgbColor(2, 0, 0), 0, 5, 3, 3);
    EXPECT_EQ(e.pixel(0, 5), 0x123456u);  // red would be -1: the line is not drawn
}

TEST(ControlsPanel, SystemColourReferencesAreTranslatedWhenDrawn) {
    XPContainer panel = Panel(1, 0, 10, 10);
    panel.setBorderColor(SystemColor(SysColor::Highlight));
    EXPECT_EQ(panel.draw(kSystem).pixel(0, 0), PixelOf(kSystem.rgb(SysColor::Highlight)));
}

TEST(ControlsPanel, ThemeAppliesThePresetThroughTheSettersInOrder) {
    XPContainer panel;
    std::vector<std::string> told;
    panel.setChangeListener([&](std::string_view name) { told.emplace_back(name); });
    panel.setTheme(4);
    EXPECT_EQ(told, (std::vector<std::string>{"Theme", "HeaderLightColor", "HeaderDarkColor", "BackLightColor",
                                              "BackDarkColor", "BorderColor", "TextColor"}));
    EXPECT_EQ(panel.HeaderLightColor(), RgbColor(200, 227, 241));
    EXPECT_EQ(panel.HeaderDarkColor(), RgbColor(146, 201, 228));
    EXPECT_EQ(panel.BackLightColor(), RgbColor(235, 245, 250));
    EXPECT_EQ(panel.BackDarkColor(), RgbColor(213, 234, 245));
    EXPECT_EQ(panel.BorderColor(), RgbColor(136, 196, 226));
    EXPECT_EQ(panel.TextColor(), RgbColor(0, 57, 85));
}

TEST(ControlsPanel, ThemeOutsideThePresetsChangesNothingButTheNumber) {
    XPContainer panel = Panel(0, 4, 50, 40);
    const Canvas before = panel.draw(kSystem);
    std::vector<std::string> told;
    panel.setChangeListener([&](std::string_view name) { told.emplace_back(name); });
    panel.setTheme(12);
    panel.setTheme(-1);
    EXPECT_EQ(panel.Theme(), -1);
    EXPECT_EQ(told, (std::vector<std::string>{"Theme", "Theme"}));
    EXPECT_EQ(panel.draw(kSystem).pixels(), before.pixels());
}

TEST(ControlsPanel, ZeroWidthKeepsTheHeaderStripSize) {
    XPContainer panel = Panel(0, 4, 100, 50);
    panel.resize(0, 50);
    EXPECT_EQ(panel.headerWidth(), 98);
    EXPECT_EQ(panel.draw(kSystem).width(), 0);
    panel.resize(60, 50);
    EXPECT_EQ(panel.headerWidth(), 58);
}

TEST(ControlsPanel, CaptionIsCentredInTheStripAfterTheStar) {
    const XPContainer panel = Panel(0, 4, 100, 50);
    EXPECT_EQ(panel.captionLeft(), 17);
    EXPECT_EQ(panel.captionTop(15), 5);  // (23 - 15) / 2 = 4 inside the strip
    EXPECT_EQ(panel.captionTop(14), 5);  // 4.5 goes to the even 4
}

}  // namespace
}  // namespace quillon::controls
