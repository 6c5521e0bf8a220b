#pragma once
// The push button: its properties, persistence, input state machine and the
// pixels of every look. Caption text and pictures other than Quillon's own
// artwork are drawn by the window (controls/win32/ButtonWindow.h), which owns
// one of these and turns its window messages into the calls below.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Artwork.h"
#include "controls/Canvas.h"
#include "controls/Color.h"
#include "controls/FontChoice.h"

namespace quillon::controls {

enum class ButtonState { Normal = 1, Hot = 2, Pressed = 3, Disabled = 4 };
enum class Align { Center = 0, Left = 1, Right = 2, Top = 3, Bottom = 4 };
enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

// The picture on the button: none, one of Quillon's own, or one the window
// holds (an icon handle given by the caller), which is not persisted.
struct ButtonIcon {
    enum class Kind { None, Artwork, External } kind = Kind::None;
    Artwork artwork = Artwork::Star;
    static ButtonIcon of(Artwork which) { return {Kind::Artwork, which}; }
    static ButtonIcon external() { return {Kind::External, Artwork::Star}; }
    bool operator==(const ButtonIcon&) const = default;
};

// What the window has to do after an input; done in this order, Click last,
// since a click handler may do anything to the window.
struct ButtonReaction {
    bool trackLeave = false;     // ask for a one-time mouse-leave notification
    bool createTooltip = false;  // replace the tooltip window
    bool repaint = false;
    bool mouseEnter = false;
    bool mouseLeave = false;
    bool click = false;
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
};
struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// The window region of a look.
struct ButtonRegion {
    enum class Kind { Rectangle, Polygon, RoundRectangle } kind = Kind::Rectangle;
    std::vector<PixelPoint> points;  // polygon corners, filled alternately
    int corner = 0;                  // ellipse size of a rounded rectangle
    bool operator==(const ButtonRegion&) const = default;
};

class isButton {
public:
    static constexpr int kMinimumTwips = 300;

    // Told the persisted name of every property written; `layout` when the
    // write changes the layout (as a resize would), otherwise only a repaint.
    using ChangeListener = std::function<void(std::string_view property, bool layout)>;

    // A button as a loaded form gets it when nothing is stored (Style 3).
    isButton();
    void setChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

    int Style() const { return style_; }
    const std::string& Caption() const { return caption_; }
    const ButtonIcon& Icon() const { return icon_; }
    int IconSize() const { return iconSize_; }
    Align IconAlign() const { return iconAlign_; }
    bool IconVisible() const { return iconVisible_; }
    Align CaptionAlign() const { return captionAlign_; }
    int NonThemeStyle() const { return nonThemeStyle_; }
    bool Enabled() const { return enabled_; }
    bool ShowFocus() const { return showFocus_; }
    bool UseCustomColors() const { return useCustomColors_; }
    OleColor BackColor() const { return backColor_; }
    OleColor HighlightColor() const { return highlightColor_; }
    OleColor FontColor() const { return fontColor_; }
    OleColor FontHighlightColor() const { return fontHighlightColor_; }
    const std::string& ToolTip() const { return toolTip_; }
    const std::string& ToolTipTitle() const { return toolTipTitle_; }
    int ToolTipIcon() const { return toolTipIcon_; }
    int ToolTipType() const { return toolTipType_; }
    OleColor ToolTipBackColor() const { return toolTipBackColor_; }
    OleColor ToolTipForeColor() const { return toolTipForeColor_; }
    const FontChoice& Font() const { return font_; }
    int ButtonType() const { return buttonType_; }
    bool Value() const { return value_; }

    void setStyle(int style);
    void setCaption(std::string caption);
    void setIcon(ButtonIcon icon);
    void setIconSize(int size);
    void setIconAlign(Align align);
    void setIconVisible(bool visible);
    void setCaptionAlign(Align align);
    void setNonThemeStyle(int style);
    void setEnabled(bool enabled);  // also back to the normal state
    void setShowFocus(bool show);
    void setUseCustomColors(bool use);
    void setBackColor(OleColor color);
    void setHighlightColor(OleColor color);
    void setFontColor(OleColor color);
    void setFontHighlightColor(OleColor color);
    void setToolTip(std::string text);
    void setToolTipTitle(std::string title);
    void setToolTipIcon(int icon);
    void setToolTipType(int type);
    void setToolTipBackColor(OleColor color);
    void setToolTipForeColor(OleColor color);
    void setFont(FontChoice font);
    void setButtonType(int type);
    void setValue(bool value);


