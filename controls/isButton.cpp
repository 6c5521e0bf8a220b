#include "controls/isButton.h"

namespace quillon::controls {

isButton::isButton() = default;

void isButton::changed(std::string_view property, bool layout) {
    if (listener_) listener_(property, layout);
}

void isButton::setStyle(int style) {
    style_ = style;
    changed("Style", true);
}
void isButton::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption", true);
}
void isButton::setIcon(ButtonIcon icon) {
    icon_ = icon;
    changed("Icon", true);
}
void isButton::setIconSize(int size) {
    iconSize_ = size;
    changed("IconSize", true);
}
void isButton::setIconAlign(Align align) {
    iconAlign_ = align;
    changed("IconAlign", true);
}
void isButton::setIconVisible(bool visible) {
    iconVisible_ = visible;
    changed("IconVisible", false);
}
void isButton::setCaptionAlign(Align align) {
    captionAlign_ = align;
    changed("CaptionAlign", true);
}
void isButton::setNonThemeStyle(int style) {
    nonThemeStyle_ = style;
    changed("iNonThemeStyle", true);
}
void isButton::setEnabled(bool enabled) {
    state_ = ButtonState::Normal;
    enabled_ = enabled;
    // A disabled window hears no leave notification, so the next entry must count as new.
    mouseInside_ = false;
    armed_ = false;
    spaceClick_ = false;
    changed("Enabled", false);
}
void isButton::setShowFocus(bool show) {
    showFocus_ = show;
    changed("ShowFocus", false);
}
void isButton::setUseCustomColors(bool use) {
    useCustomColors_ = use;
    changed("USeCustomColors", false);
}
void isButton::setBackColor(OleColor color) {
    backColor_ = color;
    changed("BackColor", false);
}
void isButton::setHighlightColor(OleColor color) {
    highlightColor_ = color;
    changed("HighlightColor", false);
}
void isButton::setFontColor(OleColor color) {
    fontColor_ = color;
    changed("FontColor", false);
}
void isButton::setFontHighlightColor(OleColor color) {
    fontHighlightColor_ = color;
    changed("FontHighlightColor", false);
}
void isButton::setToolTip(std::string text) {
    toolTip_ = std::move(text);
    changed("ToolTipText", false);
}
void isButton::setToolTipTitle(std::string title) {
    toolTipTitle_ = std::move(title);
    changed("Tooltiptitle", false);
}
void isButton::setToolTipIcon(int icon) {
    toolTipIcon_ = icon;
    changed("ToolTipIcon", false);
}
void isButton::setToolTipType(int type) {
    toolTipType_ = type;
    changed("ToolTipType", false);
}
void isButton::setToolTipBackColor(OleColor color) {
    toolTipBackColor_ = color;
    changed("ttBackColor", false);
}
void isButton::setToolTipForeColor(OleColor color) {
    toolTipForeColor_ = color;
    changed("ttForeColor", false);
}
void isButton::setFont(FontChoice font) {
    font_ = std::move(font);
    changed("Font", false);
}
void isButton::setButtonType(int type) {
    buttonType_ = type;
    changed("ButtonType", false);
}
void isButton::setValue(bool value) {
    value_ = value;
    changed("Value", false);
}

}  // namespace quillon::controls
