#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/WindowTestFixture.h"
#include "window/Layout.h"
#include "window/PageSwitching.h"
#include "window/StartUp.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

struct WindowPages : test::WindowFixture {
    std::vector<Page> visiblePages() const {
        std::vector<Page> pages;
        for (const PageButton& entry : PageButtons())
            if (form.pageVisible(entry.page)) pages.push_back(entry.page);
        return pages;
    }
};

// Each page, shown from each other page: its panel alone on view, and both
// headers name it as its button's caption and the other front end do.
TEST_F(WindowPages, EachButtonShowsItsPageAloneWithItsHeaderTexts) {
    for (const PageButton& from : PageButtons()) {
        for (const PageButton& entry : PageButtons()) {
            ShowPage(context, from.page);
            ShowPage(context, entry.page);
            EXPECT_EQ(visiblePages(), std::vector<Page>{entry.page});
            const std::string name = PageName(entry.page);
            EXPECT_EQ(form.mainCaption(), "  Quillon(" + name + ")");
            EXPECT_EQ(form.label(Label::Caption), "[" + name + "]");
            const auto button = std::find_if(layout::Buttons().begin(), layout::Buttons().end(),
                                             [&](const layout::ButtonPlace& place) { return place.button == entry.button; });
            ASSERT_NE(button, layout::Buttons().end());
            EXPECT_EQ(button->caption.substr(button->caption.find_first_not_of(' ')), name);
        }
    }
}

TEST_F(WindowPages, PressingTwiceKeepsOnePageAndTouchesNoTick) {
    form.setChk(54, kTicked);
    form.setChk(17, kGreyed);
    form.setListSelected(CheckList::Hide, 3, true);
    form.selectOpt(2);
    form.setTxtPath("D:\\x");
    ShowPage(context, Page::Security);
    ShowPage(context, Page::Security);
    ShowPage(context, Page::Speed);
    EXPECT_EQ(visiblePages(), std::vector<Page>{Page::Speed});
    EXPECT_EQ(form.chk(54), kTicked);
    EXPECT_EQ(form.chk(17), kGreyed);
    EXPECT_TRUE(form.listSelected(CheckList::Hide, 3));
    EXPECT_TRUE(form.opt(2));
    EXPECT_EQ(form.txtPath(), "D:\\x");
}

TEST_F(WindowPages, OnlyTheStartupButtonRebuildsTheStartupList) {
    machine.registry().setValue("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tool",
                                sim::Value::String("C:\\tool.exe"));
    form.addListItem(CheckList::Startup, "Old");
    form.setListSelected(CheckList::Startup, 0, true);
    ShowPage(context, Page::Security);
    EXPECT_EQ(form.listTexts(CheckList::Startup), std::vector<std::string>{"Old"});

    ShowPage(context, Page::Startup);
    ShowPage(context, Page::Startup);
    // Listed afresh from the machine, never doubled, every entry unticked.
    EXPECT_EQ(form.listTexts(CheckList::Startup), std::vector<std::string>{"Tool"});
    EXPECT_FALSE(form.listSelected(CheckList::Startup, 0));
}

TEST_F(WindowPages, ServiceClickShowsTheWholeEntryText) {
    ShowServiceInfo(form, 0);
    EXPECT_EQ(form.label(Label::Info), "Alerter    (System Management Alart)");
    ShowServiceInfo(form, 7);
    EXPECT_EQ(form.label(Label::Info), "Messerger   (NET SEND and Alerter services messages)");
    ShowServiceInfo(form, -1);  // a click below the last entry
    EXPECT_EQ(form.label(Label::Info), "Messerger   (NET SEND and Alerter services messages)");
}

TEST_F(WindowPages, StartUpKeepsSystemPageWhateverTheFileHolds) {
    machine.files().addFile("C:\\Program Files\\Quillon\\setup.dat",
                            "\"" + std::string(77, '1') + "\"\r\n\"3\"\r\n\"1\"\r\n\"1\"\r\n\"E:\\dl\"\r\n");
    machine.setUserName("Ann");
    form.setComboIndex(Combo::Prefetch, -1);
    LoadMainForm(context);
    EXPECT_EQ(context.userName, "Ann");
    EXPECT_EQ(form.comboIndex(Combo::Prefetch), 0);
    RestoreSelection(context);
    EXPECT_EQ(visiblePages(), std::vector<Page>{Page::System});
    EXPECT_EQ(form.mainCaption(), "  Quillon(System)");
    EXPECT_EQ(form.chk(54), kTicked);
    EXPECT_TRUE(form.opt(3));
    EXPECT_EQ(form.comboIndex(Combo::Priority), 1);
    EXPECT_EQ(form.txtPath(), "E:\\dl");
}

}  // namespace
}  // namespace quillon
