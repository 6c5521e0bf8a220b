#include <gtest/gtest.h>

#include "controls/isButton.h"

namespace quillon::controls {
namespace {

TEST(ControlsButtonProperties, LoadedWithoutValuesTakesTheDefaults) {
    MemoryPropertyBag empty;
    isButton button;
    button.setStyle(5);
    button.setCaption("x");
    button.load(empty);
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

TEST(ControlsButtonProperties, SaveWritesOnlyChangesAndTheThreeTooltipSettings) {
    MemoryPropertyBag bag;
    isButton().save(bag);
    std::vector<std::string> names;
    for (const auto& [name, value] : bag.values()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"ToolTipIcon", "ToolTipType", "Tooltiptitle"}));
}

TEST(ControlsButtonProperties, RoundTripKeepsEveryChangedProperty) {
    isButton button;
    button.setStyle(5);
    button.setCaption("           Optimize");
    button.setIcon(ButtonIcon::of(Artwork::Optimize));
    button.setIconSize(32);
    button.setCaptionAlign(Align::Right);
    button.setFont({"Arial", 9, true});
    button.setEnabled(false);
    button.setButtonType(1);
    button.setValue(true);
    button.setToolTipForeColor(RgbColor(1, 2, 3));
    MemoryPropertyBag bag;
    button.save(bag);
    EXPECT_EQ(std::get<std::int32_t>(*bag.read("Style")), 5);
    EXPECT_TRUE(bag.read("ttForeColor").has_value());
    isButton loaded;
    loaded.load(bag);
    EXPECT_EQ(loaded.Style(), 5);
    EXPECT_EQ(loaded.Caption(), "           Optimize");
    EXPECT_EQ(loaded.Icon(), ButtonIcon::of(Artwork::Optimize));
    EXPECT_EQ(loaded.IconSize(), 32);
    EXPECT_EQ(loaded.CaptionAlign(), Align::Right);
    EXPECT_EQ(loaded.Font(), (FontChoice{"Arial", 9, true}));
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_TRUE(loaded.Value());
    EXPECT_EQ(loaded.ToolTipForeColor(), RgbColor(1, 2, 3));
}

TEST(ControlsButtonProperties, EmptyCaptionSurvivesSaveAndLoad) {
    isButton button;
    button.setCaption("");
    MemoryPropertyBag bag;
    button.save(bag);
    isButton loaded;
    loaded.load(bag);
    EXPECT_EQ(loaded.Caption(), "");
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
