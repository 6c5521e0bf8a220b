#pragma once
// What frmMain holds: every control with its container, place, size, caption
// and font. Places are twips from the container's top-left corner; the window
// realises them at the screen's DPI, 15 twips to a pixel at 96 and 12 at 120
// (Large Fonts), as its fonts grow. Captions are UTF-8.
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "engine/Form.h"

namespace quillon::layout {

constexpr int kTwipsPerInch = 1440;
constexpr int Pixels(int twips, int dpi) { return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch; }
constexpr int Pixels(int twips) { return Pixels(twips, 96); }

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class Font { Standard, Arial9, Arial9Bold, Arial10Bold, Verdana8 };  // Arial10Bold is 10.5 pt

// The panels, containers before what they contain.
enum class Panel {
    Main,         // XPCMain
    Security,     // XPCSecurity
    Service,      // XPCService
    Wight,        // XPCWight, the Speed page
    Startup,      // XPCStartup
    System,       // XPCSystem
    IeSettings,   // XPContainer1
    Display,      // XPContainer6
    StartMenu,    // XPContainer2
    Other,        // XPContainer7
    Preread,      // XPContainer4
    Cache,        // XPContainer5
};
constexpr int kPanelCount = 12;

struct PanelPlace {
    Panel panel;
    std::string_view name;
    std::optional<Panel> parent;  // none: the window itself
    Rect rect;
    int style;  // 0 header and body, 1 body only
    int theme;  // colour preset
    std::optional<Page> page;  // the page a page panel stands for
};

struct Window {
    std::string_view caption;
    int width;   // twips
    int height;
};
inline constexpr Window kWindow{"Quillon", 10915, 7410};

// The themed push buttons' artwork.
enum class Icon { None, Auto, System, Security, Startup, Speed, Services, Suggest, Redo, Optimize, Exit };

struct ButtonPlace {
    std::string_view name;
    std::optional<Button> button;  // none: cmdBrowse, which the run never locks
    Panel parent;
    std::string_view caption;      // the leading blanks clear the icon
    Rect rect;
    Font font;
    Icon icon;
};

struct CheckBoxPlace {
    int index;
    Panel parent;
    int left, top;            // the box; 195 by 210
    std::string_view caption; // the label beside it
    int labelLeft, labelTop;
    bool hidden = false;
    Font labelFont = Font::Arial9;  // chk 35's label alone has none of its own
};
constexpr int kCheckBoxWidth = 195;
constexpr int kCheckBoxHeight = 210;

struct OptionPlace {
    int left, top;  // 195 by 180, in XPContainer5
    std::string_view caption;
    int labelLeft, labelTop;
};
constexpr int kOptionWidth = 195;
constexpr int kOptionHeight = 180;

enum class Align { Left, Centre };

struct LabelPlace {
    std::optional<Label> label;  // none: a fixed caption nobody changes
    Panel parent;
    Rect rect;                   // width 0: sized to its text
    std::string_view caption;
    Font font;
    Align align = Align::Left;
    bool autoSize = true;        // a centred label with a width keeps its centre
};

struct ListPlace {
    CheckList list;
    Panel parent;
    Rect rect;
    Font font;
};

struct ComboPlace {
    Combo combo;
    Panel parent;
    Rect rect;
    Font font;
    std::array<std::string_view, 2> items;
};

struct PlainPlace {  // txtPath, Shape2 and Picture1
    Panel parent;
    Rect rect;
};

std::span<const PanelPlace> Panels();
const PanelPlace& PanelOf(Panel panel);
const PanelPlace& PanelOf(Page page);
std::span<const ButtonPlace> Buttons();  // the ten, then cmdBrowse
const ButtonPlace& ButtonOf(Button button);
const ButtonPlace& BrowseButton();
std::span<const CheckBoxPlace> CheckBoxes();  // by index, 0 to 76
std::span<const OptionPlace> Options();        // Opt 0 to 4
std::span<const LabelPlace> Labels();
std::span<const ListPlace> Lists();
std::span<const ComboPlace> Combos();
const ComboPlace& ComboOf(Combo combo);

inline constexpr PlainPlace kTxtPath{Panel::IeSettings, {180, 2670, 3255, 255}};
inline constexpr Font kTxtPathFont = Font::Arial9;
inline constexpr PlainPlace kShape2{Panel::Main, {0, 7200, kProgressInitial, 195}};
inline constexpr PlainPlace kPicture1{Panel::System, {3480, 180, 6765, 1155}};
inline constexpr Panel kOptionPanel = Panel::Cache;

struct Colour {
    int red, green, blue;
};
inline constexpr Colour kShape2Fill{162, 205, 240};
inline constexpr Colour kOptionBack{240, 241, 243};

}  // namespace quillon::layout
