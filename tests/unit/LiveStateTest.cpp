// Live state per box, from the plan of everything ticked.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "window/OptimiseRun.h"
#include "record/Journal.h"
#include "planning/LiveState.h"
#include "engine/ServiceCatalogue.h"
#include "tests/unit/JournalMachine.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::TweakedState;

TEST(LiveState, FollowsWhatTheMachineHas) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    auto states = [&] {
        std::map<std::string, int> count;
        for (const LiveBox& box : LiveState(machine, "Tester")) ++count[BoxStateName(box.state)];
        return count;
    };
    auto find = [&](Page page, int box, int entry) {
        for (const LiveBox& b : LiveState(machine, "Tester"))
            if (b.page == page && b.box == box && b.entry == entry) return b.state;
        return BoxState::Unknown;
    };
    EXPECT_EQ(find(Page::Security, 39, -1), BoxState::Off);
    // Off only where unticking has nothing left to do: "auto" is neither side of a Services entry.
    EXPECT_EQ(find(Page::Services, -1, 0), BoxState::Partial);
    machine.registry().setValue("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter", "Start", sim::Value::Dword(3));
    EXPECT_EQ(find(Page::Services, -1, 0), BoxState::Off);

    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    RunContext context{form, machine, "Tester"};
    for (Page page : {Page::System, Page::Security, Page::Services}) {
        form.showOnly(page);
        RunOptimise(context);
    }
    const auto after = states();
    EXPECT_EQ(after.count("off"), 0u);
    EXPECT_EQ(after.count("partial"), 0u);
    EXPECT_EQ(find(Page::System, 74, -1), BoxState::Unknown);  // chkntfs cannot be read back
    EXPECT_EQ(find(Page::Security, 39, -1), BoxState::On);
    EXPECT_EQ(find(Page::Services, -1, 0), BoxState::On);
    machine.registry().setValue("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer", "NoSetTaskbar",
                                sim::Value::Dword(0));
    EXPECT_EQ(find(Page::Security, 21, -1), BoxState::Partial);
}

// On a machine where nothing was ever set, no box is "partly" in place: each
// is on, off, not set or cannot be read; once every box has been applied,
// none is "not set" any more. A service the machine lacks is absent, never on
// (so is a box that only sets services the machine lacks).
TEST(LiveState, NotSetOnlyWhereNoneOfTheValuesIsThere) {
    sim::SimWindows machine;  // nothing set, and only the second service there
    machine.registry().setValue("HKLM\\SYSTEM\\CurrentControlSet\\Services\\" + std::string(kServices[1].serviceName),
                                "Start", sim::Value::Dword(3));
    std::map<std::string, int> before;
    for (const LiveBox& box : LiveState(machine, "Tester")) {
        ++before[BoxStateName(box.state)];
        if (box.page == Page::Services) {
            EXPECT_EQ(box.state == BoxState::Absent, box.entry != 1) << box.entry;
        }
    }
    EXPECT_EQ(before.count("partial"), 0u);
    EXPECT_GT(before["not set"], 10);

    test::MemoryForm form;
    test::SelectEverything(form, machine, false);
    RunContext context{form, machine, "Tester"};
    for (Page page : {Page::System, Page::Security}) {
        form.showOnly(page);
        RunOptimise(context);
    }
    for (const LiveBox& box : LiveState(machine, "Tester")) {
        EXPECT_TRUE(box.page == Page::Services || box.state != BoxState::NotSet) << box.box;
    }
}

}  // namespace
}  // namespace quillon
