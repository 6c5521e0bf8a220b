#pragma once
// The gradient panel: its properties, colour presets, persistence and drawing.
// The window that shows it (controls/win32/PanelWindow.h) owns one of these,
// forwards its size, paints what draw() produces and adds the caption text.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "controls/Canvas.h"
#include "controls/Color.h"

namespace quillon::controls {


struct XPContainerColors {
    OleColor headerLight, headerDark, backLight, backDark, border, text;
};

constexpr int kXPContainerThemeCount = 12;
const XPContainerColors& XPContainerTheme(int theme);  // theme 0..11

class XPContainer {
public:
    // At 96 DPI; setDpi scales them as the caption's font grows.
    static constexpr int kHeaderHeight = 23;
    static constexpr int kCaptionLeft = 16;  // within the header strip
    static constexpr int kStarLeft = 4, kStarTop = 2, kStarSize = 16;

    // Told the persisted name of every property written, after it is stored.
    using ChangeListener = std::function<void(std::string_view property)>;

    XPContainer();
    void setChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

    OleColor BackDarkColor() const { return colors_.backDark; }
    OleColor BackLightColor() const { return colors_.backLight; }
    OleColor BorderColor() const { return colors_.border; }
    const std::string& Caption() const { return caption_; }
    OleColor HeaderDarkColor() const { return colors_.headerDark; }
    OleColor HeaderLightColor() const { return colors_.headerLight; }
    int Style() const { return style_; }
    OleColor TextColor() const { return colors_.text; }
    int Theme() const { return theme_; }

    void setBackDarkColor(OleColor color);
    void setBackLightColor(OleColor color);
    void setBorderColor(OleColor color);
    void setCaption(std::string caption);
    void setHeaderDarkColor(OleColor color);
    void setHeaderLightColor(OleColor color);
    void setStyle(int style);
    void setTextColor(OleColor color);
    // Applies the preset's six colours through their setters; other numbers
    // only store the number.
    void setTheme(int theme);


    // The screen's DPI, which the header strip, star and caption place follow;
    // 96 until told. Call before resize.
    void setDpi(int dpi) { dpi_ = dpi > 0 ? dpi : 96; }
    int headerHeight() const { return scaled(kHeaderHeight); }

    // A zero width keeps the header strip and measuring surface as they were.
    void resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool headerVisible() const { return style_ == 0; }
    int headerWidth() const { return headerWidth_; }
    // Top of a caption of the given height, in panel pixels.
    int captionTop(int labelHeight) const;
    int captionLeft() const { return 1 + scaled(kCaptionLeft); }

    // The whole panel surface, header strip and star included, without the caption text.
    Canvas draw(const SystemColors& system) const;

private:
    int scaled(int pixels) const { return (pixels * dpi_ + 48) / 96; }
    void changed(std::string_view property);
    void drawBody(Canvas& canvas, const SystemColors& system) const;
    void drawBorder(Canvas& canvas, const SystemColors& system) const;
    Canvas drawHeader(const SystemColors& system) const;

    XPContainerColors colors_;
    std::string caption_ = "XPContainer";
    int style_ = 0;
    int theme_ = 0;
    int width_ = 0;
    int height_ = 0;
    int headerWidth_ = 0;
    int dpi_ = 96;
    int bodyWidth_ = 0;   // the hidden measuring surface
    int bodyHeight_ = 0;
    ChangeListener listener_;
};

// Fills rows firstRow..lastRow of a canvas from colour a towards colour b
// (both red-green-blue), reaching b on row firstRow + stepHeight - 1. A row
// with a channel below 0 is skipped; channels above 255 count as 255.
void DrawPanelGradient(Canvas& canvas, OleColor a, OleColor b, int firstRow, int lastRow, int stepHeight,
                       int lineWidth);

}  // namespace quillon::controls
