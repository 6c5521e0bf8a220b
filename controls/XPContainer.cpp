#include "controls/XPContainer.h"

#include "controls/PropertyBag.h"
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

namespace {

std::int32_t AsInt(OleColor color) { return static_cast<std::int32_t>(color); }
OleColor AsColor(std::int32_t value) { return static_cast<OleColor>(value); }

}  // namespace

void XPContainer::save(PropertyBag& bag) const {
    const XPContainerColors& d = XPContainerTheme(0);
    bag.writeUnlessDefault("BackDarkColor", AsInt(colors_.backDark), AsInt(d.backDark));
    bag.writeUnlessDefault("BackLightColor", AsInt(colors_.backLight), AsInt(d.backLight));
    bag.writeUnlessDefault("BorderColor", AsInt(colors_.border), AsInt(d.border));
    bag.writeUnlessDefault("Caption", caption_, std::string("XPContainer"));
    bag.writeUnlessDefault("HeaderDarkColor", AsInt(colors_.headerDark), AsInt(d.headerDark));
    bag.writeUnlessDefault("HeaderLightColor", AsInt(colors_.headerLight), AsInt(d.headerLight));
    bag.writeUnlessDefault("Style", std::int32_t{style_}, std::int32_t{0});
    bag.writeUnlessDefault("TextColor", AsInt(colors_.text), AsInt(d.text));
    bag.writeUnlessDefault("Theme", std::int32_t{theme_}, std::int32_t{0});
}

void XPContainer::load(const PropertyBag& bag) {
    const XPContainerColors& d = XPContainerTheme(0);
    colors_.backDark = AsColor(bag.readOr("BackDarkColor", AsInt(d.backDark)));
    colors_.backLight = AsColor(bag.readOr("BackLightColor", AsInt(d.backLight)));
    colors_.border = AsColor(bag.readOr("BorderColor", AsInt(d.border)));
    caption_ = bag.readOr("Caption", std::string("XPContainer"));
    colors_.headerDark = AsColor(bag.readOr("HeaderDarkColor", AsInt(d.headerDark)));
    colors_.headerLight = AsColor(bag.readOr("HeaderLightColor", AsInt(d.headerLight)));
    style_ = bag.readOr("Style", std::int32_t{0});
    colors_.text = AsColor(bag.readOr("TextColor", AsInt(d.text)));
    theme_ = bag.readOr("Theme", std::int32_t{0});
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
