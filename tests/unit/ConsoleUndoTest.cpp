// UNDO and its records against what a damaged, planted or crowded undo
// folder holds, and what the console says of a run: only what happened.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "console/Verbs.h"
#include "engine/RegistryWriter.h"
#include "record/RecordLines.h"
#include "record/RecordStore.h"
#include "record/UndoneMarks.h"
#include "settings/SelectionFile.h"
#include "startup/StartupPlaces.h"
#include "tests/unit/ConsoleTerminal.h"
#include "tests/unit/JournalMachine.h"

namespace quillon::console {
namespace {

const std::string kRoot = "C:\\records";
const std::string kCrash = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\CrashControl";

struct ConsoleUndo : ::testing::Test {
    sim::SimWindows machine;
    RecordingTerminal terminal;

    void SetUp() override { test::FurnishMachine(machine); }

    int run(std::vector<std::string> arguments) {
        terminal = RecordingTerminal{};
        return RunConsole(arguments, terminal, machine);
    }
    std::string err() const {
        std::string all;
        for (const std::string& line : terminal.errLines) all += line + "\n";
        return all;
    }
    // What a run that set AutoReboot to 1 writes.
    static std::string AutoRebootFacts() {
        return StateLineText({false, StateKind::Value, kCrash, "AutoReboot", std::nullopt, false, {}, {}, {}, {}}) +
               StateLineText({true, StateKind::Value, kCrash, "AutoReboot", DwordValue(1), false, {}, {}, {}, {}});
    }
};

TEST_F(ConsoleUndo, ListNamesEachDamagedRecordReadsBoundedAndNeverWaitsForARun) {
    machine.setLocalTime({2026, 7, 1, 9, 0, 0});
    const std::string good = test::MakeRecord(machine, kRoot, AutoRebootFacts());
    const std::string big(sim::SimWindows::kReadableBytes + 1, 'x');
    struct Damage {
        const char* file;
        std::string bytes;  // empty: a folder in the file's place; "-": the file missing
        const char* named;
    };
    const std::vector<Damage> damages = {
        {"state.txt", std::string("\x8f\x01\xfe junk \x02\x03", 10), "state.txt line 1"},
        {"state.txt", "", "state.txt is a folder"},
        {"undo.reg", "random \x01\x02 bytes", "undo.reg"},
        {"undo.reg", "-", "undo.reg is missing"},
        {"state.txt", big, "larger than"},
    };
    std::vector<std::string> damaged;
    for (const Damage& d : damages) {
        machine.setLocalTime({2026, 7, 1, 10, 0, static_cast<int>(damaged.size())});
        const std::string folder = test::MakeRecord(machine, kRoot, AutoRebootFacts());
        const std::string path = folder + "\\" + d.file;
        machine.files().deleteFile(path);
        if (d.bytes.empty()) machine.files().addDirectory(path);
        else if (d.bytes != "-") machine.files().addFile(path, d.bytes);
        damaged.push_back(folder);
    }
    // A header of gigabytes is no header: that folder is no record, and stops nothing.
    machine.files().addFile(kRoot + "\\2026-07-01 11-00-00\\record.txt", big);

    machine.setRunLockHeldElsewhere(true);
    ASSERT_EQ(run({"UNDO", "/list", "/undodir", kRoot}), kDone) << err();
    EXPECT_TRUE(terminal.errLines.empty()) << err();  // not even "waiting"
    ASSERT_EQ(terminal.outLines.size(), damages.size() + 1);
    for (std::size_t i = 0; i < damages.size(); ++i) {
        const auto fields = Fields(terminal.outLines[damages.size() - 1 - i]);
        ASSERT_EQ(fields.size(), 9u);
        EXPECT_EQ(fields[0], damaged[i]);
        EXPECT_EQ(fields[6], "-");
        EXPECT_EQ(fields[7].rfind("damaged: ", 0), 0u) << fields[7];
        EXPECT_NE(fields[7].find(damages[i].named), std::string::npos) << fields[7];
    }
    EXPECT_EQ(Fields(terminal.outLines.back()), (std::vector<std::string>{good, "2026-07-01 09:00:00", "SIMULATED",
                                                                          "Tester", "run", "-", "1", "open", "machine"}));
    machine.setRunLockHeldElsewhere(false);

    // Each is refused whole by UNDO and stays open; a run goes on beside them all.
    for (const std::string& folder : damaged) {
        const auto before = test::MachineState(machine);
        EXPECT_EQ(run({"UNDO", folder}), kBadUsage) << folder;
        EXPECT_EQ(test::MachineState(machine), before) << folder;
        EXPECT_FALSE(RecordUndone(machine, folder)) << folder;
    }
    EXPECT_EQ(run({"APPLY", "/on", "54", "/undodir", kRoot}), kDone) << err();
}

// What /list shows and what UNDO takes are one set: a record's header copied
// into a folder named otherwise, or reached through a link, is neither.
TEST_F(ConsoleUndo, ListAndUndoTakeTheSameFolders) {
    machine.setLocalTime({2026, 7, 1, 9, 0, 0});
    const std::string made = test::MakeRecord(machine, kRoot, AutoRebootFacts());
    for (const std::string& name : {std::string("mine"), std::string("2026-07-01 09-00-00 x y"), std::string("2026-07-01 09-00-00 (z)")})
        for (const std::string& file : machine.listVisibleFiles(made, "*"))
            machine.files().addFile(kRoot + "\\" + name + "\\" + file, *machine.files().content(made + "\\" + file));
    machine.files().addLink(kRoot + "\\2026-07-01 08-00-00", made);
    machine.files().addDirectory(kRoot + "\\2026-07-01 07-00-00");  // no header

    ASSERT_EQ(run({"UNDO", "/list", "/undodir", kRoot}), kDone) << err();
    std::set<std::string> listed;
    for (const std::string& line : terminal.outLines) listed.insert(Fields(line).at(0));
    EXPECT_EQ(listed, std::set<std::string>{made});
    machine.registry().setValue(kCrash, "AutoReboot", sim::Value::Dword(1));
    for (const std::string& name : machine.listSubfolders(kRoot)) {
        const std::string folder = kRoot + "\\" + name;
        SCOPED_TRACE(folder);
        const auto state = test::MachineState(machine);
        const int status = run({"UNDO", folder, "/undodir", kRoot});
        EXPECT_EQ(status == kDone, listed.count(folder) == 1) << err();
        if (status != kDone) {
            EXPECT_NE(err().find("not an undo record"), std::string::npos) << err();
            EXPECT_EQ(test::MachineState(machine), state);
        }
    }
    EXPECT_FALSE(machine.registryValue(kCrash, "AutoReboot"));  // the one record, taken back
}

TEST_F(ConsoleUndo, RestoringTheOldestOfTwentyKeepsItAndMarksItUndone) {
    for (int i = 0; i < kRecordsKept; ++i) {
        machine.setLocalTime({2026, 7, 1, 9, i, 0});
        // The oldest changes what no later run touches, so restoring it puts something back.
        ASSERT_EQ(run({"APPLY", i % 2 ? "/off" : "/on", i ? "54" : "43", "/undodir", kRoot}), kDone) << err();
    }
    const std::vector<StoredRecord> records = ListRecords(machine, kRoot);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kRecordsKept));
    const std::string oldest = records.back().folder;

