// A run's undo record restores the machine, even for a run cut off half-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine/OptimiseRun.h"
#include "journal/Journal.h"
#include "journal/Plan.h"
#include "journal/Restore.h"
#include "tests/unit/JournalMachine.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::TweakedState;

// Every page applied in turn, as one run with one record.
std::vector<RecordedEffect> RunEveryPage(test::MemoryForm& form, JournalPlatform& journal) {
    RunContext context{form, journal, "Tester"};
    journal.follow(context.step);
    for (Page page : RunOrder()) {
        form.showOnly(page);
        RunOptimise(context);
    }
    return journal.effects();
}

// Driver.cab is not kept (freeing its space is what its box is for), and a run
// cut off may leave the registry writer's scratch script behind.
std::vector<std::string> WithoutCabinet(std::vector<std::string> state) {
    std::erase_if(state, [](const std::string& line) {
        return line.find("Driver.cab") != std::string::npos || line.rfind("C:\\tempreg.reg=", 0) == 0;
    });
    return state;
}

TEST(Restore, PlanEqualsTheRunAndTheRecordRestoresEverythingForBothSidesOfEveryBox) {
    for (bool ticked : {true, false}) {
        SCOPED_TRACE(ticked ? "everything ticked" : "everything unticked");
        sim::SimWindows machine;
        FurnishMachine(machine);
        test::MemoryForm form;
        test::SelectEverything(form, machine, ticked);
        const auto prior = TweakedState(machine);

        const auto plan = PlanRun(form, machine, "Tester", RunOrder());
        JournalPlatform journal(machine, UndoRoot(machine));
        const auto done = RunEveryPage(form, journal);

        ASSERT_EQ(plan.size(), done.size());
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_EQ(DescribeEffect(plan[i].effect), DescribeEffect(done[i].effect)) << i;
            EXPECT_EQ(DescribeStep(plan[i].step), DescribeStep(done[i].step)) << i;
            EXPECT_EQ(plan[i].before, done[i].before) << DescribeEffect(done[i].effect);
            EXPECT_EQ(plan[i].changes, done[i].changes && !done[i].failed) << DescribeEffect(done[i].effect);
        }
        EXPECT_NE(TweakedState(machine), prior);
        ASSERT_TRUE(journal.recording());

        const RestoreReport report = RestoreRecord(machine, journal.folder());
        EXPECT_EQ(report.failed, 0);
        EXPECT_EQ(test::Difference(WithoutCabinet(prior), WithoutCabinet(TweakedState(machine))),
                  std::vector<std::string>{});
        RestoreRecord(machine, journal.folder());
        EXPECT_EQ(WithoutCabinet(TweakedState(machine)), WithoutCabinet(prior)) << "restored twice";

        ASSERT_FALSE(report.undoFolder.empty());
    }
}

TEST(Restore, ARunCutOffAnywhereLeavesARecordOfEverythingItDid) {
    for (int cut : {1, 2, 5, 13, 29, 47, 71, 96, 120, 200, 333, 500, 800}) {
        SCOPED_TRACE(cut);
        sim::SimWindows machine;
        FurnishMachine(machine);
        test::MemoryForm form;
        test::SelectEverything(form, machine, true);
        const auto prior = TweakedState(machine);
        // Nothing after that point happens, the record's own writes included.
        machine.cutPowerAfter(cut);
        JournalPlatform journal(machine, UndoRoot(machine));
        RunEveryPage(form, journal);
        const std::string folder = journal.folder();
        machine.cutPowerAfter(std::nullopt);
        if (!folder.empty()) RestoreRecord(machine, folder);  // without one, nothing was changed either
        EXPECT_EQ(test::Difference(WithoutCabinet(prior), WithoutCabinet(TweakedState(machine))),
                  std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace quillon
