// A run's undo record restores the machine, even for a run cut off half-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "window/OptimiseRun.h"
#include "record/Journal.h"
#include "planning/Plan.h"
#include "restore/RecordCheck.h"
#include "record/RecordLines.h"
#include "record/RecordStore.h"
#include "restore/Restore.h"
#include "engine/ServiceCatalogue.h"
#include "engine/SystemSteps.h"
#include "effects/Scratch.h"
#include "platform/ForwardingPlatform.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "tests/unit/JournalMachine.h"
#include "effects/ChangeWords.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::TweakedState;

// Every page applied in turn, as one run with one record.
std::vector<RecordedEffect> RunEveryPage(test::MemoryForm& form, test::JournalStack& run) {
    run.stack.run(form, "Tester", [&](RunContext& context) {
        for (Page page : RunOrder()) {
            form.showOnly(page);
            RunOptimise(context);
        }
    });
    return run.journal.effects();
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
    for (bool wow64 : test::kBothWindows)
    for (bool ticked : {true, false}) {
        SCOPED_TRACE(std::string(wow64 ? "64-bit, " : "32-bit, ") + (ticked ? "everything ticked" : "everything unticked"));
        sim::SimWindows machine;
        machine.setWow64(wow64);
        FurnishMachine(machine);
        // Start modes set by hand that sc cannot set on a service: a driver's, and none known.
        const std::string services = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";
        for (auto [entry, mode] : {std::pair{0, 0u}, {1, 1u}, {2, 99u}})
            machine.registry().setValue(services + std::string(kServices[entry].serviceName), "Start", sim::Value::Dword(mode));
        test::MemoryForm form;
        test::SelectEverything(form, machine, ticked);
        const auto prior = TweakedState(machine);
        const auto prior32 = test::View32State(machine);

        const auto plan = PlanRun(form, machine, "Tester", RunOrder());
        test::JournalStack run(machine, DefaultUndoRoot(machine));
        const auto done = RunEveryPage(form, run);

        ASSERT_EQ(plan.size(), done.size());
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_EQ(DescribeEffect(plan[i].effect), DescribeEffect(done[i].effect)) << i;
            EXPECT_EQ(DescribeStep(plan[i].step), DescribeStep(done[i].step)) << i;
            EXPECT_EQ(plan[i].before, done[i].before) << DescribeEffect(done[i].effect);
            EXPECT_EQ(plan[i].changes, done[i].changes && !done[i].failed) << DescribeEffect(done[i].effect);
        }
        const auto applied = TweakedState(machine);
        EXPECT_NE(applied, prior);
        ASSERT_TRUE(run.journal.recording());
        // The 32-bit view loses its startup entries, ticked, and nothing else: the settings are the native view's.
        auto kept32 = prior32;
        if (ticked)
            std::erase_if(kept32, [](const std::string& l) {
                return l.starts_with("\\microsoft\\windows\\currentversion\\run|") && l.find('=') != std::string::npos;
            });
        EXPECT_EQ(test::Difference(kept32, test::View32State(machine)), std::vector<std::string>{});
        if (wow64) {
            for (const std::string& command : machine.commands())
                EXPECT_TRUE(!command.starts_with("reg") || command.ends_with(" /reg:64")) << command;
        }

        const RestoreReport report = RestoreRecord(machine, run.journal.folder());
        EXPECT_EQ(report.failed, 0);
        EXPECT_EQ(test::Difference(WithoutCabinet(prior), WithoutCabinet(TweakedState(machine))),
                  std::vector<std::string>{});
        RestoreRecord(machine, run.journal.folder());
        EXPECT_EQ(WithoutCabinet(TweakedState(machine)), WithoutCabinet(prior)) << "restored twice";

        ASSERT_FALSE(report.undoFolder.empty());
        // The restore's own record puts the run back.
        const RestoreReport redo = RestoreRecord(machine, report.undoFolder);
        EXPECT_EQ(redo.failed, 0);
        EXPECT_EQ(redo.kept.size(), 0u);
        EXPECT_EQ(test::Difference(WithoutCabinet(applied), WithoutCabinet(TweakedState(machine))),
                  std::vector<std::string>{});
    }
}