    machine.setLocalTime({2026, 7, 1, 10, 0, 0});
    ASSERT_EQ(run({"UNDO", oldest}), kDone) << err();
    EXPECT_TRUE(machine.files().directoryExists(oldest));
    EXPECT_TRUE(RecordUndone(machine, oldest));
    const std::string own = Fields(terminal.outLines.back()).at(1);
    EXPECT_TRUE(machine.files().directoryExists(own)) << own;
    EXPECT_EQ(ListRecords(machine, kRoot).size(), static_cast<std::size_t>(kRecordsKept));
}

TEST_F(ConsoleUndo, OutputNamesOnlyWhatHappenedAndFailuresOnlyBoxesOfTheRun) {
    // A registry tool that says it imported and did not: nothing is shown as put back.
    ASSERT_EQ(run({"APPLY", "/on", "54", "/undodir", kRoot}), kDone) << err();
    machine.setToolIdle("regedit");
    EXPECT_EQ(run({"UNDO", "/undodir", kRoot}), kSomeStepsFailed);
    ASSERT_EQ(terminal.outLines.size(), 1u) << terminal.outLines.front();
    EXPECT_EQ(Fields(terminal.outLines.back()).front(), "undo");
    EXPECT_NE(err().find("AutoReboot"), std::string::npos) << err();

    // A tool that never started, or was refused for want of a record, is no change.
    sim::SimWindows fresh;
    test::FurnishMachine(fresh);
    fresh.setToolMissing("chkntfs");
    terminal = RecordingTerminal{};
    EXPECT_EQ(RunConsole(std::vector<std::string>{"APPLY", "/on", "74", "/undodir", kRoot}, terminal, fresh),
              kSomeStepsFailed);
    ASSERT_EQ(terminal.outLines.size(), 1u) << terminal.outLines.front();
    machine.files().addDirectory(kRoot + "2");
    machine.limitSpaceBelow(kRoot + "2", 0);
    EXPECT_EQ(run({"APPLY", "/on", "74,41", "/undodir", kRoot + "2"}), kNoUndoRecord);
    for (const std::string& line : terminal.outLines) EXPECT_EQ(Fields(line).front(), "undo") << line;
    machine.limitSpaceBelow(kRoot + "2", std::nullopt);
    // Started and ended: shown, the one nobody waits for too.
    EXPECT_EQ(run({"APPLY", "/on", "74,41", "/undodir", kRoot + "2"}), kDone) << err();
    std::vector<std::string> tools;
    for (const std::string& line : terminal.outLines)
        if (Fields(line).size() > 3 && Fields(line)[3].rfind("run ", 0) == 0) tools.push_back(Fields(line)[1]);
    std::sort(tools.begin(), tools.end());
    EXPECT_EQ(tools, (std::vector<std::string>{"41", "74"}));

    // The registry writer's script cannot be written: only the box asked for fails.
    machine.files().addDirectory(std::string(kScriptPath));
    machine.registry().setValue(kCrash, "AutoReboot", sim::Value::Dword(7));  // so 54 has something to write
    EXPECT_EQ(run({"APPLY", "/on", "54", "/undodir", kRoot}), kSomeStepsFailed);
    ASSERT_FALSE(terminal.errLines.empty());
    for (const std::string& line : terminal.errLines) EXPECT_NE(line.find(" 54 "), std::string::npos) << line;
}

