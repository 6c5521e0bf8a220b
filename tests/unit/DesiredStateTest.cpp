// STATUS, CHECK and EXPORT are one reading of the machine: they agree on
// machines no run prepared, box by box, and a /boxes file manages only what
// it names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <random>

#include "effects/ChangeWords.h"
#include "console/Verbs.h"
#include "engine/SelectionForm.h"
#include "engine/ServiceCatalogue.h"
#include "planning/Plan.h"
#include "platform/RegistryPath.h"
#include "tests/unit/ConsoleTerminal.h"
#include "tests/unit/JournalMachine.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

struct DesiredState : ::testing::Test {
    sim::SimWindows machine;
    RecordingTerminal terminal;
    const std::string file = "C:\\deploy\\golden.txt";

    void SetUp() override {
        test::FurnishMachine(machine);
        machine.files().addDirectory("C:\\deploy");
    }
    int run(std::vector<std::string> arguments) {
        terminal = RecordingTerminal{};
        return RunConsole(arguments, terminal, machine);
    }
    std::string out() const {
        std::string text;
        for (const auto& line : terminal.outLines) text += line + "\n";
        for (const auto& line : terminal.errLines) text += line + "\n";
        return text;
    }

    // Every target either side of any box touches, put at random into one of
    // the states a machine as it comes may hold; `clean`: none of them set.
    void Scramble(std::mt19937& random, bool clean = false) {
        SelectionForm form;
        std::vector<Effect> effects;
        for (bool ticked : {true, false}) {
            form.tickEverything(ticked);
            for (Page page : {Page::System, Page::Security, Page::Services})
                for (const PlannedEffect& p : PlanRun(form, machine, "Tester", std::span<const Page>(&page, 1)))
                    effects.push_back(p.effect);
        }
        auto& reg = machine.registry();
        const auto pick = [&](int count) { return clean ? 0 : static_cast<int>(random() % count); };
        for (const Effect& e : effects) {
            switch (e.kind) {
            case EffectKind::SetValue:
            case EffectKind::DeleteValue:
                switch (pick(8)) {
                case 0: reg.deleteValue(e.target, e.name); break;
                case 1:
                case 2: if (e.kind == EffectKind::SetValue) reg.setValue(e.target, e.name, sim::Value::Of(e.data)); break;
                case 3: reg.setValue(e.target, e.name, sim::Value::String("0")); break;   // another type
                case 4: reg.setValue(e.target, e.name, sim::Value::Dword(7)); break;      // other data
                case 5: reg.deleteKey(e.target); break;                                   // no key at all
                case 6: reg.setValue(KeyOf32BitView(NormalisedKey(e.target)), e.name, sim::Value::Dword(9)); break;  // the 32-bit view's
                default: break;                                                           // as furnished or as another box left it
                }
                break;
            case EffectKind::ServiceStart: {
                const int mode = pick(5);
                if (mode == 4) reg.deleteValue(ServiceKey(e.target), "Start");
                else reg.setValue(ServiceKey(e.target), "Start", sim::Value::Dword(clean ? 3 : 2 + mode % 3));
                break;
            }
            case EffectKind::DeleteKey:
            case EffectKind::CreateKey:
                if (pick(2)) reg.deleteKey(e.target);
                else reg.setValue(e.target, "", sim::Value::String("somebody's"));
                break;
            case EffectKind::DeleteFile:
                if (pick(2)) machine.files().deleteFile(e.target);
                else machine.files().addFile(e.target, "somebody's");
                break;
            default: break;
            }
        }
    }

    // The state STATUS gives each box, by how a /boxes file names it.
    std::map<std::string, std::string> Status() {
        EXPECT_EQ(run({"STATUS"}), kDone);
        std::map<std::string, std::string> states;
        for (const auto& line : terminal.outLines) {
            const auto fields = Fields(line);
            const bool entry = fields[0] == "Services";
            states[entry ? std::string(kServices.at(std::stoi(fields[1])).serviceName) : fields[1]] = fields[2];
        }
        return states;
    }
};

