#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/Phases.h"
#include "tests/unit/TweakMachine.h"

namespace quillon {
namespace {

const std::string kPanel = "HKCU\\Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
const std::string kRestrictions = "HKCU\\Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";
const std::string kMachinePolicy = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
const std::string kUserPolicy = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::string kUserSystem = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::string kBlockList = kUserPolicy + "\\DisallowCpl";
const std::string kIe = "HKCU\\Software\\Microsoft\\Internet Explorer";
const std::string kMuiCache = "HKCU\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
const std::string kRecycleBin =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
    "{645FF040-5081-101B-9F08-00AA002F954E}";
const std::string kSafeBoot = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\SafeBoot";
const std::string kStartMenu = "C:\\Documents and Settings\\All Users\\Start Menu";

class SecurityPhase : public test::TweakMachine {
protected:
    SecurityPhase() : TweakMachine(Page::Security) {}
    void run() { TweakMachine::run(RunSecurityPhase); }
    void setAll(int value) {
        for (int box = 0; box <= 40; ++box) form.setChk(box, value);
    }
    void tickDrives(CheckList list, std::initializer_list<int> drives) {
        for (int drive : drives) form.setListSelected(list, drive, true);
    }
    // Safe boot as a machine has it: nested subkeys with values.
    void furnishSafeBoot() {
        auto& r = machine.registry();
        r.setValue(kSafeBoot + "\\Minimal\\{4D36E965-E325-11CE-BFC1-08002BE10318}", "", sim::Value::String("CD-ROM Drive"));
        r.setValue(kSafeBoot + "\\Minimal\\vga.sys", "", sim::Value::String("Driver"));
        r.setValue(kSafeBoot + "\\Minimal\\Base\\Deep\\Deeper", "Order", sim::Value::Dword(7));
        r.setValue(kSafeBoot + "\\Network\\NetBT", "", sim::Value::String("Service"));
        r.setValue(kSafeBoot + "\\Network\\Ndis\\Sub", "Kept", sim::Value::String("yes"));
        r.setValue(kSafeBoot, "AlternateShell", sim::Value::String("cmd.exe"));
    }
    std::vector<std::string> tree(const std::string& name) { return machine.registry().dump(kSafeBoot + "\\" + name); }
};

// Each box's own values, on either side, are checked against one table in BoxTableTest.cpp; here what the
// other steps write.
TEST_F(SecurityPhase, NothingTickedWritesEveryRestrictionBack) {
    machine.registry().setValue(kIe, "downloadDirectory", sim::Value::String("D:\\Earlier"));
    run();

    EXPECT_EQ(text(kIe, "downloadDirectory"), "D:\\Earlier");  // an empty box leaves it
    EXPECT_EQ(valueLinesFor("NoDrives"), std::vector<std::string>{"\"NoDrives\"=dword:0"});
    EXPECT_EQ(valueLinesFor("NoViewOnDrive"), std::vector<std::string>{"\"NoViewOnDrive\"=dword:0"});
    EXPECT_EQ(dword(kUserPolicy, "NoControlPanel"), 0u);
    EXPECT_EQ(machine.registry().valueNames(kBlockList), std::vector<std::string>{"1"});
    EXPECT_EQ(text(kMuiCache, "@shell32.dll,-22075"), "Windows Catalog");
    EXPECT_TRUE(machine.registry().keyExists(kRecycleBin));
}

TEST_F(SecurityPhase, GreyedBoxesCountAsUnticked) {
    run();
    const auto unticked = machine.registry().dump("HKEY_CURRENT_USER");
    const auto untickedMachine = machine.registry().dump("HKEY_LOCAL_MACHINE");
    setAll(kGreyed);
    run();
    EXPECT_EQ(machine.registry().dump("HKEY_CURRENT_USER"), unticked);
    EXPECT_EQ(machine.registry().dump("HKEY_LOCAL_MACHINE"), untickedMachine);
}

TEST_F(SecurityPhase, KeysAndValueNamesReachTheScriptWithTheirOwnSpelling) {
    run();
    const std::string upper = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer]";
    const std::string lower = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer]";
    EXPECT_EQ(headersFor("NoDrives"), std::vector<std::string>{upper});
    EXPECT_EQ(headersFor("noRun"), (std::vector<std::string>{lower, lower}));
    EXPECT_EQ(headersFor("noFind"), std::vector<std::string>{lower});
    EXPECT_EQ(headersFor("NoSetTaskbar"), (std::vector<std::string>{lower, lower}));
}

