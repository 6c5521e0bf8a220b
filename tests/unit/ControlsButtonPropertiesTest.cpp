#include <gtest/gtest.h>

#include "controls/isButton.h"

namespace quillon::controls {
namespace {

TEST(ControlsButtonProperties, ANewButtonHoldsTheDefaults) {
    const isButton button;
    EXPECT_EQ(button.Style(), 3);
    EXPECT_EQ(button.Caption(), "isButton");
    EXPECT_EQ(button.IconSize(), 16);
    EXPECT_EQ(button.IconAlign(), Align::Left);
    EXPECT_EQ(button.NonThemeStyle(), 5);
    EXPECT_EQ(button.ToolTipType(), 1);
    EXPECT_EQ(button.Font(), (FontChoice{"Verdana", 8.25, false}));
    EXPECT_EQ(button.BackColor(), SystemColor(SysColor::ButtonFace));
    EXPECT_EQ(button.Icon().kind, ButtonIcon::Kind::None);
}

TEST(ControlsButtonProperties, LayoutChangingWritesAskForALayout) {
    isButton button;
    std::vector<std::pair<std::string, bool>> told;
    button.setChangeListener([&](std::string_view name, bool layout) { told.emplace_back(name, layout); });
    button.setCaption("a");
    button.setIconVisible(false);
    button.setNonThemeStyle(2);
    EXPECT_EQ(told, (std::vector<std::pair<std::string, bool>>{
                        {"Caption", true}, {"IconVisible", false}, {"iNonThemeStyle", true}}));
}

TEST(ControlsButtonProperties, TooltipColoursDefaultToTheSystemTooltipColours) {
    const isButton button;
    EXPECT_EQ(button.ToolTipBackColor(), SystemColor(SysColor::InfoBackground));
    EXPECT_EQ(button.ToolTipForeColor(), SystemColor(SysColor::InfoText));
}

}  // namespace
}  // namespace quillon::controls
