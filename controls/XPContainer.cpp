#include "controls/XPContainer.h"

#include "controls/Rounding.h"

namespace quillon::controls {

XPContainer::XPContainer() : colors_(XPContainerTheme(0)) {}

void XPContainer::changed(std::string_view property) {
    if (listener_) listener_(property);
}

void XPContainer::setBackDarkColor(OleColor color) {
    colors_.backDark = color;
    changed("BackDarkColor");
}
void XPContainer::setBackLightColor(OleColor color) {
    colors_.backLight = color;
    changed("BackLightColor");
}
void XPContainer::setBorderColor(OleColor color) {
    colors_.border = color;
    changed("BorderColor");
}
void XPContainer::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}
void XPContainer::setHeaderDarkColor(OleColor color) {
    colors_.headerDark = color;
    changed("HeaderDarkColor");
}
void XPContainer::setHeaderLightColor(OleColor color) {
    colors_.headerLight = color;
    changed("HeaderLightColor");
}
void XPContainer::setStyle(int style) {
    style_ = style;
    changed("Style");
}
void XPContainer::setTextColor(OleColor color) {
    colors_.text = color;
    changed("TextColor");
}

void XPContainer::setTheme(int theme) {
    theme_ = theme;
    changed("Theme");
    if (theme < 0 || theme >= kXPContainerThemeCount) return;
    const XPContainerColors& preset = XPContainerTheme(theme);
    setHeaderLightColor(preset.headerLight);
    setHeaderDarkColor(preset.headerDark);
    setBackLightColor(preset.backLight);
    setBackDarkColor(preset.backDark);
    setBorderColor(preset.border);
    setTextColor(preset.text);
}

void XPContainer::resize(int width, int height) {
    width_ = width;
    height_ = height;
    if (width == 0) return;
    headerWidth_ = width - 2;
    bodyWidth_ = headerWidth_;
    bodyHeight_ = height - (headerHeight() + 2);
}

int XPContainer::captionTop(int labelHeight) const {
    return 1 + static_cast<int>(RoundHalfEven(headerHeight() - labelHeight, 2));
}

}  // namespace quillon::controls