TEST_F(ConsoleUndo, NamesCompareWithoutCaseAndFileNamesARestoreCannotMakeAreRefusedWhole) {
    const std::string desktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
    // Windows gives the name as it was typed at logon: beyond ASCII too.
    for (const auto& [maker, taker] : {std::pair{"ROOT", "root"}, std::pair{"\xc3\x89LODIE", "\xc3\xa9lodie"},
                                       std::pair{"\xd0\x9f\xd0\x81\xd0\xa2\xd0\xa0", "\xd0\xbf\xd1\x91\xd1\x82\xd1\x80"}}) {
        machine.setUserName(maker);
        machine.setComputerName(maker);
        const std::string folder = test::MakeRecord(
            machine, kRoot,
            StateLineText({false, StateKind::Value, desktop, "WaitToKillAppTimeout", std::nullopt, false, {}, {}, {}, {}}) +
                StateLineText({true, StateKind::Value, desktop, "WaitToKillAppTimeout", TextValue(reg_type::String, "1"),
                               false, {}, {}, {}, {}}));
        machine.setUserName(taker);
        machine.setComputerName(taker);
        machine.registry().setValue(desktop, "WaitToKillAppTimeout", sim::Value::String("1"));
        EXPECT_EQ(run({"UNDO", "/undodir", kRoot}), kDone) << err();
        EXPECT_TRUE(RecordUndone(machine, folder)) << taker;
        EXPECT_FALSE(machine.registryValue(desktop, "WaitToKillAppTimeout"));
    }
    machine.setUserName("root");

    const std::string startup = StartupFolders(machine, "root").front();
    for (const std::string name : {"CON", "NUL.txt", "com1.lnk", "a|b.lnk", "a\"b.lnk", "a<b.lnk", "a\x01.lnk"}) {
        StateLine before{false, StateKind::File, startup + "\\" + name, {}, std::nullopt, false, {}, {}, {}, {}};
        StateLine after = before;
        after.after = true, after.present = true, after.digest = ContentDigest("x");
        const std::string planted = test::MakeRecord(machine, kRoot, StateLineText(before) + StateLineText(after));
        const auto state = test::MachineState(machine);
        EXPECT_EQ(run({"UNDO", planted, "/undodir", kRoot}), kBadUsage) << name;
        EXPECT_NE(err().find("reaches outside"), std::string::npos) << err();
        EXPECT_EQ(test::MachineState(machine), state) << name;
    }
    // A trailing dot is a real Startup entry's name: the check lets it through.
    StateLine dotted{false, StateKind::File, startup + "\\Trail.", {}, std::nullopt, false, {}, {}, {}, {}};
    const std::string real = test::MakeRecord(machine, kRoot, StateLineText(dotted));
    EXPECT_EQ(run({"UNDO", real, "/undodir", kRoot}), kDone) << err();

    EXPECT_EQ(run({"UNDO", "/undodir", "C:\\ud."}), kBadUsage);
    EXPECT_EQ(run({"APPLY", "/on", "54", "/undodir", "C:\\ud \\x"}), kBadUsage);
    EXPECT_FALSE(machine.files().directoryExists("C:\\ud."));
}

