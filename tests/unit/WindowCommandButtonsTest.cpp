#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/unit/BoxTable.h"
#include "tests/unit/WindowTestFixture.h"
#include "window/CommandButtons.h"
#include "window/PageSwitching.h"

namespace quillon {
namespace {

struct WindowCommands : test::WindowFixture {
    std::set<int> tickedBoxes() const {
        std::set<int> boxes;
        for (int i = 0; i < kCheckBoxCount; ++i)
            if (form.ticked(i)) boxes.insert(i);
        return boxes;
    }
    std::optional<std::string> selectionFile() const {
        return const_cast<sim::SimWindows&>(machine).files().content("C:\\Program Files\\Quillon\\setup.dat");
    }
};

std::set<int> Recommended(Page page) {
    const auto set = [](const auto& boxes) { return std::set<int>(boxes.begin(), boxes.end()); };
    if (page == Page::System) return set(test::kRecommendedSystem);
    if (page == Page::Security) return set(test::kRecommendedSecurity);
    if (page == Page::Speed) return set(test::kRecommendedSpeed);
    return {};
}

// On every page Recommend ticks that page's recommended boxes, and only
// them; a box ticked or greyed before stays so, and twice is once.
TEST_F(WindowCommands, RecommendTicksThePagesRecommendedBoxesAndClearsNothing) {
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed, Page::Startup}) {
        test::MemoryForm fresh;
        fresh.showOnly(page);
        fresh.setChk(0, kTicked);
        fresh.setChk(50, kGreyed);
        Recommend(fresh);
        Recommend(fresh);
        for (int box = 0; box < kCheckBoxCount; ++box) {
            const int before = box == 0 ? kTicked : box == 50 ? kGreyed : kUnticked;
            EXPECT_EQ(fresh.chk(box), Recommended(page).count(box) ? kTicked : before)
                << static_cast<int>(page) << " chk " << box;
        }
        for (int box : Recommended(page)) EXPECT_EQ(test::BoxPage(box), page) << "chk " << box;
    }
}

TEST_F(WindowCommands, RecommendOnSecuritySetsThePathAndKeepsTheDrives) {
    form.showOnly(Page::Security);
    form.setListSelected(CheckList::Hide, 2, true);
    Recommend(form);
    EXPECT_EQ(form.txtPath(), "C:\\Downloads");
    EXPECT_TRUE(form.listSelected(CheckList::Hide, 2));
}

TEST_F(WindowCommands, RecommendOnSystemChoosesTheFirstComboEntriesAndKeepsTheOption) {
    form.setComboIndex(Combo::Priority, 1);
    form.setComboIndex(Combo::Prefetch, -1);
    form.selectOpt(4);
    Recommend(form);
    EXPECT_EQ(form.comboIndex(Combo::Priority), 0);
    EXPECT_EQ(form.comboIndex(Combo::Prefetch), 0);
    EXPECT_TRUE(form.opt(4));
}

TEST_F(WindowCommands, RecommendOnServicesTicksEveryEntryAndOnStartupDoesNothing) {
    form.showOnly(Page::Services);
    Recommend(form);
    for (int i = 0; i < kServiceCount; ++i) EXPECT_TRUE(form.listSelected(CheckList::Service, i)) << i;

    form.showOnly(Page::Startup);
    form.addListItem(CheckList::Startup, "Tool.lnk");
    const auto before = form.events().size();
    Recommend(form);
    EXPECT_FALSE(form.listSelected(CheckList::Startup, 0));
    EXPECT_EQ(form.events().size(), before);
    EXPECT_EQ(form.txtPath(), "");
}

TEST_F(WindowCommands, ResetClearsSelectionButKeepsOptAndPath) {
    Recommend(form);
    form.setChk(26, kGreyed);
    form.selectOpt(3);
    form.setTxtPath("C:\\Downloads");
    form.setComboIndex(Combo::Prefetch, 1);
    form.setListSelected(CheckList::Not, 25, true);
    form.setListSelected(CheckList::Hide, 0, true);
    form.setListSelected(CheckList::Service, 18, true);
    form.addListItem(CheckList::Startup, "a");
    form.addListItem(CheckList::Startup, "b");
    form.setListSelected(CheckList::Startup, 1, true);
    Reset(form);
    for (int i = 0; i < kCheckBoxCount; ++i) EXPECT_EQ(form.chk(i), kUnticked) << i;
    EXPECT_EQ(form.comboIndex(Combo::Prefetch), 0);
    EXPECT_EQ(form.comboIndex(Combo::Priority), 0);
    for (CheckList list : {CheckList::Not, CheckList::Hide, CheckList::Service, CheckList::Startup})
        for (int i = 0; i < form.listCount(list); ++i) EXPECT_FALSE(form.listSelected(list, i));
    EXPECT_EQ(form.listCount(CheckList::Startup), 2);
    EXPECT_TRUE(form.opt(3));
    EXPECT_EQ(form.txtPath(), "C:\\Downloads");
    EXPECT_FALSE(selectionFile());
}

