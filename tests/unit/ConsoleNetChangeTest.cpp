// Runs that converge and say only what they did: the net change of PREVIEW,
// CHECK and APPLY, /on and /off, failures named, one run at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "console/Verbs.h"
#include "tests/unit/ConsoleTerminal.h"
#include "window/OptimiseRun.h"
#include "engine/RegistryWriter.h"
#include "planning/NetChange.h"
#include "settings/SelectionFile.h"
#include "tests/unit/JournalMachine.h"
#include "effects/ChangeWords.h"

namespace quillon::console {
namespace {


struct NetChangeConsole : ::testing::Test {
    sim::SimWindows machine;
    RecordingTerminal terminal;
    std::string file = "C:\\deploy\\office.dat";

    void SetUp() override {
        test::FurnishMachine(machine);
        test::MemoryForm form;
        // 19 and 35 write the same value; 54 and 76 sit on two pages' paths.
        for (int box : {19, 21, 54, 43, 25, 22, 41, 65, 76}) form.setChk(box, kTicked);
        form.setListSelected(CheckList::Service, 0, true);
        form.setTxtPath("C:\\Downloads");
        machine.files().addDirectory("C:\\deploy");
        machine.writeTextFile(file, SelectionLines(form));
    }
    int run(std::vector<std::string> arguments) {
        terminal = RecordingTerminal{};
        return RunConsole(arguments, terminal, machine);
    }
    std::string err() const {
        std::string all;
        for (const auto& line : terminal.errLines) all += line + "\n";
        return all;
    }
};

TEST_F(NetChangeConsole, ApplyConvergesAndCheckSaysWhenTheMachineDrifts) {
    ASSERT_EQ(run({"CHECK", "/selection", file}), kDrifted);
    const auto drift = terminal.outLines;
    ASSERT_EQ(run({"PREVIEW", "/selection", file}), kDone);
    // CHECK lists what PREVIEW would change, less the tools that cannot be read back.
    for (const auto& line : drift) EXPECT_NE(std::find(terminal.outLines.begin(), terminal.outLines.end(), line), terminal.outLines.end()) << line;

    ASSERT_EQ(run({"APPLY", "/selection", file}), kDone) << err();
    std::set<std::string> targets;
    for (const auto& line : terminal.outLines) {
        const auto fields = Fields(line);
        if (fields[0] == "undo") continue;
        ASSERT_EQ(fields.size(), 6u) << line;
        EXPECT_TRUE(fields[4] != fields[5] || fields[3].starts_with("run ")) << line;
        EXPECT_TRUE(targets.insert(fields[3]).second) << "shown twice: " << line;
    }

    EXPECT_EQ(run({"CHECK", "/selection", file}), kDone) << (terminal.outLines.empty() ? "" : terminal.outLines[0]);
    EXPECT_TRUE(terminal.outLines.empty());
    const auto before = test::TweakedState(machine);
    ASSERT_EQ(run({"APPLY", "/selection", file, "/page", "System", "/page", "Security", "/page", "Services"}), kDone);
    // A second run lists no change (whether it keeps a record is the journal's to say).
    for (const auto& line : terminal.outLines) EXPECT_TRUE(line.starts_with("undo\t")) << line;
    EXPECT_EQ(test::TweakedState(machine), before);

    // One value drifts: CHECK names the box it belongs to.
    machine.registry().setValue("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot",
                                sim::Value::Dword(7));
    ASSERT_EQ(run({"CHECK", "/selection", file}), kDrifted);
    ASSERT_EQ(terminal.outLines.size(), 1u);
    EXPECT_EQ(Fields(terminal.outLines[0])[1], "54") << terminal.outLines[0];
}

TEST_F(NetChangeConsole, OnAndOffChangeOnlyTheListedBoxes) {
    const auto before = test::MachineState(machine);
    ASSERT_EQ(run({"PREVIEW", "/on", "54", "/off", "Alerter"}), kDone);
    const auto planned = terminal.outLines;
    ASSERT_EQ(run({"APPLY", "/on", "54", "/off", "alerter", "/noundo"}), kDone) << err();
    EXPECT_EQ(terminal.outLines, planned);
    std::vector<std::string> changed;
    const auto after = test::MachineState(machine);
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    ASSERT_FALSE(changed.empty());
    for (const auto& line : changed)
        EXPECT_TRUE(line.find("\\crashcontrol|") != std::string::npos || line.find("\\alerter|") != std::string::npos)
            << "changed outside boxes 54 and Alerter: " << line;
    for (const auto& line : planned) {
        const auto number = Fields(line)[1];
        EXPECT_TRUE(number == "54" || number == "0") << line;
    }
}

TEST_F(NetChangeConsole, ARefusedWriteIsAFailedStepNamedWithItsReason) {
    machine.files().addDirectory(std::string(kScriptPath));  // the registry writer's script cannot be made
    ASSERT_EQ(run({"APPLY", "/selection", file, "/page", "System"}), kSomeStepsFailed);
    EXPECT_NE(err().find("failed: System 54 "), std::string::npos) << err();
    EXPECT_NE(err().find(std::string(kScriptPath)), std::string::npos) << err();  // the system's words name the file
    // What is listed was made: nothing in the registry, since every import was refused.
    for (const auto& line : terminal.outLines) EXPECT_EQ(line.find("\tset HKEY_"), std::string::npos) << line;

    ASSERT_EQ(run({"APPLY", "/selection", file, "/page", "System", "/noundo"}), kSomeStepsFailed);
    for (const auto& line : terminal.outLines) EXPECT_EQ(line.find("\tset HKEY_"), std::string::npos) << line;
}

TEST_F(NetChangeConsole, ASecondRunWaitsForTheFirstAndGivesUpChangingNothing) {
    machine.setRunLockHeldElsewhere(true);
    const auto before = test::MachineState(machine);
    EXPECT_EQ(run({"APPLY", "/selection", file, "/wait", "3"}), kBadUsage);
    EXPECT_NE(err().find("waiting for another Quillon run to end..."), std::string::npos) << err();
    EXPECT_EQ(machine.runLockWaits().back(), std::chrono::seconds(3));
    EXPECT_EQ(run({"UNDO"}), kBadUsage);
    EXPECT_EQ(machine.runLockWaits().back(), std::chrono::minutes(5));
    EXPECT_EQ(test::MachineState(machine), before);

    // The window waits on the same lock and says why nothing happened.
    test::MemoryForm form;
    form.setChk(54, kTicked);
    form.setPageVisible(Page::System, true);
    RunContext context{form, machine, "Tester"};
    RunOptimise(context);
    EXPECT_NE(form.label(Label::Wait).find("Another Quillon run"), std::string::npos) << form.label(Label::Wait);
    EXPECT_TRUE(machine.commands().empty());

    machine.setRunLockHeldElsewhere(false);
    ASSERT_EQ(run({"APPLY", "/selection", file, "/page", "System"}), kDone);
    EXPECT_EQ(machine.runLockHolds(), 0);  // given back at the end
}

TEST_F(NetChangeConsole, AServiceTheMachineLacksIsNeitherDriftNorFailure) {
    machine.registry().deleteKey("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter");
    ASSERT_EQ(run({"APPLY", "/on", "Alerter"}), kDone) << err();
    EXPECT_NE(err().find("not present: Services 0 "), std::string::npos) << err();
    EXPECT_EQ(err().find("failed"), std::string::npos) << err();
    for (const auto& line : terminal.outLines) EXPECT_TRUE(line.starts_with("undo\t")) << line;
    EXPECT_EQ(run({"CHECK", "/on", "Alerter"}), kDone) << (terminal.outLines.empty() ? "" : terminal.outLines[0]);
    EXPECT_FALSE(machine.registry().keyExists("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter"));
}

TEST_F(NetChangeConsole, TheRecordCallsAServiceTheMachineLacksNotPresentNotFailed) {
    machine.registry().deleteKey("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter");
    ASSERT_EQ(run({"APPLY", "/on", "54,Alerter"}), kDone) << err();
    const auto fields = Fields(terminal.outLines.back());
    ASSERT_EQ(fields.front(), "undo");
    const std::string log = machine.files().content(fields.back() + "\\changes.txt").value_or("");
    EXPECT_NE(log.find("AutoReboot"), std::string::npos) << log;
    // Nothing to change there, so no tool was started for it and nothing failed.
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << log;
    for (const auto& command : machine.commands()) EXPECT_EQ(command.find("Alerter"), std::string::npos) << command;
}

TEST(NetChangeWatch, ATargetShowsOnceAndWhatIsPutBackIsNoChange) {
    sim::SimWindows machine;
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Q";
    machine.registry().setValue(key, "a", sim::Value::String("1"));
    machine.registry().setValue(key + "\\Sub", "b", sim::Value::Dword(2));
    test::MemoryForm form;
    // Each command run as a step of the box given, through a watch of its own stack.
    const auto watched = [&](const std::vector<std::pair<int, std::string>>& commands) {
        RunStack stack(machine);
        NetChangeWatch& watch = stack.stack<NetChangeWatch>();
        stack.run(form, "Tester", [&](RunContext& context) {
            for (const auto& [box, command] : commands) {
                context.step = StepTag{Page::System, {box, -1}, {}, -1, {}};
                context.platform.startHidden(command)->waitPumping(std::chrono::seconds(1));
            }
        });
        return watch.changes();
    };
    // Deleted and made again as it was: no change.
    // One value two boxes set: one change naming both.
    const std::string other = "HKEY_CURRENT_USER\\Software\\Q";
    const auto changes = watched({{3, "reg delete \"" + key + "\" /f"},
                                  {4, "reg add \"" + key + "\" /v a /t REG_SZ /d 1 /f"},
                                  {4, "reg add \"" + key + "\\Sub\" /v b /t REG_DWORD /d 2 /f"},
                                  {4, "reg add \"" + other + "\" /v x /t REG_DWORD /d 1 /f"},
                                  {5, "reg add \"" + other + "\" /v x /t REG_DWORD /d 0 /f"}});
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[0].changed) << DescribeState(changes[0].before) << " -> " << DescribeState(changes[0].after);
    EXPECT_TRUE(changes[1].changed);
    ASSERT_EQ(changes[1].steps.size(), 2u);
    EXPECT_EQ(changes[1].steps[0].boxes[0], 4);
    EXPECT_EQ(changes[1].steps[1].boxes[0], 5);
    EXPECT_EQ(changes[1].before, Presence(false));

