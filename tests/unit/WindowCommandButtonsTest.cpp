#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <span>

#include "tests/unit/WindowTestFixture.h"
#include "window/CommandButtons.h"
#include "window/PageSwitching.h"

namespace quillon {
namespace {

// The boxes Recommend ticks: table A on the Security page, table B on System.
constexpr std::array kTableA{20, 21, 22, 23, 17, 24, 29, 32, 36, 40};
constexpr std::array kTableB{43, 44, 47, 48, 49, 71, 73, 74, 57, 58, 65, 66,
                             67, 59, 60, 51, 53, 61, 62, 63, 64, 68, 69, 76};
std::span<const int> RecommendedSecurityBoxes() { return kTableA; }
std::span<const int> RecommendedSystemBoxes() { return kTableB; }

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

std::set<int> AsSet(std::span<const int> boxes) { return {boxes.begin(), boxes.end()}; }

TEST_F(WindowCommands, RecommendOnSecurityAddsTableAAndThePathButClearsNothing) {
    form.showOnly(Page::Security);
    form.setChk(17, kTicked);
    form.setChk(0, kTicked);
    form.setChk(1, kGreyed);
    form.setListSelected(CheckList::Hide, 2, true);
    Recommend(form);
    std::set<int> expected = AsSet(RecommendedSecurityBoxes());
    expected.insert(0);
    EXPECT_EQ(tickedBoxes(), expected);
    EXPECT_EQ(form.chk(1), kGreyed);
    EXPECT_EQ(form.txtPath(), "C:\\Downloads");
    EXPECT_TRUE(form.listSelected(CheckList::Hide, 2));
    EXPECT_EQ(RecommendedSecurityBoxes().size(), 10u);
}

TEST_F(WindowCommands, RecommendOnSystemTicksTableBAndFirstComboEntries) {
    form.setComboIndex(Combo::Priority, 1);
    form.setComboIndex(Combo::Prefetch, -1);
    form.setChk(54, kTicked);
    form.selectOpt(4);
    Recommend(form);
    Recommend(form);  // twice is the same as once
    std::set<int> expected = AsSet(RecommendedSystemBoxes());
    expected.insert(54);
    EXPECT_EQ(tickedBoxes(), expected);
    EXPECT_EQ(RecommendedSystemBoxes().size(), 24u);
    EXPECT_EQ(form.comboIndex(Combo::Priority), 0);
    EXPECT_EQ(form.comboIndex(Combo::Prefetch), 0);
    EXPECT_TRUE(form.opt(4));
    for (int notRecommended : {50, 55, 56, 70, 72, 75}) EXPECT_FALSE(form.ticked(notRecommended));
}

TEST_F(WindowCommands, RecommendOnSpeedServicesAndStartup) {
    form.showOnly(Page::Speed);
    Recommend(form);
    EXPECT_EQ(tickedBoxes(), std::set<int>{41});

    form.showOnly(Page::Services);
    Recommend(form);
    for (int i = 0; i < kServiceCount; ++i) EXPECT_TRUE(form.listSelected(CheckList::Service, i)) << i;
    EXPECT_EQ(tickedBoxes(), std::set<int>{41});

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

    std::set<int> expected = AsSet(RecommendedSystemBoxes());
    for (int box : RecommendedSecurityBoxes()) expected.insert(box);
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
