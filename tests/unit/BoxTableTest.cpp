// The System and Security pages against one table typed apart from their
// catalogues (BoxTable.h): the catalogues hold its rows and no others, and
// each box, on either side, leaves a simulated machine as the table says.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/Phases.h"
#include "engine/SecurityCatalogue.h"
#include "engine/SystemCatalogue.h"
#include "words/StepNames.h"
#include "platform/TextMatch.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"
#include "tests/unit/BoxTable.h"

namespace quillon {
namespace {

using test::BoxValue;
using test::kBoxValues;

std::string Text(std::optional<std::string_view> data) { return data ? "\"" + std::string(*data) + "\"" : "-"; }

std::string RowText(Page page, int box, std::string_view key, std::string_view name, bool dword,
                    std::optional<std::string_view> ticked, std::optional<std::string_view> unticked) {
    return std::to_string(static_cast<int>(page)) + " chk " + std::to_string(box) + " " +
           Lower(sim::SimRegistry::NormalisedKey(std::string(key))) + " " + std::string(name) +
           (dword ? " dword " : " string ") + Text(ticked) + " / " + Text(unticked);
}

TEST(BoxTable, TheCataloguesWriteEveryValueOfTheTableAndNoOther) {
    std::multiset<std::string> table, catalogues;
    for (const BoxValue& row : kBoxValues)
        table.insert(RowText(row.page, row.box, row.key, row.name, row.dword, row.ticked, row.unticked));
    for (auto [page, steps] : {std::pair{Page::System, SystemCatalogue()}, std::pair{Page::Security, SecurityCatalogue()}})
        for (const CatalogueStep& step : steps)
            if (const auto* flag = std::get_if<RegistryFlag>(&step))
                catalogues.insert(RowText(page, flag->box, flag->key, flag->valueName, flag->type == RegType::Dword,
                                          flag->tickedData, flag->untickedData));
    EXPECT_EQ(catalogues, table);
}

sim::Value Expected(const BoxValue& row, std::string_view data) {
    if (row.dword) return sim::Value::Dword(static_cast<std::uint32_t>(std::stoul(std::string(data), nullptr, 16)));
    return sim::Value::String(std::string(data));
}

const sim::Value kUntouched = sim::Value::String("as it was before the run");

// A machine on which every value of the table holds something no box writes.
void Furnish(sim::SimWindows& machine) {
    for (const BoxValue& row : kBoxValues) machine.registry().setValue(std::string(row.key), std::string(row.name), kUntouched);
}

void RunPage(sim::SimWindows& machine, test::MemoryForm& form, Page page) {
    form.showOnly(page);
    RunContext context{form, machine, "Tester"};
    (page == Page::System ? RunSystemPhase : RunSecurityPhase)(context);
}

std::optional<sim::Value> Held(sim::SimWindows& machine, const BoxValue& row) {
    return machine.registry().value(std::string(row.key), std::string(row.name));
}

// Whether another box of the page writes the same value on its unticked side.
bool WrittenUntickedByAnother(const BoxValue& row) {
    for (const BoxValue& other : kBoxValues)
        if (other.page == row.page && other.box != row.box && other.unticked && EqualNoCase(other.key, row.key) &&
            EqualNoCase(other.name, row.name))
            return true;
    return false;
}

TEST(BoxTable, EachBoxOnEitherSideLeavesTheMachineAsTheTableSays) {
    for (Page page : {Page::System, Page::Security}) {
        SCOPED_TRACE(static_cast<int>(page));
        std::set<int> boxes;
        for (const BoxValue& row : kBoxValues)
            if (row.page == page) boxes.insert(row.box);

        // Nothing ticked, or everything greyed (counted as unticked): every unticked side, and the one-sided
        // boxes leave their values alone.
        for (int side : {kUnticked, kGreyed}) {
            sim::SimWindows machine;
            Furnish(machine);
            test::MemoryForm form;
            for (int box = 0; box < kCheckBoxCount; ++box) form.setChk(box, side);
            RunPage(machine, form, page);
            for (const BoxValue& row : kBoxValues) {
                if (row.page != page) continue;
                if (row.unticked) {
                    EXPECT_EQ(Held(machine, row), Expected(row, *row.unticked)) << "chk " << row.box << " " << row.name;
                } else if (!WrittenUntickedByAnother(row)) {
                    EXPECT_EQ(Held(machine, row), kUntouched) << "chk " << row.box << " " << row.name;
                }
            }
        }

        // Each box ticked alone, then every box: the ticked side wins over another box's unticked side.
        std::vector<std::set<int>> ticks;
        for (int box : boxes) ticks.push_back({box});
        std::set<int> every;
        for (int box = 0; box < kCheckBoxCount; ++box) every.insert(box);
        ticks.push_back(every);
        for (const std::set<int>& ticked : ticks) {
            SCOPED_TRACE(ticked.size() == 1 ? "chk " + std::to_string(*ticked.begin()) : "every box");
            sim::SimWindows machine;
            Furnish(machine);
            test::MemoryForm form;
            for (int box : ticked) form.setChk(box, kTicked);
            RunPage(machine, form, page);
            for (const BoxValue& row : kBoxValues) {
                if (row.page == page && ticked.count(row.box)) {
                    EXPECT_EQ(Held(machine, row), Expected(row, *row.ticked)) << "chk " << row.box << " " << row.name;
                }
            }
        }
    }
}

TEST(BoxTable, EveryBoxIsOnThePageTheWordsName) {
    for (int box = 0; box < kCheckBoxCount; ++box) EXPECT_EQ(PageOfBox(box), std::optional(test::BoxPage(box))) << "chk " << box;
}

// Whatever is ticked, greyed or chosen, a page's bar moves through the same
// widths, forward, and ends full.
TEST(BoxTable, EachPhaseMovesItsBarThroughItsWidthsWhateverIsTicked) {
    const std::array<PhaseRun, 4> runs{RunSystemPhase, RunSecurityPhase, RunServicesPhase, RunSpeedPhase};
    for (std::size_t p = 0; p < test::kProgressWidths.size(); ++p) {
        const test::PageProgress& expected = test::kProgressWidths[p];
        std::vector<int> widths(expected.widths.begin(), std::find(expected.widths.begin(), expected.widths.end(), 0));
        ASSERT_EQ(widths.back(), kProgressFull);
        for (int selection = 0; selection < 4; ++selection) {
            SCOPED_TRACE(std::to_string(static_cast<int>(expected.page)) + " selection " + std::to_string(selection));
            sim::SimWindows machine;
            test::MemoryForm form;
            form.showOnly(expected.page);
            // none, every box, every other box greyed and the rest ticked, every third box ticked
            for (int box = 0; box < kCheckBoxCount; ++box)
                if (selection == 1 || (selection == 2 && box % 2) || (selection == 3 && box % 3 == 0))
                    form.setChk(box, kTicked);
                else if (selection == 2)
                    form.setChk(box, kGreyed);
            for (int entry = 0; entry < kServiceCount; ++entry)
                form.setListSelected(CheckList::Service, entry, selection % 2 == 1 || entry % 3 == 0);
            RunContext context{form, machine, "Tester"};
            runs[p](context);
            EXPECT_EQ(form.progressHistory(), widths);
        }
    }
}

}  // namespace
}  // namespace quillon