TEST_F(WindowCommands, AutoCancelledChangesNothing) {
    form.setChk(5, kTicked);
    AutoOptimise(context);
    EXPECT_EQ(machine.messageBoxes(), std::vector<std::string>{"Confirm|Are you sure to auto optimize?"});
    // Enter on the question is Cancel.
    EXPECT_EQ(machine.messageBoxKinds(), std::vector<MessageBoxKind>{MessageBoxKind::OkCancelCancelFirst});
    EXPECT_TRUE(form.events().empty());
    EXPECT_EQ(tickedBoxes(), std::set<int>{5});
    EXPECT_FALSE(selectionFile());
    EXPECT_EQ(machine.pumpCount(), 0);
}

TEST_F(WindowCommands, AutoRecommendsAndRunsFourPagesInOrder) {
    const std::string alerter = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Alerter";
    machine.registry().setValue(alerter, "Start", sim::Value::Dword(3));
    machine.queueMessageBoxAnswer(MessageBoxAnswer::Ok);
    // Which page is on view each time events are processed.
    std::vector<std::string> pages;
    int pumpsWithAButtonEnabled = 0;
    machine.onPump([&] {
        if (pages.empty() || pages.back() != form.label(Label::Caption)) pages.push_back(form.label(Label::Caption));
        for (int b = 0; b < kButtonCount; ++b)
            if (form.buttonEnabled(static_cast<Button>(b))) return void(++pumpsWithAButtonEnabled);
    });
    AutoOptimise(context);
    // Nothing clicked between the passes can change which pages Auto applies.
    EXPECT_EQ(pumpsWithAButtonEnabled, 0);
    for (int b = 0; b < kButtonCount; ++b) EXPECT_TRUE(form.buttonEnabled(static_cast<Button>(b)));

    EXPECT_EQ(pages, (std::vector<std::string>{"[System]", "[Security]", "[Startup]", "[Services]"}));
    std::vector<std::string> captions;
    for (const std::string& event : form.events())
        if (event.rfind("label 1=", 0) == 0 || event.rfind("label 0=", 0) == 0) captions.push_back(event.substr(8));
    EXPECT_EQ(captions, (std::vector<std::string>{"[System]", "Optimizing...", "Optimize complete!", "[Security]",
                                                  "Optimizing...", "Optimize complete!", "[Startup]",
                                                  "Optimizing...", "Optimize complete!", "[Services]",
                                                  "Optimizing...", "Optimize complete!", "Optimize complete!"}));
    EXPECT_TRUE(form.pageVisible(Page::Services));

    std::set<int> expected = Recommended(Page::System);
    expected.merge(Recommended(Page::Security));
    EXPECT_EQ(tickedBoxes(), expected);
    EXPECT_FALSE(form.ticked(41));  // the Speed page is not part of Auto

    // Each page was applied with its recommendation in place.
    EXPECT_EQ(machine.registry().stringValue(
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{00021400-0000-0000-C000-000000000046}",
                  "MenuShowDelay"),
              "1");  // box 73
    EXPECT_EQ(machine.registry().dwordValue(
                  "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer", "NoFind"),
              1u);  // box 20
    EXPECT_EQ(machine.registry().dwordValue(alerter, "Start"), 4u);
    const auto file = selectionFile();
    ASSERT_TRUE(file);
    EXPECT_NE(file->find("\"C:\\Downloads\""), std::string::npos);
    EXPECT_NE(file->find("\"" + std::string(kServiceCount, '1') + "\""), std::string::npos);
}

TEST_F(WindowCommands, BrowseSetsTheChosenFolderAndKeepsTextWhenCancelled) {
    form.setTxtPath("C:\\Old");
    machine.setBrowseResult(std::nullopt);
    Browse(context);
    EXPECT_EQ(machine.lastBrowseTitle(), "Choose the source file path:");
    EXPECT_EQ(machine.lastBrowseStart(), "C:\\Old");  // the browser opens at the folder typed
    EXPECT_EQ(form.txtPath(), "C:\\Old");

    machine.setBrowseResult("D:\\My Downloads");
    Browse(context);
    EXPECT_EQ(form.txtPath(), "D:\\My Downloads");
}

TEST_F(WindowCommands, ExitLogsOffOnlyWhenConfirmed) {
    Exit(context);
    EXPECT_EQ(machine.logOffCount(), 0);
    EXPECT_EQ(machine.messageBoxes(),
              std::vector<std::string>{"Confirm|You need to log off to take effect. Log off now?"});

    machine.queueMessageBoxAnswer(MessageBoxAnswer::Ok);
    Exit(context);
    EXPECT_EQ(machine.logOffCount(), 1);
    EXPECT_EQ(machine.pumpCount(), 1);
    EXPECT_FALSE(selectionFile());
}

}  // namespace
}  // namespace quillon
