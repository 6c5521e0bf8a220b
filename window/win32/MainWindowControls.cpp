// frmMain's controls, made from the layout. Creation order is the tab order:
// top row, the pages, bottom row.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "controls/win32/ArtworkIcon.h"
#include "controls/win32/VisualStyles.h"
#include "engine/ServiceCatalogue.h"
#include "window/CommandButtons.h"
#include "platform/win32/Text.h"
#include "window/win32/Banner.h"
#include "window/win32/CheckList.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/CutCombo.h"
#include "window/win32/Dpi.h"
#include "window/win32/FlatCheckBox.h"
#include "window/win32/Label.h"
#include "window/win32/MainWindow.h"
#include "window/win32/Shape.h"

namespace quillon::win32 {
namespace {

using controls::Artwork;
using controls::win32::ButtonOptions;
using controls::win32::ButtonWindow;
using controls::win32::PanelOptions;
using controls::win32::PanelWindow;
using layout::Panel;

constexpr int kListTextMargin = 3;  // pixels a list box leaves either side of an entry's text

template <class E>
constexpr std::size_t Slot(E e) {
    return static_cast<std::size_t>(e);
}

RECT PixelRect(const layout::Rect& twips) {
    const int left = ScreenPixels(twips.left), top = ScreenPixels(twips.top);
    return {left, top, left + ScreenPixels(twips.width), top + ScreenPixels(twips.height)};
}

// Where a combo of `place` may reach at most: the next box on its row, or its
// panel's edge, less a gap that scales with the rest.
int ComboRoomRight(const layout::ComboPlace& place, HWND parent) {
    constexpr int kSameRow = 120;  // twips
    constexpr int kGap96 = 4;
    RECT client;
    GetClientRect(parent, &client);
    int right = client.right;
    for (const layout::CheckBoxPlace& box : layout::CheckBoxes())
        if (box.parent == place.parent && !box.hidden && box.left > place.rect.left &&
            std::abs(box.top - place.rect.top) <= kSameRow)
            right = std::min(right, ScreenPixels(box.left));
    return right - Scaled(kGap96);
}

// A label sized to its text, the text drawn from a place given in twips.
RECT TextRect(HFONT font, const std::wstring& text, int leftTwips, int topTwips) {
    return FittedLabelRect(font, text, ScreenPixels(leftTwips), ScreenPixels(topTwips));
}

// The free stretch of a row between the nearest buttons left and right of a
// point, in the same container and level with the label.
std::pair<int, int> RoomBetweenButtons(layout::Panel parent, const RECT& label, int centre) {
    int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    for (const layout::ButtonPlace& button : layout::Buttons()) {
        const RECT r = PixelRect(button.rect);
        if (button.parent != parent || r.bottom <= label.top || r.top >= label.bottom) continue;
        if (r.right <= centre) low = std::max(low, static_cast<int>(r.right));
        else if (r.left >= centre) high = std::min(high, static_cast<int>(r.left));
    }
    return {low, high};
}

// Where an auto-sized label goes: fitted to its text, a centred one around
// the centre its design gives it.
RECT FittedRect(const layout::LabelPlace& place, HFONT font, const std::wstring& text) {
    if (!place.autoSize) return FixedLabelRect(PixelRect(place.rect));
    RECT rect = TextRect(font, text, place.rect.left, place.rect.top);
    if (place.align == layout::Align::Centre && place.rect.width > 0) {
        const int width = rect.right - rect.left;
        const int centre = ScreenPixels(place.rect.left + place.rect.width / 2);
        rect.left = centre - width / 2;
        rect.right = rect.left + width;
        // A text too long to stand around its own centre without running under
        // a button beside it is centred in the room between them instead, and
        // broken at blanks if one line is still too long. The status line
        // always stands there, so its short and long forms share a centre.
        const auto [low, high] = RoomBetweenButtons(place.parent, rect, centre);
        const bool between = place.label == Label::Wait && low > std::numeric_limits<int>::min() &&
                             high < std::numeric_limits<int>::max();
        if (between || rect.left < low || rect.right > high) {
            SIZE size = width > high - low ? MeasureWrappedText(font, text, high - low)
                                           : SIZE{width, rect.bottom - rect.top};
            // The label breaks its text in its own width, which may take a line more.
            if (width > high - low) size.cy = MeasureWrappedText(font, text, size.cx).cy;
            rect.left = low + (high - low - size.cx) / 2;
            rect.right = rect.left + size.cx;
            rect.bottom = rect.top + size.cy;
        }
    }
    return rect;
}

std::optional<Artwork> ArtworkOf(layout::Icon icon) {
    switch (icon) {
    case layout::Icon::Auto: return Artwork::AutoOptimize;
    case layout::Icon::System: return Artwork::System;
    case layout::Icon::Security: return Artwork::Security;
    case layout::Icon::Startup: return Artwork::Startup;
    case layout::Icon::Speed: return Artwork::Speed;
    case layout::Icon::Services: return Artwork::Services;
    case layout::Icon::Suggest: return Artwork::Recommend;
    case layout::Icon::Redo: return Artwork::Reset;
    case layout::Icon::Optimize: return Artwork::Optimize;
    case layout::Icon::Exit: return Artwork::Exit;
    case layout::Icon::None: break;
    }
    return std::nullopt;
}

// The letter of each command and page button's caption that Alt presses it with.
wchar_t AccessKeyOf(Button button) {
    switch (button) {
    case Button::Auto: return L'A';
    case Button::System: return L'S';
    case Button::Security: return L'c';
    case Button::Startup: return L't';
    case Button::Wight: return L'p';
    case Button::Service: return L'v';
    case Button::Suggest: return L'R';
    case Button::Redo: return L'e';
    case Button::Optimize: return L'O';
    case Button::Exit: return L'x';
    }
    return 0;
}

}  // namespace

void MainWindow::createControls() {
    bigIcon_ = controls::win32::MakeArtworkIcon(Artwork::Gears, 32);
    smallIcon_ = controls::win32::MakeArtworkIcon(Artwork::Gears, 16);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    const layout::PanelPlace& main = layout::PanelOf(Panel::Main);
    panels_[Slot(Panel::Main)] =
        PanelWindow::create(window_, PixelRect(main.rect), {main.style, main.theme, "  Quillon(System)", false});

    for (Button top : {Button::Auto, Button::System, Button::Security, Button::Startup, Button::Wight, Button::Service})
        buttons_[Slot(top)] = createButton(panel(Panel::Main), layout::ButtonOf(top));
    populate(Panel::Main);
    for (Button bottom : {Button::Suggest, Button::Redo, Button::Optimize, Button::Exit})
        buttons_[Slot(bottom)] = createButton(panel(Panel::Main), layout::ButtonOf(bottom));

    shape_ = CreateShape(panel(Panel::Main), PixelRect(layout::kShape2.rect), layout::kShape2.rect.width,
                         RGB(layout::kShape2Fill.red, layout::kShape2Fill.green, layout::kShape2Fill.blue));
    panels_[Slot(Panel::Main)]->setVisible(true);
}

std::unique_ptr<ButtonWindow> MainWindow::createButton(HWND parent, const layout::ButtonPlace& place) {
    ButtonOptions options;
    options.caption = std::string(place.caption);
    options.font = FontChoiceOf(place.font);
    options.artwork = ArtworkOf(place.icon);
    options.iconVisible = options.artwork.has_value();
    if (place.button) {
        options.onClick = [this, button = *place.button] { onButton(button); };
        options.accessKey = AccessKeyOf(*place.button);
    }
    else
        options.onClick = [this] { onBrowse(); };

    return ButtonWindow::create(parent, PixelRect(place.rect), std::move(options));
}

void MainWindow::createPanel(const layout::PanelPlace& place, HWND parent, bool visible) {
    panels_[Slot(place.panel)] =
        PanelWindow::create(parent, PixelRect(place.rect), {place.style, place.theme, "XPContainer", visible});
    populate(place.panel);
}

// The four pages not on view at start, each placed right after the System page
// so Tab still goes from the top row through the page to the bottom row.
void MainWindow::createHiddenPages() {
    for (HWND box : combos_)
        if (IsCutCombo(box)) AddCutComboTooltip(box);
    HWND previous = panel(Panel::System);
    for (const layout::PanelPlace& place : layout::Panels()) {
        if (!place.page || place.page == Page::System) continue;
        createPanel(place, panel(Panel::Main), false);
        SetWindowPos(panel(place.panel), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = panel(place.panel);
    }
}

// The panels inside a container first, then the container's own controls.
// Hidden pages come later, from createHiddenPages.
void MainWindow::populate(Panel container) {
    HWND parent = panel(container);
    for (const layout::PanelPlace& place : layout::Panels()) {
        if (place.parent != container || (place.page && place.page != Page::System)) continue;
        createPanel(place, parent, true);
    }
    createCheckBoxes(container);
    if (container == layout::kOptionPanel) createOptions();

    for (const layout::ComboPlace& place : layout::Combos()) {
        if (place.parent != container) continue;
        RECT rect = PixelRect(place.rect);
        const int closedHeight = rect.bottom - rect.top;
        rect.bottom += Scaled(kComboDropHeight);
        HFONT font = fonts_.get(place.font);
        int longest = 0;
        for (std::string_view item : place.items) longest = std::max<int>(longest, MeasureText(font, Widen(item)).cx);
        // The open list shows its longest entry whole. The closed box grows to
        // show it too, its left edge kept, where its row has room for that;
        // where it has not (Combo3, with a box right beside it) it keeps its
        // size and is drawn so that a cut entry ends in an ellipsis.
        const int listWidth = longest + 2 * GetSystemMetrics(SM_CXEDGE) + 2 * kListTextMargin;
        const int closedWidth = listWidth + GetSystemMetrics(SM_CXVSCROLL) + 2;
        const int designWidth = rect.right - rect.left;
        const bool grows = closedWidth > designWidth && rect.left + closedWidth <= ComboRoomRight(place, parent);
        const bool cut = closedWidth > designWidth && !grows;
        if (grows) rect.right = rect.left + closedWidth;
        HWND box = CreateChildWindow(L"COMBOBOX", L"",
                                     WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | (cut ? kCutComboStyle : 0),
                                     rect, parent, kComboId + int(Slot(place.combo)), font);
        for (std::string_view item : place.items)
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        SendMessageW(box, CB_SETDROPPEDWIDTH, std::max(listWidth, designWidth), 0);
        SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), closedHeight - Scaled(6));
        if (cut) MakeCutCombo(box);
        combos_[Slot(place.combo)] = box;
    }
    if (container == layout::kTxtPath.parent)
        txtPath_ = CreateChildWindow(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                                 PixelRect(layout::kTxtPath.rect), parent, kTxtPathId,
                                 fonts_.get(layout::kTxtPathFont));
    if (container == layout::BrowseButton().parent) browse_ = createButton(parent, layout::BrowseButton());
    createLists(container);
    createLabels(container);
    if (container == layout::kPicture1.parent) CreateBanner(parent, PixelRect(layout::kPicture1.rect));
    orderAmongBoxes(container);
}