    // A value of the tree left out when it was made again is a change of the tree.
    machine.registry().setValue(key, "c", sim::Value::String("3"));
    const auto tree =
        watched({{5, "reg delete \"" + key + "\" /f"}, {5, "reg add \"" + key + "\" /v a /t REG_SZ /d 1 /f"}});
    ASSERT_EQ(tree.size(), 1u);
    EXPECT_TRUE(tree[0].changed);
    EXPECT_EQ(DescribeState(tree[0].before), "present, 3 values");
    EXPECT_EQ(DescribeState(tree[0].after), "present, 1 value");

    // A value set, then its whole key deleted: the machine holds what the run left, nothing missed.
    for (const Change& change :
         watched({{5, "reg add \"" + other + "\" /v y /t REG_DWORD /d 5 /f"}, {5, "reg delete \"" + other + "\" /f"}}))
        EXPECT_FALSE(change.missed) << DescribeWhat(change);
}

}  // namespace
}  // namespace quillon::console

namespace quillon::console {
namespace {

// Registry imports that report success and write nothing, as regedit does
// for a value the user may not write.
class SilentRegedit final : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        if (commandLine.find("regedit") == std::string::npos) return machine_.startHidden(commandLine);
        struct Succeeded final : StartedProcess {
            bool waitPumping(std::chrono::milliseconds) override { return true; }
            void terminate() override {}
            std::optional<int> exitCode() const override { return 0; }
        };
        return std::make_unique<Succeeded>();
    }
};

