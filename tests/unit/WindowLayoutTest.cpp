#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "window/Layout.h"
#include "window/PageSwitching.h"
#include "words/BoxWords.h"
#include "words/StepNames.h"

namespace quillon::layout {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(WindowLayout, EveryBoxOnceInItsIndexOrderAndHiddenOnlyWhereItShouldBe) {
    auto boxes = CheckBoxes();
    ASSERT_EQ(boxes.size(), static_cast<std::size_t>(kCheckBoxCount));
    std::set<int> hidden;
    for (int i = 0; i < kCheckBoxCount; ++i) {
        EXPECT_EQ(boxes[i].index, i);
        EXPECT_FALSE(boxes[i].caption.empty());
        if (boxes[i].hidden) hidden.insert(i);
    }
    EXPECT_EQ(hidden, (std::set<int>{26, 35}));
}

// The words are kept apart from the layout; the page each names for a box must
// be the page whose panel holds it.
TEST(WindowLayout, EachBoxSitsOnThePageItsWordsName) {
    for (const CheckBoxPlace& box : CheckBoxes()) {
        std::optional<Panel> panel = box.parent;
        std::optional<Page> page;
        while (panel && !page) {
            page = PanelOf(*panel).page;
            panel = PanelOf(*panel).parent;
        }
        EXPECT_EQ(page, words::kBoxes[box.index].page) << "chk " << box.index;
    }
    // A caption in another language has its English meaning for the console and the preview.
    for (const CheckBoxPlace& box : CheckBoxes()) {
        const bool ascii = std::ranges::all_of(box.caption, [](char c) { return (c & 0x80) == 0; });
        EXPECT_FALSE(BoxCaptionInEnglish(box.index).empty()) << "chk " << box.index;
        if (ascii) EXPECT_EQ(BoxCaptionInEnglish(box.index), box.caption) << "chk " << box.index;
        else EXPECT_NE(BoxCaptionInEnglish(box.index), box.caption) << "chk " << box.index;
    }
}

// The preview and the console name a control that is no box by the words the
// window shows over it: a label in the same container, above the control and
// starting within its width.
TEST(WindowLayout, ControlsAreNamedByTheLabelOverThem) {
    struct Named {
        std::string_view control;
        Panel parent;
        Rect rect;
    };
    std::vector<Named> controls{{"txtPath", kTxtPath.parent, kTxtPath.rect}};
    for (const ListPlace& list : Lists())
        if (list.list == CheckList::Hide) controls.push_back({"lstHide", list.parent, list.rect});
        else if (list.list == CheckList::Not) controls.push_back({"lstNot", list.parent, list.rect});
    controls.push_back({"Combo2", ComboOf(Combo::Prefetch).parent, ComboOf(Combo::Prefetch).rect});
    ASSERT_EQ(controls.size(), 4u);
    for (const Named& control : controls) {
        const std::string words = StepCaption(StepTag{Page::Security, {-1, -1}, control.control, -1, {}});
        const auto over = std::ranges::find_if(Labels(), [&](const LabelPlace& label) {
            return label.caption == words && label.parent == control.parent &&
                   label.rect.top + label.rect.height <= control.rect.top &&
                   control.rect.top - label.rect.top < 600 && label.rect.left >= control.rect.left - 300 &&
                   label.rect.left < control.rect.left + control.rect.width;
        });
        EXPECT_NE(over, Labels().end()) << control.control << " is named \"" << words << "\"";
    }
}

TEST(WindowLayout, VisibleBoxesAndListsOfAContainerDoNotOverlapAndFitInside) {
    struct Placed {
        Panel parent;
        Rect rect;
        std::string what;
    };
    std::vector<Placed> placed;
    for (const CheckBoxPlace& box : CheckBoxes())
        if (!box.hidden)
            placed.push_back({box.parent, {box.left, box.top, kCheckBoxWidth, kCheckBoxHeight},
                              "chk " + std::to_string(box.index)});
    for (const ListPlace& list : Lists()) placed.push_back({list.parent, list.rect, "list"});
    for (const ButtonPlace& button : Buttons()) placed.push_back({button.parent, button.rect, std::string(button.name)});
    for (const PanelPlace& panel : Panels())
        if (panel.parent && !panel.page) placed.push_back({*panel.parent, panel.rect, std::string(panel.name)});
    placed.push_back({kPicture1.parent, kPicture1.rect, "Picture1"});
    placed.push_back({kTxtPath.parent, kTxtPath.rect, "txtPath"});

    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Rect& container = PanelOf(placed[i].parent).rect;
        EXPECT_LE(placed[i].rect.left + placed[i].rect.width, container.width) << placed[i].what;
        EXPECT_LE(placed[i].rect.top + placed[i].rect.height, container.height) << placed[i].what;
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            if (placed[i].parent != placed[j].parent) continue;
            EXPECT_FALSE(Overlap(placed[i].rect, placed[j].rect)) << placed[i].what << " / " << placed[j].what;
        }
    }
}

TEST(WindowLayout, ButtonsInEnumOrderWithBlanksBeforeTheirCaptions) {
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = ButtonOf(static_cast<Button>(i));
        EXPECT_EQ(place.button, static_cast<Button>(i));
        const std::size_t blanks = place.caption.find_first_not_of(' ');
        EXPECT_EQ(blanks, place.button == Button::Auto ? 10u : 11u) << place.name;
    }
    // A page button says the name of the page it shows.
    for (const PageButton& page : PageButtons()) {
        const std::string_view caption = ButtonOf(page.button).caption;
        EXPECT_EQ(caption.substr(caption.find_first_not_of(' ')), PageName(page.page)) << ButtonOf(page.button).name;
    }
    EXPECT_EQ(BrowseButton().icon, Icon::None);
    // The bottom row leaves 5730 to 8850 free for lblWait.
    for (const ButtonPlace& place : Buttons()) {
        if (place.rect.top != 6540) continue;
        EXPECT_TRUE(place.rect.left + place.rect.width <= 5730 || place.rect.left >= 8850) << place.name;
    }
}

TEST(WindowLayout, PagePanelsStackAndOnlyTheMainPanelHasAHeader) {
    int pages = 0;
    for (const PanelPlace& panel : Panels()) {
        EXPECT_EQ(panel.style == 0, panel.panel == Panel::Main) << panel.name;
        EXPECT_EQ(panel.theme, panel.panel == Panel::Main ? 4 : 10) << panel.name;
        if (panel.page) {
            ++pages;
            EXPECT_EQ(panel.parent, Panel::Main);
            EXPECT_EQ(PanelOf(*panel.page).panel, panel.panel);
        }
    }
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(PanelOf(Page::Speed).name, "XPCWight");
    EXPECT_EQ(Pixels(PanelOf(Panel::Main).rect.width), 727);
    EXPECT_EQ(Pixels(kWindow.height), 494);
}

}  // namespace
}  // namespace quillon::layout