TEST_F(ConsoleUndo, ExportToADeviceOrAFolderIsBadUsageAndWritesNothing) {
    machine.files().addDirectory("C:\\out");
    for (const char* place : {"NUL", "CON", "C:\\COM1", "C:\\aux.txt", "C:\\out", "\\\\.\\pipe\\x"}) {
        for (bool force : {false, true}) {
            const auto state = test::MachineState(machine);
            std::vector<std::string> arguments{"EXPORT", "/selection", place};
            if (force) arguments.push_back("/force");
            EXPECT_EQ(run(arguments), kBadUsage) << place;
            ASSERT_EQ(terminal.errLines.size(), 1u) << place;
            EXPECT_TRUE(terminal.errLines[0].find("device") != std::string::npos ||
                        terminal.errLines[0].find("folder") != std::string::npos)
                << terminal.errLines[0];
            EXPECT_EQ(test::MachineState(machine), state) << place;
        }
    }
}

}  // namespace
}  // namespace quillon::console

namespace quillon::console {
namespace {

TEST_F(ConsoleUndo, AChangeWhoseToolsEndTheRecordNeverSawIsKeptWhereItHoldsWhatItWouldHaveWritten) {
    const auto marker = [](StateKind kind) { return StateLineText({true, kind, "1", {}, std::nullopt, false, {}, {}, {}, {}}); };
    const std::string before = StateLineText({false, StateKind::Value, kCrash, "AutoReboot", std::nullopt, false, {}, {}, {}, {}});
    const std::string after = StateLineText({true, StateKind::Value, kCrash, "AutoReboot", DwordValue(1), false, {}, {}, {}, {}});
    struct Case {
        std::string state;
        bool putBack;
    };
    const std::vector<Case> cases{
        {before + marker(StateKind::Tool) + after, false},                             // started, end never seen
        {before + marker(StateKind::Tool) + after + marker(StateKind::Ended), true},  // seen to end
        {before + after, true},                                                        // a record of before
    };
    int minute = 0;
    for (const Case& c : cases) {
        machine.setLocalTime({2026, 7, 1, 9, minute++, 0});
        const std::string folder = test::MakeRecord(machine, kRoot, c.state);
        machine.registry().setValue(kCrash, "AutoReboot", sim::Value::Dword(1));
        ASSERT_EQ(run({"UNDO", folder}), kDone) << err();
        EXPECT_EQ(machine.registryValue(kCrash, "AutoReboot").has_value(), !c.putBack) << c.state;
        const bool named = std::any_of(terminal.outLines.begin(), terminal.outLines.end(), [&](const std::string& l) {
            return l.ends_with("\tkept " + kCrash + "\\AutoReboot\t-\tthe run ended during this change");
        });
        EXPECT_EQ(named, !c.putBack) << c.state;
    }
}

}  // namespace
}  // namespace quillon::console

