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

namespace {

std::int32_t AsInt(OleColor color) { return static_cast<std::int32_t>(color); }
OleColor AsColor(std::int32_t value) { return static_cast<OleColor>(value); }
constexpr int kArtworkCount = static_cast<int>(Artwork::Gears) + 1;

}  // namespace

void isButton::save(PropertyBag& bag) const {
    const isButton d;
    bag.writeUnlessDefault("Style", std::int32_t{style_}, std::int32_t{d.style_});
    // An empty caption is stored too, so that it does not come back as "isButton".
    bag.writeUnlessDefault("Caption", caption_, d.caption_);
    if (icon_.kind == ButtonIcon::Kind::Artwork) bag.write("Icon", static_cast<std::int32_t>(icon_.artwork));
    bag.writeUnlessDefault("IconSize", std::int32_t{iconSize_}, std::int32_t{d.iconSize_});
    bag.writeUnlessDefault("IconAlign", static_cast<std::int32_t>(iconAlign_), static_cast<std::int32_t>(d.iconAlign_));
    bag.writeUnlessDefault("IconVisible", iconVisible_, d.iconVisible_);
    bag.writeUnlessDefault("CaptionAlign", static_cast<std::int32_t>(captionAlign_),
                           static_cast<std::int32_t>(d.captionAlign_));
    bag.writeUnlessDefault("iNonThemeStyle", std::int32_t{nonThemeStyle_}, std::int32_t{d.nonThemeStyle_});
    bag.writeUnlessDefault("Enabled", enabled_, d.enabled_);
    bag.writeUnlessDefault("ShowFocus", showFocus_, d.showFocus_);
    bag.writeUnlessDefault("USeCustomColors", useCustomColors_, d.useCustomColors_);
    bag.writeUnlessDefault("BackColor", AsInt(backColor_), AsInt(d.backColor_));
    bag.writeUnlessDefault("HighlightColor", AsInt(highlightColor_), AsInt(d.highlightColor_));
    bag.writeUnlessDefault("FontColor", AsInt(fontColor_), AsInt(d.fontColor_));
    bag.writeUnlessDefault("FontHighlightColor", AsInt(fontHighlightColor_), AsInt(d.fontHighlightColor_));
    bag.writeUnlessDefault("ToolTipText", toolTip_, d.toolTip_);
    bag.write("Tooltiptitle", toolTipTitle_);
    bag.write("ToolTipIcon", std::int32_t{toolTipIcon_});
    bag.write("ToolTipType", std::int32_t{toolTipType_});
    bag.writeUnlessDefault("ttBackColor", AsInt(toolTipBackColor_), AsInt(d.toolTipBackColor_));
    bag.writeUnlessDefault("ttForeColor", AsInt(toolTipForeColor_), AsInt(d.toolTipForeColor_));
    bag.writeUnlessDefault("Font", font_, d.font_);
    bag.writeUnlessDefault("ButtonType", std::int32_t{buttonType_}, std::int32_t{d.buttonType_});
    bag.writeUnlessDefault("Value", value_, d.value_);
}

void isButton::load(const PropertyBag& bag) {
    const isButton d;
    style_ = bag.readOr("Style", std::int32_t{d.style_});
    caption_ = bag.readOr("Caption", d.caption_);
    const std::int32_t icon = bag.readOr("Icon", std::int32_t{-1});
    icon_ = icon >= 0 && icon < kArtworkCount ? ButtonIcon::of(static_cast<Artwork>(icon)) : ButtonIcon{};
    iconSize_ = bag.readOr("IconSize", std::int32_t{d.iconSize_});
    iconAlign_ = static_cast<Align>(bag.readOr("IconAlign", static_cast<std::int32_t>(d.iconAlign_)));
    iconVisible_ = bag.readOr("IconVisible", d.iconVisible_);
    captionAlign_ = static_cast<Align>(bag.readOr("CaptionAlign", static_cast<std::int32_t>(d.captionAlign_)));
    nonThemeStyle_ = bag.readOr("iNonThemeStyle", std::int32_t{d.nonThemeStyle_});
    enabled_ = bag.readOr("Enabled", d.enabled_);
    showFocus_ = bag.readOr("ShowFocus", d.showFocus_);
    useCustomColors_ = bag.readOr("USeCustomColors", d.useCustomColors_);
    backColor_ = AsColor(bag.readOr("BackColor", AsInt(d.backColor_)));
    highlightColor_ = AsColor(bag.readOr("HighlightColor", AsInt(d.highlightColor_)));
    fontColor_ = AsColor(bag.readOr("FontColor", AsInt(d.fontColor_)));
    fontHighlightColor_ = AsColor(bag.readOr("FontHighlightColor", AsInt(d.fontHighlightColor_)));
    toolTip_ = bag.readOr("ToolTipText", d.toolTip_);
    toolTipTitle_ = bag.readOr("Tooltiptitle", d.toolTipTitle_);
    toolTipIcon_ = bag.readOr("ToolTipIcon", std::int32_t{d.toolTipIcon_});
    toolTipType_ = bag.readOr("ToolTipType", std::int32_t{d.toolTipType_});
    toolTipBackColor_ = AsColor(bag.readOr("ttBackColor", AsInt(d.toolTipBackColor_)));
    toolTipForeColor_ = AsColor(bag.readOr("ttForeColor", AsInt(d.toolTipForeColor_)));
    font_ = bag.readOr("Font", d.font_);
    buttonType_ = bag.readOr("ButtonType", std::int32_t{d.buttonType_});
    value_ = bag.readOr("Value", d.value_);
}

}  // namespace quillon::controls