TEST_F(SecurityPhase, DriveMasksAreUpperCaseHexWithoutLeadingZeros) {
    struct Case {
        std::initializer_list<int> hide, notAllowed;
        const char* hideDigits;
        const char* notDigits;
    };
    const std::initializer_list<int> all{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                         13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
    for (const Case& c : {Case{{0, 25}, {2}, "2000001", "4"}, Case{all, {}, "3FFFFFF", "0"},
                          Case{{2, 3}, {3, 11}, "C", "808"}}) {
        form.clearList(CheckList::Hide);
        form.clearList(CheckList::Not);
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            form.addListItem(CheckList::Hide, std::string(1, letter) + ":");
            form.addListItem(CheckList::Not, std::string(1, letter) + ":");
        }
        tickDrives(CheckList::Hide, c.hide);
        tickDrives(CheckList::Not, c.notAllowed);
        scripts.clear();
        run();
        EXPECT_EQ(valueLinesFor("NoDrives"), std::vector<std::string>{std::string("\"NoDrives\"=dword:") + c.hideDigits});
        EXPECT_EQ(valueLinesFor("NoViewOnDrive"),
                  std::vector<std::string>{std::string("\"NoViewOnDrive\"=dword:") + c.notDigits});
        EXPECT_EQ(dword(kMachinePolicy, "NoDrives"), std::stoul(c.hideDigits, nullptr, 16));
    }
}

TEST_F(SecurityPhase, ATickedBoxKeepsAValueALaterUntickedBoxAlsoWrites) {
    form.setChk(19, kTicked);  // Hide [Run]; the hidden 35 writes noRun after it
    form.setChk(21, kTicked);  // Hide [Settings]; 34 writes NoSetTaskbar after it
    run();
    EXPECT_EQ(dword(kMachinePolicy, "noRun"), 1u);
    EXPECT_EQ(dword(kMachinePolicy, "NoSetFolders"), 1u);
    EXPECT_EQ(dword(kMachinePolicy, "NoSetTaskbar"), 1u);

    form.setChk(19, kUnticked);
    form.setChk(21, kUnticked);
    form.setChk(34, kTicked);
    form.setChk(35, kTicked);  // not shown on the page, still applied
    form.setChk(26, kTicked);  // likewise
    run();
    EXPECT_EQ(dword(kMachinePolicy, "noRun"), 1u);
    EXPECT_EQ(dword(kMachinePolicy, "NoSetTaskbar"), 1u);
    EXPECT_EQ(dword(kUserPolicy, "NoViewContextMenu"), 1u);
}

TEST_F(SecurityPhase, SingleBoxesWithTheirOwnRules) {
    form.setChk(18, kTicked);  // the inverted one
    form.setChk(28, kTicked);  // shares NoControlPanel with chk 24
    form.setChk(12, kTicked);  // download restriction is 3
    run();
    EXPECT_EQ(dword("HKCU\\Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop", "ScreenSaveActive"), 0u);
    EXPECT_EQ(dword(kUserPolicy, "NoControlPanel"), 1u);
    EXPECT_EQ(dword("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3", "1803"), 3u);
    EXPECT_EQ(dword(kUserSystem, "NoDispScrSavPage"), 0u);
}

TEST_F(SecurityPhase, AddOrRemoveProgramsBlockListBothWays) {
    machine.registry().setValue(kBlockList, "2", sim::Value::String("Desk.cpl"));  // a stale entry
    form.setChk(27, kTicked);
    run();
    EXPECT_EQ(dword(kUserPolicy, "DisallowCpl"), 1u);
    // `reg add` of the key leaves its default value empty, as Wine's reg does.
    EXPECT_EQ(machine.registry().valueNames(kBlockList), (std::vector<std::string>{"2", "", "1"}));
    EXPECT_EQ(text(kBlockList, "1"), "Appwiz.cpl");

    form.setChk(27, kUnticked);
    run();
    EXPECT_EQ(dword(kUserPolicy, "DisallowCpl"), 0u);
    EXPECT_EQ(machine.registry().valueNames(kBlockList), std::vector<std::string>{"1"});
    EXPECT_EQ(text(kBlockList, "1"), "");
}

TEST_F(SecurityPhase, StartMenuShortcutsAreDeletedButNeverRecreated) {
    auto& files = machine.files();
    files.addFile(kStartMenu + "\\Windows Catalog.lnk");
    files.addFile(kStartMenu + "\\Windows Update.lnk");
    files.addFile(kStartMenu + "\\Other.lnk");
    form.setChk(32, kTicked);
    run();
    EXPECT_FALSE(files.fileExists(kStartMenu + "\\Windows Catalog.lnk"));
    EXPECT_FALSE(files.fileExists(kStartMenu + "\\Windows Update.lnk"));
    EXPECT_TRUE(files.fileExists(kStartMenu + "\\Other.lnk"));
    EXPECT_FALSE(machine.registry().value(kMuiCache, "@shell32.dll,-22075"));

    run();  // neither exists now: nothing to do, and the phase goes on
    EXPECT_EQ(form.progressHistory().back(), kProgressFull);
    EXPECT_EQ(dword(kUserPolicy, "NoFolderOptions"), 0u);

    form.setChk(32, kUnticked);
    run();
    EXPECT_FALSE(files.fileExists(kStartMenu + "\\Windows Catalog.lnk"));
    EXPECT_EQ(text(kMuiCache, "@shell32.dll,-22075"), "Windows Catalog");
}

