#include "window/Layout.h"

#include <stdexcept>

#include "words/BoxWords.h"

namespace quillon::layout {
namespace {

using enum Panel;

constexpr std::string_view Caption(int box) { return words::kBoxes[box].caption; }

constexpr Rect kPageRect{180, 1170, 10515, 5265};

constexpr std::array<PanelPlace, kPanelCount> kPanels{{
    {Main, "XPCMain", std::nullopt, {15, 15, 10905, 7395}, 0, 4, std::nullopt},
    {Security, "XPCSecurity", Main, kPageRect, 1, 10, Page::Security},
    {Service, "XPCService", Main, kPageRect, 1, 10, Page::Services},
    {Wight, "XPCWight", Main, kPageRect, 1, 10, Page::Speed},
    {Startup, "XPCStartup", Main, kPageRect, 1, 10, Page::Startup},
    {System, "XPCSystem", Main, kPageRect, 1, 10, Page::System},
    {IeSettings, "XPContainer1", Security, {210, 150, 4335, 4935}, 1, 10, std::nullopt},
    {Display, "XPContainer6", Security, {4620, 150, 2925, 1875}, 1, 10, std::nullopt},
    {StartMenu, "XPContainer2", Security, {7620, 150, 2745, 1875}, 1, 10, std::nullopt},
    {Other, "XPContainer7", Security, {4620, 2130, 5745, 2955}, 1, 10, std::nullopt},
    {Preread, "XPContainer4", System, {270, 180, 2745, 1215}, 1, 10, std::nullopt},
    {Cache, "XPContainer5", System, {6930, 4170, 3225, 615}, 1, 10, std::nullopt},
}};

constexpr Rect kTopButton(int left) { return {left, 450, 1335, 615}; }
constexpr Rect kBottomButton(int left) { return {left, 6540, 1815, 615}; }

// In the order of the Button enumeration, cmdBrowse last.
constexpr std::array<ButtonPlace, 11> kButtons{{
    {"cmdRedo", Button::Redo, Main, "           Reset", kBottomButton(2070), Font::Arial9, Icon::Redo},
    {"cmdSuggest", Button::Suggest, Main, "           Recommand", kBottomButton(240), Font::Arial9, Icon::Suggest},
    {"cmdOptimize", Button::Optimize, Main, "           Optimize", kBottomButton(3900), Font::Arial9, Icon::Optimize},
    {"cmdExit", Button::Exit, Main, "           Exit", kBottomButton(8850), Font::Arial9, Icon::Exit},
    {"cmdAuto", Button::Auto, Main, "          Auto Optimize", {210, 450, 1875, 615}, Font::Arial9Bold, Icon::Auto},
    {"cmdSystem", Button::System, Main, "           System", kTopButton(3930), Font::Arial9Bold, Icon::System},
    {"cmdSecurity", Button::Security, Main, "           Security", kTopButton(5280), Font::Arial9Bold,
     Icon::Security},
    {"cmdStartup", Button::Startup, Main, "           Startup", kTopButton(6630), Font::Arial9Bold, Icon::Startup},
    {"cmdservice", Button::Service, Main, "           Services", kTopButton(9330), Font::Arial9Bold,
     Icon::Services},
    {"cmdWight", Button::Wight, Main, "           Speed", kTopButton(7980), Font::Arial9Bold, Icon::Speed},
    {"cmdBrowse", std::nullopt, IeSettings, "...", {3480, 2640, 555, 300}, Font::Verdana8, Icon::None},
}};

constexpr std::array<CheckBoxPlace, kCheckBoxCount> kCheckBoxes{{
    {0, IeSettings, 240, 450, Caption(0), 540, 450},
    {1, IeSettings, 240, 720, Caption(1), 540, 720},
    {2, IeSettings, 240, 990, Caption(2), 540, 990},
    {3, IeSettings, 240, 1260, Caption(3), 540, 1260},
    {4, IeSettings, 240, 1530, Caption(4), 540, 1530},
    {5, IeSettings, 240, 1800, Caption(5), 540, 1800},
    {6, IeSettings, 240, 2070, Caption(6), 540, 2070},
    {7, IeSettings, 2190, 450, Caption(7), 2490, 450},
    {8, IeSettings, 2190, 720, Caption(8), 2490, 720},
    {9, IeSettings, 2190, 990, Caption(9), 2490, 990},
    {10, IeSettings, 2190, 1260, Caption(10), 2490, 1260},
    {11, IeSettings, 2190, 1530, Caption(11), 2490, 1530},
    {12, IeSettings, 2190, 1800, Caption(12), 2490, 1800},
    {13, IeSettings, 2190, 2070, Caption(13), 2490, 2070},
    {14, Display, 360, 450, Caption(14), 660, 420},
    {15, Display, 360, 720, Caption(15), 660, 690},
    {16, Display, 360, 990, Caption(16), 660, 960},
    {17, Display, 360, 1260, Caption(17), 660, 1230},
    {18, Display, 360, 1530, Caption(18), 660, 1500},
    {19, StartMenu, 240, 450, Caption(19), 510, 420},
    {20, StartMenu, 240, 720, Caption(20), 510, 690},
    {21, StartMenu, 240, 990, Caption(21), 510, 960},
    {22, StartMenu, 240, 1260, Caption(22), 510, 1230},
    {23, StartMenu, 240, 1530, Caption(23), 510, 1500},
    {24, Other, 150, 450, Caption(24), 420, 450},
    {25, Other, 150, 720, Caption(25), 420, 720},
    {26, Other, 3150, 2310, Caption(26), 3420, 2310, true},
    {27, Other, 150, 2070, Caption(27), 420, 2070},
    {28, Other, 150, 2340, Caption(28), 420, 2340},
    {29, Other, 2550, 1800, Caption(29), 2820, 1800},
    {30, Other, 150, 990, Caption(30), 420, 990},
    {31, Other, 150, 1260, Caption(31), 420, 1260},
    {32, Other, 150, 2610, Caption(32), 420, 2610},
    {33, Other, 2550, 450, Caption(33), 2820, 450},
    {34, Other, 2550, 720, Caption(34), 2820, 720},
    {35, Other, 3330, 120, Caption(35), 3600, 120, true, Font::Standard},
    {36, Other, 2550, 990, Caption(36), 2820, 990},
    {37, Other, 2550, 1260, Caption(37), 2820, 1260},
    {38, Other, 2550, 1530, Caption(38), 2820, 1530},
    {39, Other, 150, 1530, Caption(39), 420, 1530},
    {40, Other, 150, 1800, Caption(40), 420, 1800},
    {41, Wight, 3540, 1500, Caption(41), 3810, 1500},
    {42, Wight, 3540, 1830, Caption(42), 3810, 1830},
    {43, System, 270, 2610, Caption(43), 540, 2610},
    {44, System, 270, 2940, Caption(44), 540, 2940},
    {45, Wight, 3540, 2160, Caption(45), 3810, 2160},
    {46, Wight, 3540, 2490, Caption(46), 3810, 2490},
    {47, System, 270, 3270, Caption(47), 540, 3270},
    {48, System, 270, 3600, Caption(48), 540, 3600},
    {49, System, 270, 3930, Caption(49), 540, 3930},
    {50, System, 270, 4260, Caption(50), 540, 4260},
    {51, System, 270, 4590, Caption(51), 540, 4590},
    {52, Wight, 3540, 2820, Caption(52), 3810, 2820},
    {53, System, 270, 4920, Caption(53), 540, 4920},
    {54, System, 270, 2280, Caption(54), 540, 2280},
    {55, System, 270, 1950, Caption(55), 540, 1950},
    {56, System, 270, 1590, Caption(56), 570, 1590},
    {57, System, 4170, 2580, Caption(57), 4440, 2550},
    {58, System, 4170, 2910, Caption(58), 4440, 2880},
    {59, System, 4170, 3270, Caption(59), 4440, 3240},
    {60, System, 4170, 3570, Caption(60), 4440, 3540},
    {61, System, 4170, 3900, Caption(61), 4440, 3870},
    {62, System, 4170, 4230, Caption(62), 4440, 4200},
    {63, System, 4170, 4560, Caption(63), 4440, 4530},
    {64, System, 4170, 4890, Caption(64), 4440, 4860},
    {65, System, 4170, 2250, Caption(65), 4440, 2220},
    {66, System, 4170, 1920, Caption(66), 4440, 1890},
    {67, System, 4170, 1590, Caption(67), 4440, 1560},
    {68, System, 6930, 1590, Caption(68), 7200, 1560},
    {69, System, 6930, 1920, Caption(69), 7200, 1890},
    {70, System, 6930, 2250, Caption(70), 7200, 2220},
    {71, System, 6930, 2580, Caption(71), 7200, 2550},
    {72, System, 6930, 2910, Caption(72), 7200, 2880},
    {73, System, 6930, 3240, Caption(73), 7200, 3210},
    {74, System, 6930, 3570, Caption(74), 7200, 3540},
    {75, System, 6930, 3900, Caption(75), 7200, 3870},
    {76, System, 6930, 4890, Caption(76), 7200, 4860},
}};

constexpr std::array<OptionPlace, kOptionCount> kOptions{{
    {210, 90, words::kOptionCaptions[0], 480, 60},
    {1260, 90, words::kOptionCaptions[1], 1470, 60},
    {2310, 90, words::kOptionCaptions[2], 2580, 60},
    {660, 360, words::kOptionCaptions[3], 930, 330},
    {1710, 360, words::kOptionCaptions[4], 1950, 330},
}};

constexpr std::array<LabelPlace, 13> kLabels{{
    {Label::Caption, Main, {2550, 660, 900, 240}, "[System]", Font::Arial10Bold, Align::Centre},
    {Label::Wait, Main, {7650, 6660, 60, 225}, "", Font::Arial9, Align::Centre},
    {Label::Info, Service, {300, 4770, 9900, 360}, "", Font::Arial9, Align::Left, false},
    {std::nullopt, Preread, {690, 150, 1275, 225}, words::kPrereadLabel, Font::Arial9},
    {std::nullopt, IeSettings, {1620, 120, 0, 225}, "IE Settings", Font::Arial9Bold, Align::Centre},
    {std::nullopt, Display, {690, 120, 0, 225}, "Display Properties", Font::Arial9Bold, Align::Centre},
    {std::nullopt, StartMenu, {960, 120, 0, 225}, "Start Menu", Font::Arial9Bold, Align::Centre},
    {std::nullopt, Other, {2520, 120, 0, 225}, "Other", Font::Arial9Bold, Align::Centre},
    {std::nullopt, IeSettings, {180, 2400, 1965, 225}, words::kDownloadLabel, Font::Arial9},
    {std::nullopt, IeSettings, {180, 3060, 900, 225}, words::kHideDriveLabel, Font::Arial9},
    {std::nullopt, IeSettings, {2340, 3060, 1260, 225}, words::kNotDriveLabel, Font::Arial9},
    {std::nullopt, Service, {3450, 210, 3780, 225}, "These services will be STOP after optimizing",
     Font::Arial9Bold},
    {std::nullopt, Startup, {2865, 330, 4590, 225}, "Remove applications auto start with Windows starting",
     Font::Arial9Bold, Align::Centre},
}};

constexpr std::array<ListPlace, 4> kLists{{
    {CheckList::Hide, IeSettings, {180, 3300, 1755, 1305}, Font::Arial9},
    {CheckList::Not, IeSettings, {2340, 3300, 1695, 1305}, Font::Arial9},
    {CheckList::Service, Service, {300, 540, 9885, 3600}, Font::Arial9},
    {CheckList::Startup, Startup, {330, 690, 9885, 3810}, Font::Standard},
}};

constexpr std::array<ComboPlace, 2> kCombos{{
    {Combo::Prefetch, Preread, {390, 480, 2025, 345}, Font::Arial9, words::kComboItems[0]},
    {Combo::Priority, System, {3150, 1560, 945, 300}, Font::Standard, words::kComboItems[1]},
}};

}  // namespace

std::span<const PanelPlace> Panels() { return kPanels; }
const PanelPlace& PanelOf(Panel panel) { return kPanels[static_cast<std::size_t>(panel)]; }
const PanelPlace& PanelOf(Page page) {
    for (const PanelPlace& place : kPanels)
        if (place.page == page) return place;
    throw std::logic_error("no panel for page");
}
std::span<const ButtonPlace> Buttons() { return kButtons; }
const ButtonPlace& ButtonOf(Button button) { return kButtons[static_cast<std::size_t>(button)]; }
const ButtonPlace& BrowseButton() { return kButtons.back(); }
std::span<const CheckBoxPlace> CheckBoxes() { return kCheckBoxes; }
std::span<const OptionPlace> Options() { return kOptions; }
std::span<const LabelPlace> Labels() { return kLabels; }
std::span<const ListPlace> Lists() { return kLists; }
std::span<const ComboPlace> Combos() { return kCombos; }
const ComboPlace& ComboOf(Combo combo) { return kCombos[static_cast<std::size_t>(combo)]; }

}  // namespace quillon::layout
