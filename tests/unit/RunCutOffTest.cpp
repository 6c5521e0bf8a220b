// A run cut off anywhere, or raced by another program, leaves a record whose
// undo restores exactly what the run changed and nothing it did not.
#include <gtest/gtest.h>

#include "planning/Plan.h"
#include "platform/ForwardingPlatform.h"
#include "record/Journal.h"
#include "record/RecordStore.h"
#include "restore/Restore.h"
#include "tests/unit/JournalMachine.h"
#include "window/OptimiseRun.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::TweakedState;

// From its `cutAt`th started tool on, starts none: a run cut off there, as when the program is ended.
// `beforeTool` runs just before each tool that does start: another program at work meanwhile.
class CutOffMachine : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    CutOffMachine(Platform& below, const RunStack&) : ForwardingPlatform(below) {}  // a layer of a run's stack
    int cutAt = -1;
    int started = 0;
    std::function<void(int)> beforeTool;
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        if (cutAt >= 0 && started >= cutAt) throw PlatformError("cut off");
        if (beforeTool) beforeTool(started);
        ++started;
        return ForwardingPlatform::startHidden(commandLine);
    }
};

// Runs pages one after another through a journal, with `cutAbove` tools let
// through above it when set. Unless `finished`, the journal is not finished:
// what is on the disk is what an ended program leaves.
std::string RunPages(Platform& below, test::MemoryForm& form, const std::vector<Page>& pages, bool finished = false,
                     int cutAbove = -1) {
    test::JournalStack run(below);
    run.stack.stack<CutOffMachine>().cutAt = cutAbove;
    run.stack.run(form, "Tester", [&](RunContext& context) {
        for (Page page : pages) {
            form.showOnly(page);
            RunOptimise(context);
        }
    });
    return finished ? run.journal.finish() : run.journal.folder();
}

// Furnished, less one service the Services page names: its change is "not present".
void Furnish(sim::SimWindows& machine) {
    FurnishMachine(machine);
    machine.registry().deleteKey(ServiceKey(std::string(kServices[0].serviceName)));
}

// The last value the System page sets, everything ticked, with what it writes.
PlannedEffect LastSystemValue(sim::SimWindows& machine, test::MemoryForm& form) {
    form.showOnly(Page::System);
    PlannedEffect last;
    const Page system[] = {Page::System};
    for (const PlannedEffect& p : PlanRun(form, machine, "Tester", system))
        if (p.effect.kind == EffectKind::SetValue && p.changes) last = p;
    return last;
}

TEST(RunCutOff, ARunCutOffAtAnyToolRestoresExactly) {
    // Pages one by one, and together, where a later page may write a value an earlier one wrote.
    for (bool wow64 : test::kBothWindows)
    for (const std::vector<Page>& pages : std::vector<std::vector<Page>>{
             {Page::System}, {Page::Security}, {Page::Services}, {Page::Services, Page::System, Page::Security}}) {
        SCOPED_TRACE(static_cast<int>(pages.front()) * 10 + static_cast<int>(pages.size()) + (wow64 ? 100 : 0));
        sim::SimWindows sizing;
        sizing.setWow64(wow64);
        Furnish(sizing);
        test::MemoryForm form;
        test::SelectEverything(form, sizing, true);
        CutOffMachine counting(sizing);
        RunPages(counting, form, pages);

        // Ended there, or the power failed there too and took what was not on the disk.
        for (int cut = 0; cut <= counting.started; ++cut)
            for (bool powerLost : {false, true}) {
                SCOPED_TRACE(std::to_string(cut) + (powerLost ? ", power lost" : ""));
                sim::SimWindows machine;
                machine.setWow64(wow64);
                Furnish(machine);
                const auto prior = TweakedState(machine);
                CutOffMachine cutOff(machine);
                cutOff.cutAt = cut;
                const std::string folder = RunPages(cutOff, form, pages);
                if (powerLost) machine.powerCut();
                // The change whose tool's end the record never saw is kept; the rest is as before.
                if (!folder.empty()) test::RestoreThenPutBackUncertain(machine, folder);
                EXPECT_EQ(test::Difference(prior, TweakedState(machine)), std::vector<std::string>{});
            }
    }
}

TEST(RunCutOff, AChangeThatNeverStartedIsLeftToWhoeverWritesItLater) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    const PlannedEffect last = LastSystemValue(machine, form);
    ASSERT_FALSE(last.effect.target.empty());

    // Ended during the tool before the last change's: the last never starts.
    sim::SimWindows copy;
    FurnishMachine(copy);
    CutOffMachine counting(copy);
    RunPages(counting, form, {Page::System});
    const std::string folder = RunPages(machine, form, {Page::System}, false, counting.started - 1);
    ASSERT_FALSE(folder.empty());
    ASSERT_NE(machine.registryValue(last.effect.target, last.effect.name), last.effect.data);
    // An administrator then writes just what the run would have written.
    machine.registry().setValue(last.effect.target, last.effect.name, sim::Value::Of(last.effect.data));
    RestoreRecord(machine, folder);
    EXPECT_EQ(machine.registryValue(last.effect.target, last.effect.name), last.effect.data);
}

TEST(RunCutOff, AValueChangedByAnotherProgramDuringTheRunGetsBackWhatItHeldJustBeforeTheRunsChange) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    const PlannedEffect last = LastSystemValue(machine, form);
    const RegValue theirs = TextValue(reg_type::String, "written by another program");

    CutOffMachine racing(machine);
    racing.beforeTool = [&](int started) {
        if (started == 0) machine.registry().setValue(last.effect.target, last.effect.name, sim::Value::Of(theirs));
    };
    const std::string folder = RunPages(racing, form, {Page::System}, true);
    ASSERT_FALSE(folder.empty());
    RestoreRecord(machine, folder);
    EXPECT_EQ(machine.registryValue(last.effect.target, last.effect.name), theirs);
}

}  // namespace
}  // namespace quillon