TEST(Restore, ARunCutOffAnywhereLeavesARecordOfEverythingItDid) {
    for (int cut : {1, 2, 5, 13, 29, 47, 71, 96, 120, 200, 333, 500, 800})
        for (bool powerLost : {false, true}) {
            SCOPED_TRACE(std::to_string(cut) + (powerLost ? ", what was not on the disk lost" : ""));
            sim::SimWindows machine;
            FurnishMachine(machine);
            test::MemoryForm form;
            test::SelectEverything(form, machine, true);
            const auto prior = TweakedState(machine);
            // Nothing after that point happens, the record's own writes included.
            machine.cutPowerAfter(cut);
            test::JournalStack run(machine, DefaultUndoRoot(machine));
            RunEveryPage(form, run);
            const std::string folder = run.journal.folder();
            if (powerLost) machine.powerCut();
            machine.cutPowerAfter(std::nullopt);
            // Without one, nothing was changed either. A change whose tool's end the record never saw is kept.
            if (!folder.empty()) test::RestoreThenPutBackUncertain(machine, folder);
            EXPECT_EQ(test::Difference(WithoutCabinet(prior), WithoutCabinet(TweakedState(machine))),
                      std::vector<std::string>{});
        }
}

// The power fails just after the run's `cutAfter`th file deletion: nothing after it happens.
class PowerFailsAfterDeletion : public ForwardingPlatform {
public:
    PowerFailsAfterDeletion(sim::SimWindows& machine, int cutAfter) : ForwardingPlatform(machine), sim_(machine), left_(cutAfter) {}
    int deleted = 0;
    void deleteFile(const std::string& path) override {
        ForwardingPlatform::deleteFile(path);
        if (IsScratchFile(path)) return;
        ++deleted;
        if (--left_ == 0) sim_.cutPowerAfter(0);
    }

private:
    sim::SimWindows& sim_;
    int left_;
};

TEST(Restore, APowerCutRightAfterADeletionLeavesTheFileToPutBack) {
    sim::SimWindows sizing;
    FurnishMachine(sizing);
    test::MemoryForm everything;
    test::SelectEverything(everything, sizing, true);
    PowerFailsAfterDeletion counting(sizing, -1);
    test::JournalStack whole(counting, DefaultUndoRoot(sizing));
    RunEveryPage(everything, whole);
    ASSERT_EQ(counting.deleted, 6);  // two startup files, the cabinet, three shortcuts

    for (int cut = 1; cut <= counting.deleted; ++cut) {
        SCOPED_TRACE(cut);
        sim::SimWindows machine;
        FurnishMachine(machine);
        test::MemoryForm form;
        test::SelectEverything(form, machine, true);
        const auto prior = TweakedState(machine);
        PowerFailsAfterDeletion failing(machine, cut);
        test::JournalStack run(failing, DefaultUndoRoot(machine));
        RunEveryPage(form, run);
        const std::string folder = run.journal.folder();
        machine.cutPowerAfter(std::nullopt);
        machine.powerCut();
        ASSERT_FALSE(folder.empty());
        // A change whose tool's end the record never saw is kept, then put back here.
        test::RestoreThenPutBackUncertain(machine, folder);
        EXPECT_EQ(test::Difference(WithoutCabinet(prior), WithoutCabinet(TweakedState(machine))),
                  std::vector<std::string>{});
    }
}

// A run of every page with everything ticked, its record kept.
std::string RecordedRunOfEverything(sim::SimWindows& machine) {
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    test::JournalStack run(machine, DefaultUndoRoot(machine));
    RunEveryPage(form, run);
    return run.journal.finish();
}

