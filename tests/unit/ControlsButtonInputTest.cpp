#include <gtest/gtest.h>

#include "controls/isButton.h"

namespace quillon::controls {
namespace {

int Clicks(isButton& button, std::initializer_list<ButtonReaction (*)(isButton&)> inputs) {
    int clicks = 0;
    for (auto input : inputs) clicks += input(button).click ? 1 : 0;
    return clicks;
}

ButtonReaction Down(isButton& b) { return b.mouseDown(MouseButton::Left); }
ButtonReaction UpOver(isButton& b) { return b.mouseUp(MouseButton::Left, true); }
ButtonReaction UpOutside(isButton& b) { return b.mouseUp(MouseButton::Left, false); }
ButtonReaction SpaceDown(isButton& b) { return b.spaceDown(); }
ButtonReaction SpacePress(isButton& b) { return b.spacePress(); }
ButtonReaction SpaceUp(isButton& b) { return b.spaceUp(); }
ButtonReaction EnterDown(isButton& b) { return b.enterDown(); }

TEST(ControlsButtonInput, PressAndReleaseOverTheButtonClicksOnce) {
    isButton button;
    button.mouseMove(true);
    EXPECT_EQ(Down(button).click, false);
    EXPECT_EQ(button.state(), ButtonState::Pressed);
    EXPECT_EQ(UpOver(button).click, true);
    EXPECT_EQ(button.state(), ButtonState::Hot);
    EXPECT_EQ(Clicks(button, {Down, UpOutside}), 0);
    EXPECT_EQ(button.mouseDown(MouseButton::Right).repaint, false);
    EXPECT_EQ(button.mouseUp(MouseButton::Right, true).click, false);
}

TEST(ControlsButtonInput, DisabledButtonRaisesNoClickAndIgnoresInput) {
    isButton button;
    button.setEnabled(false);
    EXPECT_EQ(Clicks(button, {Down, UpOver, SpaceDown, SpacePress, SpaceUp, EnterDown}), 0);
    EXPECT_FALSE(button.mouseMove(true).mouseEnter);
    EXPECT_EQ(button.drawnState(), ButtonState::Disabled);
}

TEST(ControlsButtonInput, EnabledWriteReturnsToNormalAndForgetsTheMouse) {
    isButton button;
    std::vector<std::string> told;
    button.setChangeListener([&](std::string_view name, bool) { told.emplace_back(name); });
    button.mouseMove(true);
    button.setEnabled(false);
    button.setEnabled(true);
    EXPECT_EQ(button.state(), ButtonState::Normal);
    EXPECT_EQ(told, (std::vector<std::string>{"Enabled", "Enabled"}));
    EXPECT_TRUE(button.mouseMove(true).mouseEnter);  // the next entry counts again
}

TEST(ControlsButtonInput, ToggleButtonStaysInUntilClickedAgain) {
    isButton button;
    button.setButtonType(1);
    Down(button);
    button.mouseUp(MouseButton::Left, false);
    EXPECT_EQ(button.state(), ButtonState::Pressed);  // still out: stays pressed
    EXPECT_FALSE(button.Value());

    EXPECT_EQ(Clicks(button, {Down, UpOver}), 1);
    EXPECT_TRUE(button.Value());
    EXPECT_EQ(button.state(), ButtonState::Hot);
    EXPECT_EQ(button.drawnState(), ButtonState::Pressed);

    EXPECT_EQ(Clicks(button, {Down, UpOver}), 1);
    EXPECT_FALSE(button.Value());
    EXPECT_EQ(button.drawnState(), ButtonState::Hot);
}

TEST(ControlsButtonInput, MouseLeaveReturnsToNormalWhileFocused) {
    isButton button;
    button.focusChanged(true);
    const ButtonReaction entry = button.mouseMove(true);
    EXPECT_TRUE(entry.trackLeave && entry.createTooltip && entry.mouseEnter && entry.repaint);
    EXPECT_FALSE(button.mouseMove(true).repaint);  // only the first movement counts
    EXPECT_FALSE(button.drawsFocus());
    EXPECT_TRUE(button.mouseLeave().mouseLeave);
    EXPECT_EQ(button.state(), ButtonState::Normal);
    EXPECT_TRUE(button.drawsFocus());
    button.focusChanged(false);
    EXPECT_FALSE(button.drawsFocus());
}

TEST(ControlsButtonInput, WithoutLeaveTrackingTheButtonNeverGoesHot) {
    isButton button;
    const ButtonReaction reaction = button.mouseMove(false);
    EXPECT_FALSE(reaction.mouseEnter || reaction.repaint);
    EXPECT_EQ(button.state(), ButtonState::Normal);
}

TEST(ControlsButtonInput, SpaceKeyPressesAndClicksOnceOnRelease) {
    isButton button;
    button.focusChanged(true);
    UpOver(button);  // a left release remembered from earlier
    EXPECT_FALSE(SpaceDown(button).click);
    EXPECT_EQ(button.state(), ButtonState::Pressed);
    EXPECT_EQ(Clicks(button, {SpacePress, SpacePress}), 0);  // auto-repeat
    EXPECT_TRUE(SpaceUp(button).click);
    EXPECT_EQ(button.state(), ButtonState::Hot);
    EXPECT_FALSE(SpaceUp(button).click);
}

TEST(ControlsButtonInput, SpaceAndEnterFlipAToggleButtonOnceEachWay) {
    isButton button;
    button.setButtonType(1);
    EXPECT_EQ(Clicks(button, {SpaceDown, SpacePress, SpaceUp}), 1);
    EXPECT_TRUE(button.Value());
    EXPECT_EQ(Clicks(button, {SpaceDown, SpacePress, SpaceUp}), 1);
    EXPECT_FALSE(button.Value());
    EXPECT_EQ(Clicks(button, {EnterDown}), 1);
    EXPECT_TRUE(button.Value());
    EXPECT_EQ(button.state(), ButtonState::Hot);
}

TEST(ControlsButtonInput, FocusLossDropsAPendingSpaceClick) {
    isButton button;
    SpaceDown(button);
    SpacePress(button);
    button.focusChanged(false);
    EXPECT_FALSE(SpaceUp(button).click);
}

TEST(ControlsButtonInput, DoubleClickPressesAgainWithoutASecondClick) {
    isButton button;
    EXPECT_EQ(Clicks(button, {Down, UpOver}), 1);
    EXPECT_TRUE(button.doubleClick().repaint);
    EXPECT_EQ(button.state(), ButtonState::Pressed);
    EXPECT_FALSE(UpOver(button).click);
    EXPECT_EQ(button.state(), ButtonState::Hot);
}

}  // namespace
}  // namespace quillon::controls
