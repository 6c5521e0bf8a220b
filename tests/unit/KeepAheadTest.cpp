// Values a page alone touches are kept in one write at its first change: the
// record must still restore exactly wherever the run is cut off, and never
// take back what the run did not do.
#include <gtest/gtest.h>

#include "engine/OptimiseRun.h"
#include "journal/Journal.h"
#include "journal/RecordStore.h"
#include "journal/Restore.h"
#include "journal/UndoRecordWriter.h"
#include "platform/ForwardingPlatform.h"
#include "tests/unit/JournalMachine.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::TweakedState;

// A machine that counts flushed writes and, from its `cutAt`th started tool
// on, starts none: a run cut off there, as when the program is ended.
class CutOffMachine : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    int cutAt = -1;
    int started = 0;
    int flushed = 0;
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        if (cutAt >= 0 && started >= cutAt) throw PlatformError("cut off");
        ++started;
        return ForwardingPlatform::startHidden(commandLine);
    }
    void appendFileFlushed(const std::string& path, std::string_view bytes) override {
        ++flushed;
        ForwardingPlatform::appendFileFlushed(path, bytes);
    }
};

// Runs pages, one after another, through a journal that keeps its lone values ahead, with
// `alsoPlanned` added to each forecast. Unless `finished`, the journal is not
// finished: what is on the disk is what an ended program leaves.
std::string RunPagesAhead(Platform& below, test::MemoryForm& form, std::vector<Page> pages, bool finished = false,
                          const std::vector<Effect>& alsoPlanned = {}) {
    JournalPlatform journal(below, DefaultUndoRoot(below));
    RunContext context{form, journal, "Tester"};
    journal.follow(context.step);
    journal.forecast([&](Page p) {
        auto plan = PlanPhase(form, below, "Tester", context.pagesOfRun, p);
        for (const Effect& e : alsoPlanned) plan.push_back({e, context.step, "", "", true});
        return plan;
    });
    for (Page page : pages) {
        form.showOnly(page);
        RunOptimise(context);
    }
    return finished ? journal.finish() : journal.folder();
}

// Furnished, less one service the Services page names: its change is "not present".
void Furnish(sim::SimWindows& machine) {
    FurnishMachine(machine);
    machine.registry().deleteKey(ServiceKey(std::string(kServices[0].serviceName)));
}

TEST(KeepAhead, APageKeepsItsLoneValuesInAFewWritesAndARunCutOffAnywhereRestoresExactly) {
    // Pages one by one, and together, where a later page's value may have been kept by an earlier one.
    for (const std::vector<Page>& pages : std::vector<std::vector<Page>>{
             {Page::System}, {Page::Security}, {Page::Services}, {Page::Services, Page::System, Page::Security}}) {
        SCOPED_TRACE(static_cast<int>(pages.front()) * 10 + static_cast<int>(pages.size()));
        sim::SimWindows sizing;
        Furnish(sizing);
        test::MemoryForm form;
        test::SelectEverything(form, sizing, true);
        CutOffMachine counting(sizing);
        RunPagesAhead(counting, form, pages);
        // One flushed write per change was the rule before: far fewer now.
        EXPECT_LT(counting.flushed * 3, counting.started) << counting.flushed << " of " << counting.started;

        for (int cut = 0; cut <= counting.started; ++cut) {
            SCOPED_TRACE(cut);
            sim::SimWindows machine;
            Furnish(machine);
            const auto prior = TweakedState(machine);
            CutOffMachine cutOff(machine);
            cutOff.cutAt = cut;
            const std::string folder = RunPagesAhead(cutOff, form, pages);
            if (!folder.empty()) RestoreRecord(machine, folder);
            EXPECT_EQ(test::Difference(prior, TweakedState(machine)), std::vector<std::string>{});
        }
    }
}

TEST(KeepAhead, AValueKeptAheadThatTheRunNeverChangedIsLeftToWhoeverWritesItLater) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    const std::string desktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    const Effect never{EffectKind::SetValue, desktop, "Planned", TextValue(reg_type::String, "1"), {}, 0, false};

    const std::string folder = RunPagesAhead(machine, form, {Page::System}, true, {never});
    ASSERT_FALSE(folder.empty());
    // Another program writes just what the plan foresaw, after the run.
    machine.registry().setValue(desktop, "Planned", sim::Value::String("1"));
    RestoreRecord(machine, folder);
    EXPECT_EQ(machine.registryValue(desktop, "Planned"), TextValue(reg_type::String, "1"));
}

TEST(KeepAhead, AValueAnEarlierPageChangedWaitsForItsOwnChangeOnALaterPage) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    const std::string desktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    const auto prior = machine.registryValue(desktop, "HungAppTimeout");
    const auto set = [&](const char* data) {
        return Effect{EffectKind::SetValue, desktop, "HungAppTimeout", TextValue(reg_type::String, data), {}, 0, false};
    };
    std::string folder;
    {
        UndoRecordWriter record(machine, DefaultUndoRoot(machine), false);
        record.keep(set("1"));  // the first page's change, made
        machine.registry().setValue(desktop, "HungAppTimeout", sim::Value::String("1"));
        record.keepAhead({set("2")});  // the next page's, cut off before it is made
        EXPECT_FALSE(record.takeAhead(set("2")));
        folder = record.folder();
    }
    RestoreRecord(machine, folder);
    EXPECT_EQ(machine.registryValue(desktop, "HungAppTimeout"), prior);
}

}  // namespace
}  // namespace quillon