TEST(Restore, TakesBackOnlyWhatStillHoldsTheRunsWorkAndNamesWhatItKeeps) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    const auto prior = TweakedState(machine);
    auto& reg = machine.registry();
    const std::string player = "HKLM\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";
    ASSERT_FALSE(reg.keyExists(player));
    const std::string folder = RecordedRunOfEverything(machine);
    ASSERT_FALSE(folder.empty());

    // Since the run: another tool changes a value the run wrote (one in a key
    // the run made too), adds one to a key the run made, and puts new files
    // where the run deleted one.
    reg.setValue(player, "DisableAutoUpdate", sim::Value::Dword(7));
    const std::string crash = "HKLM\\System\\CurrentControlSet\\Control\\CrashControl";
    const std::string update = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate";
    const std::string alpha = "C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup\\Alpha";
    ASSERT_TRUE(reg.keyExists(update));
    ASSERT_FALSE(machine.anyFileExists(alpha));
    reg.setValue(crash, "AutoReboot", sim::Value::Dword(7));
    reg.setValue(update, "Other", sim::Value::String("since"));
    machine.files().addFile(alpha, "a new Alpha");
    machine.files().addFile(alpha + " (restored)", "something else");
    const auto changedSince = TweakedState(machine);

    const RestoreReport report = RestoreRecord(machine, folder);
    EXPECT_EQ(report.failed, 0);
    EXPECT_GT(report.restored, 50);
    std::vector<std::string> kept;
    for (const KeptTarget& k : report.kept) kept.push_back(k.target + "|" + k.why);
    EXPECT_EQ(kept, (std::vector<std::string>{
                        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer\\DisableAutoUpdate|changed since the run",
                        "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl\\AutoReboot|changed since the run",
                        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate|"
                        "holds values or keys put there since the run",
                        alpha + "|changed since the run"}));
    EXPECT_EQ(reg.dwordValue(crash, "AutoReboot"), 7u);
    EXPECT_EQ(reg.valueNames(update), std::vector<std::string>{"Other"});
    EXPECT_EQ(machine.files().content(alpha), "a new Alpha");
    EXPECT_EQ(machine.files().content(alpha + " (restored 2)"), "user startup");
    EXPECT_NE(std::find(report.notes.begin(), report.notes.end(),
                        "the copy of " + alpha + " was put back as " + alpha + " (restored 2)"),
              report.notes.end());
    // Everything else is as before the run.
    std::vector<std::string> expected = WithoutCabinet(prior), now = WithoutCabinet(TweakedState(machine));
    const auto intended = [](const std::string& line) {
        const std::string lower = Lower(line);
        return lower.find("autoreboot") != std::string::npos || lower.find("windowsupdate") != std::string::npos ||
               lower.find("windowsmediaplayer") != std::string::npos || lower == "\\software\\policies|" ||
               lower == "\\software\\policies\\microsoft|" ||
               lower.find("alpha") != std::string::npos;
    };
    std::erase_if(now, intended);
    std::erase_if(expected, intended);
    EXPECT_EQ(test::Difference(expected, now), std::vector<std::string>{});

    // A second restore finds nothing of the run's left to take back.
    const auto once = TweakedState(machine);
    const RestoreReport again = RestoreRecord(machine, folder);
    EXPECT_EQ(again.restored, 0);
    EXPECT_EQ(again.undoFolder, "");
    EXPECT_EQ(TweakedState(machine), once);
}

// Adds bytes to a file of the record, as an attacker with write access would.
void Plant(sim::SimWindows& machine, const std::string& path, const std::string& bytes) {
    machine.files().writeFile(path, machine.files().content(path).value_or("") + bytes);
}