TEST_F(SecurityPhase, RecycleBinKeyIsDeletedOnceAndComesBackEmpty) {
    machine.registry().setValue(kRecycleBin, "", sim::Value::String("Recycle Bin"));
    form.setChk(37, kTicked);
    run();
    EXPECT_FALSE(machine.registry().keyExists(kRecycleBin));
    const auto before = machine.registry().dump("HKEY_LOCAL_MACHINE\\Software\\Microsoft");
    run();
    EXPECT_EQ(machine.registry().dump("HKEY_LOCAL_MACHINE\\Software\\Microsoft"), before);

    form.setChk(37, kUnticked);
    run();
    EXPECT_TRUE(machine.registry().keyExists(kRecycleBin));
    EXPECT_EQ(machine.registry().valueNames(kRecycleBin), std::vector<std::string>{""});
    EXPECT_EQ(text(kRecycleBin, ""), "");
}

TEST_F(SecurityPhase, SafeModeTickedTwiceThenUntickedComesBackWhole) {
    furnishSafeBoot();
    const auto minimal = tree("Minimal"), network = tree("Network");
    form.setChk(39, kTicked);
    run();
    EXPECT_EQ(tree("Minimal1"), minimal);
    EXPECT_EQ(tree("Network1"), network);
    EXPECT_FALSE(machine.registry().keyExists(kSafeBoot + "\\Minimal"));
    EXPECT_FALSE(machine.registry().keyExists(kSafeBoot + "\\Network"));

    run();  // nothing left to move: the backups stay as they are
    EXPECT_EQ(tree("Minimal1"), minimal);
    EXPECT_EQ(tree("Network1"), network);

    form.setChk(39, kUnticked);
    run();
    EXPECT_EQ(tree("Minimal"), minimal);
    EXPECT_EQ(tree("Network"), network);
    EXPECT_FALSE(machine.registry().keyExists(kSafeBoot + "\\Minimal1"));
    EXPECT_FALSE(machine.registry().keyExists(kSafeBoot + "\\Network1"));
    EXPECT_EQ(machine.registry().stringValue(kSafeBoot, "AlternateShell"), "cmd.exe");
}

TEST_F(SecurityPhase, SafeModeCommandsCopyWithSubkeysAndEachEndsBeforeTheNext) {
    furnishSafeBoot();
    const auto minimal = tree("Minimal");
    machine.setDeferredExecution(true);  // a command not waited for would not have run
    form.setChk(39, kTicked);
    run();
    std::vector<std::string> safeBoot;
    for (const std::string& c : toolCommands())
        if (c.find("SafeBoot") != std::string::npos) safeBoot.push_back(c);
    const std::string base = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\";
    EXPECT_EQ(safeBoot, (std::vector<std::string>{
                            "reg copy " + base + "Minimal\\ " + base + "Minimal1\\ /s /f",
                            "reg copy " + base + "Network\\ " + base + "Network1\\ /s /f",
                            "reg delete " + base + "Minimal\\ /f",
                            "reg delete " + base + "Network\\ /f"}));
    EXPECT_FALSE(machine.registry().keyExists(kSafeBoot + "\\Minimal"));
    EXPECT_EQ(tree("Minimal1"), minimal);
}

TEST_F(SecurityPhase, SafeModeKeepsAKeyWhoseCopyDidNotSucceed) {
    furnishSafeBoot();
    machine.registry().deleteKey(kSafeBoot + "\\Network");
    const auto minimal = tree("Minimal");
    machine.setToolHangs("reg");  // every copy outlives its bound
    form.setChk(39, kTicked);
    run();
    EXPECT_EQ(tree("Minimal"), minimal);
    for (const std::string& c : toolCommands())
        EXPECT_FALSE(c.rfind("reg delete", 0) == 0 && c.find("SafeBoot") != std::string::npos) << c;
}

TEST_F(SecurityPhase, SafeModeUntickedWithoutBackupsDeletesNothing) {
    furnishSafeBoot();
    const auto all = machine.registry().dump(kSafeBoot);
    run();
    EXPECT_EQ(machine.registry().dump(kSafeBoot), all);
    for (const std::string& c : toolCommands())
        EXPECT_FALSE(c.rfind("reg delete", 0) == 0 && c.find("SafeBoot") != std::string::npos) << c;
}

TEST_F(SecurityPhase, DownloadDirectoryIsWrittenExactlyAsTyped) {
    for (const char* typed : {"C:\\Downloads", "   ", "D:\\My \"Files\"\\"}) {
        form.setTxtPath(typed);
        run();
        EXPECT_EQ(text(kIe, "downloadDirectory"), typed);
    }
}

}  // namespace
}  // namespace quillon
