#include "controls/isButton.h"

namespace quillon::controls {
namespace {

ButtonReaction Repaint() {
    ButtonReaction reaction;
    reaction.repaint = true;
    return reaction;
}

}  // namespace

ButtonReaction isButton::mouseDown(MouseButton button) {
    if (!enabled_ || button != MouseButton::Left) return {};
    state_ = ButtonState::Pressed;
    armed_ = true;
    return Repaint();
}

ButtonReaction isButton::mouseUp(MouseButton button, bool overButton) {
    if (!enabled_) return {};
    // A toggle button that is still out stays in until its click flips it.
    if (!(buttonType_ == 1 && !value_)) state_ = ButtonState::Hot;
    lastReleased_ = button;
    const bool clicks = armed_ && overButton && button == MouseButton::Left;
    armed_ = false;
    if (clicks) return performClick();
    return Repaint();
}

ButtonReaction isButton::performClick() {
    if (buttonType_ == 1) {
        value_ = !value_;
        state_ = ButtonState::Hot;
    }
    ButtonReaction reaction = Repaint();
    reaction.click = true;
    return reaction;
}

ButtonReaction isButton::doubleClick() {
    // The second press of a double click gives no second Click.
    if (!enabled_ || lastReleased_ != MouseButton::Left) return {};
    state_ = ButtonState::Pressed;
    return Repaint();
}

ButtonReaction isButton::spaceDown() {
    if (!enabled_) return {};
    state_ = ButtonState::Pressed;
    return Repaint();
}

ButtonReaction isButton::spacePress() {
    if (!enabled_) return {};
    spaceClick_ = true;
    return {};
}

ButtonReaction isButton::spaceUp() {
    if (!enabled_) return {};
    if (!(buttonType_ == 1 && !value_)) state_ = ButtonState::Hot;
    lastReleased_ = MouseButton::Left;
    // One press of the key is one Click, raised once the key is let go.
    if (spaceClick_) {
        spaceClick_ = false;
        return performClick();
    }
    return Repaint();
}

ButtonReaction isButton::enterDown() {
    if (!enabled_) return {};
    return performClick();
}

ButtonReaction isButton::focusChanged(bool hasFocus) {
    hasFocus_ = hasFocus;
    if (!hasFocus) spaceClick_ = false;
    return Repaint();
}

ButtonReaction isButton::mouseMove(bool leaveTrackingAvailable) {
    if (!enabled_ || !leaveTrackingAvailable || mouseInside_) return {};
    mouseInside_ = true;
    state_ = ButtonState::Hot;
    ButtonReaction reaction = Repaint();
    reaction.trackLeave = true;
    reaction.mouseEnter = true;
    reaction.createTooltip = true;
    return reaction;
}

ButtonReaction isButton::mouseLeave() {
    mouseInside_ = false;
    if (!enabled_) return {};
    state_ = ButtonState::Normal;
    ButtonReaction reaction = Repaint();
    reaction.mouseLeave = true;
    return reaction;
}

void isButton::visualStylesUnavailable() {
    if (style_ != 6) return;
    // A NonThemeStyle of 6 would ask for the same again.
    setStyle(nonThemeStyle_ == 6 ? 5 : nonThemeStyle_);
}

ButtonState isButton::drawnState() const {
    if (!enabled_) return ButtonState::Disabled;
    if (buttonType_ == 1 && value_) return ButtonState::Pressed;
    return state_;
}

bool isButton::drawsFocus() const { return hasFocus_ && drawnState() == ButtonState::Normal; }

}  // namespace quillon::controls
