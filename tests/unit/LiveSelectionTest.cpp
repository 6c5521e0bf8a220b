// The machine's state as a selection: whatever was applied before, applying
// the live selection right after changes nothing.
#include <gtest/gtest.h>

#include <random>

#include "planning/LiveSelection.h"
#include "planning/LiveState.h"
#include "planning/Plan.h"
#include "engine/SelectionForm.h"
#include "tests/unit/JournalMachine.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

// Any selection of the three pages: boxes ticked, clear or greyed, any list
// entries, any choice of the combo boxes and option, a path or none.
SelectionForm RandomSelection(std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    SelectionForm form;
    for (int box = 0; box < kCheckBoxCount; ++box) form.setChk(box, pick(5) == 0 ? kGreyed : pick(2));
    for (CheckList list : {CheckList::Hide, CheckList::Not, CheckList::Service})
        for (int i = 0; i < form.listCount(list); ++i) form.setListSelected(list, i, pick(3) == 0);
    form.setComboIndex(Combo::Prefetch, pick(3) - 1);
    form.setComboIndex(Combo::Priority, pick(3) - 1);
    form.selectOpt(pick(kOptionCount + 1) - 1);
    const char* paths[] = {"", "C:\\Downloads", "D:\\\xc3\xa9t\xc3\xa9 \"x\"", " "};
    form.setTxtPath(paths[pick(4)]);
    return form;
}

// One run of the pages, as the console applies them, or one run per page, as the window does.
void Apply(Form& form, sim::SimWindows& machine, std::span<const Page> pages, bool oneRun) {
    RunContext run{form, machine, "Tester"};
    for (Page page : pages) {
        if (!oneRun) run.startRun();
        form.setPageVisible(page, true);
        RunPhase(run, page);
    }
}

std::string Describe(const Form& form) {
    std::string text;
    for (int box = 0; box < kCheckBoxCount; ++box)
        if (form.chk(box) == kTicked) text += std::to_string(box) + " ";
    return text + "Opt/Combo2/Combo3 " + std::to_string(form.opt(0)) + "/" +
           std::to_string(form.comboIndex(Combo::Prefetch)) + "/" + std::to_string(form.comboIndex(Combo::Priority));
}

TEST(LiveSelection, ApplyingItRightAfterAnySelectionChangesNothing) {
    const std::span<const Page> pages = LivePages();
    const std::vector<Page> inRunOrder{Page::Services, Page::System, Page::Security};
    for (unsigned seed = 0; seed < 40; ++seed) {
        std::mt19937 random(seed);
        SelectionForm applied = RandomSelection(random);
        // Applied, shown and applied again in one run (APPLY, EXPORT, CHECK), or
        // page by page (the window's Optimize and Show current state).
        for (bool oneRun : {true, false}) {
            sim::SimWindows machine;
            test::FurnishMachine(machine);
            if (!oneRun) {
                // A state no selection of one page can keep arises when pages run apart
                // (76 partly undone by Security leaves NoLogoff as it was before any
                // run), so the machine has had every page applied once already.
                SelectionForm nothing;
                nothing.tickEverything(false);
                Apply(nothing, machine, inRunOrder, true);
            }
            Apply(applied, machine, inRunOrder, oneRun);
            const auto before = test::TweakedState(machine);

            SelectionForm live;
            // The window greys a partial box; a selection to apply clears it.
            PutLiveSelection(live, machine, "Tester", pages, oneRun ? PartialBoxes::Unticked : PartialBoxes::Greyed);
            if (oneRun) {
                Apply(live, machine, inRunOrder, true);
            } else {
                // The window: each page shown and optimized on its own.
                for (Page page : inRunOrder) Apply(live, machine, std::span<const Page>(&page, 1), true);
            }
            EXPECT_EQ(test::Difference(before, test::TweakedState(machine)), std::vector<std::string>{})
                << "seed " << seed << (oneRun ? ", one run" : ", page by page") << ", live selection "
                << Describe(live);
        }
    }
}

}  // namespace
}  // namespace quillon