namespace quillon::console {
namespace {

TEST_F(ConsoleUndo, AForgedRecordIsRefusedWholeBelowAKeyARunWritesAndWhenDatedAfterNow) {
    const auto value = [](bool after, const std::string& key, const std::string& name, std::optional<RegValue> v) {
        return StateLineText({after, StateKind::Value, key, name, std::move(v), false, {}, {}, {}, {}});
    };
    const RegValue evil = TextValue(reg_type::String, "C:\\evil.exe");
    // Each beside a value the catalogues do write: AeDebug's Auto, a CLSID the desktop names, the desktop's own.
    const std::vector<std::pair<std::string, std::string>> forged{
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", "Debugger"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\InprocServer32", ""},
        {"HKEY_CURRENT_USER\\Control Panel\\Desktop", "SCRNSAVE.EXE"},
    };
    machine.setLocalTime({2026, 7, 1, 9, 0, 0});
    for (const auto& [key, name] : forged) {
        const std::string folder =
            test::MakeRecord(machine, kRoot, value(false, key, name, evil) + value(true, key, name, std::nullopt));
        const auto state = test::MachineState(machine);
        EXPECT_EQ(run({"UNDO", folder}), kBadUsage) << key;
        EXPECT_NE(err().find("reaches outside"), std::string::npos) << err();
        // It names what the record holds as a person reads it, never the record's hex of it.
        EXPECT_NE(err().find("evil.exe"), std::string::npos) << err();
        EXPECT_EQ(err().find(ValueField(evil)), std::string::npos) << err();
        EXPECT_EQ(test::MachineState(machine), state) << key;
    }
    // The same through undo.reg alone.
    const std::string scripted = test::MakeRecord(machine, kRoot, "");
    machine.appendFileFlushed(scripted + "\\undo.reg",
                              Utf16LeBytes(ToUtf16("[" + forged[0].first + "]\r\n\"Debugger\"=\"C:\\\\evil.exe\"\r\n")));
    EXPECT_EQ(run({"UNDO", scripted}), kBadUsage);
    EXPECT_NE(err().find("Debugger"), std::string::npos) << err();

    // Dated after now: passed over by a plain UNDO, refused when named, shown as such.
    const std::string own = test::MakeRecord(machine, kRoot, AutoRebootFacts());
    machine.setLocalTime({2099, 12, 31, 23, 59, 59});
    const std::string future = test::MakeRecord(machine, kRoot, AutoRebootFacts());
    machine.setLocalTime({2026, 7, 1, 10, 0, 0});
    machine.registry().setValue(kCrash, "AutoReboot", sim::Value::Dword(1));
    EXPECT_EQ(run({"UNDO", future}), kBadUsage);
    EXPECT_NE(err().find("after now"), std::string::npos) << err();
    ASSERT_EQ(run({"UNDO", "/list", "/undodir", kRoot}), kDone);
    EXPECT_NE(terminal.outLines.front().find("damaged: the record is dated 2099-12-31 23:59:59, after now"),
              std::string::npos)
        << terminal.outLines.front();
    ASSERT_EQ(run({"UNDO", "/undodir", kRoot}), kDone) << err();
    EXPECT_TRUE(RecordUndone(machine, own));
    EXPECT_FALSE(RecordUndone(machine, future));
}

}  // namespace
}  // namespace quillon::console
