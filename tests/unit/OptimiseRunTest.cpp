#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Form.h"
#include "window/OptimiseRun.h"
#include "engine/ServiceCatalogue.h"
#include "engine/Step.h"
#include "words/StepNames.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

struct RunFixture : ::testing::Test {
    sim::SimWindows machine;
    test::MemoryForm form;
    RunContext context{form, machine, "Tester"};
};

// On every page: each of the ten buttons is locked once before the run shows
// its bar and unlocked once after the page's last step, also one that was
// disabled before, and none is touched in between.
TEST_F(RunFixture, EveryButtonIsLockedForTheWholeRunAndOnlyForIt) {
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed, Page::Startup}) {
        form.showOnly(page);
        form.setButtonEnabled(Button::Exit, false);
        const std::size_t from = form.events().size();
        RunOptimise(context);
        const std::vector<std::string> e(form.events().begin() + from, form.events().end());
        const auto at = [&](const std::string& event) { return std::find(e.begin(), e.end(), event) - e.begin(); };
        const auto lastProgress = std::find_if(e.rbegin(), e.rend(), [](const std::string& event) {
                                      return event.rfind("progress width=", 0) == 0;
                                  }).base() - e.begin();
        const auto shown = at("progress visible=1");
        const auto hidden = at("progress visible=0");
        for (int b = 0; b < kButtonCount; ++b) {
            const std::string off = "button " + std::to_string(b) + "=0", on = "button " + std::to_string(b) + "=1";
            EXPECT_EQ(std::count(e.begin(), e.end(), off), 1) << b;
            EXPECT_EQ(std::count(e.begin(), e.end(), on), 1) << b;
            EXPECT_LT(at(off), shown) << b;
            EXPECT_GE(at(on), lastProgress) << b;
            EXPECT_LT(at(on), hidden) << b;
            EXPECT_TRUE(form.buttonEnabled(static_cast<Button>(b))) << b;
        }
    }
}

TEST_F(RunFixture, ShowsProgressAndStatusThenCompletes) {
    form.showOnly(Page::Startup);  // a page that sets no progress
    RunOptimise(context);
    const auto& e = form.events();
    const auto visibleOn = std::find(e.begin(), e.end(), "progress visible=1");
    const auto optimizing = std::find(e.begin(), e.end(), "label 0=Optimizing...");
    const auto visibleOff = std::find(e.begin(), e.end(), "progress visible=0");
    ASSERT_NE(visibleOn, e.end());
    EXPECT_LT(visibleOn, optimizing);
    EXPECT_LT(optimizing, visibleOff);
    EXPECT_FALSE(form.progressVisible());
    EXPECT_EQ(form.label(Label::Wait), "Optimize complete!");
    EXPECT_EQ(form.progressWidth(), kProgressInitial);  // the bar keeps its width
}

TEST_F(RunFixture, SavesTheSelectionBeforeAnythingIsApplied) {
    form.setChk(54, kTicked);
    RunOptimise(context);
    auto saved = machine.files().content("C:\\Program Files\\Quillon\\setup.dat");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->substr(0, 81), "\"" + std::string(54, '0') + "1" + std::string(22, '0') + "\"\r\n");
}

TEST_F(RunFixture, AppliesOnlyThePageOnView) {
    form.showOnly(Page::Speed);
    RunOptimise(context);
    // Neither the System and Security writes nor the service commands run.
    EXPECT_TRUE(std::none_of(machine.commands().begin(), machine.commands().end(), [](const std::string& c) {
        return c.rfind("regedit", 0) == 0 || c.rfind("sc ", 0) == 0 || c.rfind("reg ", 0) == 0;
    }));
}

TEST_F(RunFixture, UnsavableSelectionStillAppliesThePageAndKeepsTheForm) {
    machine.files().setReadOnlyFolder("C:\\Program Files\\Quillon");
    form.setChk(3, kTicked);
    form.setTxtPath("D:\\Keep");
    form.showOnly(Page::Services);
    RunOptimise(context);
    EXPECT_FALSE(machine.files().fileExists("C:\\Program Files\\Quillon\\setup.dat"));
    EXPECT_EQ(machine.commands().size(), static_cast<std::size_t>(kServiceCount));  // the services were still set
    EXPECT_EQ(form.progressWidth(), kProgressFull);
    EXPECT_EQ(form.chk(3), kTicked);
    EXPECT_EQ(form.txtPath(), "D:\\Keep");
    EXPECT_EQ(form.label(Label::Wait), "Optimize complete!");
}

