#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/Phases.h"
#include "engine/ServiceCatalogue.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"
#include "tests/unit/BoxTable.h"

namespace quillon {
namespace {

const std::string kServicesKey = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
constexpr std::uint32_t kAuto = 2, kDemand = 3, kDisabled = 4;

class ServicesPhase : public testing::Test {
protected:
    ServicesPhase() {
        for (std::string_view service : test::kServiceNames)
            machine.registry().setValue(kServicesKey + std::string(service), "Start", sim::Value::Dword(kAuto));
        form.showOnly(Page::Services);
    }
    void tick(const std::set<int>& positions) {
        for (int p : positions) form.setListSelected(CheckList::Service, p, true);
    }
    void run() {
        RunContext context{form, machine, "Tester"};
        RunServicesPhase(context);
    }
    std::optional<std::uint32_t> start(std::string_view service) {
        return machine.registry().dwordValue(kServicesKey + std::string(service), "Start");
    }
    static std::vector<std::string> commandsFor(const std::set<int>& ticked) {
        std::vector<std::string> lines;
        for (int p = 0; p < static_cast<int>(test::kServiceNames.size()); ++p)
            lines.push_back("sc \\\\. config " + std::string(test::kServiceNames[p]) +
                            (ticked.count(p) ? " start= disabled" : " start= demand"));
        return lines;
    }

    sim::SimWindows machine;
    test::MemoryForm form;
};

TEST_F(ServicesPhase, NothingTickedSetsEveryServiceToManualStart) {
    run();
    EXPECT_EQ(machine.commands(), commandsFor({}));
    for (std::string_view service : test::kServiceNames) EXPECT_EQ(start(service), kDemand) << service;
}

TEST_F(ServicesPhase, EverythingTickedDisablesEveryServiceSpoolerAndServerIncluded) {
    std::set<int> all;
    for (int p = 0; p < 19; ++p) all.insert(p);
    tick(all);
    run();
    EXPECT_EQ(machine.commands(), commandsFor(all));
    for (std::string_view service : test::kServiceNames) EXPECT_EQ(start(service), kDisabled) << service;
    EXPECT_EQ(start("Spooler"), kDisabled);
    EXPECT_EQ(start("lanmanserver"), kDisabled);
}

TEST_F(ServicesPhase, MixedSelectionDisablesExactlyTheTickedPositions) {
    const std::set<int> ticked{0, 3, 4, 7, 11, 14, 15, 18};
    tick(ticked);
    run();
    EXPECT_EQ(machine.commands(), commandsFor(ticked));
    for (int p = 0; p < 19; ++p)
        EXPECT_EQ(start(test::kServiceNames[p]), ticked.count(p) ? kDisabled : kDemand) << p;
}

TEST_F(ServicesPhase, ModesAreSetBeforeThePhaseReturns) {
    machine.setDeferredExecution(true);  // a command only runs when waited for
    tick({2});
    run();
    EXPECT_EQ(start("ClipSrv"), kDisabled);
    EXPECT_EQ(start("WZCSVC"), kDemand);
}

TEST_F(ServicesPhase, BarMovesAfterTheFourthAndTheFifteenthCommand) {
    std::vector<int> widthWhileWaiting;
    machine.onPump([&] { widthWhileWaiting.push_back(form.progressWidth()); });
    run();
    std::vector<int> expected(4, 1000);
    expected.insert(expected.end(), 11, 2000);
    expected.insert(expected.end(), 4, 5000);
    EXPECT_EQ(widthWhileWaiting, expected);
    EXPECT_EQ(form.progressWidth(), 10905);
}

TEST_F(ServicesPhase, ServiceMissingFromTheMachineIsPassedOver) {
    machine.registry().deleteKey(kServicesKey + "Messenger");
    tick({7, 8});
    run();
    EXPECT_EQ(machine.commands().size(), 19u);
    EXPECT_FALSE(machine.registry().keyExists(kServicesKey + "Messenger"));
    EXPECT_EQ(start("Spooler"), kDisabled);
    EXPECT_EQ(start("WZCSVC"), kDemand);
}

TEST_F(ServicesPhase, ToolThatCannotStartOrHangsLeavesModesAndStillCompletesTheBar) {
    machine.setToolHangs("sc");
    run();
    EXPECT_EQ(machine.commands().size(), 19u);  // each tried, none waited for forever
    for (std::string_view service : test::kServiceNames) EXPECT_EQ(start(service), kAuto) << service;
    EXPECT_EQ(form.progressWidth(), 10905);

    sim::SimWindows noTool;
    noTool.setToolMissing("sc");
    RunContext context{form, noTool, "Tester"};
    RunServicesPhase(context);
    EXPECT_TRUE(noTool.commands().empty());
    EXPECT_EQ(form.progressWidth(), 10905);
}

TEST(ServiceCatalogue, TextsAndNamesStayInStep) {
    std::set<std::string_view> names;
    for (std::size_t p = 0; p < kServices.size(); ++p) {
        EXPECT_EQ(kServices[p].serviceName, test::kServiceNames.at(p)) << p;
        const std::string_view text = kServices[p].listText;
        names.insert(kServices[p].serviceName);
        // One run of blanks parts the display name from the description.
        const auto gap = text.find("  ");
        ASSERT_NE(gap, std::string_view::npos) << p;
        const auto end = text.find_first_not_of(' ', gap);
        EXPECT_EQ(end - gap, (p == 4 || p == 7) ? 3u : 4u) << text;
        EXPECT_EQ(text[end], '(') << text;
        EXPECT_EQ(text.back(), ')') << text;
        EXPECT_EQ(text.find("  ", end), std::string_view::npos) << text;
    }
    EXPECT_EQ(names.size(), kServices.size());
    EXPECT_EQ(kServices.size(), static_cast<std::size_t>(kServiceCount));
}

}  // namespace
}  // namespace quillon