TEST_F(NetChangeConsole, AWriteThatReportsSuccessButDidNotHappenIsAFailure) {
    SilentRegedit silent(machine);
    terminal = RecordingTerminal{};
    const std::vector<std::string> arguments{"APPLY", "/on", "54", "/noundo"};
    EXPECT_EQ(RunConsole(arguments, terminal, silent), kSomeStepsFailed);
    EXPECT_NE(err().find("failed: System 54 "), std::string::npos) << err();
    EXPECT_NE(err().find("did not take effect"), std::string::npos) << err();
    EXPECT_TRUE(terminal.outLines.empty()) << terminal.outLines[0];
}

// A tool that says it failed is named by its command line, to be run again by hand.
class FailingRegedit final : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        if (commandLine.find("regedit") == std::string::npos) return machine_.startHidden(commandLine);
        struct Failed final : StartedProcess {
            bool waitPumping(std::chrono::milliseconds) override { return true; }
            void terminate() override {}
            std::optional<int> exitCode() const override { return 5; }
        };
        return std::make_unique<Failed>();
    }
};

TEST_F(NetChangeConsole, AToolThatFailsIsNamedByItsCommand) {
    FailingRegedit failing(machine);
    terminal = RecordingTerminal{};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/on", "54", "/noundo"}, terminal, failing), kSomeStepsFailed);
    EXPECT_NE(err().find("failed: System 54 "), std::string::npos) << err();
    EXPECT_NE(err().find("(exit code 5): "), std::string::npos) << err();
    EXPECT_NE(err().find("regedit"), std::string::npos) << err();
}

// What /list counts of a run where a step failed is what APPLY printed: a failed write is no change.
TEST_F(NetChangeConsole, ListCountsWhatAFailedRunPrinted) {
    FailingRegedit failing(machine);
    terminal = RecordingTerminal{};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/selection", file}, terminal, failing), kSomeStepsFailed);
    int printed = 0;
    for (const auto& line : terminal.outLines) printed += Fields(line).size() == 6;
    terminal = RecordingTerminal{};
    ASSERT_EQ(RunConsole(std::vector<std::string>{"UNDO", "/list"}, terminal, machine), kDone);
    ASSERT_EQ(terminal.outLines.size(), 1u) << err();
    EXPECT_EQ(Fields(terminal.outLines[0]).at(6), std::to_string(printed)) << terminal.outLines[0];
}

}  // namespace
}  // namespace quillon::console