TEST_F(DesiredState, StatusCheckAndExportAgreeOnMachinesNoRunMade) {
    // Seed 0: no value of any box set, as on a new Windows.
    for (unsigned seed = 0; seed <= 40; ++seed) {
        // The second half on 64-bit Windows, whose 32-bit view holds settings too.
        if (seed == 21) {
            machine.setWow64(true);
            test::Furnish32BitView(machine);
        }
        std::mt19937 random(seed);
        Scramble(random, seed == 0);
        ASSERT_EQ(run({"EXPORT", "/boxes", file, "/force"}), kDone) << out();
        // The controls EXPORT could read go with each box, as they would in its file.
        std::vector<std::string> controls;
        for (const std::string& line : machine.readTextFile(file))
            if (!line.starts_with("on ") && !line.starts_with("off ")) controls.push_back(line);
        ASSERT_EQ(run({"CHECK", "/boxes", file}), kDone) << "seed " << seed << "\n" << out();
        // A selection file manages every box: it matches exactly where EXPORT names no box it cannot leave alone.
        ASSERT_EQ(run({"EXPORT", "/selection", file, "/force"}), kDone) << out();
        const bool named = !terminal.errLines.empty();
        std::set<std::string> namedBoxes;
        for (const std::string& note : terminal.errLines)
            if (const auto at = note.find("note: boxes "); at != std::string::npos)
                for (const std::string& box : Fields(note.substr(at + 12, note.find(" are ") - at - 12), ',')) namedBoxes.insert(box);
        EXPECT_EQ(run({"CHECK", "/selection", file}) == kDone, !named) << "seed " << seed << "\n" << out();
        // Each box the file drifts on is one EXPORT named.
        for (const std::string& line : terminal.outLines) {
            const auto fields = Fields(line);
            if (fields[0] == "summary" || fields[0] == "Services" || !std::isdigit(static_cast<unsigned char>(fields[1][0]))) continue;
            const auto numbers = Fields(fields[1], ',');
            EXPECT_TRUE(std::any_of(numbers.begin(), numbers.end(), [&](const std::string& n) { return namedBoxes.count(n); }))
                << "seed " << seed << ": " << line;
        }

        const auto states = Status();
        ASSERT_GT(states.size(), 19u) << "seed " << seed;
        std::map<std::string, int> seen;
        for (const auto& [number, state] : states) {
            ++seen[state];
            if (state == "unknown") continue;
            std::map<std::string, bool> holds;
            for (const char* side : {"on", "off"}) {
                std::vector<std::string> lines = controls;
                lines.push_back(std::string(side) + " " + number);
                machine.writeTextFile(file, lines);
                const int status = run({"CHECK", "/boxes", file});
                ASSERT_NE(status, kBadUsage) << out();
                holds[side] = status == kDone;
            }
            const std::string where = "seed " + std::to_string(seed) + " box " + number + " is " + state;
            // A service the machine lacks has nothing to change either way.
            EXPECT_EQ(state == "on" || state == "absent", holds["on"]) << where;
            EXPECT_EQ(state == "off", holds["off"] && !holds["on"]) << where;
        }
        EXPECT_GT(seen["partial"] + seen["not set"] + seen["off"], 0) << "seed " << seed;
    }
}