TEST(Restore, RefusesAWholeRecordThatReachesOutsideWhatARunTouchesAndChangesNothing) {
    const std::string startup = "C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup\\";
    const std::string services = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
    const std::string hal = "C:\\Windows\\system32\\hal.dll";
    struct Hostile {
        const char* file;
        std::string text;
        std::string named;  // what the refusal must name
    };
    // A state line: its fields escaped as the record writes them.
    const auto line = [](std::initializer_list<std::string> fields) {
        std::string text;
        for (const std::string& f : fields) text += (text.empty() ? "" : "\t") + EscapedField(f);
        return text + "\r\n";
    };
    const std::vector<Hostile> hostile{
        {"state.txt", line({"before", "value", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell", "-"}), "Winlogon"},
        {"state.txt", line({"before", "value", services + "Alerter", "ImagePath", "1:4300000000"}), "ImagePath"},
        {"state.txt", line({"before", "value", services + "Evil", "Start", "4:02000000"}), "Evil"},
        {"state.txt", line({"before", "key", services + "Alerter", "absent"}), "Alerter"},
        {"state.txt", line({"before", "key", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT", "absent"}) +
                          line({"after", "key", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT", "present"}),
         "Windows NT"},
        {"state.txt", line({"before", "file", startup + "x.lnk", "copy", "files\\..\\..\\secret.txt"}), "secret.txt"},
        {"state.txt", line({"before", "file", startup + "y.lnk", "copy", "C:\\secret.txt"}), "secret.txt"},
        {"state.txt", line({"before", "file", startup + "z.lnk", "copy", "files\\9 missing"}), "9 missing"},
        {"state.txt", line({"before", "file", hal, "absent"}) + line({"after", "file", hal, "copy", "0123456789abcdef"}), "hal.dll"},
        {"state.txt", line({"before", "file", "C:\\Windows\\system32\\evil.dll", "copy", "files\\1 Alpha"}), "evil.dll"},
        {"state.txt", line({"before", "file", startup + "..", "absent"}), "Startup\\.."},
        {"state.txt", line({"before", "folder", "C:\\Windows\\system32", "present"}), "system32"},
        {"state.txt", line({"before", "file", "C:\\Documents and Settings\\All Users\\Start Menu\\boot.ini", "absent"}), "boot.ini"},
        {"state.txt", line({"before", "value", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "x", "-"}), "HKLM"},
        {"state.txt", "before\tvalue\tbroken\r\n", "damaged"},
        {"state.txt", line({"after", "value", "HKEY_CURRENT_USER\\Control Panel\\Desktop\\x\r\n[y]", "v", "-"}), "Desktop"},
        {"state.txt", "before\tvalue\tHKEY_CURRENT_USER\\Software\tx\t-\r\n", "damaged"},
        {"undo.reg", Utf16LeBytes(u"[HKEY_LOCAL_MACHINE\\Software\\Planted]\r\n\"x\"=\"1\"\r\n"), "Planted"},
    };
    for (const Hostile& h : hostile) {
        SCOPED_TRACE(h.text);
        sim::SimWindows machine;
        FurnishMachine(machine);
        const std::string folder = RecordedRunOfEverything(machine);
        Plant(machine, folder + "\\" + h.file, h.text);
        const auto before = test::MachineState(machine);
        try {
            RestoreRecord(machine, folder);
            ADD_FAILURE() << "restored";
        } catch (const RecordRefused& refused) {
            EXPECT_NE(std::string(refused.what()).find(h.named), std::string::npos) << refused.what();
        }
        EXPECT_EQ(test::MachineState(machine), before);
    }
}

// Every key a real run's record names, with lines planted above, beside and
// below it: only a key a step makes or deletes is named, exactly, or one
// inside a tree a step removes or copies whole, or, absent before, one the
// run made on its way down (the record already says the run made the key it
// lies in).
TEST(Restore, AKeyLineNamesOnlyAKeyAStepMakesOrDeletesExactly) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    machine.registry().deleteKey("HKCU\\Software\\Policies");  // so the run makes keys on its way down
    const std::string folder = RecordedRunOfEverything(machine);
    const RecordHeader header = ReadRecordHeader(machine, folder).value();
    const RecordContents record = ReadRecord(machine, folder);
    std::vector<std::string> trees, targets, made;
    for (bool ticked : {true, false}) {
        test::MemoryForm form;
        test::SelectEverything(form, machine, ticked);
        for (const PlannedEffect& p : PlanRun(form, machine, "Tester", RunOrder())) {
            const EffectTarget t = TargetOf(p.effect);
            if (t.kind == TargetKind::Tree) trees.push_back(t.path);
            if (t.kind == TargetKind::Tree || t.kind == TargetKind::Key || t.kind == TargetKind::Value)
                targets.push_back(t.path);
        }
    }
    std::set<std::string> keys;
    for (const StateLine& l : record.lines) {
        if (l.kind == StateKind::Value || l.kind == StateKind::Key || l.kind == StateKind::Tree) keys.insert(l.target);
        if (l.kind == StateKind::Key && !l.after && !l.present) made.push_back(l.target);
    }
    ASSERT_FALSE(made.empty());
    const auto withinAny = [](const std::string& key, const std::vector<std::string>& roots) {
        return std::any_of(roots.begin(), roots.end(), [&](const std::string& r) { return KeyWithin(key, r); });
    };
    const auto isTree = [&](const std::string& key) {
        return std::any_of(trees.begin(), trees.end(), [&](const std::string& t) { return EqualNoCase(t, key); });
    };
    const auto aboveATarget = [&](const std::string& key) {
        return std::any_of(targets.begin(), targets.end(), [&](const std::string& t) { return KeyWithin(t, key); });
    };
    const auto state = [](std::initializer_list<const char*> fields, const std::string& key) {
        std::vector<StateLine> lines;
        for (const char* f : fields) lines.push_back(*ParseStateLine(std::string(f) + "\tkey\t" + EscapedField(key) + "\t" +
                                                                     (std::string(f) == "before" ? "absent" : "present")));
        return lines;
    };
    int accepted = 0, refused = 0;
    for (const std::string& key : keys) {
        if (KeyWithin(key, "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services")) continue;  // their own rule
        const std::string parent = ParentPath(key);
        for (const std::string& planted : {parent, key + " x", key + "\\Planted", parent + "\\Planted"}) {
            if (keys.count(planted) || planted.find('\\') == std::string::npos) continue;
            struct Form {
                const char* name;
                std::vector<StateLine> lines;
                bool allowed;
            };
            StateLine tree;
            tree.kind = StateKind::Tree;
            tree.target = planted;
            const bool inTree = withinAny(planted, trees);
            const std::vector<Form> forms{
                {"absent before", state({"before"}, planted),
                 inTree || (withinAny(planted, made) && aboveATarget(planted))},
                {"made by the run", state({"before", "after"}, planted), inTree},
                {"listed whole", {tree}, isTree(planted)},
            };
            for (const Form& form : forms) {
                SCOPED_TRACE(std::string(form.name) + ": " + planted);
                RecordContents planted_ = record;
                planted_.lines.insert(planted_.lines.end(), form.lines.begin(), form.lines.end());
                bool ok = true;
                try {
                    CheckRecord(machine, planted_, header, header.computer, header.user);
                } catch (const RecordRefused& e) {
                    ok = false;
                    // The planted line, or a line of the record it contradicts.
                    EXPECT_NE(std::string(e.what()).find("state.txt: "), std::string::npos) << e.what();
                }
                EXPECT_EQ(ok, form.allowed);
                ++(ok ? accepted : refused);
            }
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 100);
}

TEST(Restore, RefusesTheRecordOfAnotherComputerAndAnotherUsersSettings) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    const std::string folder = RecordedRunOfEverything(machine);
    const RecordHeader header = ReadRecordHeader(machine, folder).value();
    const auto before = test::MachineState(machine);
    for (const auto& [computer, user, named] : {std::tuple{"OTHER-PC", "Tester", "OTHER-PC"},
                                                std::tuple{"SIMULATED", "Someone", "Tester"}}) {
        try {
            RestoreRecord(machine, folder, header, computer, user);
            ADD_FAILURE() << "restored";
        } catch (const RecordRefused& refused) {
            EXPECT_NE(std::string(refused.what()).find(named), std::string::npos) << refused.what();
        }
    }
    EXPECT_EQ(test::MachineState(machine), before);
}

TEST(Restore, ARecordOf64BitWindowsSaysSoAndEachKindIsRefusedOnTheOther) {
    for (bool wow64 : test::kBothWindows) {
        sim::SimWindows machine;
        machine.setWow64(wow64);
        FurnishMachine(machine);
        const std::string folder = RecordedRunOfEverything(machine);
        const RecordHeader header = ReadRecordHeader(machine, folder).value();
        EXPECT_EQ(header.wow64, wow64);
        const auto before = test::MachineState(machine);
        machine.setWow64(!wow64);
        try {
            RestoreRecord(machine, folder);
            ADD_FAILURE() << "restored";
        } catch (const RecordRefused& refused) {
            EXPECT_EQ(std::string(refused.what()), std::string("the record was made on ") + (wow64 ? "64" : "32") +
                                                       "-bit Windows, and this Windows is " + (wow64 ? "32" : "64") +
                                                       "-bit");
        }
        EXPECT_EQ(test::MachineState(machine), before);
        machine.setWow64(wow64);
        EXPECT_EQ(RestoreRecord(machine, folder).failed, 0);
    }
}

}  // namespace
}  // namespace quillon
