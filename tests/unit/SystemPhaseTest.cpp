#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "engine/Phases.h"
#include "tests/unit/BoxTable.h"
#include "tests/unit/TweakMachine.h"

namespace quillon {
namespace {

const std::string kMachinePolicy = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
const std::string kUserPolicy = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::string kUpdate = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate";
const std::string kDebugger = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
const std::string kMemory = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const std::string kDesktop = "HKCU\\Control Panel\\Desktop";
const std::string kMachineSystem = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
const std::string kGroupPolicy =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\"
    "{93DA6881-55BF-487D-B0AE-C8EB3C54121A}Machine\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::string kTray = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify";
const std::string kStartMenu = "C:\\Documents and Settings\\All Users\\Start Menu";
const std::string kBios = "HKLM\\System\\CurrentControlSet\\Services\\VxD\\BIOS";

class SystemPhase : public test::TweakMachine {
protected:
    SystemPhase() : TweakMachine(Page::System) {}
    void run() { TweakMachine::run(RunSystemPhase); }
    void tickAll() {
        for (int box = 0; box < kCheckBoxCount; ++box)
            if (test::BoxPage(box) == Page::System) form.setChk(box, kTicked);
    }
};

// Each box's own values, on either side, are checked against one table in BoxTableTest.cpp; here what the
// other steps write.
TEST_F(SystemPhase, NothingTickedWritesEveryTwoSidedValueBack) {
    run();

    for (const char* name : {"NoFind", "NoSetFolders", "NoSetTaskbar", "NoSMHelp", "NoRecentDocsMenu", "NoLogoff"})
        EXPECT_EQ(dword(kMachinePolicy, name), 0u) << name;
    EXPECT_EQ(dword(kBios, "CPUPriority"), 3u);
    EXPECT_EQ(text(kMemory + "\\PrefetchParameters", "EnablePrefetcher"), "5");
    // StartMenuLogOff is never written back, and the cache size only when ticked.
    EXPECT_FALSE(machine.registry().value(kMachinePolicy, "StartMenuLogOff"));
    EXPECT_FALSE(machine.registry().value(kMemory, "SecondLevelDataCache"));

    EXPECT_EQ(toolCommands(), (std::vector<std::string>{"sc \\\\. config RDSessMgr start= demand",
                                                        "sc \\\\. config ERSvc start= demand",
                                                        "sc \\\\. config wuauserv start= demand"}));
}

TEST_F(SystemPhase, EverythingTickedAppliesEveryTweak) {
    tickAll();
    run();

    for (const char* name : {"NoSMHelp", "NoSetFolders", "NoSetTaskbar", "NoFind", "NoRecentDocsMenu", "StartMenuLogOff"})
        EXPECT_EQ(dword(kMachinePolicy, name), 1u) << name;
    EXPECT_FALSE(machine.registry().value(kMachinePolicy, "NoLogoff"));
    EXPECT_EQ(dword(kBios, "CPUPriority"), 1u);
    EXPECT_EQ(dword(kMemory, "SecondLevelDataCache"), 0x40u);

    EXPECT_EQ(toolCommands(), (std::vector<std::string>{
                                  "sc \\\\. config RDSessMgr start= disabled",
                                  "sc \\\\. config ERSvc start= disabled",
                                  "sc \\\\. config wuauserv start= disabled",
                                  "reg delete " + std::string("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
                                                              "CurrentVersion\\Explorer\\TrayNotify\\IconStreams /f"),
                                  "reg delete " + std::string("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
                                                              "CurrentVersion\\Explorer\\TrayNotify\\PastIconsStream /f"),
                                  "chkntfs /x c: d:"}));
}

TEST_F(SystemPhase, KeysReachTheScriptWithTheirOwnSpelling) {
    tickAll();
    run();
    // "Software" and "policies" as written: the Security page uses other spellings of the same key.
    EXPECT_EQ(headersFor("NoFind"), std::vector<std::string>{"[" + kMachinePolicy + "]"});
    EXPECT_EQ(headersFor("DisableStatusMessages"),
              (std::vector<std::string>{
                  "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\"
                  "{93DA6881-55BF-487D-B0AE-C8EB3C54121A}Machine\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                  "Policies\\System]",
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system]"}));
}

TEST_F(SystemPhase, StartMenuTickedDeletesOnlyVisibleShortcutsDirectlyInTheFolder) {
    auto& files = machine.files();
    files.addFile(kStartMenu + "\\Windows Catalog.lnk");
    files.addFile(kStartMenu + "\\Set Program Access.LNK");
    files.addFile(kStartMenu + "\\hidden.lnk", "", {.hidden = true});
    files.addFile(kStartMenu + "\\system.lnk", "", {.system = true});
    files.addFile(kStartMenu + "\\notes.txt");
    files.addFile(kStartMenu + "\\Programs\\Accessories.lnk");
    form.setChk(76, kTicked);
    run();
    EXPECT_FALSE(files.fileExists(kStartMenu + "\\Windows Catalog.lnk"));
    EXPECT_FALSE(files.fileExists(kStartMenu + "\\Set Program Access.LNK"));
    for (const char* kept : {"\\hidden.lnk", "\\system.lnk", "\\notes.txt", "\\Programs\\Accessories.lnk"})
        EXPECT_TRUE(files.fileExists(kStartMenu + kept)) << kept;
}

TEST_F(SystemPhase, StartMenuUntickedSparesValuesTheSecurityPageHolds) {
    for (const char* name : {"NoFind", "NoSetFolders", "NoSetTaskbar", "NoSMHelp", "NoRecentDocsMenu"})
        machine.registry().setValue(kMachinePolicy, name, sim::Value::Dword(1));
    machine.registry().setValue(kMachinePolicy, "StartMenuLogOff", sim::Value::Dword(1));
    form.setChk(20, kTicked);  // Hide [Search]
    form.setChk(21, kGreyed);  // Hide [Settings]: only exactly 0 lets go
    run();
    EXPECT_EQ(dword(kMachinePolicy, "NoFind"), 1u);
    EXPECT_EQ(dword(kMachinePolicy, "NoSetFolders"), 1u);
    EXPECT_EQ(dword(kMachinePolicy, "NoSetTaskbar"), 1u);
    EXPECT_EQ(dword(kMachinePolicy, "NoSMHelp"), 0u);
    EXPECT_EQ(dword(kMachinePolicy, "NoRecentDocsMenu"), 0u);
    EXPECT_EQ(dword(kMachinePolicy, "NoLogoff"), 0u);
    EXPECT_EQ(dword(kMachinePolicy, "StartMenuLogOff"), 1u);

    form.setChk(20, kGreyed);
    run();
    EXPECT_EQ(dword(kMachinePolicy, "NoFind"), 1u);
    form.setChk(20, kUnticked);
    run();
    EXPECT_EQ(dword(kMachinePolicy, "NoFind"), 0u);
}

TEST_F(SystemPhase, SharedValuesAreDecidedByTheTickedSide) {
    struct Case {
        int autoUpdate, errorReport;  // chk 65, chk 58
        std::uint32_t expected;
    };
    for (Case c : {Case{kTicked, kUnticked, 1}, Case{kUnticked, kTicked, 1}, Case{kUnticked, kUnticked, 0}, Case{kTicked, kTicked, 1}}) {
        form.setChk(65, c.autoUpdate);
        form.setChk(58, c.errorReport);
        run();
        EXPECT_EQ(dword(kUpdate, "DisableWindowsUpdateAccess"), c.expected) << c.autoUpdate << c.errorReport;
    }
    struct DebugCase {
        int closeErrors, closeAutoDebug;  // chk 66, chk 48
        const char* expected;
    };
    for (DebugCase c : {DebugCase{kUnticked, kUnticked, "1"}, DebugCase{kTicked, kUnticked, "0"},
                        DebugCase{kUnticked, kTicked, "0"}}) {
        form.setChk(66, c.closeErrors);
        form.setChk(48, c.closeAutoDebug);
        run();
        EXPECT_EQ(text(kDebugger, "Auto"), c.expected) << c.closeErrors << c.closeAutoDebug;
    }
}

TEST_F(SystemPhase, PriorityAndPrefetchFollowTheirListsWithNothingChosenAsTheSecondEntry) {
    form.setChk(56, kTicked);
    for (auto [index, priority, prefetch] : {std::tuple{0, 1u, "5"}, {1, 2u, "3"}, {-1, 2u, "3"}}) {
        form.setComboIndex(Combo::Priority, index);
        form.setComboIndex(Combo::Prefetch, index);
        run();
        EXPECT_EQ(dword(kBios, "CPUPriority"), priority) << index;
        EXPECT_EQ(text(kMemory + "\\PrefetchParameters", "EnablePrefetcher"), prefetch) << index;
    }
    form.setChk(56, kGreyed);
    run();
    EXPECT_EQ(dword(kBios, "CPUPriority"), 3u);
}

TEST_F(SystemPhase, CacheSizeIsADwordOnlyForTheSmallestOption) {
    form.setChk(75, kTicked);
    const std::uint32_t sizes[] = {0x40, 0x80, 0x100, 0x200, 0x400};
    for (int option = 0; option < kOptionCount; ++option) {
        form.selectOpt(option);
        run();
        auto value = machine.registry().value(kMemory, "SecondLevelDataCache");
        ASSERT_TRUE(value);
        if (option == 0) {
            EXPECT_EQ(*value, sim::Value::Dword(0x40));
        } else {
            char digits[9];
            std::snprintf(digits, sizeof digits, "%08X", sizes[option]);
            EXPECT_EQ(*value, sim::Value::String(digits)) << option;
        }
    }
    machine.registry().deleteValue(kMemory, "SecondLevelDataCache");
    form.clearOpt();
    run();
    EXPECT_FALSE(machine.registry().value(kMemory, "SecondLevelDataCache"));
}

TEST_F(SystemPhase, OneSidedBoxesUntickedLeaveTheirSettingsAlone) {
    auto& registry = machine.registry();
    registry.setValue(kDesktop, "HungAppTimeout", sim::Value::String("7000"));
    registry.setValue(kMemory, "SecondLevelDataCache", sim::Value::Dword(0x100));
    registry.setValue("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", "AlwaysUnloadDLL",
                      sim::Value::String("0"));
    registry.setValue("HKLM\\SYSTEM\\CurrentControlSet\\Control\\FileSystem", "ContigFileAllocSize",
                      sim::Value::Dword(0x200));
    registry.setValue(kTray, "IconStreams", sim::Value::Dword(7));
    registry.createKey(kTray + "\\IconStreams");
    registry.createKey(kTray + "\\PastIconsStream");
    form.setChk(66, kTicked);  // so the debugger value shows whether chk 48 rewrote it
    run();
    EXPECT_EQ(text(kDesktop, "HungAppTimeout"), "7000");
    EXPECT_EQ(dword(kMemory, "SecondLevelDataCache"), 0x100u);
    EXPECT_EQ(text("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", "AlwaysUnloadDLL"), "0");
    EXPECT_EQ(dword("HKLM\\SYSTEM\\CurrentControlSet\\Control\\FileSystem", "ContigFileAllocSize"), 0x200u);
    EXPECT_TRUE(registry.keyExists(kTray + "\\IconStreams"));
    EXPECT_TRUE(registry.keyExists(kTray + "\\PastIconsStream"));
    for (const std::string& command : toolCommands()) EXPECT_EQ(command.rfind("sc ", 0), 0u) << command;

    form.setChk(53, kTicked);
    run();
    EXPECT_FALSE(registry.keyExists(kTray + "\\IconStreams"));
    EXPECT_FALSE(registry.keyExists(kTray + "\\PastIconsStream"));
}

TEST_F(SystemPhase, ABoxChangedDuringTheRunCountsOnlyIfItsStepIsStillAhead) {
    bool changed = false;
    duringRun = [&] {
        if (changed || form.progressWidth() != 7600) return;
        form.setChk(47, kTicked);  // its step is still ahead
        form.setChk(54, kTicked);  // its step is long done
        changed = true;
    };
    run();
    EXPECT_TRUE(changed);
    EXPECT_EQ(dword("HKLM\\SYSTEM\\CurrentControlSet\\Control\\FileSystem", "ContigFileAllocSize"), 0x400u);
    EXPECT_EQ(dword("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot"), 0u);
}

TEST_F(SystemPhase, AToolThatCannotStartOrHangsSkipsOnlyItsOwnStep) {
    machine.setToolMissing("sc");
    machine.setToolHangs("chkntfs");
    form.setChk(74, kTicked);
    form.setChk(58, kTicked);
    run();
    // The step after each failed command still ran.
    EXPECT_EQ(dword(kUpdate, "DisableWindowsUpdateAccess"), 1u);
    EXPECT_EQ(dword(kUserPolicy, "NoSimpleStartMenu"), 0u);
    EXPECT_EQ(text(kMemory + "\\PrefetchParameters", "EnablePrefetcher"), "5");
    EXPECT_EQ(form.progressHistory().back(), kProgressFull);
}

}  // namespace
}  // namespace quillon