TEST_F(DesiredState, ABoxesFileManagesOnlyWhatItNamesAndReadsBackWhatItWrote) {
    machine.writeTextFile(file, {"; golden", "on 54", "", "off 19", "on Alerter", "Combo2 1", "txtPath C:\\D\xc3\xbcn loads",
                                 "lstHide C,d", "lstNot none"});
    const auto before = test::TweakedState(machine);
    ASSERT_EQ(run({"PREVIEW", "/boxes", file}), kDone) << out();
    std::set<std::string> numbers;
    for (const auto& line : terminal.outLines) numbers.insert(Fields(line)[1]);
    // Nothing else is written, not even the unticked side of the boxes left out.
    EXPECT_EQ(numbers, (std::set<std::string>{"54", "19", "0", "Combo2", "txtPath", "lstHide", "lstNot"})) << out();

    ASSERT_EQ(run({"APPLY", "/boxes", file}), kDone) << out();
    EXPECT_EQ(run({"CHECK", "/boxes", file}), kDone) << out();
    // The document names each change found in order, as a drift's line would.
    ASSERT_EQ(run({"CHECK", "/boxes", file, "/json"}), kDone) << out();
    EXPECT_NE(out().find("\"target\": \"set HKEY_"), std::string::npos) << out();
    EXPECT_EQ(out().find("\"target\": \"\""), std::string::npos) << out();
    ASSERT_EQ(run({"UNDO"}), kDone) << out();
    EXPECT_EQ(test::TweakedState(machine), before);

    // EXPORT writes every box that is on or off and the controls it can read back, and reads it back whole.
    ASSERT_EQ(run({"APPLY", "/boxes", file}), kDone) << out();
    const std::string exported = "C:\\deploy\\exported.txt";
    ASSERT_EQ(run({"EXPORT", "/boxes", exported}), kDone) << out();
    const auto lines = machine.readTextFile(exported);
    for (const char* expected : {"on 54", "on Alerter", "Combo2 1", "txtPath C:\\D\xc3\xbcn loads", "lstHide C,D", "lstNot none"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
    EXPECT_EQ(run({"CHECK", "/boxes", exported}), kDone) << out();
    EXPECT_EQ(run({"EXPORT", "/boxes", exported}), kBadUsage);  // it exists; /force replaces it

    // A bad line is named and nothing runs.
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"on 54", "off 54"}, {"on 99"}, {"on 80"}, {"Combo2 2"}, {"lstHide C,DD"}, {"frob 1"}, {"on 54", "Opt 1", "Opt 2"}}) {
        machine.writeTextFile(file, bad);
        machine.clearCommands();
        EXPECT_EQ(run({"APPLY", "/boxes", file}), kBadUsage) << bad.back();
        ASSERT_EQ(terminal.errLines.size(), 1u);
        EXPECT_NE(terminal.errLines[0].find("golden.txt line " + std::to_string(bad.size())), std::string::npos)
            << terminal.errLines[0];
        EXPECT_TRUE(machine.commands().empty());
    }
}

TEST_F(DesiredState, ApplyOnAMachineThatMatchesStartsNoToolAndKeepsNoRecord) {
    machine.writeTextFile(file, {"on 54", "off 19", "on 43", "on 39", "on 53", "on Alerter", "lstHide C"});
    ASSERT_EQ(run({"APPLY", "/boxes", file}), kDone) << out();
    ASSERT_NE(terminal.outLines.back(), "undo\tnone");
    // Only what differs is touched: one target put back is one change, and one tool.
    machine.registry().setValue("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot", sim::Value::Dword(0));
    machine.clearCommands();
    ASSERT_EQ(run({"APPLY", "/boxes", file}), kDone) << out();
    ASSERT_EQ(terminal.outLines.size(), 2u) << out();
    EXPECT_EQ(Fields(terminal.outLines[0])[1], "54");
    EXPECT_EQ(machine.commands().size(), 1u) << ::testing::PrintToString(machine.commands());

    machine.clearCommands();
    const auto before = test::MachineState(machine);
    ASSERT_EQ(run({"APPLY", "/boxes", file}), kDone) << out();
    EXPECT_EQ(terminal.outLines, std::vector<std::string>{"undo\tnone"});
    EXPECT_TRUE(machine.commands().empty());
    EXPECT_EQ(test::MachineState(machine), before);
}

