#include <gtest/gtest.h>

#include "engine/RegistryWriter.h"
#include "tests/sim/SimWindows.h"

namespace quillon {
namespace {

const std::string kBios = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\BIOS";
const std::string kDesktop = "HKEY_CURRENT_USER\\Control Panel\\Desktop";

// The script regedit is handed, captured at the moment the import runs.
struct ScriptCapture {
    sim::SimWindows machine;
    std::string script;
    ScriptCapture() {
        machine.onPump([this] {
            if (auto text = machine.files().content("c:\\tempreg.reg")) script = *text;
        });
    }
};

TEST(RegistryWriter, ScriptIsThreeCrLfLinesByteForByte) {
    ScriptCapture capture;
    WriteRegValue(capture.machine, kBios, RegType::Dword, "CPUPriority", "00000001");
    EXPECT_EQ(capture.script,
              "Windows Registry Editor Version 5.00\r\n"
              "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\BIOS]\r\n"
              "\"CPUPriority\"=dword:00000001\r\n");

    WriteRegValue(capture.machine, kDesktop, RegType::String, "WaitToKillAppTimeout", "1000");
    EXPECT_EQ(capture.script,
              "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
              "\"WaitToKillAppTimeout\"=\"1000\"\r\n");
    EXPECT_EQ(capture.machine.commands(),
              (std::vector<std::string>{"regedit /s c:\\tempreg.reg", "regedit /s c:\\tempreg.reg"}));
}

TEST(RegistryWriter, DataReachesTheRegistryUnchanged) {
    sim::SimWindows machine;
    auto& reg = machine.registry();
    WriteRegValue(machine, kBios, RegType::Dword, "Zero", "0");
    WriteRegValue(machine, kBios, RegType::Dword, "Mask", "3FFFFFF");
    WriteRegValue(machine, kBios, RegType::String, "Empty", "");
    WriteRegValue(machine, kBios, RegType::String, "1", "Appwiz.cpl");
    WriteRegValue(machine, kBios, RegType::String, "Path", "C:\\Downloads\\\"new\" folder");
    WriteRegValue(machine, kBios, RegType::String, "back\\slash \"name\"", "x");

    EXPECT_EQ(reg.dwordValue(kBios, "Zero"), 0u);
    EXPECT_EQ(reg.dwordValue(kBios, "Mask"), 0x3FFFFFFu);
    EXPECT_EQ(reg.stringValue(kBios, "Empty"), "");
    EXPECT_EQ(reg.stringValue(kBios, "1"), "Appwiz.cpl");
    EXPECT_EQ(reg.stringValue(kBios, "Path"), "C:\\Downloads\\\"new\" folder");
    EXPECT_EQ(reg.stringValue(kBios, "back\\slash \"name\""), "x");
    EXPECT_FALSE(machine.files().fileExists("c:\\tempreg.reg"));
}

TEST(RegistryWriter, LeftoverScriptIsReplacedNotAppended) {
    sim::SimWindows machine;
    machine.files().addFile("C:\\TEMPREG.REG", "Windows Registry Editor Version 5.00\r\n[HKCU\\Old]\r\n\"Stale\"=dword:1\r\n");
    WriteRegValue(machine, kDesktop, RegType::String, "AutoEndTasks", "1");
    EXPECT_FALSE(machine.registry().keyExists("HKCU\\Old"));
    EXPECT_EQ(machine.registry().stringValue(kDesktop, "AutoEndTasks"), "1");
    EXPECT_FALSE(machine.files().fileExists("c:\\tempreg.reg"));
}

TEST(RegistryWriter, LaterWriteOfTheSameValueWinsEvenWhenImportsAreSlow) {
    sim::SimWindows machine;
    machine.setDeferredExecution(true);  // regedit reads the script only once it is waited for
    WriteRegValue(machine, kBios, RegType::Dword, "CPUPriority", "00000001");
    WriteRegValue(machine, kBios, RegType::Dword, "cpupriority", "00000003");
    EXPECT_EQ(machine.registry().dwordValue(kBios, "CPUPriority"), 3u);
    EXPECT_FALSE(machine.files().fileExists("c:\\tempreg.reg"));
}

TEST(RegistryWriter, FailuresAreReportedToTheCaller) {
    {
        sim::SimWindows machine;
        machine.files().setReadOnlyFolder("C:");
        EXPECT_THROW(WriteRegValue(machine, kBios, RegType::Dword, "A", "1"), PlatformError);
        EXPECT_TRUE(machine.commands().empty());
    }
    {
        sim::SimWindows machine;
        machine.files().addFile("c:\\tempreg.reg", "old", {.readOnly = true});
        EXPECT_THROW(WriteRegValue(machine, kBios, RegType::Dword, "A", "1"), PlatformError);
        EXPECT_FALSE(machine.registry().value(kBios, "A"));
    }
    {
        sim::SimWindows machine;
        machine.setToolMissing("regedit");
        EXPECT_THROW(WriteRegValue(machine, kBios, RegType::Dword, "A", "1"), PlatformError);
        EXPECT_FALSE(machine.files().fileExists("c:\\tempreg.reg"));
    }
    {
        sim::SimWindows machine;
        machine.setToolHangs("regedit");
        EXPECT_THROW(WriteRegValue(machine, kBios, RegType::Dword, "A", "1"), PlatformError);
        EXPECT_FALSE(machine.files().fileExists("c:\\tempreg.reg"));  // ended at its bound, then removed
    }
}

TEST(RegistryWriter, ControlCharactersAreRefusedBeforeAnyFileIsTouched) {
    const std::string injected = "C:\\dl\r[HKEY_LOCAL_MACHINE\\Software\\Injected]\r\"Injected\"=\"x\"";
    for (const std::string& hostile : {injected, std::string("a\nb"), std::string("tab\t"), std::string("nel\xC2\x85")}) {
        sim::SimWindows machine;
        machine.files().addFile("c:\\tempreg.reg", "leftover");
        EXPECT_THROW(WriteRegValue(machine, kBios, RegType::String, "Path", hostile), PlatformError);
        EXPECT_THROW(WriteRegValue(machine, kBios, RegType::String, hostile, "x"), PlatformError);
        EXPECT_THROW(WriteRegValue(machine, kBios + hostile, RegType::Dword, "A", "1"), PlatformError);
        EXPECT_TRUE(machine.commands().empty());
        EXPECT_EQ(machine.files().content("c:\\tempreg.reg"), "leftover");
        EXPECT_FALSE(machine.registry().keyExists("HKEY_LOCAL_MACHINE\\Software\\Injected"));
    }
}

TEST(RegistryWriter, NoOtherProgramCanChangeTheScriptWhileTheImportRuns) {
    sim::SimWindows machine;
    machine.setDeferredExecution(true);  // regedit reads the script only at the end of the wait
    int refused = 0;
    machine.onPump([&] {
        auto attempt = [&](auto action) {
            try {
                action();
            } catch (const PlatformError&) {
                ++refused;
            }
        };
        attempt([&] { machine.files().writeFile("c:\\tempreg.reg", "[HKEY_LOCAL_MACHINE\\Injected]"); });
        attempt([&] { machine.files().deleteFile("c:\\tempreg.reg"); });
        attempt([&] { machine.files().addFile("c:\\evil.reg", "x"), machine.files().moveReplacing("c:\\evil.reg", "c:\\tempreg.reg"); });
    });
    WriteRegValue(machine, kBios, RegType::Dword, "CPUPriority", "00000001");
    EXPECT_EQ(refused, 3);
    EXPECT_EQ(machine.registry().dwordValue(kBios, "CPUPriority"), 1u);
    EXPECT_FALSE(machine.registry().keyExists("HKEY_LOCAL_MACHINE\\Injected"));
    EXPECT_FALSE(machine.files().fileExists("c:\\tempreg.reg"));
}

}  // namespace
}  // namespace quillon