TEST_F(RunFixture, FailingToolsNeverStopTheRun) {
    for (const char* tool : {"regedit", "reg", "sc", "sfc", "chkntfs"}) machine.setToolMissing(tool);
    machine.files().setReadOnlyFolder("C:");
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed, Page::Startup}) {
        form.showOnly(page);
        std::string first;
        const int failed = RunOptimise(context, ButtonLock::ForTheRun, &first);
        const bool appliesAnything = page != Page::Speed && page != Page::Startup;  // nothing ticked on those
        EXPECT_EQ(failed > 0, appliesAnything);
        // Every failure is named by the step it came from, in the window's words.
        EXPECT_EQ(first.empty(), !appliesAnything);
        EXPECT_EQ(first.find("a step of"), std::string::npos) << first;
        EXPECT_EQ(form.label(Label::Wait), CompletionText(failed, first));
        EXPECT_TRUE(form.buttonEnabled(Button::Optimize));
    }
}

TEST_F(RunFixture, StatusTextSaysHowManyStepsFailed) {
    form.showOnly(Page::Services);
    RunOptimise(context);
    EXPECT_EQ(form.label(Label::Wait), "Optimize complete!");

    machine.setToolMissing("sc");
    RunOptimise(context);
    EXPECT_EQ(form.label(Label::Wait).rfind("19 steps failed, the first: \"" + std::string(kServices[0].listText.substr(0, 10)), 0), 0u)
        << form.label(Label::Wait);

    form.showOnly(Page::Speed);
    form.setChk(42, kTicked);
    machine.files().addFile("C:\\windows\\driver cache\\i386\\Driver.cab", "", {.readOnly = true});
    RunOptimise(context);
    EXPECT_EQ(form.label(Label::Wait).rfind("1 step failed: \"" + BoxCaption(42).substr(0, 10), 0), 0u) << form.label(Label::Wait);
}

// A run's failed steps are its own: a run within it counts its failures in
// its own counter, then the outer counter counts again, each with its step;
// a context without a counter (a plan, a reading) counts none.
TEST_F(RunFixture, ARunWithinARunCountsOnlyItsOwnFailedStepsEachWithItsStep) {
    machine.setToolMissing("sc");
    form.showOnly(Page::Services);
    RunStep(context, [] { throw PlatformError("uncounted"); });
    FailedSteps outer(context);
    context.step = StepTag{Page::System, {3, -1}, {}, -1, {}};
    RunStep(context, [] { throw PlatformError("before"); });
    std::string first;
    const int inner = RunOptimise(context, ButtonLock::ForTheRun, &first);
    context.step = StepTag{Page::Speed, {-1, -1}, "Opt", -1, {}};
    RunStep(context, [] { throw PlatformError("after"); });

    EXPECT_GT(inner, 0);
    EXPECT_EQ(first, FailedStepInWords(StepTag{Page::Services, {-1, -1}, "lstService", 0, std::string(kServices[0].listText)}));
    ASSERT_EQ(outer.count(), 2);
    EXPECT_EQ(outer.failures()[0].reason, "before");
    EXPECT_EQ(outer.failures()[0].step.boxes[0], 3);
    EXPECT_EQ(outer.failures()[1].reason, "after");
    EXPECT_EQ(outer.failures()[1].step.control, "Opt");
}

// Every box named as a failed step is its caption, whole or cut short at a
// character, quoted: short enough for two lines between the bottom buttons.
TEST(FailedStepWords, EveryBoxIsNamedByItsCaptionShortEnough) {
    for (int box = 0; box < kCheckBoxCount; ++box) {
        const std::string caption = BoxCaption(box);
        std::string words = FailedStepInWords(StepTag{PageOfBox(box).value_or(Page::System), {box, -1}, {}, -1, {}});
        ASSERT_GE(words.size(), 2u);
        EXPECT_LE(words.size(), 33u) << words;
        ASSERT_EQ(words.front(), '"');
        words = words.substr(1, words.size() - 2);
        if (words.ends_with("...")) {
            words.resize(words.size() - 3);
            EXPECT_NE(static_cast<unsigned char>(caption[words.size()]) & 0xC0, 0x80) << box;  // whole characters
        }
        EXPECT_EQ(caption.rfind(words, 0), 0u) << box << ": " << words;
    }
    EXPECT_EQ(CompletionText(3, "\"x\""), "3 steps failed, the first: \"x\".");
    EXPECT_EQ(CompletionText(3), "Optimize complete! 3 steps failed.");
}

}  // namespace
}  // namespace quillon