// `reg add KEY` empties the key's default value on some machines (Wine's reg
// does) and not on others: the plan says so, APPLY never runs it for a key
// that is there, and what it did is read back and taken back exactly.
TEST_F(DesiredState, ARegAddThatMayEmptyADefaultValueIsPlannedReadBackAndUndoneExactly) {
    const std::string key = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
                            "{645FF040-5081-101B-9F08-00AA002F954E}";
    const std::string emptied = "present, default value REG_SZ \"\"";
    for (bool blanks : {true, false}) {
        SCOPED_TRACE(blanks ? "reg empties it" : "reg keeps it");
        machine.setRegAddBlanksDefault(blanks);
        const auto furnished = test::TweakedState(machine);
        // The window's Optimize runs every step: its plan shows what reg may do to the key that is there.
        SelectionForm form;
        form.tickEverything(false);
        const Page security = Page::Security;
        const auto plan = PlanRun(form, machine, "Tester", std::span<const Page>(&security, 1));
        const auto add = std::find_if(plan.begin(), plan.end(), [&](const PlannedEffect& p) {
            return p.effect.kind == EffectKind::CreateKey && p.effect.target.ends_with("954E}");
        });
        ASSERT_NE(add, plan.end());
        EXPECT_TRUE(add->changes);
        EXPECT_EQ(DescribeState(add->before), "present, default value REG_SZ \"Recycle Bin\"");
        EXPECT_EQ(DescribeState(add->after), emptied);

        machine.clearCommands();
        EXPECT_EQ(run({"CHECK", "/off", "37"}), kDone) << out();
        ASSERT_EQ(run({"APPLY", "/off", "37"}), kDone) << out();
        EXPECT_TRUE(machine.commands().empty());

        ASSERT_EQ(run({"APPLY", "/on", "37"}), kDone) << out();
        ASSERT_EQ(run({"PREVIEW", "/off", "37"}), kDone) << out();
        ASSERT_EQ(terminal.outLines.size(), 1u) << out();
        EXPECT_EQ(Fields(terminal.outLines[0])[5], emptied);
        ASSERT_EQ(run({"APPLY", "/off", "37"}), kDone) << out();
        EXPECT_EQ(Fields(terminal.outLines[0])[5], blanks ? emptied : "present") << out();
        EXPECT_EQ(run({"CHECK", "/off", "37"}), kDone) << out();

        ASSERT_EQ(run({"UNDO"}), kDone) << out();
        ASSERT_EQ(run({"UNDO"}), kDone) << out();
        EXPECT_EQ(test::Difference(furnished, test::TweakedState(machine)), std::vector<std::string>{});
    }
}

TEST_F(DesiredState, OneShotToolsRunEveryTimeAndOneThatCannotStartFails) {
    for (int round = 0; round < 2; ++round) {
        machine.clearCommands();
        ASSERT_EQ(run({"APPLY", "/on", "41,74"}), kDone) << out();
        ASSERT_EQ(machine.commands().size(), 2u) << round;
        for (const auto& line : terminal.outLines) {
            if (line.starts_with("undo\t")) continue;
            const auto fields = Fields(line);
            EXPECT_EQ(fields[4], "-") << line;
            EXPECT_EQ(fields[5], "ran, exit code 0") << line;
        }
    }
    machine.setToolMissing("sfc");
    ASSERT_EQ(run({"APPLY", "/on", "41,74"}), kSomeStepsFailed) << out();
    for (const auto& line : terminal.outLines) EXPECT_EQ(line.find("sfc"), std::string::npos) << line;
    EXPECT_NE(out().find("failed: Speed 41"), std::string::npos) << out();
}

TEST_F(DesiredState, UndoNamesWhatItPutsBackAndKeepsAsApplyNamedIt) {
    machine.registry().deleteKey("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowCpl");
    ASSERT_EQ(run({"APPLY", "/on", "54,43,76,Alerter", "/off", "27"}), kDone) << out();
    std::set<std::vector<std::string>> applied;
    for (const auto& line : terminal.outLines)
        if (!line.starts_with("undo\t")) {
            const auto fields = Fields(line);
            applied.insert({fields[0], fields[1], fields[2]});
        }
    ASSERT_GE(applied.size(), 4u);
    // `reg delete` of box 27's key, which is not there, failed where it had nothing to do: no failure anywhere.
    ASSERT_EQ(run({"UNDO", "/show", Fields(terminal.outLines.back())[1]}), kDone) << out();
    for (const auto& line : terminal.outLines) EXPECT_FALSE(line.starts_with("failed")) << line;
    machine.registry().setValue("HKCU\\Control Panel\\Desktop", "WaitToKillAppTimeout", sim::Value::String("7"));

    ASSERT_EQ(run({"UNDO"}), kDone) << out();
    ASSERT_GE(terminal.outLines.size(), 4u);
    int kept = 0;
    for (const auto& line : terminal.outLines) {
        if (line.starts_with("undo\t")) continue;
        const auto fields = Fields(line);
        ASSERT_EQ(fields.size(), 6u) << line;
        EXPECT_TRUE(applied.contains({fields[0], fields[1], fields[2]})) << line;
        if (fields[3].starts_with("kept ")) {
            ++kept;
            EXPECT_EQ(fields[1], "43") << line;
            EXPECT_EQ(fields[5], "changed since the run") << line;
        }
    }
    EXPECT_EQ(kept, 1);
}