    // Input, as the window receives it. A disabled button ignores all of it.
    ButtonReaction mouseDown(MouseButton button);
    ButtonReaction mouseUp(MouseButton button, bool overButton);
    ButtonReaction doubleClick();
    ButtonReaction spaceDown();
    ButtonReaction spacePress();
    ButtonReaction spaceUp();
    ButtonReaction enterDown();  // Enter on a focused button clicks at once, as in a dialog
    ButtonReaction focusChanged(bool hasFocus);
    ButtonReaction mouseMove(bool leaveTrackingAvailable);
    ButtonReaction mouseLeave();
    // Style 6 cannot be drawn here: switch to NonThemeStyle for good.
    void visualStylesUnavailable();

    ButtonState state() const { return state_; }
    bool hasFocus() const { return hasFocus_; }
    bool mouseInside() const { return mouseInside_; }
    // The state a repaint draws: disabled, a toggled-in toggle button pressed.
    ButtonState drawnState() const;
    // The normal look with the focus frame on it.
    bool drawsFocus() const;

    // Layout of a w by h button, in pixels. The icon's margin follows the
    // screen's DPI (96 until told), as the caption's font does.
    void setDpi(int dpi) { dpi_ = dpi > 0 ? dpi : 96; }
    int iconMargin() const;
    PixelPoint iconPosition(int width, int height) const;
    static PixelRect textRect(int width, int height);
    // Where a caption `textWidth` pixels wide is drawn: the text rect, moved
    // left where a centred caption (its leading blanks clear the icon) would
    // end nearer the right edge than 2 pixels grown with the DPI.
    PixelRect captionRect(int width, int height, int textWidth) const;
    // The dotted frame of a focused button whose caption's text covers
    // columns [textLeft, textRight): inside the edge as the system's buttons
    // draw it, held out of the caption's way with a gap grown with the DPI,
    // and never over the button's border.
    PixelRect focusRect(int width, int height, int textLeft, int textRight) const;
    ButtonRegion region(int width, int height) const;
    // Size after the 300-twip minimum, for a screen of the given twips per pixel.
    static int enlarged(int pixels, int twipsPerPixel);

    // The look's pixels for a w by h button, with the artwork icon if one is set;
    // Style 6 gives only the face, on which the window draws the themed button.
    Canvas draw(int width, int height, const SystemColors& system) const;
    // The two halves of draw(), for a window that puts the caption between
    // them: the look, then the artwork icon over whatever is drawn by then.
    Canvas drawLook(int width, int height, const SystemColors& system) const;
    void drawIcon(Canvas& canvas) const;
    // Caption colour for the drawn state.
    OleColor captionColor(const SystemColors& system) const;

private:
    void changed(std::string_view property, bool layout);
    ButtonReaction performClick();

    int style_ = 3;
    std::string caption_ = "isButton";
    ButtonIcon icon_;
    int iconSize_ = 16;
    int dpi_ = 96;
    Align iconAlign_ = Align::Left;
    bool iconVisible_ = true;
    Align captionAlign_ = Align::Center;
    int nonThemeStyle_ = 5;
    bool enabled_ = true;
    bool showFocus_ = false;
    bool useCustomColors_ = false;
    OleColor backColor_ = SystemColor(SysColor::ButtonFace);
    OleColor highlightColor_ = SystemColor(SysColor::Highlight);
    OleColor fontColor_ = SystemColor(SysColor::ButtonText);
    OleColor fontHighlightColor_ = SystemColor(SysColor::ButtonText);
    std::string toolTip_;
    std::string toolTipTitle_;
    int toolTipIcon_ = 0;
    int toolTipType_ = 1;
    OleColor toolTipBackColor_ = SystemColor(SysColor::InfoBackground);
    OleColor toolTipForeColor_ = SystemColor(SysColor::InfoText);
    FontChoice font_{"Verdana", 8.25, false};
    int buttonType_ = 0;
    bool value_ = false;

    ButtonState state_ = ButtonState::Normal;
    bool hasFocus_ = false;
    bool mouseInside_ = false;
    bool armed_ = false;          // left button went down on the button
    bool spaceClick_ = false;     // Space was typed; its release clicks
    MouseButton lastReleased_ = MouseButton::None;
    ChangeListener listener_;
};

// Draws the Style 5 look (and Style 7, its silver sibling) on a canvas.
void DrawStyle5(Canvas& canvas, const isButton& button, const SystemColors& system);

}  // namespace quillon::controls
