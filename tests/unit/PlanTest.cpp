// The plan of a run, on the simulated Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string_view>

#include "effects/EffectReader.h"
#include "engine/Phases.h"
#include "planning/Plan.h"
#include "words/StepNames.h"
#include "tests/unit/JournalMachine.h"
#include "effects/ChangeWords.h"

namespace quillon {
namespace {

using test::FurnishMachine;
using test::MachineState;

TEST(Plan, ChangesNothingStartsNothingAndCoversEveryBoxOfTheTweakPages) {
    for (bool ticked : {true, false}) {
        sim::SimWindows machine;
        FurnishMachine(machine);
        test::MemoryForm form;
        test::SelectEverything(form, machine, ticked);
        const auto before = MachineState(machine);
        const auto formBefore = form.events().size();

        const auto plan = PlanRun(form, machine, "Tester", RunOrder());

        EXPECT_FALSE(plan.empty());
        EXPECT_EQ(MachineState(machine), before);
        EXPECT_TRUE(machine.commands().empty());
        EXPECT_EQ(form.events().size(), formBefore);  // not even the progress bar moved
        if (!ticked) continue;  // one-sided boxes do nothing unticked
        // Each page on its own, as the window applies it: every box shows up.
        std::set<int> boxes;
        std::set<int> services;
        for (Page page : RunOrder()) {
            // The controls that are no box nor entry, as the report lists them without a plan.
            std::vector<std::string_view> controls, listed;
            for (const PlannedEffect& p : PlanRun(form, machine, "Tester", std::vector<Page>{page})) {
                EXPECT_EQ(p.step.page, page);
                for (int box : p.step.boxes)
                    if (box >= 0) boxes.insert(box);
                if (p.step.page == Page::Services) services.insert(p.step.entry);
                if (p.step.boxes[0] < 0 && p.step.entry < 0 && !p.step.control.empty() &&
                    std::find(controls.begin(), controls.end(), p.step.control) == controls.end())
                    controls.push_back(p.step.control);
            }
            for (const StepTag& step : ControlSteps(page)) {
                EXPECT_EQ(step.page, page);
                listed.push_back(step.control);
            }
            EXPECT_EQ(listed, controls) << PageName(page);
        }
        EXPECT_EQ(boxes.size(), static_cast<std::size_t>(kCheckBoxCount));
        EXPECT_EQ(services.size(), kServices.size());
    }
}

TEST(Plan, ShowsBeforeAndAfterAsTheRunWouldFindThem) {
    sim::SimWindows machine;
    FurnishMachine(machine);
    test::MemoryForm form;
    test::SelectEverything(form, machine, true);
    const auto plan = PlanRun(form, machine, "Tester", RunOrder());

    auto find = [&](const std::string& name, Page page) {
        for (const PlannedEffect& p : plan)
            if (p.effect.kind == EffectKind::SetValue && p.effect.name == name && p.step.page == page) return p;
        ADD_FAILURE() << name;
        return PlannedEffect{};
    };
    const PlannedEffect reboot = find("AutoReboot", Page::System);
    EXPECT_EQ(DescribeState(reboot.before), "REG_BINARY 01 00 ff");
    EXPECT_EQ(DescribeState(reboot.after), "REG_DWORD 0x00000001 (1)");
    EXPECT_TRUE(reboot.changes);
    EXPECT_TRUE(reboot.step.hasBox(54));
    // The System page sets NoSetTaskbar first; the Security page then finds it set.
    const PlannedEffect taskbar = find("NoSetTaskbar", Page::Security);
    EXPECT_EQ(DescribeState(taskbar.before), "REG_DWORD 0x00000001 (1)");
    EXPECT_FALSE(taskbar.changes);
    EXPECT_FALSE(taskbar.inPlace);  // but the machine itself does not have it yet

    // Safe mode: both trees copied, then deleted; a later read sees the copy.
    std::vector<std::string> safeMode;
    for (const PlannedEffect& p : plan)
        if (p.step.hasBox(39)) safeMode.push_back(DescribeEffect(p.effect) + (p.changes ? " *" : ""));
    const std::string safeBoot = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\";
    EXPECT_EQ(safeMode, (std::vector<std::string>{
                            "copy key tree " + safeBoot + "Minimal to " + safeBoot + "Minimal1 *",
                            "copy key tree " + safeBoot + "Network to " + safeBoot + "Network1 *",
                            "delete key " + safeBoot + "Minimal *", "delete key " + safeBoot + "Network *"}));

    std::multiset<std::string> files;
    for (const PlannedEffect& p : plan)
        if (p.effect.kind == EffectKind::DeleteFile || p.effect.kind == EffectKind::RemoveFolder ||
            p.effect.kind == EffectKind::RunTool)
            files.insert(DescribeEffect(p.effect));
    // The shortcuts go once (the System page's deletion leaves the Security page nothing to do), the
    // non-empty help folder is not touched, the startup entry's file goes from the user's folder.
    EXPECT_EQ(files, (std::multiset<std::string>{
                         "run sfc /purgecache", "run chkntfs /x c: d:",
                         "delete file C:\\Windows\\driver cache\\i386\\Driver.cab",
                         "remove folder C:\\Windows\\temp", "remove folder C:\\Windows\\help",
                         "remove folder C:\\Windows\\Ime\\chtime", "remove folder C:\\Windows\\Ime\\imjp8_1",
                         "delete file C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup\\Alpha",
                         "delete file C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup\\Gamma.lnk",
                         "delete file C:\\Documents and Settings\\All Users\\Start Menu\\Set Program Access.lnk",
                         "delete file C:\\Documents and Settings\\All Users\\Start Menu\\Windows Catalog.lnk",
                         "delete file C:\\Documents and Settings\\All Users\\Start Menu\\Windows Update.lnk"}));
}

TEST(EffectReader, ReadsEveryTypeTheRecordWritesAndHexContinuations) {
    const std::string script =
        "Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\Gone]\r\n[HKEY_CURRENT_USER\\K]\r\n"
        "@=\"d\\\\e\\\"f\"\r\n\"m\"=hex(7):61,00,00,\\\r\n  00,00,00\r\n\"q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
        "\"n\"=hex(0):\r\n\"x\"=-\r\n\"d\"=dword:0000001a\r\n[HKEY_CURRENT_USER\\Empty]\r\n";
    const std::string utf16 = "\xff\xfe" + Utf16LeBytes(ToUtf16(script));
    for (const std::string& bytes : {script, utf16}) {
        std::vector<std::string> effects;
        for (const Effect& e : ReadScriptEffects(bytes)) effects.push_back(DescribeEffect(e));
        EXPECT_EQ(effects, (std::vector<std::string>{
                               "delete key HKEY_CURRENT_USER\\Gone", "set HKEY_CURRENT_USER\\K\\(Default) = REG_SZ \"d\\e\"f\"",
                               "set HKEY_CURRENT_USER\\K\\m = REG_MULTI_SZ \"a\"",
                               "set HKEY_CURRENT_USER\\K\\q = REG_QWORD 01 02 03 04 05 06 07 08",
                               "set HKEY_CURRENT_USER\\K\\n = REG_NONE", "delete value HKEY_CURRENT_USER\\K\\x",
                               "set HKEY_CURRENT_USER\\K\\d = REG_DWORD 0x0000001a (26)",
                               "create key HKEY_CURRENT_USER\\Empty"}));
    }
}

}  // namespace
}  // namespace quillon