TEST_F(DesiredState, AScopedRunChangesOnlyItsPartAndTheTwoPartsMakeTheWhole) {
    machine.writeTextFile(file, {"on 54", "on 43", "on 58", "off 27", "on Alerter", "txtPath C:\\Down", "Combo2 1"});
    sim::SimWindows whole;
    test::FurnishMachine(whole);
    whole.files().addDirectory("C:\\deploy");
    whole.writeTextFile(file, machine.readTextFile(file));
    RecordingTerminal quiet;
    ASSERT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/boxes", file}, quiet, whole), kDone);

    ASSERT_EQ(run({"APPLY", "/boxes", file, "/scope", "machine"}), kDone) << out();
    ASSERT_FALSE(terminal.outLines.size() < 2) << out();
    for (const auto& line : terminal.outLines)
        EXPECT_EQ(line.find("HKEY_CURRENT_USER"), std::string::npos) << line;
    EXPECT_EQ(run({"CHECK", "/boxes", file, "/scope", "machine"}), kDone) << out();
    EXPECT_EQ(run({"CHECK", "/boxes", file, "/scope", "user"}), kDrifted) << out();
    for (const auto& line : terminal.outLines) EXPECT_NE(line.find("HKEY_CURRENT_USER"), std::string::npos) << line;

    ASSERT_EQ(run({"APPLY", "/boxes", file, "/scope", "user"}), kDone) << out();
    EXPECT_EQ(test::TweakedState(machine), test::TweakedState(whole));

    // EXPORT of one part names only the boxes and controls with targets in it, and CHECK of that part agrees.
    const std::string user = "C:\\deploy\\user.txt";
    ASSERT_EQ(run({"EXPORT", "/boxes", user, "/scope", "user"}), kDone) << out();
    const auto lines = machine.readTextFile(user);
    for (const char* absent : {"on 54", "on Alerter", "Combo2 1"})
        EXPECT_EQ(std::find(lines.begin(), lines.end(), absent), lines.end()) << absent;
    for (const char* present : {"on 43", "on 58", "txtPath C:\\Down"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), present), lines.end()) << present;
    EXPECT_EQ(run({"CHECK", "/boxes", user, "/scope", "user"}), kDone) << out();
    EXPECT_EQ(run({"EXPORT", "/selection", user, "/scope", "user", "/force"}), kBadUsage);
}

