#pragma once
// A simulated machine with something in every place the five pages touch, in
// awkward forms (Unicode strings, multi-strings, binary data, odd types for
// values the pages write as DWORDs, whole safe-mode trees, startup entries in
// the registry and in both folders, shortcuts in the common Start menu), and
// a way to compare two states of it exactly.
#include <algorithm>
#include <string>
#include <vector>

#include "effects/RegScript.h"
#include "engine/ServiceCatalogue.h"
#include "record/RecordLines.h"
#include "record/RecordStore.h"
#include "record/RecordReader.h"
#include "record/RecordState.h"
#include "record/UndoRecordWriter.h"
#include "restore/Restore.h"
#include "engine/SystemSteps.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/UndoRecords.h"
#include "startup/StartupList.h"
#include "tests/support/MemoryForm.h"

namespace quillon::test {

// On 64-bit Windows the 32-bit view has settings of its own where the pages
// write (which Windows does not read) and startup entries, one of them named
// as one of the native view's.
inline void Furnish32BitView(sim::SimWindows& machine) {
    auto& reg = machine.registry();
    using sim::Value;
    const std::string node = "HKLM\\SOFTWARE\\Wow6432Node\\";
    reg.setValue(node + "Microsoft\\Windows\\CurrentVersion\\Run", "Beta \xe2\x82\xac", Value::String("c:\\beta32.exe"));
    reg.setValue(node + "Microsoft\\Windows\\CurrentVersion\\Run", "Delta", Value::String("c:\\delta32.exe"));
    reg.setValue(node + "Microsoft\\Windows NT\\CurrentVersion\\SystemRestore", "DisableSR", Value::Dword(5));
    reg.setValue(node + "Microsoft\\Windows NT\\CurrentVersion\\AeDebug", "Auto", Value::String("32"));
    reg.setValue(node + "Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
                 "{645FF040-5081-101B-9F08-00AA002F954E}", "", Value::String("Recycle Bin 32"));
}

// A 32-bit simulated Windows, then a 64-bit one: what the properties run over.
inline constexpr bool kBothWindows[] = {false, true};

inline void FurnishMachine(sim::SimWindows& machine) {
    auto& reg = machine.registry();
    using sim::Value;
    const std::string services = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";
    std::uint32_t mode = 2;
    for (const ServiceEntry& entry : kServices) reg.setValue(services + std::string(entry.serviceName), "Start", Value::Dword(mode++ % 2 ? 3 : 2));
    for (const char* name : {"RDSessMgr", "ERSvc"}) reg.setValue(services + name, "Start", Value::Dword(3));
    const std::string safeBoot = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\";
    for (const char* tree : {"Minimal", "Network"}) {
        reg.setValue(safeBoot + tree + "\\{4D36E965-E325-11CE-BFC1-08002BE10318}", "", Value::String("CD-ROM Drive"));
        reg.setValue(safeBoot + tree + "\\sermouse.sys", "", Value::String("Driver"));
        reg.setValue(safeBoot + tree + "\\Deep\\Er", "x", Value::Of(MultiStringValue({"a", "\xc3\xa9t\xc3\xa9"})));
    }
    reg.setValue("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Alpha", Value::String("c:\\alpha.exe"));
    reg.setValue("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Beta \xe2\x82\xac", Value::String("c:\\beta.exe"));
    reg.setValue("HKCU\\Control Panel\\Desktop", "HungAppTimeout", Value::String("\xce\xa9mega \xe6\x97\xa5"));
    reg.setValue("HKCU\\Control Panel\\Desktop", "AutoEndTasks", Value::Of(TextValue(reg_type::ExpandString, "%x%")));
    reg.setValue("HKLM\\System\\CurrentControlSet\\Control\\CrashControl", "AutoReboot",
                 Value::Of(BinaryValue({1, 0, 0xff})));
    reg.setValue("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoRecycleFiles",
                 Value::Of({reg_type::Qword, {1, 2, 3, 4, 5, 6, 7, 8}}));
    reg.setValue("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore", "DisableSR",
                 Value::Of(MultiStringValue({"one", "two"})));
    reg.setValue("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", "Auto", Value::Of({reg_type::None, {}}));
    reg.setValue("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer", "NoDriveTypeAutoRun",
                 Value::Dword(0x91));
    reg.setValue("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\DisallowCpl", "1",
                 Value::String("keep.cpl"));
    reg.setValue("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
                 "{645FF040-5081-101B-9F08-00AA002F954E}", "", Value::String("Recycle Bin"));

    auto& files = machine.files();
    const std::string startMenu = machine.shellFolder(ShellFolder::CommonStartMenu);
    for (const char* name : {"Windows Catalog.lnk", "Windows Update.lnk", "Set Program Access.lnk"})
        files.addFile(startMenu + "\\" + name, std::string("shortcut ") + name);
    files.addFile("C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup\\Alpha", "user startup");
    files.addFile("C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup\\Gamma.lnk", "common startup");
    files.addFile("C:\\windows\\driver cache\\i386\\Driver.cab", "cabinet");
    files.addDirectory("C:\\Windows\\temp");
    files.addFile("C:\\Windows\\help\\keep.chm", "help");
    files.addDirectory("C:\\Windows\\Ime\\chtime");
    files.addDirectory("C:\\Windows\\Ime\\imjp8_1");
    if (machine.wow64()) Furnish32BitView(machine);
}

// The 32-bit view's keys and values, as lines.
inline std::vector<std::string> View32State(sim::SimWindows& machine) {
    return machine.registry().dump("HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node");
}

// Everything the pages can reach: both registry roots and the drive.
inline std::vector<std::string> MachineState(sim::SimWindows& machine) {
    std::vector<std::string> state = machine.registry().dump("HKEY_LOCAL_MACHINE");
    for (std::string& line : machine.registry().dump("HKEY_CURRENT_USER")) state.push_back("HKCU" + line);
    for (const std::string& path : machine.files().allPaths())
        state.push_back(path + "=" + machine.files().content(path).value_or("<folder>"));
    return state;
}

// The same, without the program's own folder (setup.dat) and the undo records.
inline std::vector<std::string> TweakedState(sim::SimWindows& machine) {
    const std::string records = machine.commonAppDataFolder() + "\\Quillon";
    std::vector<std::string> state;
    for (std::string& line : MachineState(machine))
        if (line.rfind(machine.executableFolder(), 0) != 0 && line.rfind(records, 0) != 0)
            state.push_back(std::move(line));
    return state;
}

// Lines only one of two states has, marked "-" (only in `expected`) or "+".
inline std::vector<std::string> Difference(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    std::vector<std::string> out;
    for (const std::string& line : expected)
        if (std::find(actual.begin(), actual.end(), line) == actual.end()) out.push_back("-" + line);
    for (const std::string& line : actual)
        if (std::find(expected.begin(), expected.end(), line) == expected.end()) out.push_back("+" + line);
    return out;
}

// A record as a run writes it: its header, then `state` (state.txt lines, CR
// LF ended) and an undo.reg with only its header.
inline std::string MakeRecord(sim::SimWindows& machine, const std::string& root, const std::string& state,
                              bool restore = false) {
    const std::string folder = CreateRecordFolder(machine, root, restore);
    machine.appendFileFlushed(folder + "\\" + kStateFile, state);
    machine.appendFileFlushed(folder + "\\" + kUndoScript,
                              "\xff\xfe" + Utf16LeBytes(ToUtf16(std::string(kScriptHeader) + "\r\n\r\n")));
    return folder;
}

// Restores the record; the values it kept because the run ended during their
// change are then set back by hand, as an administrator would, and a second
// restore takes the keys the run made that are empty now. How many were kept.
inline int RestoreThenPutBackUncertain(sim::SimWindows& machine, const std::string& folder) {
    const RestoreReport report = RestoreRecord(machine, folder);
    int count = 0;
    const RecordState state = BuildRecordState(ReadRecord(machine, folder).lines);
    for (const KeptTarget& kept : report.kept) {
        if (kept.why != "the run ended during this change") continue;
        for (const ValueTarget& v : state.values) {
            if (kept.target != v.key + "\\" + (v.name.empty() ? "(Default)" : v.name)) continue;
            ++count;
            if (v.before) machine.registry().setValue(v.key, v.name, sim::Value::Of(*v.before));
            else machine.registry().deleteValue(v.key, v.name);
        }
    }
    if (count > 0) RestoreRecord(machine, folder);
    return count;
}

// A form on which every box, list entry and listed startup entry is ticked, or none.
inline void SelectEverything(MemoryForm& form, sim::SimWindows& machine, bool ticked) {
    RunContext context{form, machine, "Tester"};
    ListStartupItems(context);
    for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, ticked ? kTicked : kUnticked);
    for (CheckList list : {CheckList::Hide, CheckList::Not, CheckList::Service, CheckList::Startup})
        for (int i = 0; i < form.listCount(list); ++i) form.setListSelected(list, i, ticked);
    form.setTxtPath(ticked ? "C:\\D\xc3\xbcnloads" : "");
}

}  // namespace quillon::test