// Tab goes down each column of boxes: a combo straight after the box whose
// row it ends (Combo3 completes chk 56's caption, and so covers its end), a
// panel in a column after the box above it.
void MainWindow::orderAmongBoxes(Panel container) {
    const auto boxBefore = [container](auto&& fits) -> const layout::CheckBoxPlace* {
        const layout::CheckBoxPlace* best = nullptr;
        for (const layout::CheckBoxPlace& box : layout::CheckBoxes())
            if (box.parent == container && !box.hidden && fits(box) &&
                (!best || std::pair(best->top, best->left) < std::pair(box.top, box.left)))
                best = &box;
        return best;
    };
    const auto placeAfter = [this](HWND window, const layout::CheckBoxPlace* box) {
        if (box)
            SetWindowPos(window, chk_[box->index], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    constexpr int kSameRow = 120, kSameColumn = 60;  // twips
    for (const layout::ComboPlace& place : layout::Combos()) {
        if (place.parent != container) continue;
        placeAfter(combo(place.combo), boxBefore([&](const layout::CheckBoxPlace& box) {
                       return box.left < place.rect.left && std::abs(box.top - place.rect.top) <= kSameRow;
                   }));
    }
    for (const layout::PanelPlace& place : layout::Panels()) {
        if (place.parent != container || place.page) continue;
        placeAfter(panel(place.panel), boxBefore([&](const layout::CheckBoxPlace& box) {
                       return std::abs(box.left - place.rect.left) <= kSameColumn && box.top < place.rect.top;
                   }));
    }
}

void MainWindow::createCheckBoxes(Panel container) {
    std::vector<const layout::CheckBoxPlace*> boxes;
    for (const layout::CheckBoxPlace& box : layout::CheckBoxes())
        if (box.parent == container) boxes.push_back(&box);
    // Down each column, then the next column.
    std::sort(boxes.begin(), boxes.end(),
              [](auto* a, auto* b) { return a->left != b->left ? a->left < b->left : a->top < b->top; });
    for (const layout::CheckBoxPlace* box : boxes) {
        const DWORD visible = box->hidden ? 0 : WS_VISIBLE;
        chk_[box->index] = CreateChildWindow(
            L"BUTTON", L"Check1", WS_TABSTOP | BS_3STATE | BS_FLAT | visible,
            PixelRect({box->left, box->top, layout::kCheckBoxWidth, layout::kCheckBoxHeight}), panel(container),
            kChkId + box->index, fonts_.get(layout::Font::Arial9));
        MakeFlatCheckBox(chk_[box->index]);
        HFONT font = fonts_.get(box->labelFont);
        const std::wstring caption = Widen(box->caption);
        ShowFocusOnLabel(chk_[box->index], CreateLabel(panel(container), caption,
                                                       TextRect(font, caption, box->labelLeft, box->labelTop),
                                                       visible, font));
    }
}

void MainWindow::createOptions() {
    HWND parent = panel(layout::kOptionPanel);
    HFONT font = fonts_.get(layout::Font::Arial9);
    for (int i = 0; i < kOptionCount; ++i) {
        const layout::OptionPlace& option = layout::Options()[i];
        const DWORD first = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
        opt_[i] = CreateChildWindow(L"BUTTON", L"Option1", WS_VISIBLE | BS_AUTORADIOBUTTON | first,
                                PixelRect({option.left, option.top, layout::kOptionWidth, layout::kOptionHeight}),
                                parent, kOptId + i, font);
    }
    // The labels come after the five options and start a group of their own,
    // so the arrow keys go from option to option, as in a dialog.
    for (int i = 0; i < kOptionCount; ++i) {
        const layout::OptionPlace& option = layout::Options()[i];
        const std::wstring caption = Widen(option.caption);
        const DWORD group = i == 0 ? WS_GROUP : 0;
        ShowFocusOnLabel(opt_[i], CreateLabel(parent, caption,
                                              TextRect(font, caption, option.labelLeft, option.labelTop),
                                              WS_VISIBLE | group, font));
    }
    selectOpt(0);
}

void MainWindow::createLists(Panel container) {
    for (const layout::ListPlace& place : layout::Lists()) {
        if (place.parent != container) continue;
        HWND box = CreateCheckList(panel(container), PixelRect(place.rect), kListId + int(Slot(place.list)),
                                   fonts_.get(place.font));
        lists_[Slot(place.list)] = box;
        if (place.list == CheckList::Hide || place.list == CheckList::Not)
            for (char letter = 'A'; letter <= 'Z'; ++letter) addListItem(place.list, std::string{letter, ':'});
        if (place.list == CheckList::Service)
            for (const ServiceEntry& entry : kServices) addListItem(place.list, std::string(entry.listText));
    }
}

void MainWindow::createLabels(Panel container) {
    for (const layout::LabelPlace& place : layout::Labels()) {
        if (place.parent != container) continue;
        HFONT font = fonts_.get(place.font);
        const std::wstring caption = Widen(place.caption);
        const DWORD align = place.align == layout::Align::Centre ? kLabelCentred : 0;
        HWND label =
            CreateLabel(panel(container), caption, FittedRect(place, font, caption), WS_VISIBLE | align, font);
        if (!place.label) continue;
        labels_[Slot(*place.label)] = label;
        labelPlaces_[Slot(*place.label)] = &place;
    }
}

void MainWindow::fitLabel(Label which) {
    HWND label = labels_[Slot(which)];
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1);
    GetWindowTextW(label, text.data(), static_cast<int>(text.size()));
    const RECT rect = FittedRect(*labelPlaces_[Slot(which)], font, text.data());
    SetWindowPos(label, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quillon::win32