TEST_F(DesiredState, AnotherUsersRecordGivesBackItsMachinePartAloneAndKeepsTheUserPartOpenForThem) {
    const auto before = test::TweakedState(machine);
    const std::string crash = "HKLM\\System\\CurrentControlSet\\Control\\CrashControl";
    const std::string desktop = "HKCU\\Control Panel\\Desktop";
    const auto autoReboot = machine.registry().value(crash, "AutoReboot");
    machine.setUserName("bob");  // a logon script of bob's
    ASSERT_EQ(run({"APPLY", "/on", "54,43"}), kDone) << out();
    const std::string record = Fields(terminal.outLines.back())[1];
    const auto bobs = machine.registry().value(desktop, "WaitToKillAppTimeout");

    machine.setUserName("Administrator");
    ASSERT_EQ(run({"UNDO", record}), kBadUsage);
    EXPECT_NE(out().find("bob"), std::string::npos) << out();
    EXPECT_NE(out().find("/scope machine"), std::string::npos) << out();
    EXPECT_NE(machine.registry().value(crash, "AutoReboot"), autoReboot);

    // The administrator's own record with a user part only: UNDO /scope machine passes over it.
    ASSERT_EQ(run({"APPLY", "/on", "13", "/scope", "user"}), kDone) << out();
    const std::string own = Fields(terminal.outLines.back())[1];
    ASSERT_EQ(run({"UNDO", "/list", "/user", "BOB", "/scope", "machine"}), kDone);
    ASSERT_EQ(terminal.outLines.size(), 1u);
    EXPECT_EQ(Fields(terminal.outLines[0])[0], record);
    EXPECT_EQ(Fields(terminal.outLines[0]).back(), "machine,user");
    ASSERT_EQ(run({"UNDO", "/list", "/computer", "elsewhere"}), kDone);
    EXPECT_TRUE(terminal.outLines.empty());

    ASSERT_EQ(run({"UNDO", "/scope", "machine"}), kDone) << out();
    EXPECT_EQ(machine.registry().value(crash, "AutoReboot"), autoReboot);
    EXPECT_EQ(machine.registry().value(desktop, "WaitToKillAppTimeout"), bobs);  // bob's part is bob's
    ASSERT_EQ(run({"UNDO", own}), kDone) << out();
    const auto listed = [&] {
        EXPECT_EQ(run({"UNDO", "/list"}), kDone);
        for (const auto& line : terminal.outLines)
            if (Fields(line)[0] == record) return Fields(line).at(7);
        return std::string("not listed");
    };
    EXPECT_EQ(listed(), "machine undone, user open");

    machine.setUserName("bob");
    ASSERT_EQ(run({"UNDO"}), kDone) << out();
    for (const auto& line : terminal.outLines) EXPECT_EQ(line.find("\tkept "), std::string::npos) << line;
    EXPECT_EQ(test::TweakedState(machine), before);
    EXPECT_EQ(listed(), "undone");
}

TEST_F(DesiredState, ReadingVerbsWaitForARunLikeApply) {
    machine.setRunLockHeldElsewhere(true);
    for (std::vector<std::string> verb : std::vector<std::vector<std::string>>{
             {"CHECK", "/on", "54"}, {"STATUS"}, {"EXPORT", "/boxes", file}, {"PREVIEW", "/on", "54"}}) {
        verb.insert(verb.end(), {"/wait", "2"});
        EXPECT_EQ(run(verb), kBadUsage) << verb[0];
        EXPECT_NE(out().find("waiting for another Quillon run to end..."), std::string::npos) << out();
        EXPECT_TRUE(terminal.outLines.empty()) << verb[0];
        EXPECT_EQ(machine.runLockWaits().back(), std::chrono::seconds(2));
    }
    EXPECT_FALSE(machine.files().fileExists(file));
    machine.setRunLockHeldElsewhere(false);
    EXPECT_EQ(run({"STATUS"}), kDone);
    EXPECT_EQ(machine.runLockHolds(), 0);
}

}  // namespace
}  // namespace quillon::console

