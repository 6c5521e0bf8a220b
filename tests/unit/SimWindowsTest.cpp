// The simulated Windows stands in for real tools in every unit test, so its
// tools must behave as the real ones do where Quillon relies on them.
#include <gtest/gtest.h>

#include "tests/sim/SimWindows.h"

namespace quillon::sim {
namespace {

TEST(SimTools, RegCopyTakesSubkeysOnlyWithS) {
    SimWindows machine;
    auto& reg = machine.registry();
    reg.setValue("HKLM\\A\\Src", "v", Value::Dword(1));
    reg.setValue("HKLM\\A\\Src\\Sub\\Deep", "w", Value::String("x"));
    machine.startHidden("reg copy HKEY_LOCAL_MACHINE\\A\\Src\\ HKEY_LOCAL_MACHINE\\A\\Flat\\ /f");
    machine.startHidden("reg copy HKEY_LOCAL_MACHINE\\A\\Src\\ HKEY_LOCAL_MACHINE\\A\\Whole\\ /s /f");
    EXPECT_EQ(reg.dwordValue("HKLM\\A\\Flat", "v"), 1u);
    EXPECT_FALSE(reg.keyExists("HKLM\\A\\Flat\\Sub"));
    EXPECT_EQ(reg.stringValue("HKLM\\a\\whole\\SUB\\deep", "W"), "x");
}

TEST(SimTools, RegDeleteAndAdd) {
    SimWindows machine;
    auto& reg = machine.registry();
    reg.setValue("HKCU\\Run", "My App", Value::String("x"));
    reg.setValue("HKCU\\Run", "Other", Value::String("y"));
    machine.startHidden("reg delete HKEY_CURRENT_USER\\Run /v \"My App\" /f");
    EXPECT_EQ(reg.valueNames("HKCU\\Run"), (std::vector<std::string>{"Other"}));
    machine.startHidden("reg delete HKEY_CURRENT_USER\\Run\\ /f");
    EXPECT_FALSE(reg.keyExists("HKCU\\Run"));
    machine.startHidden("reg add HKEY_CURRENT_USER\\New\\Key\\ /f");
    EXPECT_TRUE(reg.keyExists("HKCU\\New\\Key"));
}

TEST(SimTools, On64BitWindowsTheToolsAProgramIsHandedWriteThe32BitViewUnlessToldTheNativeOne) {
    const std::string node = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\";
    for (bool wow64 : {false, true}) {
        SimWindows machine;
        machine.setWow64(wow64);
        auto& reg = machine.registry();
        machine.writeTextFile("c:\\s.reg", {"REGEDIT4", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"v\"=dword:00000001",
                                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\A]", "\"v\"=dword:00000002"});
        machine.startHidden("regedit /s c:\\s.reg");
        machine.startHidden("reg add HKLM\\SOFTWARE\\B /v w /d x /f");
        machine.startHidden("reg add HKLM\\SYSTEM\\B /v w /d x /f");
        // Not redirected: HKEY_CURRENT_USER, what lies outside SOFTWARE, and the keys both views share.
        EXPECT_TRUE(reg.stringValue("HKLM\\SYSTEM\\B", "w"));
        EXPECT_EQ(reg.dwordValue("HKLM\\SOFTWARE\\Policies\\A", "v"), 2u);
        EXPECT_EQ(reg.dwordValue(node + "SOFTWARE\\A", "v"), std::nullopt);
        EXPECT_EQ(reg.dwordValue(wow64 ? node + "A" : "HKLM\\SOFTWARE\\A", "v"), 1u);
        EXPECT_EQ(reg.keyExists(node + "B"), wow64);
        EXPECT_EQ(reg.keyExists("HKLM\\SOFTWARE\\B"), !wow64);

        // The native view, when the tool is told so; a 32-bit reg refuses the switch.
        machine.startHidden("reg import c:\\s.reg /reg:64");
        machine.startHidden("reg delete HKLM\\SOFTWARE\\B /f /reg:64");
        EXPECT_EQ(reg.dwordValue("HKLM\\SOFTWARE\\A", "v"), 1u);
        EXPECT_EQ(reg.keyExists("HKLM\\SOFTWARE\\B"), !wow64);  // on 32-bit the deletion was refused
        auto refused = machine.startHidden("reg add HKLM\\SOFTWARE\\C /f /reg:64");
        refused->waitPumping(std::chrono::milliseconds(0));
        EXPECT_EQ(refused->exitCode(), wow64 ? 0 : 1);
    }
}

TEST(SimTools, ServiceControlSetsStartOnlyForExistingServices) {
    SimWindows machine;
    auto& reg = machine.registry();
    const std::string spooler = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Spooler";
    reg.createKey(spooler);
    machine.startHidden("sc \\\\. config Spooler start= disabled");
    EXPECT_EQ(reg.dwordValue(spooler, "Start"), 4u);
    machine.startHidden("sc \\\\. config Spooler start= demand");
    EXPECT_EQ(reg.dwordValue(spooler, "Start"), 3u);
    machine.startHidden("sc \\\\. config Missing start= demand");
    EXPECT_FALSE(reg.keyExists("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Missing"));
}

TEST(SimTools, UnescapedBackslashIsLostByTheImportAsRegeditLosesIt) {
    SimWindows machine;
    machine.files().addFile("c:\\s.reg", "Windows Registry Editor Version 5.00\r\n[HKCU\\K]\r\n\"P\"=\"C:\\Downloads\"\r\n");
    machine.startHidden("regedit /s c:\\s.reg");
    EXPECT_EQ(machine.registry().stringValue("HKCU\\K", "P"), "C:Downloads");
}

TEST(SimTools, UnknownOrMissingToolsCannotStart) {
    SimWindows machine;
    EXPECT_THROW(machine.startHidden("cmd /c del x"), PlatformError);
    machine.setToolMissing("reg");
    EXPECT_THROW(machine.startHidden("reg add HKCU\\X /f"), PlatformError);
    EXPECT_TRUE(machine.commands().empty());
}

TEST(SimFiles, WindowsNamingAndProtection) {
    SimFileSystem files;
    files.addFile("C:\\Windows\\Temp\\a.txt");
    EXPECT_TRUE(files.directoryExists("c:\\windows\\TEMP\\"));
    EXPECT_THROW(files.removeEmptyDirectory("C:\\Windows\\temp"), PlatformError);
    files.addFile("C:\\x\\hidden.lnk", "", {.hidden = true});
    EXPECT_TRUE(files.fileExists("C:\\X\\HIDDEN.LNK"));
    EXPECT_FALSE(files.visibleFileExists("C:\\x\\hidden.lnk"));
    files.addFile("C:\\x\\open.lnk", "", {.locked = true});
    EXPECT_THROW(files.deleteFile("C:\\x\\open.lnk"), PlatformError);
}

// The record's durability is checked against this model: it must lose
// everything a real power cut may lose, and keep only what was flushed.
TEST(SimFiles, APowerCutLosesWhatWasNotFlushed) {
    SimWindows machine;
    machine.files().addFile("C:\\old\\kept.txt", "on the disk");
    machine.files().addFile("C:\\old\\gone.txt", "deleted");
    machine.appendFile("C:\\old\\kept.txt", " and more");
    machine.deleteFile("C:\\old\\gone.txt");
    machine.createDirectory("C:\\new");
    machine.createDirectory("C:\\new\\sub");
    machine.appendFile("C:\\new\\sub\\appended.txt", "a");
    machine.copyFile("C:\\old\\kept.txt", "C:\\new\\copy.txt");
    // Commits the entries and sizes above, not their bytes.
    machine.copyFileFlushed("C:\\old\\kept.txt", "C:\\new\\sub\\flushed copy.txt");
    machine.appendFile("C:\\new\\sub\\appended.txt", "b");
    machine.appendFile("C:\\new\\late.txt", "never committed");
    machine.cutPowerAfter(0);
    machine.powerCut();

    auto& files = machine.files();
    EXPECT_EQ(files.content("C:\\old\\kept.txt"), std::string("on the disk\0\0\0\0\0\0\0\0\0", 20));
    EXPECT_FALSE(files.fileExists("C:\\old\\gone.txt"));
    EXPECT_EQ(files.content("C:\\new\\sub\\appended.txt"), std::string(1, '\0'));
    EXPECT_EQ(files.content("C:\\new\\copy.txt"), std::string(20, '\0'));
    EXPECT_EQ(files.content("C:\\new\\sub\\flushed copy.txt"), "on the disk and more");
    EXPECT_FALSE(files.fileExists("C:\\new\\late.txt"));
    machine.appendFileFlushed("C:\\new\\again.txt", "the power is back");
    machine.replaceTextFile("C:\\old\\replaced.txt", {"whole"});
    machine.powerCut();
    EXPECT_EQ(files.content("C:\\new\\again.txt"), "the power is back");
    EXPECT_EQ(files.content("C:\\old\\replaced.txt"), "whole\r\n");
    EXPECT_FALSE(files.fileExists("C:\\old\\replaced.txt.tmp"));
}

}  // namespace
}  // namespace quillon::sim
