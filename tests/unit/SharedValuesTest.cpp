// Values several boxes write: found by planning every box of every page, and
// in any run the box that stands ticked keeps what it wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "engine/SharedValues.h"
#include "planning/Plan.h"
#include "engine/SelectionForm.h"
#include "engine/ExplorerPolicyKeys.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "tests/unit/JournalMachine.h"
#include "effects/ChangeWords.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

using Value = std::pair<std::string, std::string>;  // key and name, lower case
using Writer = std::tuple<Page, int, int>;          // page, box, entry

std::optional<Value> ValueOf(const Effect& effect) {
    if (effect.kind == EffectKind::SetValue || effect.kind == EffectKind::DeleteValue)
        return Value{Lower(effect.target), Lower(effect.name)};
    if (effect.kind == EffectKind::ServiceStart) return Value{Lower(ServiceKey(effect.target)), "start"};
    return std::nullopt;
}

// Every box of a page, or every entry of the Services list, as writers.
std::vector<Writer> WritersOn(Page page) {
    std::vector<Writer> writers;
    if (page == Page::Services)
        for (int entry = 0; entry < kServiceCount; ++entry) writers.push_back({page, -1, entry});
    for (int box = 0; box < kCheckBoxCount; ++box)
        if (PageOfBox(box) == page) writers.push_back({page, box, -1});
    return writers;
}

SelectionForm Alone(const Writer& writer, bool ticked) {
    SelectionForm form;
    form.tickEverything(false);
    const auto [page, box, entry] = writer;
    if (box >= 0) form.setChk(box, ticked ? kTicked : kUnticked);
    else form.setListSelected(CheckList::Service, entry, ticked);
    return form;
}

bool FromWriter(const PlannedEffect& planned, const Writer& writer) {
    const auto [page, box, entry] = writer;
    return planned.step.page == page && (box >= 0 ? planned.step.hasBox(box) : planned.step.entry == entry);
}

// What each box's own step writes when it is ticked alone, and unticked.
struct Writes {
    std::map<Value, std::set<Writer>> ticked, either;
    std::map<std::pair<Value, Writer>, PlannedEffect> tickedEffect;
};

Writes PlanEveryBox(sim::SimWindows& machine) {
    Writes writes;
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Speed}) {
        const Page pages[] = {page};
        for (const Writer& writer : WritersOn(page))
            for (bool ticked : {true, false})
                for (const PlannedEffect& p : PlanRun(Alone(writer, ticked), machine, "Tester", pages)) {
                    const auto value = ValueOf(p.effect);
                    if (!value || !FromWriter(p, writer)) continue;
                    writes.either[*value].insert(writer);
                    if (!ticked) continue;
                    writes.ticked[*value].insert(writer);
                    writes.tickedEffect.insert({{*value, writer}, p});
                }
    }
    return writes;
}

TEST(SharedValues, TheTableHoldsEveryValueMoreThanOneBoxWritesWithTheBoxesWhoseTickedSideWritesIt) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    const Writes writes = PlanEveryBox(machine);

    std::map<Value, std::set<Writer>> found, table;
    for (const auto& [value, writers] : writes.either)
        if (writers.size() > 1) found[value] = writes.ticked.at(value);
    for (const SharedValue& shared : SharedValues())
        for (const ValueWriter& w : shared.writers)
            if (!w.none()) table[Value{Lower(NormalisedKey(shared.key)), Lower(shared.name)}].insert({w.page, w.box, w.entry});
    EXPECT_EQ(table, found);
    // The ones known to have been lost to a later unticked box are among them.
    EXPECT_TRUE(found.count(Value{Lower(NormalisedKey(explorer_policy_keys::kMachineExplorerPolicy)), "norun"}));
    EXPECT_GE(found.size(), 10u);
}

// For each shared value and each box whose ticked side writes it: that box
// ticked alone, every other box unticked, in a run of all the pages that write
// the value (in the run's order and the other way round) or of its own page,
// leaves the value as that box writes it.
TEST(SharedValues, TickingAnyOneOfTheSharingBoxesAloneLeavesItsTickedValue) {
    sim::SimWindows planned;
    test::FurnishMachine(planned);
    const Writes writes = PlanEveryBox(planned);
    int checked = 0;
    for (const SharedValue& shared : SharedValues()) {
        std::vector<Page> pages;
        for (Page page : RunOrder())
            for (const ValueWriter& w : shared.writers)
                if (!w.none() && w.page == page && std::find(pages.begin(), pages.end(), page) == pages.end())
                    pages.push_back(page);
        std::vector<Page> reversed(pages.rbegin(), pages.rend());
        for (const ValueWriter& w : shared.writers) {
            if (w.none()) continue;
            const Writer writer{w.page, w.box, w.entry};
            // A run that knows its pages up front (the plan, the window's Optimize)
            // never writes the unticked side first, not even for a moment.
            for (const PlannedEffect& p : PlanRun(Alone(writer, true), planned, "Tester", pages)) {
                const auto value = ValueOf(p.effect);
                if (value && value->second == Lower(shared.name) && EqualNoCase(value->first, NormalisedKey(shared.key))) {
                    EXPECT_TRUE(FromWriter(p, writer)) << shared.name << " written by " << StepNumber(p.step);
                }
            }
            for (const std::vector<Page>& run : {pages, reversed, std::vector<Page>{w.page}}) {
                sim::SimWindows machine;
                test::FurnishMachine(machine);
                SelectionForm form = Alone(writer, true);
                RunContext context{form, machine, "Tester"};
                for (Page page : run) {
                    form.setPageVisible(page, true);
                    RunPhase(context, page);
                }
                // Planned again on the machine as the run left it: the box's own
                // write of the value must be in place.
                const Page own[] = {w.page};
                bool seen = false;
                for (const PlannedEffect& p : PlanRun(Alone(writer, true), machine, "Tester", own)) {
                    const auto value = ValueOf(p.effect);
                    if (!value || !FromWriter(p, writer) || value->second != Lower(shared.name)) continue;
                    seen = true;
                    EXPECT_TRUE(p.inPlace) << shared.key << "\\" << shared.name << " ticked by " << PageName(w.page)
                                           << " " << (w.box >= 0 ? w.box : w.entry) << " in a run of " << run.size()
                                           << " pages: " << DescribeState(p.before);
                }
                EXPECT_TRUE(seen) << shared.name;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 60);
}

}  // namespace
}  // namespace quillon