namespace quillon::console {
namespace {

// The fields of one CSV line as the report writes it (quoted where needed).
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') fields.back() += '"', ++i;
        else if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

// A desired state naming a random few boxes, entries and controls, as a boxes file.
std::vector<std::string> RandomBoxesFile(std::mt19937& random, std::set<std::string>& named) {
    std::vector<std::string> lines;
    const auto pick = [&](int count) { return static_cast<int>(random() % count); };
    for (int box = 0; box < kCheckBoxCount; ++box)
        if (PageOfBox(box) != Page::Startup && PageOfBox(box) != Page::Speed && pick(4) == 0) {
            lines.push_back((pick(2) ? "on " : "off ") + std::to_string(box));
            named.insert(PageName(*PageOfBox(box)) + " " + std::to_string(box));
        }
    for (int entry = 0; entry < kServiceCount; ++entry)
        if (pick(4) == 0) {
            lines.push_back((pick(2) ? "on " : "off ") + std::string(kServices[entry].serviceName));
            named.insert("Services " + std::to_string(entry));
        }
    const std::pair<const char*, std::vector<std::string>> controls[] = {
        {"System Combo2", {"Combo2 0", "Combo2 1"}},
        {"Security txtPath", {"txtPath C:\\Downloads", "txtPath D:\\x, y"}},
        {"Security lstHide", {"lstHide none", "lstHide C", "lstHide A,D"}},
        {"Security lstNot", {"lstNot none", "lstNot C"}},
    };
    for (const auto& [item, choices] : controls)
        if (pick(2)) {
            lines.push_back(choices[pick(static_cast<int>(choices.size()))]);
            named.insert(item);
        }
    return lines;
}

// Each row of CHECK's report says what CHECK's own lines say of its box or
// control, on machines as they come, some of them lacking a service.
TEST_F(DesiredState, EveryReportRowAgreesWithChecksLineForItsBoxOrControl) {
    const std::string report = "C:\\deploy\\fleet.csv";
    std::map<std::string, int> seen;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        Scramble(random);
        std::set<int> lacking;
        for (int entry = 0; entry < kServiceCount; ++entry)
            if (random() % 6 == 0) {
                machine.registry().deleteKey(ServiceKey(std::string(kServices[entry].serviceName)));
                lacking.insert(entry);
            }
        std::set<std::string> named;
        machine.writeTextFile(file, RandomBoxesFile(random, named));
        const int status = run({"CHECK", "/boxes", file});
        ASSERT_NE(status, kBadUsage) << out();
        // "page number" of each item a line of CHECK names. A line of several pages joins their numbers: a
        // number that is both a box of one of them and a Services entry may stand for either.
        std::set<std::string> drifted, either;
        for (const std::string& line : terminal.outLines) {
            const auto f = Fields(line);
            std::set<std::string> pages;
            for (std::size_t p = 0, q = 0; q != std::string::npos; p = q + 1)
                pages.insert(f[0].substr(p, (q = f[0].find(',', p)) - p));
            for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
                const std::string number = f[1].substr(start, (end = f[1].find(',', start)) - start);
                std::vector<std::string> candidates;
                const bool numeric = std::isdigit(static_cast<unsigned char>(number[0]));
                for (const std::string& page : pages)
                    if (!numeric || (page == "Services" ? std::stoi(number) < kServiceCount
                                                        : PageOfBox(std::stoi(number)) &&
                                                              PageName(*PageOfBox(std::stoi(number))) == page))
                        candidates.push_back(page + " " + number);
                for (const std::string& c : candidates) (numeric && candidates.size() > 1 ? either : drifted).insert(c);
            }
        }
        const std::string path = report + std::to_string(seed);
        ASSERT_EQ(run({"CHECK", "/boxes", file, "/report", path}), status) << out();
        const std::string text = *machine.files().content(path);
        std::vector<std::vector<std::string>> rows;
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            rows.push_back(CsvFields(text.substr(start, end - start)));
        ASSERT_GT(rows.size(), 2u);
        std::map<std::string, int> counts;
        for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
            const auto& r = rows[i];
            ASSERT_EQ(r.size(), 12u);
            const std::string item = r[4] + " " + r[5], result = r[7], where = "seed " + std::to_string(seed) + " " + item;
            ++counts[result];
            ++seen[result];
            const bool absent = r[4] == "Services" && lacking.contains(std::stoi(r[5]));
            std::set<std::string> allowed{"ok", "not checked", "not present"};
            if (!named.contains(item)) allowed = {"left alone"};
            else if (absent) allowed = {"not present"};
            else if (either.contains(item)) allowed = {"drift", "ok"};
            else if (drifted.contains(item)) allowed = {"drift"};
            EXPECT_TRUE(allowed.contains(result)) << where << " " << result;
            // A drift names what differs, as CHECK's line does; a row in order names nothing.
            EXPECT_EQ(r[11].empty(), result != "drift" && result != "not checked") << where << " " << r[11];
        }
        std::string tally;
        for (const auto& [result, count] : counts) tally += (tally.empty() ? "" : "; ") + result + " " + std::to_string(count);
        EXPECT_EQ(rows.back()[7], "exit " + std::to_string(status));
        EXPECT_EQ(rows.back()[8], tally);
    }
    for (const char* result : {"ok", "drift", "not present", "left alone"}) EXPECT_GT(seen[result], 0) << result;
}

}  // namespace
}  // namespace quillon::console
